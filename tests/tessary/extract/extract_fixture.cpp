#include "extract_fixture.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "halvane/functions/hvFunctions.h"
#include "support/bytes.h"
#include "support/tools.h"

namespace hv::tessary::test {

using hv::test::Run;
using hv::test::ToolPath;

ExtractTest::ExtractTest() {
  store = tmp / "store";
  bin = tmp / "bin";
  fs::create_directories(store);
  fs::create_directories(bin);
  saved_cwd_ = fs::current_path();
  const char* path = std::getenv("PATH");
  saved_path_ = path ? path : "";
  // Only our stand-ins may answer to the Windows tool names.
  ::setenv("PATH", (bin.string() + ":" + saved_path_).c_str(), 1);
  ::setenv("HV_TOOL_LOG", (tmp / "tools.log").c_str(), 1);
  Rebuild({});
}

ExtractTest::~ExtractTest() {
  fs::current_path(saved_cwd_);
  ::setenv("PATH", saved_path_.c_str(), 1);
}

void ExtractTest::Rebuild(ExtractServices services) {
  if (!services.chooser) services.chooser = &chooser;
  extract = std::make_unique<hvExtract>(std::make_shared<halvane::hvFunctions>(), services);
}

void ExtractTest::UseFoundTools() {
  ExtractServices services;
  services.run_found_tools = true;
  Rebuild(services);
}

Outcome ExtractTest::Extract(const fs::path& stored, const std::string& from, std::int32_t game_id,
                             const std::string& winzip, const std::string& database) {
  Outcome o;
  o.ok = extract->Extract("", stored.string(), database, work().string(), o.file, o.fail, from,
                          winzip, game_id);
  return o;
}

Outcome ExtractTest::ExtractDefaultId(const fs::path& stored, const std::string& from,
                                      const std::string& database) {
  Outcome o;
  o.ok = extract->Extract("", stored.string(), database, work().string(), o.file, o.fail, from, "");
  return o;
}

fs::path ExtractTest::Store(const std::string& name, const std::string& content) {
  const fs::path p = store / name;
  fs::create_directories(p.parent_path());
  hv::test::WriteFile(p, content);
  return p;
}

fs::path ExtractTest::StoreBytes(const std::string& name, std::size_t size) {
  return Store(name, std::string(size, '\x5a'));
}

fs::path ExtractTest::Zip(const std::string& name, const std::vector<fs::path>& files) {
  const fs::path out = store / name;
  std::vector<std::string> args = {"-q", "-j", out.string()};
  for (const fs::path& f : files) args.push_back(f.string());
  const auto r = hv::test::Run(ToolPath(HV_ZIP_TOOL), args);
  EXPECT_EQ(r.exit_code, 0) << r.err;
  return out;
}

fs::path ExtractTest::D64(const std::string& name) {
  const fs::path out = store / name;
  const std::string cc1541 = ToolPath(HV_CC1541);
  if (!cc1541.empty()) {
    const auto r =
        hv::test::Run(cc1541, {"-q", "-n", "game", "-i", "g1", "-f", "game", "-w",
                               std::string(HV_SOURCE_DIR) + "/samples/hello.prg", out.string()});
    if (r.exit_code == 0) return out;
  }
  return StoreBytes(name, 174848);
}

void ExtractTest::StandIn(const std::string& name, const std::string& body) {
  const fs::path p = bin / name;
  hv::test::WriteFile(p,
                      "#!/bin/sh\n"
                      "{ printf '%s' \"$(basename \"$0\")\"; for a in \"$@\"; do "
                      "printf '|%s' \"$a\"; done; printf '\\n'; } >> \"$HV_TOOL_LOG\"\n" +
                          body + "\n");
  fs::permissions(p, fs::perms::owner_all);
}

void ExtractTest::AllStandIns() {
  // gunzip.exe -f -q ARCHIVE: the real gunzip, in place.
  StandIn("gunzip.exe", "exec '" + ToolPath(HV_GZIP_TOOL) + "' -d \"$@\"");
  // lha.exe e /m ARCHIVE TARGET/: unpack flat into TARGET, replacing what is there.
  StandIn("lha.exe", "cd \"$4\" && exec '" + ToolPath(HV_LHA_TOOL) + "' eif \"$3\"");
  // Zip2D64.exe BASE TARGET: join 1!BASE ... 4!BASE of the current folder.
  StandIn("zip2d64.exe", "exec '" + ToolPath(HV_ZIP2DISK_TOOL) + "' \"$1\" \"$2\"");
  // starlynx.exe -x ARCHIVE /y TARGET/BASE: unpack into TARGET.
  StandIn("starlynx.exe",
          "a=$(cd \"$(dirname \"$2\")\" && pwd)/$(basename \"$2\")\n"
          "cd \"$(dirname \"$4\")\" && exec '" +
              ToolPath(HV_CBMCONVERT) + "' -v0 -N -l \"$a\"");
}

std::vector<std::string> ExtractTest::ToolLog() const {
  std::vector<std::string> lines;
  std::ifstream in(tmp / "tools.log");
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

std::string ExtractTest::W(const std::string& rel) const {
  return rel.empty() ? work().string() : (work() / rel).string();
}

std::string Crlf(const std::vector<std::string>& names) {
  std::string s;
  for (const std::string& n : names) s += n + "\r\n";
  return s;
}

}  // namespace hv::tessary::test
