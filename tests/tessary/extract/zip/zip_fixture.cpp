#include "zip_fixture.h"

#include <algorithm>

namespace hv::test {

std::map<std::string, Bytes> Snapshot(const std::filesystem::path& root) {
  std::map<std::string, Bytes> files;
  for (const auto& item : std::filesystem::recursive_directory_iterator(root)) {
    const std::string rel = std::filesystem::relative(item.path(), root).string();
    if (item.is_directory()) {
      files[rel] = Bytes{'<', 'd', 'i', 'r', '>'};
    } else {
      files[rel] = ReadFile(item.path());
    }
  }
  return files;
}

std::map<std::string, Bytes> SnapshotOutside(const std::filesystem::path& root,
                                             const std::string& skip) {
  auto files = Snapshot(root);
  std::erase_if(files, [&](const auto& kv) { return kv.first.starts_with(skip + "/"); });
  return files;
}

Bytes PseudoRandomBytes(std::size_t size, std::uint32_t seed) {
  Bytes bytes(size);
  std::uint32_t x = seed | 1;
  for (auto& b : bytes) {
    x ^= x << 13, x ^= x >> 17, x ^= x << 5;
    b = static_cast<std::uint8_t>(x);
  }
  // Runs of zeros as in the unused sectors of an image.
  for (std::size_t i = 0; i + 256 <= size; i += 2048) std::fill_n(bytes.begin() + i, 256, 0);
  return bytes;
}

ZipWorkArea::ZipWorkArea() {
  std::filesystem::create_directory(dest());
  std::filesystem::create_directory(src());
  WriteFile(temp_ / "outside.prg", std::string("must stay"));
  WriteFile(temp_ / "x", std::string("a file named x outside the destination"));
}

std::vector<std::string> ZipWorkArea::DestNames() const {
  std::vector<std::string> names;
  for (const auto& item : std::filesystem::directory_iterator(dest())) {
    names.push_back(item.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace hv::test
