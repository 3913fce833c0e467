// The outside tools of hvExtract: each routine makes the examined folder current, builds its
// tool's command line, runs it and waits; gzip and disk sets tidy up afterwards. None reports
// success: the next level judges by what it finds.

#include "platform/file_ops.h"
#include "platform/path_separator.h"
#include "tessary/extract/folder_lister.h"
#include "tessary/extract/hvExtract.h"

namespace hv::tessary {

using platform::kPathSeparator;

namespace {
constexpr char kQ = '"';
constexpr char kDiskSetTemp[] = "zvTemp.d64";
}  // namespace

void hvExtract::MakeCurrent(const std::string& F) {
  process_->ChangeDrive(F);
  process_->ChangeDirectory(F);
}

// A piece of a command line that holds a blank would fall apart into several arguments; short
// forms never do where the platform makes them, so only then is it quoted. A backslash closing
// a quoted piece is doubled so that it does not escape the quotation mark.
std::string hvExtract::QuoteIfBlank(std::string piece) {
  if (piece.find_first_of(" \t") == std::string::npos) return piece;
  if (!piece.empty() && piece.back() == '\\') piece += '\\';
  return kQ + piece + kQ;
}

std::string hvExtract::ShortArgument(const std::string& path) {
  return QuoteIfBlank(functions_->Long2Short(path));
}

void hvExtract::ExtractDiskSet(std::string S, std::string F, std::string ShortBaseName,
                               std::string TargetName) {
  MakeCurrent(F);
  const std::string line = com_spec_prefix_ + "Zip2D64.exe" + " " + QuoteIfBlank(ShortBaseName) +
                           " " +
                           QuoteIfBlank(functions_->Long2Short(S) + kPathSeparator + kDiskSetTemp);
  tools_->RunAndWait(line, platform::kWindowHidden);
  const std::string image = Join(S, kDiskSetTemp);
  if (functions_->FileExists(image, halvane::kVbFalse, "")) {
    platform::RenameFile(image, Join(S, TargetName));
  }
}

void hvExtract::ExtractLynx(std::string S, std::string F, std::string ShortFileName) {
  const std::string P = functions_->Long2Short(Join(F, ShortFileName));
  const std::string name = FileNamePart(P);
  // The name without the dot and the three letters of its extension.
  if (name.size() < 4) throw Error(vberr::kInvalidProcedureCall);
  const std::string B = name.substr(0, name.size() - 4);
  MakeCurrent(F);
  const std::string line = com_spec_prefix_ + "starlynx.exe" + " -x " + QuoteIfBlank(P) + " /y " +
                           QuoteIfBlank(functions_->Long2Short(S) + kPathSeparator + B);
  tools_->RunAndWait(line, platform::kWindowHidden);
}

void hvExtract::ExtractLha(std::string F, std::string N, std::string S) {
  MakeCurrent(F);
  const std::string line = com_spec_prefix_ + "lha.exe e /m " + ShortArgument(Join(F, N)) + " " +
                           QuoteIfBlank(functions_->Long2Short(S) + kPathSeparator);
  tools_->RunAndWait(line, platform::kWindowHidden);
}

void hvExtract::ExtractGzip(std::string F, std::string N, std::string S,
                            const std::vector<std::string>& gz_names) {
  MakeCurrent(F);
  const std::string line = com_spec_prefix_ + "gunzip.exe -f -q " + ShortArgument(Join(F, N));
  tools_->RunAndWait(line, platform::kWindowHidden);
  // Every .gz file listed before the run goes, also those that were not unpacked.
  for (const std::string& gz : gz_names) functions_->DeletePathSilent(Join(F, gz));
  for (const std::string& name : ListNames(F, "*.*")) {
    platform::RenameFile(Join(F, name), Join(S, name));
  }
}

void hvExtract::ExtractWithWinZip(std::string F, std::string N, std::string S) {
  MakeCurrent(F);
  const std::string line =
      kQ + winzip_path_ + kQ + " -e " + kQ + Join(F, N) + kQ + " " + kQ + S + kQ;
  tools_->RunAndWait(line, platform::kWindowMinimized);
}

}  // namespace hv::tessary
