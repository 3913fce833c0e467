#include "tessary/readers/hvD64.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/temp_dir.h"
#include "support/tools.h"
#include "tessary/readers/image_builder.h"

namespace hv::tessary {
namespace {

using test::D64Builder;
using test::DirEntry;
using test::PaddedName;
using test::Raw;

DirEntry Prg(const std::string& name, std::uint16_t blocks = 1) {
  return {0x82, PaddedName(name), blocks};
}

std::vector<std::string> Names(const hvD64& d64) {
  std::vector<std::string> names;
  for (const auto& e : d64.Entries()->All()) names.push_back(e->Filename());
  return names;
}

class D64Test : public ::testing::Test {
 protected:
  std::string Write(const test::Bytes& bytes, const std::string& name = "disk.d64") {
    const auto path = dir_ / name;
    test::WriteFile(path, bytes);
    return path.string();
  }
  test::TempDir dir_;
};

TEST_F(D64Test, ReadsOneDirectorySectorInOrder) {
  D64Builder image;
  image.DiskName(PaddedName("  MY GAMES"))
      .DiskIdBytes(Raw("AB\xA0"
                       "2A"));
  image.Directory({Prg("FIRST", 10), Prg("SECOND", 20), {0x81, PaddedName("NOTES"), 3}}, {1});
  hvD64 d64;
  ASSERT_TRUE(d64.Load(Write(image.bytes())));
  EXPECT_TRUE(d64.LastFailure().empty());
  EXPECT_EQ(d64.DiskName(), "  MY GAMES");  // leading spaces stay
  EXPECT_EQ(d64.DiskID(), "AB 2A");
  ASSERT_EQ(d64.Entries()->Count(), 3);
  EXPECT_EQ(Names(d64), (std::vector<std::string>{"FIRST", "SECOND", "NOTES"}));
  EXPECT_EQ(d64.Entries()->Entry(1)->FileSizeInBlocks(), "   10");
  EXPECT_EQ(d64.Entries()->Entry(3)->FileType(), "SEQ");
}

TEST_F(D64Test, FileTypeTableComparesTheWholeByte) {
  const std::vector<std::pair<std::uint8_t, std::string>> table = {
      {0x80, "DEL"},    {0x81, "SEQ"},    {0x82, "PRG"},    {0x83, "USR"},    {0x84, "REL"},
      {0xC0, "DEL<"},   {0xC1, "SEQ<"},   {0xC2, "PRG<"},   {0xC3, "USR<"},   {0xC4, "REL<"},
      {0x01, "*SEQ"},   {0x02, "*PRG"},   {0x03, "*USR"},   {0x04, "*REL"},   {0xA0, "@0:DEL"},
      {0xA1, "@0:SEQ"}, {0xA2, "@0:PRG"}, {0xA3, "@0:USR"}, {0xA4, "@0:REL"}, {0x42, "?"},
      {0x85, "?"},      {0xC5, "?"},      {0x05, "?"},      {0xFF, "?"},      {0x92, "?"}};
  std::vector<DirEntry> entries;
  for (const auto& [type, text] : table) {
    entries.push_back({type, PaddedName(text), 1});
    entries.push_back({0x00, PaddedName("SKIPPED"), 1});  // a free slot adds nothing
  }
  D64Builder image;
  image.Directory(entries, {1, 4, 7, 10, 13, 16, 2});
  hvD64 d64;
  ASSERT_TRUE(d64.Load(Write(image.bytes())));
  ASSERT_EQ(static_cast<std::size_t>(d64.Entries()->Count()), table.size());
  for (std::size_t i = 0; i < table.size(); ++i) {
    const auto& entry = d64.Entries()->Entry(static_cast<std::int64_t>(i + 1));
    EXPECT_EQ(entry->FileType(), table[i].second) << "type byte " << int{table[i].first};
    EXPECT_EQ(entry->Filename(), table[i].second);
  }
}

TEST_F(D64Test, NamesIdsAndSizeTextsFollowTheByteTextRule) {
  D64Builder image;
  image.DiskName(PaddedName(std::string("D\0ISK  ", 7)));
  image.DiskIdBytes(
      Raw(std::string("0\0\xA0"
                      "2\xC1",
                      5)));
  image.Directory({{0x82, test::Bytes(16, 0xA0), 0},
                   {0x82, PaddedName(std::string("A\0B", 3)), 664},
                   {0x82, PaddedName(" SPACED  "), 65535},
                   {0x82,
                    Raw("\xC1\xE9\x7F\x01"
                        "ABCDEFGHIJKL"),
                    12345}},
                  {1});
  hvD64 d64;
  ASSERT_TRUE(d64.Load(Write(image.bytes())));
  EXPECT_EQ(d64.DiskName(), std::string("D\0ISK", 5));
  EXPECT_EQ(d64.DiskID(), "0  2\xC1");  // 0x00 and 0xA0 both become spaces here
  const auto& e = *d64.Entries();
  ASSERT_EQ(e.Count(), 4);
  EXPECT_EQ(e.Entry(1)->Filename(), "");
  EXPECT_EQ(e.Entry(2)->Filename(), std::string("A\0B", 3));  // NUL stays in names
  EXPECT_EQ(e.Entry(3)->Filename(), " SPACED");
  EXPECT_EQ(e.Entry(4)->Filename(),
            "\xC1\xE9\x7F\x01"
            "ABCDEFGHIJKL");  // no PETSCII mapping
  EXPECT_EQ(e.Entry(1)->FileSizeInBlocks(), "    0");
  EXPECT_EQ(e.Entry(2)->FileSizeInBlocks(), "  664");
  EXPECT_EQ(e.Entry(3)->FileSizeInBlocks(), "65535");
  EXPECT_EQ(e.Entry(4)->FileSizeInBlocks(), "12345");
}

TEST_F(D64Test, TrackSectorOffsetFollowsTheZones) {
  EXPECT_EQ(hvD64::TrackSectorOffset(18, 0), 0x16500u);
  EXPECT_EQ(hvD64::TrackSectorOffset(18, 1), 0x16600u);
  EXPECT_EQ(hvD64::TrackSectorOffset(1, 0), 0u);
  EXPECT_EQ(hvD64::TrackSectorOffset(25, 0), 0x1EA00u);
  EXPECT_EQ(hvD64::TrackSectorOffset(31, 0), 0x25600u);
  EXPECT_EQ(hvD64::TrackSectorOffset(40, 16), 0x25600u + 256u * (9 * 17 + 16));
  EXPECT_EQ(hvD64::TrackSectorOffset(1, 21), hvD64::TrackSectorOffset(2, 0));  // unchecked
  EXPECT_EQ(hvD64::TrackSectorOffset(0, 5), 0u);
  EXPECT_EQ(hvD64::TrackSectorOffset(41, 0), 0u);
  EXPECT_EQ(hvD64::TrackSectorOffset(255, 255), 0u);
}

TEST_F(D64Test, FollowsLinksAcrossZonesActingOnThemAfterTheWholeSector) {
  D64Builder image;
  // The link of the first entry only counts; the others' bytes 0/1 are file data.
  image.Sector(D64Builder::Offset(18, 1), 25, 2, {Prg("A"), Prg("B")});
  image.bytes()[D64Builder::Offset(18, 1) + 32] = 18;  // second entry: a stray link to 18/2
  image.bytes()[D64Builder::Offset(18, 1) + 33] = 2;
  image.Sector(D64Builder::Offset(25, 2), 31, 0, {Prg("C")});
  image.Sector(D64Builder::Offset(31, 0), 1, 5, {Prg("D")});
  image.Sector(D64Builder::Offset(1, 5), 0, 0xFF, {Prg("E")});
  image.Sector(D64Builder::Offset(18, 2), 0, 0xFF, {Prg("NOT LINKED")});
  hvD64 d64;
  ASSERT_TRUE(d64.Load(Write(image.bytes())));
  EXPECT_EQ(Names(d64), (std::vector<std::string>{"A", "B", "C", "D", "E"}));
}

TEST_F(D64Test, ASelfLinkingSectorIsReadEighteenTimes) {
  D64Builder image;
  image.Sector(D64Builder::Offset(18, 1), 18, 1, {Prg("LOOP1"), Prg("LOOP2")});
  hvD64 d64;
  ASSERT_TRUE(d64.Load(Write(image.bytes())));
  EXPECT_EQ(d64.Entries()->Count(), 36);
  EXPECT_EQ(d64.Entries()->Entry(36)->Filename(), "LOOP2");
}

TEST_F(D64Test, ALinkBeyondTrack40ContinuesAtTheStartOfTheImage) {
  for (const int track : {41, 255}) {
    D64Builder image;
    image.Sector(D64Builder::Offset(18, 1), static_cast<std::uint8_t>(track), 3, {Prg("DIR")});
    image.Sector(0, 0, 0xFF, {Prg("AT ZERO")});
    hvD64 d64;
    ASSERT_TRUE(d64.Load(Write(image.bytes())));
    EXPECT_EQ(Names(d64), (std::vector<std::string>{"DIR", "AT ZERO"})) << track;
  }
}

TEST_F(D64Test, ShortFilesReadAsZeros) {
  {
    // The image ends inside the first entry of the directory.
    D64Builder image;
    image.DiskName(PaddedName("CUT"));
    image.Directory({Prg("ONLY"), Prg("LOST")}, {1});
    image.bytes().resize(D64Builder::Offset(18, 1) + 32);
    hvD64 d64;
    ASSERT_TRUE(d64.Load(Write(image.bytes())));
    EXPECT_EQ(d64.DiskName(), "CUT");
    EXPECT_EQ(Names(d64), (std::vector<std::string>{"ONLY"}));
  }
  {
    hvD64 d64;
    ASSERT_TRUE(d64.Load(Write({}, "empty.d64")));
    EXPECT_EQ(d64.DiskName(), std::string(16, '\0'));  // NULs are not spaces
    EXPECT_EQ(d64.DiskID(), "     ");
    EXPECT_EQ(d64.Entries()->Count(), 0);
  }
}

TEST_F(D64Test, LoadAppendsAndAFailureKeepsWhatWasRead) {
  D64Builder first;
  first.DiskName(PaddedName("ONE")).DiskIdBytes(Raw("11 2A"));
  first.Directory({Prg("A"), Prg("B"), Prg("C")}, {1});
  D64Builder second;
  second.DiskName(PaddedName("TWO")).DiskIdBytes(Raw("22 2A"));
  second.Directory({Prg("D"), Prg("E")}, {1});

  hvD64 d64;
  ASSERT_TRUE(d64.Load(Write(first.bytes(), "one.d64")));
  ASSERT_TRUE(d64.Load(Write(second.bytes(), "two.d64")));
  EXPECT_EQ(d64.DiskName(), "TWO");
  EXPECT_EQ(d64.DiskID(), "22 2A");
  EXPECT_EQ(Names(d64), (std::vector<std::string>{"A", "B", "C", "D", "E"}));

  EXPECT_FALSE(d64.Load((dir_ / "missing.d64").string()));
  EXPECT_EQ(d64.LastFailure().number, vberr::kFileNotFound);
  EXPECT_EQ(d64.LastFailure().description, "File not found");
  EXPECT_EQ(d64.DiskName(), "TWO");
  EXPECT_EQ(d64.Entries()->Count(), 5);

  EXPECT_FALSE(d64.Load(dir_.path().string()));  // a folder is no image
  EXPECT_FALSE(d64.LastFailure().empty());
  EXPECT_FALSE(d64.Load((dir_ / "no" / "such.d64").string()));
  EXPECT_FALSE(d64.Load(""));

  ASSERT_TRUE(d64.Load(Write(first.bytes(), "one.d64")));
  EXPECT_TRUE(d64.LastFailure().empty());
}

TEST_F(D64Test, CollectionIndexesFromOneAndEntriesOutliveTheReader) {
  std::shared_ptr<hvD64Entry> kept;
  std::shared_ptr<hvD64Entries> collection;
  {
    D64Builder image;
    image.Directory({Prg("FIRST"), Prg("SECOND")}, {1});
    hvD64 d64;
    ASSERT_TRUE(d64.Load(Write(image.bytes())));
    EXPECT_EQ(d64.Entries(), d64.Entries());  // always the same collection
    EXPECT_EQ(d64.Entries()->Entry(1)->Filename(), "FIRST");
    for (const std::int64_t bad : {0, 3, -1}) {
      try {
        d64.Entries()->Entry(bad);
        ADD_FAILURE() << "index " << bad << " accepted";
      } catch (const Error& e) {
        EXPECT_EQ(e.Number(), vberr::kSubscriptOutOfRange);
      }
    }
    kept = d64.Entries()->Entry(2);
    collection = d64.Entries();
  }
  EXPECT_EQ(kept->Filename(), "SECOND");
  EXPECT_EQ(collection->Count(), 2);

  hvD64 fresh;
  EXPECT_EQ(fresh.DiskName(), "");
  EXPECT_EQ(fresh.DiskID(), "");
  EXPECT_EQ(fresh.Entries()->Count(), 0);
  auto added = fresh.Entries()->Add("NAME", "    7", "SEQ");
  EXPECT_EQ(added->FileSizeInBlocks(), "    7");
  EXPECT_EQ(fresh.Entries()->Entry(1), added);
}

// Images made by cc1541: the reader meets directories it did not write itself.
class D64Cc1541Test : public D64Test {
 protected:
  void SetUp() override {
    cc1541_ = test::ToolPath(HV_CC1541);
    if (cc1541_.empty()) GTEST_SKIP() << "tool not installed: cc1541";
    prg_ = (dir_ / "file.prg").string();
    test::WriteFile(prg_, test::Bytes{0x01, 0x08, 0x00, 0x00, 0x00});
  }
  std::string Make(std::vector<std::string> args, const std::string& name = "cc.d64") {
    const auto image = (dir_ / name).string();
    args.insert(args.begin(), "-q");
    args.push_back(image);
    const auto run = test::Run(cc1541_, args, dir_.path().string());
    EXPECT_EQ(run.exit_code, 0) << run.err << run.out;
    return image;
  }
  std::string cc1541_;
  std::string prg_;
};

TEST_F(D64Cc1541Test, TypesSizesNameAndIdOfAMultiSectorDirectory) {
  std::vector<std::string> args = {"-n", "test disk", "-i", "ab 2a"};
  std::vector<std::string> expected;
  for (int i = 1; i <= 30; ++i) {
    const auto name = "file " + std::to_string(i);
    args.insert(args.end(), {"-f", name, "-w", prg_});
    expected.push_back("FILE " + std::to_string(i));
  }
  args.insert(args.end(), {"-f", "seqfile", "-T", "SEQ", "-w", prg_});
  args.insert(args.end(), {"-f", "usrfile", "-T", "USR", "-B", "664", "-w", prg_});
  args.insert(args.end(), {"-f", "delfile", "-T", "DEL", "-B", "0", "-w", prg_});
  args.insert(args.end(), {"-f", "relfile", "-T", "REL", "-w", prg_});
  args.insert(args.end(), {"-f", "locked", "-P", "-B", "65535", "-w", prg_});
  expected.insert(expected.end(), {"SEQFILE", "USRFILE", "DELFILE", "RELFILE", "LOCKED"});

  hvD64 d64;
  ASSERT_TRUE(d64.Load(Make(args)));
  EXPECT_EQ(d64.DiskName(), "TEST DISK");
  EXPECT_EQ(d64.DiskID(), "AB 2A");
  EXPECT_EQ(Names(d64), expected);
  const auto& e = *d64.Entries();
  EXPECT_EQ(e.Entry(1)->FileType(), "PRG");
  EXPECT_EQ(e.Entry(1)->FileSizeInBlocks(), "    1");
  EXPECT_EQ(e.Entry(31)->FileType(), "SEQ");
  EXPECT_EQ(e.Entry(32)->FileType(), "USR");
  EXPECT_EQ(e.Entry(32)->FileSizeInBlocks(), "  664");
  EXPECT_EQ(e.Entry(33)->FileType(), "DEL");
  EXPECT_EQ(e.Entry(33)->FileSizeInBlocks(), "    0");
  EXPECT_EQ(e.Entry(34)->FileType(), "REL");
  EXPECT_EQ(e.Entry(35)->FileType(), "PRG<");
  EXPECT_EQ(e.Entry(35)->FileSizeInBlocks(), "65535");
}

TEST_F(D64Cc1541Test, AFullDirectoryGivesAllOfItsEntries) {
  std::vector<std::string> args = {"-n", "full"};
  for (int i = 0; i < 144; ++i) args.insert(args.end(), {"-f", "e" + std::to_string(i), "-L"});
  hvD64 d64;
  ASSERT_TRUE(d64.Load(Make(args)));
  ASSERT_EQ(d64.Entries()->Count(), 144);
  EXPECT_EQ(d64.Entries()->Entry(1)->Filename(), "E0");
  EXPECT_EQ(d64.Entries()->Entry(144)->Filename(), "E143");
}

TEST_F(D64Cc1541Test, AnEmptyDiskHasNoEntries) {
  hvD64 d64;
  ASSERT_TRUE(d64.Load(Make({"-n", "blank", "-i", "xy"})));
  EXPECT_EQ(d64.DiskName(), "BLANK");
  EXPECT_EQ(d64.DiskID().substr(0, 2), "XY");
  EXPECT_EQ(d64.Entries()->Count(), 0);
}

}  // namespace
}  // namespace hv::tessary
