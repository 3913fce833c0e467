#include "cli/list_render.h"

#include <array>
#include <cstdlib>

#include "cli/petscii_display.h"
#include "common/text.h"
#include "tessary/readers/dir_entry_text.h"

namespace hv::cli {
namespace {

std::string Utf8(const std::string& text) {
  return Cp1252ToUtf8(text);
}

std::string Utf8(std::string_view text) {
  return Cp1252ToUtf8(std::string(text));
}

// For the terminal: control characters (NUL padding above all) would upset the display.
std::string Visible(const std::string& text) {
  std::string shown = text;
  for (char& c : shown) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = '.';
  }
  return Cp1252ToUtf8(shown);
}

std::string PadRight(std::string text, std::size_t width) {
  if (text.size() < width) text.append(width - text.size(), ' ');
  return text;
}

const std::uint8_t* Raw(const std::string& bytes) {
  return reinterpret_cast<const std::uint8_t*>(bytes.data());
}

// The number in a reader's text ("  107", "$0801"), or null when it holds none.
Json Number(const std::string& text, int base) {
  const char* begin = text.c_str();
  while (*begin == ' ' || *begin == '$') ++begin;
  char* end = nullptr;
  const long value = std::strtol(begin, &end, base);
  if (end == begin) return nullptr;
  return value;
}

}  // namespace

Json ListJson(const tessary::hvD64& d64, bool loaded, const tessary::DiskDirectory* directory) {
  Json entries = Json::array();
  for (const auto& e : d64.Entries()->All()) {
    entries.push_back({{"Filename", Utf8(e->Filename())},
                       {"FileSizeInBlocks", Utf8(e->FileSizeInBlocks())},
                       {"FileType", Utf8(e->FileType())},
                       {"Blocks", Number(e->FileSizeInBlocks(), 10)}});
  }
  Json out = {{"Load", loaded},
              {"DiskName", Utf8(d64.DiskName())},
              {"DiskID", Utf8(d64.DiskID())},
              {"Entries", std::move(entries)}};
  if (directory != nullptr) out["BlocksFree"] = directory->blocks_free;
  return out;
}

Json ListJson(const tessary::DiskDirectory& directory) {
  Json entries = Json::array();
  for (const auto& e : directory.entries) {
    std::array<char, tessary::kDirNameSize> name{};
    std::array<char, 5> blocks{};
    entries.push_back({{"Filename", Utf8(tessary::NameText(Raw(e.name), name))},
                       {"FileSizeInBlocks", Utf8(tessary::BlocksText(e.blocks, blocks))},
                       {"FileType", Utf8(tessary::FileTypeText(e.type))},
                       {"Blocks", e.blocks}});
  }
  std::array<char, tessary::kDirNameSize> name{};
  std::array<char, 5> id{};
  tessary::IdText(Raw(directory.id), id);
  return {{"Load", true},
          {"DiskName", Utf8(tessary::NameText(Raw(directory.name), name))},
          {"DiskID", Utf8(std::string_view(id.data(), id.size()))},
          {"Entries", std::move(entries)},
          {"BlocksFree", directory.blocks_free}};
}

Json ListJson(const tessary::hvT64& t64, bool loaded) {
  Json entries = Json::array();
  for (const auto& e : t64.Entries()->All())
    entries.push_back({{"C64Filename", Utf8(e->C64Filename())}});
  return {{"Load", loaded},
          {"Signature", Utf8(t64.Signature())},
          {"Version", Utf8(t64.Version())},
          {"TapeImageName", Utf8(t64.TapeImageName())},
          {"EntriesCount", t64.EntriesCount()},
          {"EntriesUsed", t64.EntriesUsed()},
          {"Entries", std::move(entries)}};
}

Json ListJson(const tessary::hvPRG& prg, bool loaded, std::uint64_t bytes) {
  return {{"Load", loaded},
          {"FileSize", Utf8(prg.FileSize())},
          {"LoadAddress", Utf8(prg.LoadAddress())},
          {"SYSAddress", Utf8(prg.SYSAddress())},
          {"Bytes", bytes},
          {"Address", Number(prg.LoadAddress(), 16)}};
}

Json ListJson(const tessary::hvP00& p00, bool loaded, std::int64_t bytes) {
  return {{"Load", loaded},
          {"Signature", Utf8(p00.Signature())},
          {"Filename", Utf8(p00.Filename())},
          {"FileSize", Utf8(p00.FileSize())},
          {"Bytes", bytes}};
}

std::string ListText(const tessary::DiskDirectory& directory) {
  // The header line is in reverse video on a C64; c1541 prints it plain.
  std::string name = directory.name;
  for (char& c : name) {
    if (static_cast<std::uint8_t>(c) == tessary::kShiftedSpace) c = ' ';
  }
  std::array<char, 5> id{};
  tessary::IdText(Raw(directory.id), id);
  std::string out = "0 \"" + C64Text(name) + "\" " + C64Text(std::string_view(id.data(), 5)) + "\n";
  for (const auto& e : directory.entries) {
    // Padding is counted in C64 characters, before the conversion to UTF-8.
    out += PadRight(std::to_string(e.blocks), 5) + PadRight(C64QuotedName(e.name), 18) +
           C64TypeColumn(e.type) + "\n";
  }
  out += std::to_string(directory.blocks_free) + " blocks free.\n";
  return out;
}

std::string ListText(const tessary::hvT64& t64, const std::string& first_record) {
  std::string out = "Signature:  " + Visible(t64.Signature()) + "\n" +
                    "Version:    " + t64.Version() + "\n" +
                    "Tape name:  " + C64TapeName(t64.TapeImageName()) + "\n" +
                    "Entries:    " + std::to_string(t64.EntriesUsed()) + " used of " +
                    std::to_string(t64.EntriesCount()) + "\n";
  std::size_t n = 0;
  const auto add = [&](const std::string& name) {
    std::string number = std::to_string(++n);
    out += std::string(number.size() < 5 ? 5 - number.size() : 0, ' ') + number + " \"" +
           C64TapeName(name) + "\"\n";
  };
  for (const auto& e : t64.Entries()->All()) add(e->C64Filename());
  if (!first_record.empty()) add(first_record);
  return out;
}

std::string ListText(const tessary::hvPRG& prg) {
  return "File size:     " + prg.FileSize() + "\n" + "Load address:  " + prg.LoadAddress() + " " +
         prg.SYSAddress() + "\n";
}

std::string ListText(const tessary::hvP00& p00) {
  return "Signature:  " + Visible(p00.Signature()) + "\n" + "Filename:   \"" +
         Visible(p00.Filename()) + "\"\n" + "File size:  " + p00.FileSize() + "\n";
}

}  // namespace hv::cli
