#include "lynx_builder.h"

namespace hv::test {
namespace {

constexpr std::size_t kBlock = 254;

// 10 SYS2061, as a real stub would have it: one line, then the zero end link.
const Bytes kStub = {0x01, 0x08, 0x0B, 0x08, 0x0A, 0x00, 0x9E,
                     '2',  '0',  '6',  '1',  0x00, 0x00, 0x00};

unsigned BlocksFor(std::size_t size) {
  return static_cast<unsigned>((size + kBlock - 1) / kBlock);
}

unsigned LastFor(std::size_t size) {
  return size == 0 ? 0 : static_cast<unsigned>((size - 1) % kBlock + 2);
}

std::string Number(unsigned value) {
  return " " + std::to_string(value) + " \r";
}

}  // namespace

Bytes LynxWithDirectoryText(const std::string& text, std::size_t blocks) {
  Bytes bytes = kStub;
  bytes.insert(bytes.end(), text.begin(), text.end());
  if (bytes.size() < blocks * kBlock) bytes.resize(blocks * kBlock, 0);
  return bytes;
}

Bytes BuildLynx(const SynthLynx& lynx) {
  std::string entries;
  for (const auto& e : lynx.entries) {
    std::string name = e.name;
    if (name.size() < 16) name.append(16 - name.size(), '\xA0');
    entries += name + "\r" + Number(e.blocks.value_or(BlocksFor(e.data.size()))) + e.type + "\r";
    if (e.record_length) entries += Number(*e.record_length);
    entries += Number(e.last.value_or(LastFor(e.data.size())));
  }
  const std::string count = Number(lynx.count.value_or(static_cast<unsigned>(lynx.entries.size())));
  // The size line counts the blocks of stub and directory together.
  std::size_t dir_blocks = 1;
  for (;;) {
    const std::size_t size = kStub.size() + 1 + std::to_string(dir_blocks).size() + 3 +
                             lynx.signature.size() + 1 + count.size() + entries.size();
    if (size <= dir_blocks * kBlock) break;
    ++dir_blocks;
  }
  const std::string text =
      "\r " + std::to_string(dir_blocks) + "  " + lynx.signature + "\r" + count + entries;
  Bytes bytes = LynxWithDirectoryText(text, dir_blocks);
  for (std::size_t i = 0; i < lynx.entries.size(); ++i) {
    const auto& data = lynx.entries[i].data;
    bytes.insert(bytes.end(), data.begin(), data.end());
    if (i + 1 < lynx.entries.size() || lynx.pad_last) {
      bytes.resize(bytes.size() + (kBlock - data.size() % kBlock) % kBlock, 0);
    }
  }
  return bytes;
}

}  // namespace hv::test
