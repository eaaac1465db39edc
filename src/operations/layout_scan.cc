#include "operations/layout_scan.h"

#include <algorithm>
#include <cmath>
#include <iterator>

#include "host/port_settings.h"
#include "link/tarn_frame.h"
#include "protocol/general_settings_commands.h"

namespace tarn {
namespace {

// How the scan's wait is chosen. A Tarn that is there must get its answer in with a wide margin;
// one that is not costs only the wait. On the direct link the wait covers, at the line's bit
// rate, the longest request the scan sends with the resynchronisation that comes before it after
// each change of module address (12 + 6 bytes), and the longest answer it asks for, the ID string
// (3 + 1 + 14 bytes); a USB-serial adapter's hold of 16 ms before it hands on what it received,
// and as much again on the way out; and 40 ms for the Tarn itself, which answers within a few.
// All of it doubled. At 19200 baud that is 150 ms, against the 2 s of an ordinary exchange.
// Tunnelled, the Tolvik unit acknowledges the message at once and hands the Tarn's reply out with
// a later poll, after it has passed the message on its own bus and heard the answer: twice the
// direct wait for that, and 100 ms for the polls between.
constexpr int kScanRequestBytes = 12 + 6;
constexpr int kScanReplyBytes = 3 + 1 + 14;
constexpr double kAdapterHoldSeconds = 0.016;
constexpr double kTarnAnswerSeconds = 0.040;
constexpr double kMargin = 2.0;
constexpr double kTunnelPollSeconds = 0.100;

constexpr std::uint8_t kGeneralRead = 0x70;
constexpr std::size_t kVersionReplySize = 6;
constexpr std::size_t kIdReplyMinimumSize = 2;

// The extended addresses of a module, or the module addresses of the bus.
std::vector<LayoutAddress> AddressesToScan(const Link& link) {
  std::vector<LayoutAddress> addresses;
  if (link.extended_addressing()) {
    for (int x = 0; x <= kMaxExtendedAddress; ++x) addresses.push_back({link.module_address(), x});
  } else {
    for (int m = 0; m <= kMaxModuleAddress; ++m) addresses.push_back({m, std::nullopt});
  }
  return addresses;
}

class AddressProbe {
 public:
  AddressProbe(Link& link, CollectingPrompter& said) : link_(link), said_(said) {}

  // Asks the register and judges the answer. Returns the payload of a good one.
  std::optional<std::vector<std::uint8_t>> Ask(std::uint8_t general_register, std::size_t size,
                                               bool size_is_minimum, ScanEntry& entry) {
    said_.Clear();
    link_.SetBidirectional(true);
    const long bytes_before = link_.bytes_received();
    const std::uint8_t request[] = {kGeneralRead, general_register};
    link_.SendTarnMessage(true, request);
    if (link_.tarn_reply_received()) {
      std::vector<std::uint8_t> payload = link_.ReplyPayload();
      switch (JudgeRegisterReply(payload, general_register, size, size_is_minimum)) {
        case RegisterReplyFault::kNone:
          return payload;
        case RegisterReplyFault::kSize:
          entry.outcome = ScanOutcome::kGarbled;
          entry.detail = WrongSizeText(payload.size(), size);
          return std::nullopt;
        case RegisterReplyFault::kEcho:
          entry.outcome = ScanOutcome::kGarbled;
          entry.detail = WrongEchoText(payload, general_register);
          return std::nullopt;
      }
    }
    const int answered_module = (link_.reply()[0] >> 2) & 0x0F;
    if (said_.Said("Invalid response received")) {
      // A good frame that is not this module's answer: from another module, or one of this
      // module's that came too late (the other link toggle) or with a header of no reply.
      const bool other_module = answered_module != entry.address.module_address;
      entry.outcome = other_module ? ScanOutcome::kWrongAddress : ScanOutcome::kGarbled;
      entry.detail =
          other_module ? "answered as module " + std::to_string(answered_module) : said_.Joined();
    } else if (said_.Said("Unexpected eXtended Address") ||
               said_.Said("Incorrect eXtended Address")) {
      entry.outcome = ScanOutcome::kWrongAddress;
      entry.detail = said_.Joined();
    } else if (!link_.tunnelling() && link_.bytes_received() != bytes_before) {
      // (Tunnelled, the unit answers every frame; what it hands on of the Tarn is judged above.)
      entry.outcome = ScanOutcome::kGarbled;
      entry.detail = "bytes came that made no frame that adds up";
    } else {
      entry.outcome = ScanOutcome::kSilent;
    }
    return std::nullopt;
  }

 private:
  Link& link_;
  CollectingPrompter& said_;
};

ScanEntry ScanAddress(Link& link, CollectingPrompter& said, const LayoutAddress& address) {
  AddressLink(link, address);
  ScanEntry entry;
  entry.address = address;
  AddressProbe probe(link, said);
  const auto version = probe.Ask(kRegisterVersion, kVersionReplySize, false, entry);
  if (!version) return entry;
  const std::vector<std::uint8_t>& v = *version;
  entry.firmware = std::to_string(v[2]) + "." + std::to_string(v[3]) + "." + std::to_string(v[4]) +
                   "." + std::to_string(v[5]);
  const auto id = probe.Ask(kRegisterIdString, kIdReplyMinimumSize, true, entry);
  if (!id) {
    // A Tarn that gave its version but no good ID string is reported, not listed.
    if (entry.outcome == ScanOutcome::kSilent) entry.outcome = ScanOutcome::kGarbled;
    entry.detail = "the ID string: " + (entry.detail.empty() ? "no answer" : entry.detail);
    return entry;
  }
  entry.outcome = ScanOutcome::kFound;
  entry.id_string.assign(id->begin() + 2, id->end());
  return entry;
}

}  // namespace

std::string_view ScanOutcomeText(ScanOutcome outcome) {
  switch (outcome) {
    case ScanOutcome::kFound:
      return "found";
    case ScanOutcome::kSilent:
      return "silent";
    case ScanOutcome::kGarbled:
      return "garbled answer";
    case ScanOutcome::kWrongAddress:
      return "answer from another address";
  }
  return "";
}

std::vector<ScanEntry> ScanResult::Found() const {
  std::vector<ScanEntry> found;
  std::ranges::copy_if(entries, std::back_inserter(found),
                       [](const ScanEntry& e) { return e.outcome == ScanOutcome::kFound; });
  return found;
}

std::vector<ScanEntry> ScanResult::BadAnswers() const {
  std::vector<ScanEntry> bad;
  std::ranges::copy_if(entries, std::back_inserter(bad), [](const ScanEntry& e) {
    return e.outcome == ScanOutcome::kGarbled || e.outcome == ScanOutcome::kWrongAddress;
  });
  return bad;
}

double ScanWaitSeconds(int bit_rate_index, bool tunnelled) {
  const int index =
      std::clamp(bit_rate_index, 0, static_cast<int>(std::size(kBitRateSettings)) - 1);
  const double byte_seconds = ParsePortSettings(kBitRateSettings[index])->ByteSeconds();
  const double wire = (kScanRequestBytes + kScanReplyBytes) * byte_seconds;
  double wait = kMargin * (wire + 2 * kAdapterHoldSeconds) + kTarnAnswerSeconds;
  if (tunnelled) wait = 2 * wait + kTunnelPollSeconds;
  // Whole hundredths, rounded up, so that the figure a person reads is the one used.
  return std::ceil(wait * 100.0 - 1e-9) / 100.0;
}

double EffectiveScanWait(const Link& link, double requested_seconds) {
  const double automatic = ScanWaitSeconds(link.bit_rate_index(), link.tunnelling());
  return std::clamp(requested_seconds, automatic, kMaxScanWaitSeconds);
}

PromptAnswer CollectingPrompter::Show(std::string_view text, PromptIcon, PromptButtons buttons) {
  texts_.emplace_back(text);
  // Nothing the link asks during a scan may go ahead on a guess.
  return buttons == PromptButtons::kOk         ? PromptAnswer::kOk
         : buttons == PromptButtons::kOkCancel ? PromptAnswer::kCancel
                                               : PromptAnswer::kNo;
}

bool CollectingPrompter::Said(std::string_view start) const {
  return std::ranges::any_of(texts_,
                             [start](const std::string& t) { return t.starts_with(start); });
}

std::string CollectingPrompter::Joined() const {
  std::string joined;
  for (const std::string& text : texts_) {
    std::string line = text;
    std::ranges::replace(line, '\n', ' ');
    joined += (joined.empty() ? "" : "; ") + line;
  }
  return joined;
}

KeepLinkSettings::KeepLinkSettings(Link& link)
    : link_(link), addressing_(link.addressing()), bidirectional_(link.bidirectional()) {}

KeepLinkSettings::~KeepLinkSettings() {
  link_.TakeOverModuleAddress(static_cast<std::uint8_t>(addressing_.module_address));
  link_.SetExtendedAddressing(addressing_.extended_addressing);
  link_.TakeOverExtendedAddress(static_cast<std::uint8_t>(addressing_.extended_address));
  link_.SetBidirectional(bidirectional_);
}

void AddressLink(Link& link, const LayoutAddress& address) {
  link.TakeOverModuleAddress(static_cast<std::uint8_t>(address.module_address));
  link.SetExtendedAddressing(address.extended_address.has_value());
  if (address.extended_address) {
    link.TakeOverExtendedAddress(static_cast<std::uint8_t>(*address.extended_address));
  }
}

ScanResult ScanBus(Link& link, Prompter& prompter, Progress& progress, double wait_seconds,
                   const std::function<void(const ScanEntry&)>& each) {
  const std::vector<LayoutAddress> addresses = AddressesToScan(link);
  KeepLinkSettings keep(link);
  CollectingPrompter said;
  ScanResult result;
  {
    const ScopedLinkPrompter quiet(link, said);
    const ScopedReplyTimeLimit short_wait(link, wait_seconds);
    const int total = static_cast<int>(addresses.size());
    for (int i = 0; i < total; ++i) {
      progress.Report(i, total, "Asking " + LayoutAddressText(addresses[i]));
      ScanEntry entry = ScanAddress(link, said, addresses[i]);
      if (link.stop_requested() || !link.port_open()) break;
      result.entries.push_back(std::move(entry));
      if (each) each(result.entries.back());
    }
    result.completed = result.entries.size() == addresses.size();
  }
  // A stop or a port that failed is the user's to know; the quiet addresses are not.
  if (!result.completed) {
    for (const std::string& text : said.texts()) prompter.Show(text, PromptIcon::kWarning);
  }
  return result;
}

}  // namespace tarn
