#include "cli/list_render.h"

#include <nlohmann/json.hpp>

#include "cli/petscii_display.h"
#include "common/text.h"

namespace hv::cli {
namespace {

using Json = nlohmann::ordered_json;

std::string Utf8(const std::string& text) {
  return Cp1252ToUtf8(text);
}

// For the terminal: control characters (NUL padding above all) would upset the display.
std::string Visible(const std::string& text) {
  std::string shown = text;
  for (char& c : shown) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = '.';
  }
  return Cp1252ToUtf8(shown);
}

std::string Dump(const Json& object) {
  return object.dump(2) + "\n";
}

std::string PadRight(std::string text, std::size_t width) {
  if (text.size() < width) text.append(width - text.size(), ' ');
  return text;
}

}  // namespace

std::string ListJson(const tessary::hvD64& d64, bool loaded) {
  Json entries = Json::array();
  for (const auto& e : d64.Entries()->All()) {
    entries.push_back({{"Filename", Utf8(e->Filename())},
                       {"FileSizeInBlocks", Utf8(e->FileSizeInBlocks())},
                       {"FileType", Utf8(e->FileType())}});
  }
  return Dump({{"Load", loaded},
               {"DiskName", Utf8(d64.DiskName())},
               {"DiskID", Utf8(d64.DiskID())},
               {"Entries", std::move(entries)}});
}

std::string ListJson(const tessary::hvT64& t64, bool loaded) {
  Json entries = Json::array();
  for (const auto& e : t64.Entries()->All())
    entries.push_back({{"C64Filename", Utf8(e->C64Filename())}});
  return Dump({{"Load", loaded},
               {"Signature", Utf8(t64.Signature())},
               {"Version", Utf8(t64.Version())},
               {"TapeImageName", Utf8(t64.TapeImageName())},
               {"EntriesCount", t64.EntriesCount()},
               {"EntriesUsed", t64.EntriesUsed()},
               {"Entries", std::move(entries)}});
}

std::string ListJson(const tessary::hvPRG& prg, bool loaded) {
  return Dump({{"Load", loaded},
               {"FileSize", Utf8(prg.FileSize())},
               {"LoadAddress", Utf8(prg.LoadAddress())},
               {"SYSAddress", Utf8(prg.SYSAddress())}});
}

std::string ListJson(const tessary::hvP00& p00, bool loaded) {
  return Dump({{"Load", loaded},
               {"Signature", Utf8(p00.Signature())},
               {"Filename", Utf8(p00.Filename())},
               {"FileSize", Utf8(p00.FileSize())}});
}

// As c1541 lists a disk: the header line (in reverse video on a C64), then size, name and
// type.
std::string ListText(const tessary::hvD64& d64) {
  // Padding is counted in C64 characters, before the conversion to UTF-8.
  std::string out =
      "0 \"" + C64Text(PadRight(d64.DiskName(), 16)) + "\" " + C64Text(d64.DiskID()) + "\n";
  for (const auto& e : d64.Entries()->All()) {
    out += e->FileSizeInBlocks() + " " + PadRight(C64QuotedName(e->NameBytes()), 18) +
           C64TypeColumn(e->TypeByte()) + "\n";
  }
  out += std::to_string(d64.Entries()->All().size()) + " files.\n";
  return out;
}

std::string ListText(const tessary::hvT64& t64) {
  std::string out = "Signature:  " + Visible(t64.Signature()) + "\n" +
                    "Version:    " + t64.Version() + "\n" +
                    "Tape name:  " + C64TapeName(t64.TapeImageName()) + "\n" +
                    "Entries:    " + std::to_string(t64.EntriesUsed()) + " used of " +
                    std::to_string(t64.EntriesCount()) + "\n";
  std::size_t n = 0;
  for (const auto& e : t64.Entries()->All()) {
    std::string number = std::to_string(++n);
    out += std::string(number.size() < 5 ? 5 - number.size() : 0, ' ') + number + " \"" +
           C64TapeName(e->C64Filename()) + "\"\n";
  }
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
