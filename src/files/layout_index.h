#ifndef TARN_FILES_LAYOUT_INDEX_H_
#define TARN_FILES_LAYOUT_INDEX_H_

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host/prompter.h"

// The index of a layout folder: one configuration file per Tarn of the bus, and this small JSON
// file that says, per Tarn, how the line reaches it and what it was when it was read. Texts are
// Windows-1252 bytes here as everywhere in the core; the file holds them as UTF-8.

namespace tarn {

inline constexpr std::string_view kLayoutIndexName = "layout.json";
inline constexpr int kLayoutIndexVersion = 1;

// Where a Tarn of the layout is reached: its module address and, with extended addressing, its
// extended address.
struct LayoutAddress {
  int module_address = 0;               // 0..15
  std::optional<int> extended_address;  // 0..95, or none without extended addressing

  friend auto operator<=>(const LayoutAddress&, const LayoutAddress&) = default;
};

// "module 3" or "module 3, extended address 12", as the lines of a layout run name a Tarn;
// numbers shown plus `numbering_base` (tarnctl numbers from 0, the window as its link bar does).
std::string LayoutAddressText(const LayoutAddress& address, int numbering_base = 0);

struct LayoutEntry {
  LayoutAddress address;
  int bits_per_second = 19200;  // 9600, 19200 or 38400
  bool tunnelled = false;       // through a Tolvik unit's tunnelling
  std::string firmware;         // "3.1.0.10"
  std::string id_string;        // Windows-1252
  std::string read_at;          // when it was read, UTC: "2026-12-09T05:02:54Z"
  std::string file;             // the configuration file's name inside the folder

  friend bool operator==(const LayoutEntry&, const LayoutEntry&) = default;
};

struct LayoutIndex {
  // In the order of their addresses; no address twice.
  std::vector<LayoutEntry> entries;

  const LayoutEntry* Find(const LayoutAddress& address) const;
  // Puts `entry` in place of the one with its address, or in address order among the others.
  void Put(LayoutEntry entry);

  friend bool operator==(const LayoutIndex&, const LayoutIndex&) = default;
};

// The wall clock that stamps a read; tests give a fixed one.
using WallClock = std::function<std::chrono::system_clock::time_point()>;
WallClock SystemWallClock();
// ISO 8601 in UTC, to the second.
std::string UtcTimeText(std::chrono::system_clock::time_point time);

// The file name a person recognises a Tarn's backup by: "tarn-03-Nord Yard 7.dat", with an
// extended address "tarn-03-x12-Nord Yard 7.dat", without an ID string "tarn-03.dat". The
// address makes it unique within a layout; characters a file name cannot or should not hold
// become '_'. The ID string is Windows-1252, the name UTF-8.
std::string LayoutFileName(const LayoutAddress& address, std::string_view id_string);

// The text of the index file.
std::string WriteLayoutIndex(const LayoutIndex& index);

// Reads the text of an index file. A file that is no JSON (cut short, edited by hand), or whose
// values have the wrong type or range, is refused whole: nullopt, with `error` naming the line
// of a syntax error or the entry of a wrong value.
std::optional<LayoutIndex> ReadLayoutIndex(std::string_view text, std::string& error);

// The index of `folder`. A folder without one gives an empty index, or, when `must_exist`, shows
// "There is no layout index in <folder>" and gives nullopt. A refused index shows "The layout
// index <path> cannot be used: ..." and gives nullopt.
std::optional<LayoutIndex> LoadLayoutIndex(const std::filesystem::path& folder, bool must_exist,
                                           Prompter& prompter);
// Replaces the index of `folder` whole or not at all; a failure shows "Cannot save <path>: ...".
bool SaveLayoutIndex(const std::filesystem::path& folder, const LayoutIndex& index,
                     Prompter& prompter);

}  // namespace tarn

#endif  // TARN_FILES_LAYOUT_INDEX_H_
