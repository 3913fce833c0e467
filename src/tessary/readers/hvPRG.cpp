#include "tessary/readers/hvPRG.h"

#include <array>

#include "common/number_format.h"
#include "platform/binary_file.h"
#include "tessary/readers/load_guard.h"

namespace hv::tessary {

bool hvPRG::Load(const std::string& strFilename) {
  return GuardedLoad(last_failure_, [&] {
    auto file = platform::BinaryFile::OpenRead(strFilename);
    file_size_ =
        FormatKilobytes(static_cast<std::int64_t>(file.Length()), platform::DecimalSeparator());
    // A program file starts with its load address, low byte first; missing bytes read as zero.
    std::array<std::uint8_t, 2> address{};
    file.ReadAt(0, address);
    file.Close();
    const std::uint8_t low = address[0], high = address[1];
    load_address_ = "$" + HexUpper(high, 2) + HexUpper(low, 2);
    sys_address_ = "(SYS " + std::to_string(high * 256 + low) + ")";
  });
}

}  // namespace hv::tessary
