// Tessary.dll driven as the front-end drives it: by ProgID and member names only.
// argv[1]: the Windows path of the folder with the tool-made inputs (demo.d64 from cc1541,
// hellwrld.p00 and "hello world.prg" from cbmconvert); synthesized inputs are written there too.

#include <chrono>
#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

#include "Tessary.h"
#include "support/check.h"
#include "support/dispatch_client.h"

using namespace hv::wine;

namespace {

std::string g_data;  // Windows path of the data folder, with a trailing backslash

std::wstring Path(const std::string& name) {
  return FromCp1252(g_data + name);
}

bool Exists(const std::string& name) {
  return std::ifstream(g_data + name).good();
}

void WriteBytes(const std::string& name, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(g_data + name, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

void Put(std::vector<std::uint8_t>& bytes, std::size_t at, std::string_view text) {
  for (std::size_t i = 0; i < text.size(); ++i) bytes[at + i] = static_cast<std::uint8_t>(text[i]);
}

Dispatch Create(const wchar_t* prog_id) {
  Dispatch object;
  HRESULT hr = Dispatch::Create(prog_id, object);
  HV_CHECK(SUCCEEDED(hr) && object);
  return object;
}

bool LoadOk(const Dispatch& reader, const std::string& name) {
  Outcome r = reader.Call(L"Load", Path(name));
  return r.ok() && r.type() == VT_BOOL && V_BOOL(&r.value.get()) == VARIANT_TRUE;
}

constexpr std::size_t kBam = 0x16500;
constexpr std::size_t kDir = 0x16600;

// A 35-track image whose directory holds the given 32-byte entries in sector 18/1.
std::vector<std::uint8_t> D64Image() {
  std::vector<std::uint8_t> image(174848, 0);
  image[kDir] = 0;  // last directory sector
  image[kDir + 1] = 0xFF;
  return image;
}

void D64Entry(std::vector<std::uint8_t>& image, int slot, std::uint8_t type, std::string_view name,
              std::uint16_t blocks) {
  const std::size_t at = kDir + 32 * static_cast<std::size_t>(slot);
  image[at + 2] = type;
  for (int i = 0; i < 16; ++i) image[at + 5 + i] = 0xA0;
  Put(image, at + 5, name);
  image[at + 0x1E] = static_cast<std::uint8_t>(blocks & 0xFF);
  image[at + 0x1F] = static_cast<std::uint8_t>(blocks >> 8);
}

std::vector<std::uint8_t> T64Image(std::string_view signature, std::uint16_t slots,
                                   std::uint16_t used, const std::vector<std::string>& names) {
  std::vector<std::uint8_t> image(0x40 + 32 * std::max<std::size_t>(slots, names.size()), 0);
  Put(image, 0, signature);
  image[0x20] = 0x01;  // version 0x0101
  image[0x21] = 0x01;
  image[0x22] = static_cast<std::uint8_t>(slots & 0xFF);
  image[0x23] = static_cast<std::uint8_t>(slots >> 8);
  image[0x24] = static_cast<std::uint8_t>(used & 0xFF);
  image[0x25] = static_cast<std::uint8_t>(used >> 8);
  for (int i = 0; i < 24; ++i) image[0x28 + i] = ' ';
  Put(image, 0x28, "TAPE NAME");
  for (std::size_t n = 0; n < names.size(); ++n) {
    const std::size_t at = 0x40 + 32 * n;
    image[at] = 1;
    image[at + 1] = 0x82;
    for (int i = 0; i < 16; ++i) image[at + 0x10 + i] = ' ';
    Put(image, at + 0x10, names[n]);
  }
  return image;
}

}  // namespace

HV_WINE_TEST(D64MadeByCc1541) {
  if (!Exists("demo.d64")) return HV_SKIP("demo.d64 was not made: cc1541 missing");
  Dispatch d64 = Create(L"Tessary.hvD64");
  Outcome load = d64.Call(L"Load", Path("demo.d64"));
  HV_CHECK_OK(load);
  HV_CHECK_EQ(load.type(), VT_BOOL);
  HV_CHECK_EQ(V_BOOL(&load.value.get()), VARIANT_TRUE);
  HV_CHECK_EQ(d64.Get(L"DiskName").Text(), std::wstring(L"DEMO DISK"));
  HV_CHECK_EQ(d64.Get(L"DiskID").Text(), std::wstring(L"AB 2A"));

  Dispatch entries = d64.Get(L"Entries").Object();
  HV_CHECK(entries);
  Outcome count = entries.Call(L"Count");
  HV_CHECK_EQ(count.type(), VT_I2);
  HV_CHECK_EQ(count.Long(), 2L);

  // The collection indexed directly: its default member.
  Dispatch first = entries.Default(short{1}).Object();
  HV_CHECK(first);
  HV_CHECK_EQ(first.Get(L"Filename").Text(), std::wstring(L"HELLO WORLD"));
  HV_CHECK_EQ(first.Get(L"FileSizeInBlocks").Text(), std::wstring(L"    1"));
  HV_CHECK_EQ(first.Get(L"FileType").Text(), std::wstring(L"PRG"));
  // By name too, and with an index of another numeric type.
  Dispatch second = entries.Get(L"Entry", 2).Object();
  HV_CHECK(second);
  HV_CHECK_EQ(second.Get(L"Filename").Text(), std::wstring(L"SECOND"));
  HV_CHECK_EQ(second.Get(L"FileType").Text(), std::wstring(L"SEQ"));

  std::vector<UniqueVariant> items;
  HV_CHECK_EQ(entries.ForEach(items), S_OK);
  HV_CHECK_EQ(items.size(), std::size_t{2});
  if (items.size() == 2) {
    HV_CHECK_EQ(AsObject(items[0]).Get(L"Filename").Text(), std::wstring(L"HELLO WORLD"));
    HV_CHECK_EQ(AsObject(items[1]).Get(L"Filename").Text(), std::wstring(L"SECOND"));
  }
}

HV_WINE_TEST(D64BadIndexRaisesWithDescription) {
  Dispatch d64 = Create(L"Tessary.hvD64");
  WriteBytes("three.d64", [] {
    auto image = D64Image();
    D64Entry(image, 0, 0x82, "ONE", 1);
    D64Entry(image, 1, 0x82, "TWO", 2);
    D64Entry(image, 2, 0x82, "THREE", 3);
    return image;
  }());
  HV_CHECK(LoadOk(d64, "three.d64"));
  Dispatch entries = d64.Get(L"Entries").Object();
  for (short bad : {short{0}, short{4}, short{-1}}) {
    Outcome e = entries.Default(bad);
    HV_CHECK_EQ(e.hr, DISP_E_EXCEPTION);
    HV_CHECK_EQ(e.scode, static_cast<SCODE>(0x800A0009));
    HV_CHECK_EQ(e.VbNumber(), hv::vberr::kSubscriptOutOfRange);
    HV_CHECK_EQ(e.description, std::wstring(L"Subscript out of range"));
    HV_CHECK_EQ(e.source, std::wstring(L"Tessary.hvD64Entries"));
  }
  HV_CHECK_EQ(entries.Call(L"Count").Long(), 3L);
  // A good call after a failed one carries no stale error.
  HV_CHECK_OK(entries.Default(short{3}));
  // An index too large for the 16-bit argument is refused by the dispatcher, not wrapped.
  HV_CHECK(!entries.Default(70000).ok());
}

HV_WINE_TEST(D64BytesArriveUnchanged) {
  auto image = D64Image();
  Put(image, kBam + 0x90,
      std::string_view("N\0ME\xA0\xA0\xA0\xA0\xA0\xA0\xA0\xA0\xA0\xA0\xA0\xA0", 16));
  Put(image, kBam + 0xA2,
      std::string_view("01\xA0"
                       "2A",
                       5));
  D64Entry(image, 0, 0x82, std::string_view("A\0B", 3), 0);
  D64Entry(image, 1, 0xC2, "\xE9T\x80", 664);  // cp1252: e acute, T, euro sign
  D64Entry(image, 2, 0x42, "\xA0\xA0\xA0\xA0\xA0\xA0\xA0\xA0\xA0\xA0\xA0\xA0\xA0\xA0\xA0\xA0",
           65535);
  D64Entry(image, 3, 0x00, "SKIPPED", 1);
  image[kBam + 0xA4] = 0x00;  // a NUL in the disk ID becomes a space as well
  WriteBytes("bytes.d64", image);

  Dispatch d64 = Create(L"Tessary.hvD64");
  HV_CHECK(LoadOk(d64, "bytes.d64"));
  HV_CHECK_EQ(d64.Get(L"DiskName").Text(), std::wstring(L"N\0ME", 4));
  HV_CHECK_EQ(d64.Get(L"DiskID").Text(), std::wstring(L"01 2A"));
  Dispatch entries = d64.Get(L"Entries").Object();
  HV_CHECK_EQ(entries.Call(L"Count").Long(), 3L);
  Dispatch nul = entries.Default(short{1}).Object();
  HV_CHECK_EQ(nul.Get(L"Filename").Text(), std::wstring(L"A\0B", 3));
  HV_CHECK_EQ(nul.Get(L"FileSizeInBlocks").Text(), std::wstring(L"    0"));
  Dispatch accents = entries.Default(short{2}).Object();
  HV_CHECK_EQ(accents.Get(L"Filename").Text(), std::wstring(L"\u00E9T\u20AC"));
  HV_CHECK_EQ(accents.Get(L"FileType").Text(), std::wstring(L"PRG<"));
  HV_CHECK_EQ(accents.Get(L"FileSizeInBlocks").Text(), std::wstring(L"  664"));
  Dispatch blank = entries.Default(short{3}).Object();
  HV_CHECK_EQ(blank.Get(L"Filename").Text(), std::wstring());
  HV_CHECK_EQ(blank.Get(L"FileType").Text(), std::wstring(L"?"));
  HV_CHECK_EQ(blank.Get(L"FileSizeInBlocks").Text(), std::wstring(L"65535"));

  // Add is open to the client and takes its texts unchanged, NULs included.
  Outcome added = entries.Call(L"Add", std::wstring(L"X\0Y", 3), L"   12", L"\u00A0SEQ");
  HV_CHECK_OK(added);
  HV_CHECK_EQ(added.Object().Get(L"Filename").Text(), std::wstring(L"X\0Y", 3));
  HV_CHECK_EQ(entries.Default(short{4}).Object().Get(L"FileType").Text(),
              std::wstring(L"\u00A0SEQ"));
}

HV_WINE_TEST(D64SecondLoadAppendsAndEntriesIsOneObject) {
  Dispatch d64 = Create(L"Tessary.hvD64");
  HV_CHECK(LoadOk(d64, "three.d64"));
  Dispatch a = d64.Get(L"Entries").Object();
  HV_CHECK(LoadOk(d64, "bytes.d64"));
  Dispatch b = d64.Get(L"Entries").Object();
  HV_CHECK_EQ(b.Call(L"Count").Long(), 6L);
  HV_CHECK(Is(a, b));
  HV_CHECK_EQ(b.Default(short{4}).Object().Get(L"FileSizeInBlocks").Text(), std::wstring(L"    0"));
  // A failed load leaves what was read before.
  Outcome missing = d64.Call(L"Load", Path("no such.d64"));
  HV_CHECK_OK(missing);
  HV_CHECK_EQ(V_BOOL(&missing.value.get()), VARIANT_FALSE);
  HV_CHECK_EQ(b.Call(L"Count").Long(), 6L);
  HV_CHECK_EQ(d64.Get(L"DiskID").Text(), std::wstring(L"01 2A"));
}

HV_WINE_TEST(EntriesOutliveTheirReader) {
  Dispatch d64 = Create(L"Tessary.hvD64");
  HV_CHECK(LoadOk(d64, "three.d64"));
  Dispatch entries = d64.Get(L"Entries").Object();
  Dispatch second = entries.Default(short{2}).Object();
  d64.reset();
  HV_CHECK_EQ(second.Get(L"Filename").Text(), std::wstring(L"TWO"));
  HV_CHECK_EQ(entries.Call(L"Count").Long(), 3L);
  entries.reset();
  HV_CHECK_EQ(second.Get(L"FileSizeInBlocks").Text(), std::wstring(L"    2"));

  Dispatch t64 = Create(L"Tessary.hvT64");
  WriteBytes("kept.t64", T64Image("C64 tape image file", 2, 2, {"FIRST", "LAST"}));
  HV_CHECK(LoadOk(t64, "kept.t64"));
  Dispatch last = t64.Get(L"Entries").Object().Default(2).Object();
  t64.reset();
  HV_CHECK_EQ(last.Get(L"C64Filename").Text(), std::wstring(L"LAST"));
}

HV_WINE_TEST(EnumeratorNextSkipResetClone) {
  Dispatch d64 = Create(L"Tessary.hvD64");
  HV_CHECK(LoadOk(d64, "three.d64"));
  Dispatch entries = d64.Get(L"Entries").Object();
  Outcome e = entries.InvokeId(DISPID_NEWENUM, DISPATCH_METHOD);
  HV_CHECK_OK(e);
  ComPtr<IEnumVARIANT> en;
  HV_CHECK(e.type() == VT_UNKNOWN &&
           SUCCEEDED(V_UNKNOWN(&e.value.get())->QueryInterface(IID_IEnumVARIANT, en.put_void())));
  if (!en) return;
  VARIANT got[5];
  ULONG fetched = 99;
  HV_CHECK_EQ(en->Next(2, got, &fetched), S_OK);
  HV_CHECK_EQ(fetched, 2UL);
  for (ULONG i = 0; i < fetched; ++i) VariantClear(&got[i]);
  HV_CHECK_EQ(en->Next(5, got, &fetched), S_FALSE);  // short: one left
  HV_CHECK_EQ(fetched, 1UL);
  if (fetched == 1) {
    HV_CHECK_EQ(AsObject(reinterpret_cast<UniqueVariant&>(got[0])).Get(L"Filename").Text(),
                std::wstring(L"THREE"));
    VariantClear(&got[0]);
  }
  HV_CHECK_EQ(en->Next(1, got, &fetched), S_FALSE);
  HV_CHECK_EQ(fetched, 0UL);
  HV_CHECK_EQ(en->Reset(), S_OK);
  HV_CHECK_EQ(en->Skip(2), S_OK);
  ComPtr<IEnumVARIANT> copy;
  HV_CHECK_EQ(en->Clone(copy.put()), S_OK);
  HV_CHECK_EQ(en->Skip(2), S_FALSE);
  if (copy) {
    HV_CHECK_EQ(copy->Next(1, got, &fetched), S_OK);  // the clone kept its own position
    HV_CHECK_EQ(AsObject(reinterpret_cast<UniqueVariant&>(got[0])).Get(L"Filename").Text(),
                std::wstring(L"THREE"));
    VariantClear(&got[0]);
  }
  // A snapshot: an entry added after the enumerator was made is not in it.
  HV_CHECK_OK(entries.Call(L"Add", L"NEW", L"    1", L"PRG"));
  HV_CHECK_EQ(en->Reset(), S_OK);
  HV_CHECK_EQ(en->Next(5, got, &fetched), S_FALSE);
  HV_CHECK_EQ(fetched, 3UL);
  for (ULONG i = 0; i < fetched; ++i) VariantClear(&got[i]);
}

HV_WINE_TEST(T64HeaderAndEntries) {
  auto image = T64Image(std::string_view("C64S tape file\0\0\0", 17), 30, 3,
                        {"ONE", "TWO\xA0\xA0", "                "});
  WriteBytes("header.t64", image);
  Dispatch t64 = Create(L"Tessary.hvT64");
  HV_CHECK(LoadOk(t64, "header.t64"));
  // NUL padding is kept (32 bytes of signature, trimmed of spaces only).
  std::wstring signature(L"C64S tape file");
  signature.append(32 - signature.size(), L'\0');
  HV_CHECK_EQ(t64.Get(L"Signature").Text(), signature);
  HV_CHECK_EQ(t64.Get(L"Version").Text(), std::wstring(L"$0101"));
  HV_CHECK_EQ(t64.Get(L"TapeImageName").Text(), std::wstring(L"TAPE NAME"));
  Outcome slots = t64.Get(L"EntriesCount");
  HV_CHECK_EQ(slots.type(), VT_I4);
  HV_CHECK_EQ(slots.Long(), 30L);
  HV_CHECK_EQ(t64.Get(L"EntriesUsed").Long(), 3L);
  Dispatch entries = t64.Get(L"Entries").Object();
  HV_CHECK_EQ(entries.Call(L"Count").Long(), 3L);
  HV_CHECK_EQ(entries.Default(2).Object().Get(L"C64Filename").Text(),
              std::wstring(L"TWO\u00A0\u00A0"));
  HV_CHECK_EQ(entries.Default(3).Object().Get(L"C64Filename").Text(), std::wstring());

  // The index travels as a variant by reference, as a VB Variant variable passes it.
  VARIANT index;
  VariantInit(&index);
  V_VT(&index) = VT_I2;
  V_I2(&index) = 1;
  Outcome byref = entries.Default(Arg::ByRef(&index));
  HV_CHECK_OK(byref);
  HV_CHECK_EQ(byref.Object().Get(L"C64Filename").Text(), std::wstring(L"ONE"));
  HV_CHECK_EQ(V_VT(&index), VT_I2);
  // A Double index is rounded as Visual Basic rounds (2.5 -> 2).
  HV_CHECK_EQ(entries.Default(2.5).Object().Get(L"C64Filename").Text(),
              std::wstring(L"TWO\u00A0\u00A0"));

  std::vector<UniqueVariant> items;
  HV_CHECK_EQ(entries.ForEach(items), S_OK);
  HV_CHECK_EQ(items.size(), std::size_t{3});
}

HV_WINE_TEST(T64TextIndexAndBadPositionsRaise) {
  Dispatch t64 = Create(L"Tessary.hvT64");
  HV_CHECK(LoadOk(t64, "header.t64"));
  Dispatch entries = t64.Get(L"Entries").Object();
  // Items carry no keys: a text index fails, even one that names an entry or holds a number.
  for (const wchar_t* key : {L"ONE", L"1", L""}) {
    Outcome e = entries.Default(key);
    HV_CHECK_EQ(e.hr, DISP_E_EXCEPTION);
    HV_CHECK_EQ(e.VbNumber(), hv::vberr::kInvalidProcedureCall);
    HV_CHECK_EQ(e.description, std::wstring(L"Invalid procedure call or argument"));
    HV_CHECK_EQ(e.source, std::wstring(L"Tessary.hvT64Entries"));
  }
  UniqueBstr key(SysAllocString(L"TWO"));
  VARIANT ref;
  VariantInit(&ref);
  V_VT(&ref) = VT_BYREF | VT_BSTR;
  V_BSTRREF(&ref) = key.addressof();
  HV_CHECK_EQ(entries.Default(Arg::ByRef(&ref)).VbNumber(), hv::vberr::kInvalidProcedureCall);

  for (int bad : {0, 4}) {
    Outcome e = entries.Default(bad);
    HV_CHECK_EQ(e.VbNumber(), hv::vberr::kSubscriptOutOfRange);
    HV_CHECK_EQ(e.description, std::wstring(L"Subscript out of range"));
  }
  Outcome object_index = entries.Default(t64.get());
  HV_CHECK(!object_index.ok());
}

HV_WINE_TEST(T64RemoveByReference) {
  WriteBytes("remove.t64", T64Image("C64 tape image file", 3, 3, {"A", "B", "C"}));
  Dispatch t64 = Create(L"Tessary.hvT64");
  HV_CHECK(LoadOk(t64, "remove.t64"));
  Dispatch entries = t64.Get(L"Entries").Object();
  short index = 1;
  HV_CHECK_OK(entries.Call(L"Remove", Arg::ByRef(&index)));
  HV_CHECK_EQ(index, short{1});
  HV_CHECK_EQ(entries.Call(L"Count").Long(), 2L);
  HV_CHECK_EQ(entries.Default(1).Object().Get(L"C64Filename").Text(), std::wstring(L"B"));
  for (short bad : {short{0}, short{3}}) {
    short i = bad;
    Outcome e = entries.Call(L"Remove", Arg::ByRef(&i));
    HV_CHECK_EQ(e.VbNumber(), hv::vberr::kSubscriptOutOfRange);
    HV_CHECK_EQ(e.description, std::wstring(L"Subscript out of range"));
  }
  HV_CHECK_EQ(entries.Call(L"Count").Long(), 2L);
  // A by-value number is accepted as well.
  HV_CHECK_OK(entries.Call(L"Remove", short{2}));
  HV_CHECK_EQ(entries.Call(L"Count").Long(), 1L);
  HV_CHECK_EQ(entries.Default(1).Object().Get(L"C64Filename").Text(), std::wstring(L"B"));
  // Add from the client appends.
  HV_CHECK_OK(entries.Call(L"Add", L"Z"));
  HV_CHECK_EQ(entries.Default(2).Object().Get(L"C64Filename").Text(), std::wstring(L"Z"));
}

// A collection hands out the objects it holds: indexing twice, enumerating and the object
// Add returned all give the same one, as `Is` sees it.
HV_WINE_TEST(ItemsKeepTheirIdentity) {
  WriteBytes("identity.d64", [] {
    auto image = D64Image();
    D64Entry(image, 0, 0x82, "ONE", 1);
    D64Entry(image, 1, 0x82, "TWO", 2);
    return image;
  }());
  Dispatch d64 = Create(L"Tessary.hvD64");
  HV_CHECK(LoadOk(d64, "identity.d64"));
  Dispatch entries = d64.Get(L"Entries").Object();
  Dispatch first = entries.Default(short{1}).Object();
  HV_CHECK(Is(first, entries.Get(L"Entry", short{1}).Object()));
  HV_CHECK(!Is(first, entries.Default(short{2}).Object()));
  std::vector<UniqueVariant> items;
  HV_CHECK_EQ(entries.ForEach(items), S_OK);
  HV_CHECK(items.size() == 2 && Is(AsObject(items[0]), first));
  Dispatch added = entries.Call(L"Add", L"NEW", L"    1", L"PRG").Object();
  HV_CHECK(Is(added, entries.Default(short{3}).Object()));

  WriteBytes("identity.t64", T64Image("C64 tape image file", 3, 3, {"A", "B", "C"}));
  Dispatch t64 = Create(L"Tessary.hvT64");
  HV_CHECK(LoadOk(t64, "identity.t64"));
  Dispatch tape = t64.Get(L"Entries").Object();
  Dispatch b = tape.Default(2).Object();
  HV_CHECK(Is(b, tape.Default(2).Object()));
  // After a removal the items move up, each still itself.
  HV_CHECK_OK(tape.Call(L"Remove", short{1}));
  HV_CHECK(Is(b, tape.Default(1).Object()));
  HV_CHECK_EQ(b.Get(L"C64Filename").Text(), std::wstring(L"B"));
}

HV_WINE_TEST(T64TooManyUsedRecordsFailsKeepingHeader) {
  WriteBytes("huge.t64", T64Image("C64 tape image file", 30, 40000, {"ONE"}));
  Dispatch t64 = Create(L"Tessary.hvT64");
  HV_CHECK(LoadOk(t64, "remove.t64"));
  Outcome r = t64.Call(L"Load", Path("huge.t64"));
  HV_CHECK_OK(r);
  HV_CHECK_EQ(V_BOOL(&r.value.get()), VARIANT_FALSE);
  HV_CHECK_EQ(t64.Get(L"EntriesUsed").Long(), 40000L);
  HV_CHECK_EQ(t64.Get(L"EntriesCount").Long(), 30L);
  std::wstring signature(L"C64 tape image file");
  signature.append(32 - signature.size(), L'\0');
  HV_CHECK_EQ(t64.Get(L"Signature").Text(), signature);
  // The first image's three entries are still there, none added.
  HV_CHECK_EQ(t64.Get(L"Entries").Object().Call(L"Count").Long(), 3L);
}

HV_WINE_TEST(PrgFiles) {
  Dispatch prg = Create(L"Tessary.hvPRG");
  if (Exists("hello world.prg")) {
    HV_CHECK(LoadOk(prg, "hello world.prg"));
    HV_CHECK_EQ(prg.Get(L"LoadAddress").Text(), std::wstring(L"$0801"));
    HV_CHECK_EQ(prg.Get(L"SYSAddress").Text(), std::wstring(L"(SYS 2049)"));
    HV_CHECK_EQ(prg.Get(L"FileSize").Text(), std::wstring(L"0.01Kb"));
  } else {
    HV_SKIP("hello world.prg was not made: cbmconvert missing");
  }
  std::vector<std::uint8_t> bytes(3000, 0x55);
  bytes[0] = 0x00;
  bytes[1] = 0xC0;
  WriteBytes("c000.prg", bytes);
  HV_CHECK(LoadOk(prg, "c000.prg"));
  HV_CHECK_EQ(prg.Get(L"LoadAddress").Text(), std::wstring(L"$C000"));
  HV_CHECK_EQ(prg.Get(L"SYSAddress").Text(), std::wstring(L"(SYS 49152)"));
  HV_CHECK_EQ(prg.Get(L"FileSize").Text(), std::wstring(L"2.93Kb"));
  Outcome missing = prg.Call(L"Load", Path("missing.prg"));
  HV_CHECK_OK(missing);
  HV_CHECK_EQ(V_BOOL(&missing.value.get()), VARIANT_FALSE);
  HV_CHECK_EQ(prg.Get(L"LoadAddress").Text(), std::wstring(L"$C000"));
}

HV_WINE_TEST(P00Files) {
  Dispatch p00 = Create(L"Tessary.hvP00");
  if (Exists("hellwrld.p00")) {
    HV_CHECK(LoadOk(p00, "hellwrld.p00"));
    HV_CHECK_EQ(p00.Get(L"Signature").Text(), std::wstring(L"C64File"));
    // cbmconvert pads the name with 0xA0, which the reader keeps.
    HV_CHECK_EQ(p00.Get(L"Filename").Text(),
                std::wstring(L"HELLO WORLD\u00A0\u00A0\u00A0\u00A0\u00A0"));
    HV_CHECK_EQ(p00.Get(L"FileSize").Text(), std::wstring(L"0.01Kb"));
  } else {
    HV_SKIP("hellwrld.p00 was not made: cbmconvert missing");
  }
  std::vector<std::uint8_t> bytes(1050, 0);
  Put(bytes, 0, "C64File");
  Put(bytes, 8, std::string_view("A\0B  ", 5));
  WriteBytes("gap.p00", bytes);  // not "nul.p00": NUL is a device name on Windows
  HV_CHECK(LoadOk(p00, "gap.p00"));
  HV_CHECK_EQ(p00.Get(L"Filename").Text(), std::wstring(L"A B  "));
  HV_CHECK_EQ(p00.Get(L"FileSize").Text(), std::wstring(L"1.00Kb"));
  WriteBytes("empty.p00", {});
  HV_CHECK(LoadOk(p00, "empty.p00"));
  HV_CHECK_EQ(p00.Get(L"FileSize").Text(), std::wstring(L"-0.03Kb"));
  HV_CHECK_EQ(p00.Get(L"Signature").Text(), std::wstring());
}

HV_WINE_TEST(DispatchPlumbing) {
  Dispatch d64 = Create(L"Tessary.hvD64");
  DISPID id = 0;
  HV_CHECK_EQ(d64.IdOf(L"NoSuchMember", id), DISP_E_UNKNOWNNAME);
  HV_CHECK_EQ(d64.IdOf(L"diskname", id), S_OK);  // names are found without regard to case
  // Read-only: an assignment is refused.
  HV_CHECK(!d64.Put(L"DiskName", L"X").ok());
  // Error objects are offered for the object's own interface.
  ComPtr<ITypeInfo> info;
  HV_CHECK_EQ(d64.get()->GetTypeInfo(0, LOCALE_USER_DEFAULT, info.put()), S_OK);
  ComPtr<ISupportErrorInfo> support;
  HV_CHECK_EQ(d64.get()->QueryInterface(IID_ISupportErrorInfo, support.put_void()), S_OK);
  if (info && support) {
    TYPEATTR* attr = nullptr;
    if (SUCCEEDED(info->GetTypeAttr(&attr))) {
      HV_CHECK_EQ(support->InterfaceSupportsErrorInfo(attr->guid), S_OK);
      info->ReleaseTypeAttr(attr);
    }
    HV_CHECK_EQ(support->InterfaceSupportsErrorInfo(IID_IDispatch), S_FALSE);
  }
  // The type library is registered under the id the classes name.
  ComPtr<ITypeLib> typelib;
  HV_CHECK_EQ(LoadRegTypeLib(LIBID_Tessary, 1, 0, LOCALE_NEUTRAL, typelib.put()), S_OK);
  // Handed-out classes cannot be created by name.
  Dispatch none;
  HV_CHECK(FAILED(Dispatch::Create(L"Tessary.hvD64Entries", none)));
  HV_CHECK(FAILED(Dispatch::Create(L"Tessary.hvT64Entry", none)));
}

HV_WINE_TEST(LateBoundCallCost) {
  Dispatch prg = Create(L"Tessary.hvPRG");
  HV_CHECK(LoadOk(prg, "c000.prg"));
  DISPID id = 0;
  HV_CHECK_EQ(prg.IdOf(L"LoadAddress", id), S_OK);
  constexpr int kCalls = 200000;
  DISPPARAMS none{nullptr, nullptr, 0, 0};
  int failures = 0;
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < kCalls; ++i) {
    VARIANT result;
    VariantInit(&result);
    if (FAILED(prg.get()->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &none,
                                 &result, nullptr, nullptr)))
      ++failures;
    VariantClear(&result);
  }
  const double us =
      std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count();
  HV_CHECK_EQ(failures, 0);
  std::printf("late-bound property read: %.2f us per call (%d calls)\n", us / kCalls, kCalls);
}

int main(int argc, char** argv) {
  if (argc < 2) {
    std::printf("usage: tessary_client DATA_FOLDER [TEST]\n");
    return 2;
  }
  g_data = argv[1];
  if (!g_data.empty() && g_data.back() != '\\') g_data += '\\';
  ComApartment apartment;
  if (FAILED(apartment.status())) return 2;
  return RunAll(argc, argv);
}
