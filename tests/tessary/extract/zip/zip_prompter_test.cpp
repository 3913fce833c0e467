#include "tessary/extract/unpack/zip/zip_prompter.h"

#include <gtest/gtest.h>

#include "tessary/extract/unpack/zip/zip_extract.h"
#include "zip_builder.h"
#include "zip_fixture.h"

namespace hv::zip {
namespace {

struct Asked {
  std::string text, title;
  int style = 0;
};

TEST(ZipPrompterTest, ReplaceQuestionTextsAndAnswerCodes) {
  std::vector<Asked> asked;
  int button = 6;
  MessageBoxPrompter prompter([&](const std::string& text, const std::string& title, int style) {
    asked.push_back({text, title, style});
    return button;
  });
  EXPECT_EQ(static_cast<int>(prompter.AskReplace("A.PRG")), 102);
  button = 7;
  EXPECT_EQ(static_cast<int>(prompter.AskReplace("A.PRG")), 100);
  button = 2;
  EXPECT_EQ(static_cast<int>(prompter.AskReplace("A.PRG")), 104);
  ASSERT_EQ(asked.size(), 3u);
  EXPECT_EQ(asked[0].text, "Overwrite A.PRG?");
  EXPECT_EQ(asked[0].title, "VBUnzip - File already exists");
  EXPECT_EQ(asked[0].style, 3);
}

TEST(ZipPrompterTest, ListingRecordsHaveFixedColumns) {
  ListedEntry e{.name = "GAME.D64",
                .uncompressed_size = 174848,
                .year = 2003,
                .month = 4,
                .day = 7,
                .hour = 9,
                .minute = 5};
  const std::string header = ListingHeader();
  ASSERT_EQ(header.size(), 80u);
  EXPECT_EQ(header.substr(0, 9), "Filename:");
  EXPECT_EQ(header.substr(52, 4), "Size");
  EXPECT_EQ(header.substr(61, 4), "Date");
  EXPECT_EQ(header.substr(70, 4), "Time");
  const std::string record = ListingRecord(e);
  ASSERT_EQ(record.size(), 80u);
  EXPECT_EQ(record.substr(0, 10), "GAME.D64  ");
  EXPECT_EQ(record.substr(50, 7), " 174848");
  EXPECT_EQ(record.substr(57, 17), "   7/04/03   9:05");
  e.name = std::string(60, 'N');
  e.uncompressed_size = 12345678;  // wider than the column: its last 7 characters
  e.day = 25, e.hour = 23;
  const std::string wide = ListingRecord(e);
  EXPECT_EQ(wide.substr(0, 51), std::string(50, 'N') + "2");
  EXPECT_EQ(wide.substr(50, 7), "2345678");
  EXPECT_EQ(wide.substr(59, 3), "25/");
  EXPECT_EQ(wide.substr(69, 3), "23:");
}

TEST(ZipPrompterTest, AskedOnlyWhenOverwritingIsOff) {
  test::ZipWorkArea area;
  test::WriteFile(area.root() / "a.zip", test::BuildZip({{.name = "A.PRG", .data = {1}},
                                                         {.name = "B.PRG", .data = {2}},
                                                         {.name = "C.PRG", .data = {3}}}));
  for (const char* name : {"A.PRG", "B.PRG", "C.PRG"})
    test::WriteFile(area.dest() / name, std::string("old"));
  std::vector<std::string> asked;
  std::vector<int> buttons = {6, 2};  // Yes for A, Cancel for B: C is not asked
  ZipTextCollector prompter([&](const std::string& text, const std::string&, int) {
    asked.push_back(text);
    const int b = buttons.front();
    buttons.erase(buttons.begin());
    return b;
  });
  ZipOptions options;
  options.overwrite = false;
  options.prompter = &prompter;
  options.quiet = false;
  const auto result = ExtractZip((area.root() / "a.zip").string(), area.dest_str(), options);
  ASSERT_TRUE(result.ok) << result.failure.description;
  EXPECT_EQ(asked, (std::vector<std::string>{"Overwrite A.PRG?", "Overwrite B.PRG?"}));
  EXPECT_EQ(result.written, std::vector<std::string>{"A.PRG"});
  EXPECT_EQ(test::ReadFile(area.dest() / "A.PRG"), test::Bytes{1});
  EXPECT_EQ(test::ReadFile(area.dest() / "B.PRG"), test::Bytes({'o', 'l', 'd'}));
  EXPECT_EQ(prompter.print_text, "  inflating: A.PRG\r\n");

  // The default run asks nothing and replaces everything.
  const auto plain = ExtractZip((area.root() / "a.zip").string(), area.dest_str());
  ASSERT_TRUE(plain.ok);
  EXPECT_EQ(test::ReadFile(area.dest() / "C.PRG"), test::Bytes{3});

  ListZip((area.root() / "a.zip").string(), &prompter);
  EXPECT_EQ(prompter.listing_count, 3);
  EXPECT_EQ(prompter.listing_text.size(), 4u * 80u);
}

}  // namespace
}  // namespace hv::zip
