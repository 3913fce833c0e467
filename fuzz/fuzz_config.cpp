// ChangeConfigFile on hostile files and entries. Input: the file's bytes, a NUL, then the
// entries, each "KEY=VALUE", separated by NULs (CRs and LFs are dropped from entries: a
// caller's value with a line break in it is the caller's business). The file keeps its own
// line ends, as it does on Linux.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/error.h"
#include "halvane/functions/config_editor.h"
#include "halvane/functions/hvFunctions.h"
#include "support.h"

namespace {

using hv::halvane::ConfigFileType;

std::vector<ConfigFileType> ParseEntries(std::string_view text) {
  std::vector<ConfigFileType> entries;
  while (!text.empty() && entries.size() < 64) {
    const std::size_t end = text.find('\0');
    std::string item(text.substr(0, end));
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    std::erase(item, '\r');
    std::erase(item, '\n');
    const std::size_t eq = item.find('=');
    if (eq == std::string::npos) {
      entries.push_back({item, ""});
    } else {
      entries.push_back({item.substr(0, eq), item.substr(eq + 1)});
    }
  }
  return entries;
}

std::size_t NonEmptyLines(std::string_view text) {
  std::size_t n = 0;
  for (const std::string& line : hv::halvane::SplitConfigLines(text)) n += line.empty() ? 0 : 1;
  return n;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::string path = hv::fuzz::ScratchDir() + "/config.ini";
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::size_t split = input.find('\0');
  const std::string_view content = input.substr(0, split);
  const std::vector<ConfigFileType> entries = split == std::string_view::npos
                                                  ? std::vector<ConfigFileType>{}
                                                  : ParseEntries(input.substr(split + 1));
  hv::fuzz::WriteAll(path, content);

  hv::halvane::hvFunctions functions;
  try {
    functions.ChangeConfigFile(path, hv::halvane::ConfigFileArray(entries));
    HV_FUZZ_CHECK(!entries.empty(), "an empty array was accepted");
  } catch (const hv::Error& e) {
    HV_FUZZ_CHECK(entries.empty() && e.Number() == hv::vberr::kSubscriptOutOfRange,
                  "unexpected error " + std::to_string(e.Number()) + " " + e.Description());
    HV_FUZZ_CHECK(hv::fuzz::ReadAll(path) == content, "a refused edit changed the file");
    return 0;
  }

  const std::string out = hv::fuzz::ReadAll(path);
  HV_FUZZ_CHECK(
      out == hv::halvane::EditConfigText(content, entries, hv::halvane::LineEnds::kAsRead),
      "the file differs from the edited text");
  // Every line ends as the file's first line did (CR LF when it had none, or a CR); no line
  // is empty, so no line end follows another or starts the file.
  const std::string_view end = hv::halvane::LineEndOf(content);
  HV_FUZZ_CHECK(out.empty() || out.ends_with(end), "the last line does not end as the file did");
  for (std::size_t i = 0; i < out.size(); ++i) {
    if (out[i] != '\r' && out[i] != '\n') continue;
    HV_FUZZ_CHECK(out.compare(i, end.size(), end) == 0, "a line end differs from the file's");
    HV_FUZZ_CHECK(i != 0 && out[i - 1] != '\n', "an empty line was written");
    i += end.size() - 1;
  }
  std::size_t empty_keys = 0;
  for (const ConfigFileType& e : entries) empty_keys += e.KeyToChange.empty() ? 1 : 0;
  // A key matches only a line that begins with it, so only an empty key can fill an empty
  // line; every other entry either replaces a line or adds nothing.
  const std::size_t before = NonEmptyLines(content), after = NonEmptyLines(out);
  HV_FUZZ_CHECK(after >= before && after <= before + (empty_keys ? 1 : 0),
                "line count went from " + std::to_string(before) + " to " + std::to_string(after));
  const auto tree = hv::fuzz::ListTree(hv::fuzz::ScratchDir());
  HV_FUZZ_CHECK(tree.size() == 1 && tree[0] == "config.ini", "a temporary file was left");
  return 0;
}
