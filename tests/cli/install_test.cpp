// `cmake --install` puts hv, its manual page and its completions under a prefix, and the
// completions complete from hv's own command definitions.

#include <gtest/gtest.h>

#include <filesystem>

#include "support/bytes.h"
#include "support/temp_dir.h"
#include "support/tools.h"

namespace hv::test {
namespace {

namespace fs = std::filesystem;

class InstallTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto r =
        test::Run(HV_CMAKE, {"--install", HV_BUILD_DIR, "--prefix", prefix.path().string()});
    ASSERT_EQ(r.exit_code, 0) << r.out << r.err;
  }
  // What bash completes for the words typed so far (the last one being completed).
  std::string BashCompletes(const std::string& words) {
    const std::string script = "source " +
                               (prefix / "share/bash-completion/completions/hv").string() +
                               "; COMP_WORDS=(" + words +
                               "); COMP_CWORD=$((${#COMP_WORDS[@]}-1)); "
                               "[[ \"" +
                               words +
                               "\" == *' ' ]] && COMP_WORDS+=('') && COMP_CWORD=$((COMP_CWORD+1)); "
                               "_hv; echo \"${COMPREPLY[*]}\"";
    return test::Run("/bin/bash", {"-c", script}).out;
  }
  TempDir prefix;
};

TEST_F(InstallTest, PutsEverythingUnderThePrefix) {
  EXPECT_TRUE(fs::exists(prefix / "bin/hv"));
  EXPECT_EQ(test::Run((prefix / "bin/hv").string(), {"--version"}).out, "hv 1.0.0\n");
  EXPECT_TRUE(fs::exists(prefix / "share/man/man1/hv.1"));
  EXPECT_TRUE(fs::exists(prefix / "share/zsh/site-functions/_hv"));
  const auto man = ReadFile(prefix / "share/man/man1/hv.1");
  const std::string text(man.begin(), man.end());
  EXPECT_NE(text.find(".SS \"hv list\""), std::string::npos);
  EXPECT_NE(text.find(".SS \"hv reg get\""), std::string::npos);
  EXPECT_NE(text.find("\\-\\-type TEXT"), std::string::npos);
  EXPECT_EQ(text.find(".B \\-\\-FileToExtract"), std::string::npos);  // hidden aliases stay hidden
}

TEST_F(InstallTest, BashCompletesCommandsAndTheirOptions) {
  EXPECT_EQ(BashCompletes("hv li"), "list\n");
  EXPECT_EQ(BashCompletes("hv pla"), "play-sid play\n");
  EXPECT_EQ(BashCompletes("hv reg "), "get set\n");
  EXPECT_EQ(BashCompletes("hv list --j"), "--json\n");
  EXPECT_EQ(BashCompletes("hv path i"), "is-cdrom\n");
  const auto zsh = ReadFile(prefix / "share/zsh/site-functions/_hv");
  EXPECT_NE(std::string(zsh.begin(), zsh.end()).find("(\"hv sid\") subs=(info set-default)"),
            std::string::npos);
}

}  // namespace
}  // namespace hv::test
