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
    std::array<std::uint8_t, 2> address{};  // low, high; missing bytes read as zero
    file.ReadAt(0, address);
    file.Close();
    load_address_ = "$" + HexUpper(address[1], 2) + HexUpper(address[0], 2);
    sys_address_ = "(SYS " + std::to_string(address[1] * 256 + address[0]) + ")";
  });
}

}  // namespace hv::tessary
