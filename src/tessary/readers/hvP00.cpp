#include "tessary/readers/hvP00.h"

#include <array>

#include "common/number_format.h"
#include "common/text.h"
#include "platform/binary_file.h"
#include "tessary/readers/load_guard.h"

namespace hv::tessary {
namespace {

// The 26-byte header: 0x00 "C64File" and a NUL, 0x08 the C64 file name (16 bytes, padded with
// NULs), 0x18 a NUL, 0x19 the record size of a REL file. Only the texts are read.
constexpr std::size_t kSignature = 0x00;
constexpr std::size_t kSignatureSize = 7;
constexpr std::size_t kName = 0x08;
constexpr std::size_t kNameSize = 16;
constexpr std::size_t kTextsSize = kName + kNameSize;

}  // namespace

std::string hvP00::CleanNuls(std::string_view text) {
  const auto last = text.find_last_not_of('\0');
  std::string out(last == std::string_view::npos ? std::string_view{} : text.substr(0, last + 1));
  for (char& c : out) {
    if (c == '\0') c = ' ';
  }
  return out;
}

bool hvP00::Load(const std::string& strFilename) {
  return GuardedLoad(last_failure_, [&] {
    auto file = platform::BinaryFile::OpenRead(strFilename);
    file_size_ = FormatKilobytes(static_cast<std::int64_t>(file.Length()) - kHeaderSize,
                                 platform::DecimalSeparator());
    std::array<std::uint8_t, kTextsSize> header{};
    file.ReadAt(0, header);
    file.Close();
    signature_ = CleanNuls(BytesToString(header.data() + kSignature, kSignatureSize));
    filename_ = CleanNuls(BytesToString(header.data() + kName, kNameSize));
  });
}

}  // namespace hv::tessary
