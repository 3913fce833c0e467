#pragma once
// Synthesized files for exact edge cases.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace hv::test {

using Bytes = std::vector<std::uint8_t>;

void WriteFile(const std::filesystem::path& path, const Bytes& bytes);
void WriteFile(const std::filesystem::path& path, const std::string& text);
Bytes ReadFile(const std::filesystem::path& path);

// Copies `text` into `bytes` at `offset` (growing it as needed).
void Put(Bytes& bytes, std::size_t offset, const std::string& text);

}  // namespace hv::test
