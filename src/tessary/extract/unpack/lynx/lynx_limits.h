#pragma once
// Bounds on what a Lynx archive may ask of us, checked before a size is used.

#include <cstdint>

namespace hv::lynx {

// A Lynx block is a disk sector without its two link bytes.
inline constexpr std::uint64_t kLynxBlockBytes = 254;
// The BASIC stub and the signature line lie within this many bytes from the start.
inline constexpr std::uint64_t kLynxMaxStubBytes = 4096;
inline constexpr int kLynxMaxStubLines = 16;
// A 1581 directory (296 entries) needs about 33 blocks; more is no archive we made.
inline constexpr std::uint64_t kLynxMaxDirectoryBlocks = 255;
// A C64 name is 16 characters; shift-space padding is stripped afterwards.
inline constexpr std::size_t kLynxMaxNameBytes = 16;
// Numbers in the directory are short decimal texts; more digits are damage.
inline constexpr int kLynxMaxDigits = 6;
// A relative file has one side sector per 120 data blocks.
inline constexpr std::uint64_t kLynxBlocksPerSideSector = 120;

}  // namespace hv::lynx
