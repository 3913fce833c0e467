// Writes the synthesized part of the fuzz seed corpora: small T64, PRG, P00 and SID files,
// configuration files with entries, command lines, patterns and texts. The rest of the
// corpora comes from cc1541, cbmconvert and zip (make_seeds.sh).

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

namespace {

fs::path root;

void Put(const std::string& target, const std::string& name, const Bytes& bytes) {
  fs::create_directories(root / target);
  std::ofstream(root / target / name, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
}

void PutText(const std::string& target, const std::string& name, const std::string& text) {
  Put(target, name, Bytes(text.begin(), text.end()));
}

void Text(Bytes& b, std::size_t at, const std::string& s, std::size_t width, std::uint8_t pad) {
  for (std::size_t i = 0; i < width; ++i) b[at + i] = i < s.size() ? std::uint8_t(s[i]) : pad;
}
void Le16(Bytes& b, std::size_t at, unsigned v) {
  b[at] = std::uint8_t(v & 0xFF), b[at + 1] = std::uint8_t(v >> 8);
}
void Be16(Bytes& b, std::size_t at, unsigned v) {
  b[at] = std::uint8_t(v >> 8), b[at + 1] = std::uint8_t(v & 0xFF);
}

Bytes T64(unsigned max_entries, const std::vector<std::string>& names) {
  Bytes b(64 + 32 * max_entries, 0);
  Text(b, 0, "C64 tape image file", 32, 0);
  Le16(b, 32, 0x0101);
  Le16(b, 34, max_entries);
  Le16(b, 36, static_cast<unsigned>(names.size()));
  Text(b, 40, "SEED TAPE", 24, ' ');
  std::uint32_t offset = static_cast<std::uint32_t>(b.size());
  for (std::size_t i = 0; i < names.size(); ++i) {
    const std::size_t r = 64 + 32 * i;
    b[r] = 1, b[r + 1] = 0x82;
    Le16(b, r + 2, 0x0801), Le16(b, r + 4, 0x0811);
    for (int k = 0; k < 4; ++k) b[r + 8 + k] = std::uint8_t(offset >> (8 * k));
    Text(b, r + 16, names[i], 16, ' ');
    offset += 16;
  }
  b.resize(offset, 0xEA);
  return b;
}

Bytes Psid(unsigned version, unsigned songs, unsigned start) {
  Bytes b(version == 1 ? 0x76 : 0x7C, 0);
  Text(b, 0, "PSID", 4, 0);
  Be16(b, 4, version);
  Be16(b, 6, static_cast<unsigned>(b.size()));
  Be16(b, 0x0A, 0x1000), Be16(b, 0x0C, 0x1003);
  Be16(b, 0x0E, songs), Be16(b, 0x10, start);
  Text(b, 0x16, "Seed Tune", 32, 0);
  Text(b, 0x36, "Nobody In Particular", 32, 0);
  Text(b, 0x56, "2024 Seeds", 32, 0);
  const Bytes code = {0x00, 0x10, 0x4C, 0x00, 0x10, 0x60};
  b.insert(b.end(), code.begin(), code.end());
  return b;
}

Bytes P00(const std::string& name, std::size_t data) {
  Bytes b(26, 0);
  Text(b, 0, "C64File", 8, 0);
  Text(b, 8, name, 17, 0);
  b.resize(26 + data, 0x01);
  return b;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s SEED_DIR\n", argv[0]);
    return 2;
  }
  root = argv[1];

  Put("t64", "one.t64", T64(1, {"HELLO"}));
  Put("t64", "three.t64", T64(30, {"ONE", "TWO", "THREE"}));
  Put("t64", "empty.t64", T64(0, {}));
  Bytes bad = T64(2, {"A", "B"});
  Le16(bad, 36, 0xFFFF);  // more used than present
  Put("t64", "overcount.t64", bad);
  bad = T64(1, {"X"});
  for (int k = 0; k < 4; ++k) bad[64 + 8 + k] = 0xFF;  // offset past the end
  Put("t64", "far-offset.t64", bad);
  Bytes header_only = T64(0, {});
  header_only.resize(40);
  Put("t64", "short.t64", header_only);

  Put("prg", "basic.prg",
      {0x01, 0x08, 0x0B, 0x08, 0x0A, 0x00, 0x9E, 0x32, 0x30, 0x36, 0x31, 0, 0, 0});
  Put("prg", "one-byte.prg", {0x01});
  Put("prg", "empty.prg", {});
  Put("prg", "ml.prg", {0x00, 0xC0, 0xA9, 0x00, 0x8D, 0x20, 0xD0, 0x60});

  Put("p00", "hello.p00", P00("HELLO", 16));
  Put("p00", "header-only.p00", P00("X", 0));
  Bytes long_name = P00("A VERY LONG NAME1", 4);
  long_name[24] = 'Z';
  Put("p00", "unterminated.p00", long_name);
  Put("p00", "short.p00", Bytes{'C', '6', '4', 'F', 'i', 'l', 'e'});

  // The last two bytes choose the song to save.
  auto with_song = [](Bytes b, unsigned song) {
    b.push_back(std::uint8_t(song >> 8)), b.push_back(std::uint8_t(song & 0xFF));
    return b;
  };
  Put("sid", "v1.sid", with_song(Psid(1, 3, 1), 2));
  Put("sid", "v2.sid", with_song(Psid(2, 12, 5), 256));
  Put("sid", "big-numbers.sid", with_song(Psid(2, 0x8000, 0x7FFF), 0xFFFF));
  Bytes short_sid = Psid(2, 1, 1);
  short_sid.resize(0x40);
  Put("sid", "short.sid", with_song(short_sid, 1));
  Put("sid", "rsid.sid",
      with_song(
          [] {
            Bytes b = Psid(2, 1, 1);
            b[0] = 'R';
            return b;
          }(),
          0));

  // Configuration files: content, NUL, entries "KEY=VALUE" separated by NULs.
  using namespace std::string_literals;
  PutText("config", "ini.txt",
          "[Emulator]\r\nFullScreen=0\r\nSound=1\r\n\r\nJoystick=2\r\n\0FULLSCREEN=1\0sound=0"s);
  PutText("config", "mixed-endings.txt",
          "a=1\rb=2\nc=3\r\n\r\r\nlast\0b=9\0missing=x\0=empty-key"s);
  PutText("config", "no-final-newline.txt", "Path=C:\\Games\r\nMode=PAL\0Mode=NTSC"s);
  PutText("config", "empty.txt", "\0KEY=VALUE"s);
  PutText("config", "cp1252.txt", "\xC4rger=1\r\n\xE9t\xE9=2\r\n\0\xE4RGER=3\0\xC9T\xC9=4"s);
  PutText("config", "no-entries.txt", "x=1\r\n"s);

  PutText("cmdline", "plain.txt", "prog.exe -a -b file.d64");
  PutText("cmdline", "quoted.txt", "\"C:\\Program Files\\emu.exe\" \"a b\" c\\\\\"d e\" \\\"x\\\"");
  PutText("cmdline", "backslashes.txt", "p a\\\\\\\"b \"c\\\\\" \"\"\"\" d\\e");
  PutText("cmdline", "blanks.txt", "  \t lead  \"\" trail\t");
  PutText("cmdline", "quote-in-program.txt", "ab\"c d\"e f");

  PutText("wildcard", "star-dot.txt", "*.d64\0GAME.D64"s);
  PutText("wildcard", "question.txt", "g?me*.*\0game.t64"s);
  PutText("wildcard", "trailing-dot.txt", "*.\0README"s);
  PutText("wildcard", "dot-star.txt", "A.*\0a"s);
  PutText("wildcard", "many-stars.txt", "*a*a*a*a*a*a*a*b\0aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa"s);

  PutText("text", "ascii.txt", "Hello, World");
  PutText("text", "cp1252.txt", "\x80\x81\x8D\x8F\x90\x9D\x9F\xA0\xC4\xFF  ");
  PutText("text", "utf8.txt", "\xC3\x84rger \xE2\x82\xAC \xF0\x9F\x98\x80 \xED\xA0\x80 \xC0\xAF");

  PutText("variant", "int.txt", "12");
  PutText("variant", "hex.txt", "&H1F");
  PutText("variant", "double.txt", " -1.5E+3 ");
  PutText("variant", "big.txt", "2147483647.5");
  PutText("variant", "junk.txt", "1,2.3e");
  return 0;
}
