#ifndef TARN_OPERATIONS_LAYOUT_FOLDER_H_
#define TARN_OPERATIONS_LAYOUT_FOLDER_H_

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "files/layout_index.h"
#include "operations/layout_scan.h"
#include "operations/scheduler.h"

// The whole layout against a layout folder: "Back Up All" reads every Tarn the scan finds into
// a file of its own, "Check All" compares every Tarn of the folder's index with its file, and
// "Restore" writes one Tarn from its file. Each reports one LayoutTarn per Tarn, as it is done.

namespace tarn {

enum class LayoutState {
  kFound,         // the scan found it
  kBackedUp,      // Back Up All saved it
  kFailed,        // its read, its save or its file failed; an earlier backup is kept
  kMatches,       // Check All: it holds what its file holds
  kDiffers,       // Check All: it does not
  kNotAnswering,  // in the index, but the scan did not find it
  kNew,           // found by the scan, but not in the index
  kRestored,      // Restore wrote its file to it
};
// "found", "backed up", "failed", "matches", "differs", "not answering", "new", "restored".
std::string_view LayoutStateText(LayoutState state);

struct LayoutTarn {
  LayoutAddress address;
  LayoutState state = LayoutState::kFound;
  std::string firmware;
  std::string id_string;  // Windows-1252
  std::string file;       // its file in the folder, when it has one
  // Check All: where the Tarn differs from its file, as `tarnctl diff FILE TARN` names it.
  std::vector<std::string> differences;
  // What went wrong, for kFailed and kNotAnswering; what was written, for kRestored.
  std::string detail;
  // Restore: everything was sent, but with "Bidirectional Comm." off the Tarn confirmed none.
  bool unconfirmed = false;
  // What a read just made found in the Tarn, for a Restore that writes only what differs.
  std::optional<Workspace> tarn_read;
};

// One line a person reads: "module 3 "Depot": differs, 2 differences [tarn-03-Depot.dat]",
// Windows-1252, the address shown plus `numbering_base`.
std::string LayoutTarnLine(const LayoutTarn& tarn, int numbering_base = 0);

struct LayoutRunResult {
  ScanResult scan;
  std::vector<LayoutTarn> tarns;  // in address order
  bool completed = false;         // it ran to its end: not stopped, no folder or file refused
  // Back Up All: every Tarn found was saved, none of the index is missing, no answer was bad.
  // Check All: every Tarn of the index matches, none is missing, none is new, no answer was bad.
  bool all_good = false;
};

// What the operations share: the line, the host's services, and how they run.
struct LayoutLine {
  Link& link;
  Clock& clock;
  Prompter& prompter;
  Progress& progress;
  double scan_wait_seconds = 0;  // 0: the automatic one
  WallClock wall_clock = SystemWallClock();
};

using LayoutTarnSeen = std::function<void(const LayoutTarn&)>;

// Scans, then reads every Tarn found ("Read All") into `folder` (made when missing): one file per
// Tarn, saved whole or not at all, and the index with its entry. A read that stopped or went past
// anything saves nothing: the Tarn is listed as failed and its earlier file and entry are kept.
LayoutRunResult BackUpAll(LayoutLine& line, const std::filesystem::path& folder,
                          const LayoutTarnSeen& each = {});

// Scans, then for every Tarn of `folder`'s index reads it and compares it with its file.
LayoutRunResult CheckAll(LayoutLine& line, const std::filesystem::path& folder,
                         const LayoutTarnSeen& each = {});

// Writes the file of the Tarn at `address` to it: only what differs when `tarn_read` holds what
// a read just found in it ("Write Changes"), otherwise all of it ("Write All"). The link is
// pointed at the Tarn for the write and put back afterwards. Returns the Tarn with its state.
inline constexpr std::string_view kRestoreQuestion =
    "Write the backup %FILE% to the Tarn at %ADDRESS%?\n\nWhat the Tarn holds now is "
    "replaced.";
std::string RestoreQuestion(const LayoutEntry& entry);
LayoutTarn Restore(LayoutLine& line, const std::filesystem::path& folder,
                   const LayoutAddress& address, const std::optional<Workspace>& tarn_read);

// The entry of `index` that `module` names: the one at that module address, or, with
// `extended_address`, the one at both. Several under the module without an extended address
// given: nullptr and `error` says so.
const LayoutEntry* EntryForModule(const LayoutIndex& index, int module,
                                  std::optional<int> extended_address, std::string& error);

}  // namespace tarn

#endif  // TARN_OPERATIONS_LAYOUT_FOLDER_H_
