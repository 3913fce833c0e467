#include "tessary/extract/game_files.h"

#include <array>

#include "common/upper_case.h"
#include "tessary/extract/extract_texts.h"

namespace hv::tessary {

namespace {

constexpr char kCurrentPattern[] =
    "*.d64;*.d71;*.d81;*.g64;*.x64;*.t64;*.tap;*.crt;*.prg;*.p00;*.p01;*.p02;*.p03;*.p04;*.p05;"
    "*.p06;*.p07;*.p08;*.p09";

// What collections put beside a game: readmes, scans, screenshots, checksums, front-end files.
constexpr std::array<std::string_view, 32> kNeverAGame = {
    "TXT", "NFO",  "DIZ",  "DOC", "DOCX", "RTF",  "PDF",  "HTM", "HTML", "MD",  "ME",
    "1ST", "XML",  "JSON", "INI", "CFG",  "LOG",  "SFV",  "MD5", "SHA1", "URL", "PNG",
    "JPG", "JPEG", "GIF",  "BMP", "TIF",  "TIFF", "WEBP", "ICO", "SVG",  "DB"};

}  // namespace

std::string_view GameFilePatterns(GameFileList list) {
  return list == GameFileList::kClassic ? std::string_view(texts::kCompatiblePattern)
                                        : std::string_view(kCurrentPattern);
}

bool LooseCandidate(GameFileList list, std::string_view name) {
  if (list == GameFileList::kClassic) return true;
  const std::size_t dot = name.find_last_of('.');
  if (dot == std::string_view::npos) return true;
  const std::string ext = UpperCase1252(std::string(name.substr(dot + 1)));
  for (const std::string_view known : kNeverAGame) {
    if (ext == known) return false;
  }
  return true;
}

}  // namespace hv::tessary
