#ifndef TARN_OPERATIONS_LAYOUT_SCAN_H_
#define TARN_OPERATIONS_LAYOUT_SCAN_H_

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "files/layout_index.h"
#include "host/progress.h"
#include "host/prompter.h"
#include "link/link.h"

// "Find Tarns": asks every module address of the bus (or, with extended addressing, every
// extended address of the chosen module) for its firmware version and, where one answers, its
// ID string. An address that keeps quiet costs a short scan wait instead of the 2 seconds of an
// ordinary exchange, and no message; what the link would have shown is kept with the address.

namespace tarn {

enum class ScanOutcome {
  kFound,         // a Tarn answered both requests as it should
  kSilent,        // nothing came
  kGarbled,       // bytes came that made no good answer
  kWrongAddress,  // a good frame came, under another module or extended address
};
// "found", "silent", "garbled answer", "answer from another address".
std::string_view ScanOutcomeText(ScanOutcome outcome);

struct ScanEntry {
  LayoutAddress address;
  ScanOutcome outcome = ScanOutcome::kSilent;
  std::string firmware;   // "3.1.0.10", when found
  std::string id_string;  // Windows-1252, when found
  std::string detail;     // what was wrong with an answer, for kGarbled and kWrongAddress
};

struct ScanResult {
  std::vector<ScanEntry> entries;  // every address asked, in the order asked
  bool completed = false;          // not stopped, and the port kept working

  std::vector<ScanEntry> Found() const;
  // The garbled and wrong-address answers: reported, never listed as Tarns.
  std::vector<ScanEntry> BadAnswers() const;
};

// The wait the scan gives each address, in seconds, at a bit rate (index into kBitRateSettings),
// direct or tunnelled. See layout_scan.cc for how it is chosen.
double ScanWaitSeconds(int bit_rate_index, bool tunnelled);
// The user may lengthen the wait up to an ordinary exchange's limit, never shorten it.
inline constexpr double kMaxScanWaitSeconds = kReplyTimeLimitSeconds;
// The wait a scan uses when the user asked for `requested_seconds` (0: the automatic one).
double EffectiveScanWait(const Link& link, double requested_seconds);

// Keeps what the link's messages would have said, instead of showing it.
class CollectingPrompter : public Prompter {
 public:
  PromptAnswer Show(std::string_view text, PromptIcon icon, PromptButtons buttons) override;
  const std::vector<std::string>& texts() const { return texts_; }
  bool Said(std::string_view start) const;
  // The texts on one line, "; " between them.
  std::string Joined() const;
  void Clear() { texts_.clear(); }

 private:
  std::vector<std::string> texts_;
};

// Puts the link's module address, extended addressing and extended address and "Bidirectional
// Comm." back as they were when it goes: a layout operation talks to many addresses and leaves
// the link as the user set it.
class KeepLinkSettings {
 public:
  explicit KeepLinkSettings(Link& link);
  ~KeepLinkSettings();
  KeepLinkSettings(const KeepLinkSettings&) = delete;
  KeepLinkSettings& operator=(const KeepLinkSettings&) = delete;

 private:
  Link& link_;
  LinkAddressing addressing_;
  bool bidirectional_;
};

// Points the link at `address` (extended addressing on exactly when it has an extended address).
void AddressLink(Link& link, const LayoutAddress& address);

// Scans the bus. `found` hears each address as it is done. Progress says which address is being
// asked; a stop or a port that fails ends the scan, and that message is shown through `prompter`
// (every other message of the link is kept with its address).
ScanResult ScanBus(Link& link, Prompter& prompter, Progress& progress, double wait_seconds,
                   const std::function<void(const ScanEntry&)>& each = {});

}  // namespace tarn

#endif  // TARN_OPERATIONS_LAYOUT_SCAN_H_
