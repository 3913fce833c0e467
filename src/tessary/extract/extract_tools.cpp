// The outside tools of hvExtract: each routine makes the examined folder current, builds its
// tool's command, runs it and waits; gzip and disk sets tidy up afterwards. None reports
// success: the next level judges by what it finds.
//
// The tools start without the command interpreter. The classic lines put ComSpecPrefix
// ("cmd /c ") in front of the console tools, but cmd.exe reads & | < > ^ % ! ( ) in the rest of
// the line as its own, and those are legal in the names of an archive's members, short forms
// included: a member named X&PWN&.GZ made cmd start PWN. No quoting makes a cmd /c line safe for
// every name (%VAR% expands inside quotation marks), so each run is a ToolCommand instead: the
// tool's usual name, found along the PATH by the tool service, and the usual pieces as separate
// arguments, quoted by the Windows argument rules only (common/cmdline.h). For every name
// without a blank the tool gets the command line the interpreter would have handed it.

#include "platform/file_ops.h"
#include "platform/path_separator.h"
#include "tessary/extract/folder_lister.h"
#include "tessary/extract/hvExtract.h"

namespace hv::tessary {

using platform::kPathSeparator;

namespace {
constexpr char kDiskSetTemp[] = "zvTemp.d64";
}  // namespace

void hvExtract::MakeCurrent(const std::string& F) {
  process_->ChangeDrive(F);
  process_->ChangeDirectory(F);
}

void hvExtract::RunTool(platform::ToolCommand command, int window_style) {
  tools_->RunToolAndWait(command, window_style);
}

void hvExtract::ExtractDiskSet(std::string S, std::string F, std::string ShortBaseName,
                               std::string TargetName) {
  MakeCurrent(F);
  RunTool(
      {"Zip2D64.exe", {ShortBaseName, functions_->Long2Short(S) + kPathSeparator + kDiskSetTemp}},
      platform::kWindowHidden);
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
  RunTool({"starlynx.exe", {"-x", P, "/y", functions_->Long2Short(S) + kPathSeparator + B}},
          platform::kWindowHidden);
}

void hvExtract::ExtractLha(std::string F, std::string N, std::string S) {
  MakeCurrent(F);
  RunTool(
      {"lha.exe",
       {"e", "/m", functions_->Long2Short(Join(F, N)), functions_->Long2Short(S) + kPathSeparator}},
      platform::kWindowHidden);
}

void hvExtract::ExtractGzip(std::string F, std::string N, std::string S,
                            const std::vector<std::string>& gz_names) {
  MakeCurrent(F);
  RunTool({"gunzip.exe", {"-f", "-q", functions_->Long2Short(Join(F, N))}},
          platform::kWindowHidden);
  // Every .gz file listed before the run goes, also those that were not unpacked.
  for (const std::string& gz : gz_names) functions_->DeletePathSilent(Join(F, gz));
  for (const std::string& name : ListNames(F, "*.*")) {
    platform::RenameFile(Join(F, name), Join(S, name));
  }
}

// WinZip's line never went through the interpreter; every piece stays between quotation marks.
void hvExtract::ExtractWithWinZip(std::string F, std::string N, std::string S) {
  MakeCurrent(F);
  using platform::ToolArgument;
  RunTool({winzip_path_,
           {"-e", ToolArgument::Quoted(Join(F, N)), ToolArgument::Quoted(S)},
           /*quote_program=*/true},
          platform::kWindowMinimized);
}

}  // namespace hv::tessary
