#include "platform/posix/home_folder.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <optional>
#include <string>

#include "support/bytes.h"
#include "support/temp_dir.h"

namespace hv::platform {
namespace {

TEST(HomeFolderTest, PasswdFileGivesTheHomeOfTheFirstLineWithTheUid) {
  test::TempDir dir;
  test::WriteFile(dir / "passwd", std::string("root:x:0:0:root:/root:/bin/sh\n"
                                              "# a comment line has no uid\n"
                                              "short:x:1000\n"
                                              "sign:x:+1000:1000::/home/sign:/bin/sh\n"
                                              "tail:x:1000x:1000::/home/tail:/bin/sh\n"
                                              "big:x:99999999999999999999:0::/home/big:/bin/sh\n"
                                              "ann:x:1000:1000:Ann,,,:/home/ann:/bin/bash\n"
                                              "again:x:1000:1000::/home/again:/bin/sh\n"
                                              "nohome:x:1001:1001::\n"
                                              "last:x:1002:1002::/home/last"));
  const std::string file = (dir / "passwd").string();
  EXPECT_EQ(PasswdFileHome(file, 0), "/root");
  EXPECT_EQ(PasswdFileHome(file, 1000), "/home/ann");
  EXPECT_EQ(PasswdFileHome(file, 1001), "");
  EXPECT_EQ(PasswdFileHome(file, 1002), "/home/last");  // no line end after the last line
  EXPECT_EQ(PasswdFileHome(file, 4242), "");
  EXPECT_EQ(PasswdFileHome((dir / "missing").string(), 0), "");
}

class HomeVariable {
 public:
  explicit HomeVariable(const char* value) {
    if (const char* old = ::getenv("HOME")) saved_ = old;
    ::setenv("HOME", value, 1);
  }
  ~HomeVariable() {
    if (saved_) {
      ::setenv("HOME", saved_->c_str(), 1);
    } else {
      ::unsetenv("HOME");
    }
  }
  HomeVariable(const HomeVariable&) = delete;
  HomeVariable& operator=(const HomeVariable&) = delete;

 private:
  std::optional<std::string> saved_;
};

TEST(HomeFolderTest, HomeVariableFirstThenThePasswordEntry) {
  {
    HomeVariable home("/somewhere/else");
    EXPECT_EQ(HomeFolder(), "/somewhere/else");
  }
  const std::string listed = PasswdFileHome("/etc/passwd", ::getuid());
  if (listed.empty()) GTEST_SKIP() << "this user has no line in /etc/passwd";
  HomeVariable empty("");
  EXPECT_EQ(HomeFolder(), listed);
}

}  // namespace
}  // namespace hv::platform
