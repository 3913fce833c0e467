// hv extract on zips in every compression method: 7-Zip's zips of a cc1541 image give the image
// back, byte for byte.

#include <gtest/gtest.h>

#include <filesystem>

#include "support/bytes.h"
#include "support/temp_dir.h"
#include "support/tools.h"
#include "tessary/extract/zip/zip_fixture.h"

namespace hv::test {
namespace {

const std::string kHv = std::string(HV_BIN_DIR) + "/hv";

TEST(ExtractMethodsTest, SevenZipZipsInEveryMethodGiveTheImageBack) {
  HV_REQUIRE_TOOL(ToolPath(HV_CC1541));
  HV_REQUIRE_TOOL(ToolPath(HV_7Z_TOOL));
  TempDir tmp;
  WriteFile(tmp / "game.prg", PseudoRandomBytes(20000, 11));
  const std::string image = (tmp / "game.d64").string();
  ASSERT_EQ(hv::test::Run(ToolPath(HV_CC1541), {"-q", "-n", "game", "-f", "game", "-w",
                                                (tmp / "game.prg").string(), image})
                .exit_code,
            0);
  for (const char* method : {"Deflate", "Deflate64", "BZip2", "LZMA", "PPMd", "XZ"}) {
    SCOPED_TRACE(method);
    const std::string zip = (tmp / (std::string(method) + ".zip")).string();
    ASSERT_EQ(hv::test::Run(ToolPath(HV_7Z_TOOL),
                            {"a", "-tzip", std::string("-mm=") + method, zip, image})
                  .exit_code,
              0);
    const std::string work = (tmp / (std::string("work-") + method)).string();
    const RunResult r = hv::test::Run(kHv, {"extract", zip, "--work", work});
    ASSERT_EQ(r.exit_code, 0) << r.out << r.err;
    EXPECT_EQ(r.out, work + "/ReZip/game.d64\n");
    EXPECT_TRUE(ReadFile(work + "/ReZip/game.d64") == ReadFile(image));
  }
}

}  // namespace
}  // namespace hv::test
