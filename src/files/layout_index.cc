#include "files/layout_index.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <nlohmann/json.hpp>
#include <system_error>

#include "files/whole_file.h"
#include "files/windows_1252.h"

namespace tarn {
namespace {

// Ordered, so that the file reads in the order a person expects: what it is, then the Tarns.
using Json = nlohmann::ordered_json;

constexpr std::string_view kFormatName = "tarnconfig-layout";
constexpr int kBitRates[] = {9600, 19200, 38400};
// A file name longer than this is cut: most file systems take 255 bytes.
constexpr std::size_t kMaxIdInFileName = 64;

// The line of a byte offset, counted from 1.
std::size_t LineOf(std::string_view text, std::size_t offset) {
  offset = std::min(offset, text.size());
  return 1 + static_cast<std::size_t>(std::count(text.begin(), text.begin() + offset, '\n'));
}

// nlohmann's text without its own prefix and position: "syntax error while parsing object -
// unexpected end of input; expected '}'".
std::string ParseReason(const Json::parse_error& error) {
  const std::string what = error.what();
  const std::size_t colon = what.find(": ");
  return colon == std::string::npos ? what : what.substr(colon + 2);
}

bool IsBareFileName(std::string_view name) {
  return !name.empty() && name != "." && name != ".." &&
         name.find_first_of(std::string_view("/\0", 2)) == std::string_view::npos;
}

// A wrong value of entry `index` (counted from 1, as a person counts them).
struct EntryError {
  std::string text;
};

const Json& Member(const Json& entry, const char* name) {
  const auto found = entry.find(name);
  if (found == entry.end()) throw EntryError{"\"" + std::string(name) + "\" is missing"};
  return *found;
}

int IntegerMember(const Json& entry, const char* name, int low, int high) {
  const Json& value = Member(entry, name);
  if (!value.is_number_integer() || value.get<long long>() < low || value.get<long long>() > high) {
    throw EntryError{"\"" + std::string(name) + "\" must be a whole number from " +
                     std::to_string(low) + " to " + std::to_string(high)};
  }
  return value.get<int>();
}

std::string TextMember(const Json& entry, const char* name) {
  const Json& value = Member(entry, name);
  if (!value.is_string()) throw EntryError{"\"" + std::string(name) + "\" must be a text"};
  return value.get<std::string>();
}

LayoutEntry EntryOf(const Json& json) {
  if (!json.is_object()) throw EntryError{"it is not an object"};
  LayoutEntry entry;
  entry.address.module_address = IntegerMember(json, "module_address", 0, 15);
  const Json& extended = Member(json, "extended_address");
  if (!extended.is_null()) {
    entry.address.extended_address = IntegerMember(json, "extended_address", 0, 95);
  }
  entry.bits_per_second = IntegerMember(json, "bits_per_second", 0, 1'000'000);
  if (std::ranges::find(kBitRates, entry.bits_per_second) == std::end(kBitRates)) {
    throw EntryError{"\"bits_per_second\" must be 9600, 19200 or 38400"};
  }
  const Json& tunnelled = Member(json, "tunnelled");
  if (!tunnelled.is_boolean()) throw EntryError{"\"tunnelled\" must be true or false"};
  entry.tunnelled = tunnelled.get<bool>();
  entry.firmware = TextMember(json, "firmware");
  entry.id_string = Utf8ToWindows1252(TextMember(json, "id_string"));
  entry.read_at = TextMember(json, "read_at");
  entry.file = TextMember(json, "file");
  // The folder's own files only: a name that leads elsewhere would be read, and written over.
  if (!IsBareFileName(entry.file)) {
    throw EntryError{"\"file\" must name a file in the layout folder, not \"" + entry.file + "\""};
  }
  return entry;
}

}  // namespace

std::string LayoutAddressText(const LayoutAddress& address, int numbering_base) {
  std::string text = "module " + std::to_string(address.module_address + numbering_base);
  if (address.extended_address) {
    text += ", extended address " + std::to_string(*address.extended_address + numbering_base);
  }
  return text;
}

const LayoutEntry* LayoutIndex::Find(const LayoutAddress& address) const {
  const auto found = std::ranges::find(entries, address, &LayoutEntry::address);
  return found == entries.end() ? nullptr : &*found;
}

void LayoutIndex::Put(LayoutEntry entry) {
  const auto at = std::ranges::lower_bound(entries, entry.address, {}, &LayoutEntry::address);
  if (at != entries.end() && at->address == entry.address) {
    *at = std::move(entry);
  } else {
    entries.insert(at, std::move(entry));
  }
}

WallClock SystemWallClock() {
  return [] { return std::chrono::system_clock::now(); };
}

std::string UtcTimeText(std::chrono::system_clock::time_point time) {
  const std::time_t seconds = std::chrono::system_clock::to_time_t(time);
  std::tm utc{};
  gmtime_r(&seconds, &utc);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &utc);
  return text;
}

std::string LayoutFileName(const LayoutAddress& address, std::string_view id_string) {
  char number[8];
  std::snprintf(number, sizeof number, "%02d", address.module_address);
  std::string name = "tarn-" + std::string(number);
  if (address.extended_address) {
    std::snprintf(number, sizeof number, "%02d", *address.extended_address);
    name += "-x" + std::string(number);
  }
  std::string id(id_string.substr(0, kMaxIdInFileName));
  // Trailing blanks and dots vanish on some file systems; leading dots hide a file.
  while (!id.empty() && (id.back() == ' ' || id.back() == '.')) id.pop_back();
  for (char& c : id) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F ||
        std::string_view("/\\:*?\"<>|").find(c) != std::string_view::npos) {
      c = '_';
    }
  }
  if (!id.empty() && id.front() == '.') id.front() = '_';
  if (!id.empty()) name += "-" + Windows1252ToUtf8(id);
  return name + ".dat";
}

std::string WriteLayoutIndex(const LayoutIndex& index) {
  Json tarns = Json::array();
  for (const LayoutEntry& entry : index.entries) {
    tarns.push_back({
        {"module_address", entry.address.module_address},
        {"extended_address",
         entry.address.extended_address ? Json(*entry.address.extended_address) : Json(nullptr)},
        {"bits_per_second", entry.bits_per_second},
        {"tunnelled", entry.tunnelled},
        {"firmware", entry.firmware},
        {"id_string", Windows1252ToUtf8(entry.id_string)},
        {"read_at", entry.read_at},
        {"file", entry.file},
    });
  }
  const Json json = {{"format", kFormatName}, {"version", kLayoutIndexVersion}, {"tarns", tarns}};
  return json.dump(2) + "\n";
}

std::optional<LayoutIndex> ReadLayoutIndex(std::string_view text, std::string& error) {
  Json json;
  try {
    json = Json::parse(text);
  } catch (const Json::parse_error& parse_error) {
    error = "line " +
            std::to_string(LineOf(text, parse_error.byte == 0 ? 0 : parse_error.byte - 1)) + ": " +
            ParseReason(parse_error);
    return std::nullopt;
  }
  if (!json.is_object() || json.value("format", Json()) != kFormatName) {
    error = "it is no layout index (\"format\": \"" + std::string(kFormatName) + "\" is missing)";
    return std::nullopt;
  }
  const Json version = json.value("version", Json());
  if (!version.is_number_integer() || version.get<long long>() != kLayoutIndexVersion) {
    error = "\"version\" must be " + std::to_string(kLayoutIndexVersion) +
            "; this index was written by another version of the program";
    return std::nullopt;
  }
  const Json tarns = json.value("tarns", Json());
  if (!tarns.is_array()) {
    error = "\"tarns\" must be a list";
    return std::nullopt;
  }
  LayoutIndex index;
  for (std::size_t i = 0; i < tarns.size(); ++i) {
    const std::string which = "Tarn entry " + std::to_string(i + 1) + ": ";
    try {
      LayoutEntry entry = EntryOf(tarns[i]);
      if (index.Find(entry.address)) {
        error = which + LayoutAddressText(entry.address) + " is listed twice";
        return std::nullopt;
      }
      index.Put(std::move(entry));
    } catch (const EntryError& wrong) {
      error = which + wrong.text;
      return std::nullopt;
    } catch (const Json::exception& wrong) {
      error = which + wrong.what();
      return std::nullopt;
    }
  }
  return index;
}

std::optional<LayoutIndex> LoadLayoutIndex(const std::filesystem::path& folder, bool must_exist,
                                           Prompter& prompter) {
  const std::filesystem::path path = folder / kLayoutIndexName;
  std::error_code code;
  if (!std::filesystem::exists(path, code) && !code) {
    if (!must_exist) return LayoutIndex{};
    prompter.Show("There is no layout index in " + folder.string() + "; \"Back Up All\" makes one.",
                  PromptIcon::kWarning);
    return std::nullopt;
  }
  std::string text;
  std::string error;
  std::optional<LayoutIndex> index;
  if (ReadWholeFile(path, text, error)) index = ReadLayoutIndex(text, error);
  if (!index) {
    prompter.Show("The layout index " + path.string() + " cannot be used: " + error +
                      ". Nothing in the folder was changed.",
                  PromptIcon::kWarning);
  }
  return index;
}

bool SaveLayoutIndex(const std::filesystem::path& folder, const LayoutIndex& index,
                     Prompter& prompter) {
  return ReplaceWholeFileOrWarn(folder / kLayoutIndexName, WriteLayoutIndex(index), prompter);
}

}  // namespace tarn
