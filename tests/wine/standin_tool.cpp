// A stand-in for the outside unpackers, named by the file it is copied to (lha.exe,
// gunzip.exe, zip2d64.exe, starlynx.exe, winzip32.exe). Its "archives" are text files of
// name=content lines. Each run appends its command line to <its own folder>\calls.log, so a test
// can check what the extraction handed it.

#include <windows.h>

#include <cctype>
#include <fstream>
#include <iterator>
#include <string>

namespace {

std::string Read(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void Write(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// Writes every name=content line of `archive` into `folder` (which ends with a backslash).
void Unpack(const std::string& archive, const std::string& folder) {
  std::string text = Read(archive);
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    const std::string line = text.substr(start, end - start);
    const std::size_t eq = line.find('=');
    if (eq != std::string::npos) Write(folder + line.substr(0, eq), line.substr(eq + 1));
    start = end + 1;
  }
}

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.find_last_of('\\');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

}  // namespace

int main(int argc, char** argv) {
  char self[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  std::string name = std::string(self).substr(FolderOf(self).size());
  for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  std::ofstream(FolderOf(self) + "calls.log", std::ios::app) << GetCommandLineA() << "\n";

  const std::string a1 = argc > 1 ? argv[1] : "", a2 = argc > 2 ? argv[2] : "";
  const std::string a3 = argc > 3 ? argv[3] : "", a4 = argc > 4 ? argv[4] : "";
  if (name == "lha.exe" && a1 == "e" && a2 == "/m") {
    Unpack(a3, a4);  // lha e /m ARCHIVE TARGET\ .
  } else if (name == "gunzip.exe" && a1 == "-f" && a2 == "-q" && a3.size() > 3) {
    // gunzip -f -q FILE.gz: the plain file replaces the packed one.
    Write(a3.substr(0, a3.size() - 3), Read(a3));
    DeleteFileA(a3.c_str());
  } else if (name == "zip2d64.exe" && argc == 3) {
    Write(a2, "disk set " + a1);  // zip2d64 BASE TARGET\zvTemp.d64
  } else if (name == "starlynx.exe" && a1 == "-x" && a3 == "/y") {
    Unpack(a2, FolderOf(a4));  // starlynx -x ARCHIVE /y TARGET\BASE
  } else if (name == "winzip32.exe" && a1 == "-e") {
    Unpack(a2, a3 + "\\");  // winzip32 -e ARCHIVE TARGET
  } else {
    return 2;
  }
  return 0;
}
