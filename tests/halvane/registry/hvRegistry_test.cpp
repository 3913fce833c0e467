#include "halvane/functions/hvRegistry.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <optional>

#include "common/error.h"
#include "store.h"

namespace hv::test {
namespace {

using platform::RegistryRoot;
constexpr std::int16_t kTrue = -1;
constexpr std::int16_t kFalse = 0;
constexpr auto kHkcu = RegistryRoot::kCurrentUser;

// The methods take every argument by reference; these take copies, so the tests can also
// check that nothing but vValue changes.
bool Save(std::string root, std::string key, std::string name, Variant value,
          std::int16_t string_type) {
  const std::string root0 = root, key0 = key, name0 = name;
  const Variant value0 = value;
  hvRegistry reg;
  const bool result = reg.SaveSetting(root, key, name, value, string_type);
  EXPECT_EQ(root, root0);
  EXPECT_EQ(key, key0);
  EXPECT_EQ(name, name0);
  EXPECT_EQ(value, value0);
  return result;
}

bool Get(std::string root, std::string key, std::string name, Variant& value,
         std::int16_t string_type, std::optional<Variant> def = std::nullopt) {
  hvRegistry reg;
  if (!def) return reg.GetSetting(root, key, name, value, string_type);
  const Variant def0 = *def;
  const bool result = reg.GetSetting(root, key, name, value, string_type, *def);
  EXPECT_EQ(*def, def0);
  return result;
}

int ErrorNumber(const std::function<void()>& f) {
  try {
    f();
  } catch (const Error& e) {
    return e.Number();
  }
  return 0;
}

Bytes B(std::initializer_list<int> bytes) {
  Bytes out;
  for (int b : bytes) out.push_back(static_cast<std::uint8_t>(b));
  return out;
}

using RegistryTest = StoreTest;

TEST_F(RegistryTest, RootNamesAreRecognisedInAnyCase) {
  ASSERT_TRUE(Save("hkey_current_user", "Software\\Zen", "Path", "C:\\Games", kTrue));
  Variant v;
  ASSERT_TRUE(Get("HKEY_CURRENT_USER", "Software\\Zen", "Path", v, kTrue));
  EXPECT_EQ(v, Variant("C:\\Games"));
  for (const char* root : {"HKEY_CLASSES_ROOT", "Hkey_Local_Machine", "hKEY_uSERS"}) {
    EXPECT_TRUE(Save(root, "K", "N", "x", kTrue)) << root;
  }
}

TEST_F(RegistryTest, OtherRootNamesFailAndTouchNothing) {
  for (const char* root : {"HKCU", "HKEY_CURRENT_CONFIG", "", "HKEY_CURRENT_USER\\", " HKEY_USERS",
                           "HKEY_PERFORMANCE_DATA"}) {
    EXPECT_FALSE(Save(root, "Software\\Zen", "Path", "x", kTrue)) << root;
    Variant v("before");
    EXPECT_FALSE(Get(root, "Software\\Zen", "Path", v, kTrue, Variant("dflt"))) << root;
    EXPECT_EQ(v, Variant("before"));
  }
  EXPECT_FALSE(std::filesystem::exists(DbPath()));  // not even opened
}

TEST_F(RegistryTest, MissingValueWithoutDefaultIsNotFoundButCreatesTheKey) {
  Variant v(std::int32_t{42});
  ASSERT_TRUE(Get("HKEY_CURRENT_USER", "Software\\Zen\\Deep", "Nothing", v, kFalse));
  EXPECT_EQ(v, Variant("--NOT-FOUND--"));
  EXPECT_EQ(KeyCount(), 3);
  EXPECT_EQ(ValueCount(), 0);
  // The marker passed explicitly behaves as the omitted default.
  Variant w;
  ASSERT_TRUE(Get("HKEY_CURRENT_USER", "Software\\Zen\\Deep", "Nothing", w, kTrue,
                  Variant("--DONT-SET--")));
  EXPECT_EQ(w, Variant("--NOT-FOUND--"));
  EXPECT_EQ(ValueCount(), 0);
}

TEST_F(RegistryTest, MissingValueGetsTheDefaultStoredAndReadBack) {
  Variant v;
  ASSERT_TRUE(Get("HKEY_CURRENT_USER", "Zen", "Count", v, kFalse, Variant(std::int16_t{5})));
  EXPECT_EQ(v, Variant(std::int32_t{5}));
  RawValue raw = ReadRaw(kHkcu, "Zen", "Count");
  EXPECT_EQ(raw.type, 4u);
  EXPECT_EQ(raw.data, B({5, 0, 0, 0}));

  // A text default that holds a number becomes the integer as well.
  ASSERT_TRUE(Get("HKEY_CURRENT_USER", "Zen", "Other", v, kFalse, Variant(" -2 ")));
  EXPECT_EQ(v, Variant(std::int32_t{-2}));

  Variant s;
  ASSERT_TRUE(Get("HKEY_CURRENT_USER", "Zen", "Name", s, kTrue, Variant(std::int32_t{5})));
  EXPECT_EQ(s, Variant("5"));
  EXPECT_EQ(ReadRaw(kHkcu, "Zen", "Name").data, B({'5', 0}));

  // An existing value wins over the default, whatever bStringType says.
  ASSERT_TRUE(Get("HKEY_CURRENT_USER", "Zen", "Name", s, kFalse, Variant(std::int32_t{9})));
  EXPECT_EQ(s, Variant("5"));
}

TEST_F(RegistryTest, TextIsStoredWithOneNulAndReadBackWithout) {
  ASSERT_TRUE(Save("HKEY_CURRENT_USER", "Zen", "Text", "ABC", kTrue));
  RawValue raw = ReadRaw(kHkcu, "Zen", "Text");
  EXPECT_EQ(raw.type, 1u);
  EXPECT_EQ(raw.data, B({'A', 'B', 'C', 0}));
  Variant v;
  ASSERT_TRUE(Get("HKEY_CURRENT_USER", "Zen", "Text", v, kTrue));
  EXPECT_EQ(v, Variant("ABC"));

  // NUL inside a text and Windows-1252 letters are data; the empty text is one NUL.
  const std::string odd("A\0B\xE9", 4);
  ASSERT_TRUE(Save("HKEY_CURRENT_USER", "Zen", "Odd", Variant(odd), kTrue));
  EXPECT_EQ(ReadRaw(kHkcu, "Zen", "Odd").data, B({'A', 0, 'B', 0xE9, 0}));
  ASSERT_TRUE(Get("HKEY_CURRENT_USER", "Zen", "Odd", v, kTrue));
  EXPECT_EQ(v, Variant(odd));
  ASSERT_TRUE(Save("HKEY_CURRENT_USER", "Zen", "Empty", Variant(), kTrue));
  EXPECT_EQ(ReadRaw(kHkcu, "Zen", "Empty").data, B({0}));
  ASSERT_TRUE(Get("HKEY_CURRENT_USER", "Zen", "Empty", v, kTrue));
  EXPECT_EQ(v, Variant(""));
}

TEST_F(RegistryTest, OnlyMinusOneSelectsAString) {
  for (std::int16_t flag : {std::int16_t{1}, std::int16_t{0}, std::int16_t{-2}}) {
    ASSERT_TRUE(Save("HKEY_CURRENT_USER", "Zen", "Flag", "7", flag));
    RawValue raw = ReadRaw(kHkcu, "Zen", "Flag");
    EXPECT_EQ(raw.type, 4u) << flag;
    EXPECT_EQ(raw.data, B({7, 0, 0, 0})) << flag;
  }
  ASSERT_TRUE(Save("HKEY_CURRENT_USER", "Zen", "Flag", "7", kTrue));
  EXPECT_EQ(ReadRaw(kHkcu, "Zen", "Flag").type, 1u);
}

TEST_F(RegistryTest, IntegersConvertAsVisualBasicDoesAndRoundTrip) {
  const std::pair<Variant, std::int32_t> cases[] = {{Variant(std::int32_t{-1}), -1},
                                                    {Variant(2.5), 2},
                                                    {Variant(3.5), 4},
                                                    {Variant(true), -1},
                                                    {Variant("&H10"), 16},
                                                    {Variant(), 0},
                                                    {Variant(std::int32_t{INT32_MIN}), INT32_MIN}};
  for (const auto& [in, out] : cases) {
    ASSERT_TRUE(Save("HKEY_USERS", "Zen", "N", in, kFalse));
    Variant v;
    ASSERT_TRUE(Get("HKEY_USERS", "Zen", "N", v, kFalse));
    EXPECT_EQ(v, Variant(out)) << in.ToText();
  }
  EXPECT_EQ(ReadRaw(RegistryRoot::kUsers, "Zen", "N").data, B({0, 0, 0, 0x80}));
}

TEST_F(RegistryTest, ConversionErrorsReachTheCallerWithNothingWritten) {
  EXPECT_EQ(ErrorNumber([] { Save("HKEY_CURRENT_USER", "Zen", "N", "ABC", kFalse); }), 13);
  EXPECT_EQ(ErrorNumber([] { Save("HKEY_CURRENT_USER", "Zen", "N", "99999999999", kFalse); }), 6);
  EXPECT_EQ(ErrorNumber([] { Save("HKEY_CURRENT_USER", "Zen", "N", Variant::Null{}, kFalse); }),
            94);
  EXPECT_EQ(ValueCount(), 0);

  Variant v("untouched");
  EXPECT_EQ(ErrorNumber([&] { Get("HKEY_CURRENT_USER", "Zen", "N", v, kFalse, Variant("ABC")); }),
            13);
  EXPECT_EQ(v, Variant("untouched"));
  EXPECT_EQ(ValueCount(), 0);

  // The key was released: the store takes the next write at once.
  EXPECT_TRUE(Save("HKEY_CURRENT_USER", "Zen", "N", "1", kFalse));
}

TEST_F(RegistryTest, ValuesOfOtherTypesCountAsMissing) {
  WriteRaw(kHkcu, "Zen", "Expand", 2, B({'%', 'P', '%', 0}));
  WriteRaw(kHkcu, "Zen", "Binary", 3, B({1, 2, 3}));
  Variant v("before");
  ASSERT_TRUE(Get("HKEY_CURRENT_USER", "Zen", "Expand", v, kTrue));
  EXPECT_EQ(v, Variant("--NOT-FOUND--"));
  EXPECT_EQ(ReadRaw(kHkcu, "Zen", "Expand").type, 2u);  // left as it was

  ASSERT_TRUE(Get("HKEY_CURRENT_USER", "Zen", "Expand", v, kTrue, Variant("C:\\")));
  EXPECT_EQ(v, Variant("C:\\"));
  EXPECT_EQ(ReadRaw(kHkcu, "Zen", "Expand").type, 1u);
  ASSERT_TRUE(Get("HKEY_CURRENT_USER", "Zen", "Binary", v, kTrue, Variant(std::int32_t{3})));
  EXPECT_EQ(v, Variant("3"));
  ASSERT_TRUE(Get("HKEY_CURRENT_USER", "Zen", "Binary", v, kFalse, Variant(std::int32_t{8})));
  EXPECT_EQ(v, Variant("3"));  // now a string, so it is found
}

TEST_F(RegistryTest, MalformedValuesReadWithoutOverrun) {
  WriteRaw(kHkcu, "Zen", "Short", 4, B({0x34, 0x12}));
  WriteRaw(kHkcu, "Zen", "Long", 4, B({1, 0, 0, 0, 2, 0, 0, 0}));
  WriteRaw(kHkcu, "Zen", "NoNul", 1, B({'A', 'B'}));
  WriteRaw(kHkcu, "Zen", "NoBytes", 1, {});
  Variant v;
  ASSERT_TRUE(Get("HKEY_CURRENT_USER", "Zen", "Short", v, kFalse));
  EXPECT_EQ(v, Variant(std::int32_t{0x1234}));
  ASSERT_TRUE(Get("HKEY_CURRENT_USER", "Zen", "Long", v, kFalse));
  EXPECT_EQ(v, Variant("--NOT-FOUND--"));
  ASSERT_TRUE(Get("HKEY_CURRENT_USER", "Zen", "NoNul", v, kTrue));
  EXPECT_EQ(v, Variant("AB"));
  ASSERT_TRUE(Get("HKEY_CURRENT_USER", "Zen", "NoBytes", v, kTrue));
  EXPECT_EQ(v, Variant(""));
}

TEST_F(RegistryTest, KeyAndValueNamesIgnoreCaseAndKeepTheFirstSpelling) {
  ASSERT_TRUE(Save("HKEY_CURRENT_USER", "Software\\Z\xE9n\\\xD4pts", "Size", "1", kTrue));
  Variant v;
  ASSERT_TRUE(Get("HKEY_CURRENT_USER", "SOFTWARE\\Z\xC9N\\\xF4PTS", "size", v, kTrue));
  EXPECT_EQ(v, Variant("1"));
  ASSERT_TRUE(Save("HKEY_CURRENT_USER", "software\\z\xE9n\\\xF4pts", "SIZE", "2", kTrue));
  EXPECT_EQ(KeyCount(), 3);
  EXPECT_EQ(ValueCount(), 1);
  EXPECT_EQ(Text("SELECT name FROM reg_keys WHERE id=(SELECT max(id) FROM reg_keys)"),
            "\xC3\x94pts");
  EXPECT_EQ(Text("SELECT name FROM reg_values"), "Size");
  // The same names in another root are other keys.
  ASSERT_TRUE(Get("HKEY_LOCAL_MACHINE", "Software\\Z\xE9n\\\xD4pts", "Size", v, kTrue));
  EXPECT_EQ(v, Variant("--NOT-FOUND--"));
}

TEST_F(RegistryTest, KeyPathsFollowTheRegistrysSeparatorRules) {
  for (const char* key : {"\\Software", "\\"}) {
    EXPECT_FALSE(Save("HKEY_CURRENT_USER", key, "N", "x", kTrue)) << key;
  }
  EXPECT_FALSE(std::filesystem::exists(DbPath()));
  // Runs of backslashes inside or at the end are one separator; "" is the root itself.
  EXPECT_TRUE(Save("HKEY_CURRENT_USER", "Zen\\\\Sub\\", "N", "x", kTrue));
  Variant v;
  ASSERT_TRUE(Get("HKEY_CURRENT_USER", "Zen\\Sub", "N", v, kTrue));
  EXPECT_EQ(v, Variant("x"));
  EXPECT_EQ(KeyCount(), 2);
  EXPECT_TRUE(Save("HKEY_CURRENT_USER", "", "", "root default", kTrue));
  ASSERT_TRUE(Get("HKEY_CURRENT_USER", "", "", v, kTrue));
  EXPECT_EQ(v, Variant("root default"));
}

TEST_F(RegistryTest, AFileThatIsNotADatabaseFailsAndStaysAsItWas) {
  const std::string junk(4096, 'x');
  WriteFile(DbPath(), junk);
  Variant v("before");
  EXPECT_FALSE(Save("HKEY_CURRENT_USER", "Zen", "N", "x", kTrue));
  EXPECT_FALSE(Get("HKEY_CURRENT_USER", "Zen", "N", v, kTrue, Variant("d")));
  EXPECT_EQ(v, Variant("before"));
  const Bytes after = ReadFile(DbPath());
  EXPECT_EQ(std::string(after.begin(), after.end()), junk);
}

}  // namespace
}  // namespace hv::test
