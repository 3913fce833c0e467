#include "tessary/extract/unpack/zipcode/zipcode_join.h"

#include <optional>
#include <vector>

#include "platform/binary_file.h"
#include "platform/file_writer.h"
#include "tessary/extract/unpack/flat_folder.h"
#include "tessary/extract/unpack/zipcode/zipcode_error.h"
#include "tessary/extract/unpack/zipcode/zipcode_geometry.h"
#include "tessary/extract/unpack/zipcode/zipcode_part.h"

namespace hv::zipcode {
namespace {

// A stored part of 175 sectors takes about 45 KB; anything near this is no zipcode part.
constexpr std::uint64_t kMaxPartBytes = 1024 * 1024;

// The one name check; a name it would have to change is refused too, since the caller
// expects the file under exactly this name.
unpack::FlatTarget CheckedName(const std::string& folder, const std::string& name) {
  unpack::FlatTarget target = unpack::FlatEntryTarget(folder, name, unpack::kDiskSet);
  if (target.file_name != name) unpack::ThrowUnsafeName(unpack::kDiskSet, name);
  return target;
}

std::string PartName(int part, const std::string& base_name) {
  return std::to_string(part) + "!" + base_name;
}

// The part's bytes, or nothing when there is no such file.
std::optional<std::vector<std::uint8_t>> ReadPart(const unpack::FlatTarget& part) {
  if (!platform::PathExists(part.path)) return std::nullopt;
  auto file = platform::BinaryFile::OpenRead(part.path);
  const std::uint64_t length = file.Length();
  if (length > kMaxPartBytes) ThrowBadSet(part.file_name + " is too large");
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(length));
  file.ReadAt(0, bytes);
  return bytes;
}

}  // namespace

unpack::UnpackResult ZipcodeJoin(const std::string& folder, const std::string& base_name,
                                 const std::string& target_folder, const std::string& target_name,
                                 const unpack::UnpackOptions& options) {
  CheckedName(target_folder, target_name);
  std::vector<std::vector<std::uint8_t>> parts;
  for (int part = 1; part <= kPartsOf40; ++part) {
    const unpack::FlatTarget name = CheckedName(folder, PartName(part, base_name));
    auto bytes = ReadPart(name);
    if (!bytes && part <= kPartsOf35) {
      throw Error(vberr::kFileNotFound,
                  "The zipcode disk set is incomplete: " + name.file_name + " is missing");
    }
    if (bytes) parts.push_back(std::move(*bytes));
  }
  const int tracks = parts.size() == std::size_t{kPartsOf40} ? kTracks40 : kTracks35;
  const std::uint64_t image_bytes = ImageBytes(tracks);
  if (image_bytes > options.max_total_bytes) ThrowBadSet("image exceeds its size budget");

  std::vector<std::uint8_t> image(static_cast<std::size_t>(image_bytes));
  for (std::size_t i = 0; i < parts.size(); ++i) {
    const int part = static_cast<int>(i) + 1;
    DecodePart(parts[i], part, PartName(part, base_name), image);
  }
  unpack::FlatFolder into(target_folder, unpack::kDiskSet, PartName(1, base_name));
  const unpack::FlatTarget target = into.Place(target_name);
  auto out = platform::FileWriter::CreateTempIn(target_folder);
  out.Write(image);
  out.Commit(target.path);
  into.Written(target);
  return {into.written(), image_bytes, {}};
}

}  // namespace hv::zipcode
