#include "tessary/readers/hvT64.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/temp_dir.h"
#include "tessary/readers/image_builder.h"

namespace hv::tessary {
namespace {

using test::Bytes;
using test::MakeT64;
using test::PaddedName;
using test::Raw;
using test::T64Header;

std::vector<std::string> Names(const hvT64Entries& entries) {
  std::vector<std::string> names;
  for (const auto& e : entries.All()) names.push_back(e->C64Filename());
  return names;
}

class T64Test : public ::testing::Test {
 protected:
  std::string Write(const Bytes& bytes, const std::string& name = "tape.t64") {
    const auto path = dir_ / name;
    test::WriteFile(path, bytes);
    return path.string();
  }
  test::TempDir dir_;
};

TEST_F(T64Test, ReadsTheHeaderAndTheUsedRecordsOnly) {
  T64Header header;
  header.entries_count = 30;
  header.entries_used = 2;
  hvT64 t64;
  ASSERT_TRUE(t64.Load(Write(MakeT64(
      header, {PaddedName("GAME", ' '), PaddedName("INTRO", ' '), PaddedName("NOT USED", ' ')}))));
  EXPECT_TRUE(t64.LastFailure().empty());
  EXPECT_EQ(t64.Signature(), std::string("C64 tape image file") + std::string(13, '\0'));
  EXPECT_EQ(t64.Version(), "$0100");
  EXPECT_EQ(t64.EntriesCount(), 30);
  EXPECT_EQ(t64.EntriesUsed(), 2);
  EXPECT_EQ(t64.TapeImageName(), "GAMES");
  EXPECT_EQ(Names(*t64.Entries()), (std::vector<std::string>{"GAME", "INTRO"}));
}

TEST_F(T64Test, TextsLoseOnlySpaces) {
  T64Header header;
  header.signature = Raw("  C64S tape file" + std::string(16, ' '));
  header.name = Raw(std::string("\0TAPE  ", 7) + std::string(17, ' '));
  header.entries_used = 4;
  hvT64 t64;
  ASSERT_TRUE(t64.Load(
      Write(MakeT64(header, {Bytes(16, ' '), PaddedName("  PADDED", 0xA0), PaddedName("ZERO", 0x00),
                             Raw(" \xC1\xE9 \x01" + std::string(11, ' '))}))));
  EXPECT_EQ(t64.Signature(), "C64S tape file");
  EXPECT_EQ(t64.TapeImageName(), std::string("\0TAPE", 5));
  EXPECT_EQ(Names(*t64.Entries()),
            (std::vector<std::string>{"", "PADDED" + std::string(8, '\xA0'),
                                      "ZERO" + std::string(12, '\0'), "\xC1\xE9 \x01"}));
}

TEST_F(T64Test, VersionIsFourUpperCaseHexDigits) {
  const std::vector<std::pair<std::pair<std::uint8_t, std::uint8_t>, std::string>> cases = {
      {{0x01, 0x01}, "$0101"},
      {{0x00, 0x02}, "$0200"},
      {{0xFF, 0xFF}, "$FFFF"},
      {{0x0A, 0x00}, "$000A"},
      {{0x00, 0x00}, "$0000"}};
  for (const auto& [bytes, text] : cases) {
    T64Header header;
    header.version_low = bytes.first;
    header.version_high = bytes.second;
    hvT64 t64;
    ASSERT_TRUE(t64.Load(Write(MakeT64(header, {}))));
    EXPECT_EQ(t64.Version(), text);
  }
}

TEST_F(T64Test, EntryCountsAreUnsignedWordsAndNotChecked) {
  T64Header header;
  header.entries_count = 0;
  header.entries_used = 0;
  hvT64 t64;
  ASSERT_TRUE(t64.Load(Write(MakeT64(header, {PaddedName("IGNORED", ' ')}))));
  EXPECT_EQ(t64.Entries()->Count(), 0);

  // More used than the directory or the file holds: the missing records read as zeros.
  header.entries_count = 65535;
  header.entries_used = 3;
  ASSERT_TRUE(t64.Load(Write(MakeT64(header, {PaddedName("REAL", ' ')}))));
  EXPECT_EQ(t64.EntriesCount(), 65535);
  EXPECT_EQ(Names(*t64.Entries()),
            (std::vector<std::string>{"REAL", std::string(16, '\0'), std::string(16, '\0')}));
}

TEST_F(T64Test, MoreThan32767UsedRecordsFailAfterTheHeader) {
  T64Header header;
  header.signature = Raw("BIG");
  header.version_low = 0x00;
  header.version_high = 0x02;
  header.entries_count = 40000;
  header.entries_used = 40000;
  hvT64 t64;
  EXPECT_FALSE(t64.Load(Write(MakeT64(header, {PaddedName("NEVER", ' ')}))));
  EXPECT_FALSE(t64.LastFailure().empty());
  EXPECT_EQ(t64.Signature(), std::string("BIG") + std::string(29, '\0'));
  EXPECT_EQ(t64.Version(), "$0200");
  EXPECT_EQ(t64.EntriesCount(), 40000);
  EXPECT_EQ(t64.EntriesUsed(), 40000);
  EXPECT_EQ(t64.TapeImageName(), "GAMES");
  EXPECT_EQ(t64.Entries()->Count(), 0);

  header.entries_used = 32768;
  EXPECT_FALSE(t64.Load(Write(MakeT64(header, {}))));
  header.entries_used = 32767;  // the largest count read; the file ends long before
  ASSERT_TRUE(t64.Load(Write(MakeT64(header, {PaddedName("FIRST", ' ')}))));
  ASSERT_EQ(t64.Entries()->Count(), 32767);
  EXPECT_EQ(t64.Entries()->Entry(1)->C64Filename(), "FIRST");
}

TEST_F(T64Test, LoadAppendsAndAFailureKeepsWhatWasRead) {
  T64Header first;
  first.entries_used = 2;
  T64Header second;
  second.name = Raw("SECOND");
  second.entries_used = 1;
  hvT64 t64;
  ASSERT_TRUE(t64.Load(Write(MakeT64(first, {Raw("A"), Raw("B")}), "a.t64")));
  ASSERT_TRUE(t64.Load(Write(MakeT64(second, {Raw("C")}), "b.t64")));
  EXPECT_EQ(t64.TapeImageName(), std::string("SECOND") + std::string(18, '\0'));
  EXPECT_EQ(t64.EntriesUsed(), 1);
  ASSERT_EQ(t64.Entries()->Count(), 3);
  EXPECT_EQ(t64.Entries()->Entry(3)->C64Filename().substr(0, 1), "C");

  EXPECT_FALSE(t64.Load((dir_ / "missing.t64").string()));
  EXPECT_EQ(t64.LastFailure().number, vberr::kFileNotFound);
  EXPECT_EQ(t64.EntriesUsed(), 1);
  EXPECT_EQ(t64.Entries()->Count(), 3);
}

TEST_F(T64Test, CollectionRemovesByPositionAndRejectsKeys) {
  hvT64 t64;
  EXPECT_EQ(t64.Signature(), "");
  EXPECT_EQ(t64.Version(), "");
  EXPECT_EQ(t64.EntriesCount(), 0);
  auto& entries = *t64.Entries();
  entries.Add("ONE");
  auto second = entries.Add("TWO");
  entries.Add("THREE");

  const auto expect_error = [](auto&& call, int number) {
    try {
      call();
      ADD_FAILURE() << "no error raised";
    } catch (const Error& e) {
      EXPECT_EQ(e.Number(), number);
    }
  };
  expect_error([&] { entries.Entry(0); }, 9);
  expect_error([&] { entries.Entry(4); }, 9);
  expect_error([&] { entries.Remove(0); }, 9);
  expect_error([&] { entries.Remove(4); }, 9);
  expect_error([&] { entries.EntryByKey("ONE"); }, 5);
  expect_error([&] { entries.EntryByKey("1"); }, 5);
  EXPECT_EQ(entries.Count(), 3);

  entries.Remove(1);
  EXPECT_EQ(entries.Count(), 2);
  EXPECT_EQ(entries.Entry(1), second);
  entries.Remove(2);
  EXPECT_EQ(Names(entries), (std::vector<std::string>{"TWO"}));

  std::shared_ptr<hvT64Entry> kept;
  {
    hvT64 other;
    kept = other.Entries()->Add("KEPT");
  }
  EXPECT_EQ(kept->C64Filename(), "KEPT");
}

}  // namespace
}  // namespace hv::tessary
