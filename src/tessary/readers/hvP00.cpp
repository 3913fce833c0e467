#include "tessary/readers/hvP00.h"

#include <array>

#include "common/number_format.h"
#include "common/text.h"
#include "platform/binary_file.h"
#include "tessary/readers/load_guard.h"

namespace hv::tessary {

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
    std::array<std::uint8_t, 24> header{};
    file.ReadAt(0, header);
    file.Close();
    signature_ = CleanNuls(BytesToString(header.data(), 7));
    filename_ = CleanNuls(BytesToString(header.data() + 8, 16));
  });
}

}  // namespace hv::tessary
