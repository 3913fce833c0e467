#include "support.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

#include "common/text.h"

namespace fs = std::filesystem;

namespace hv::fuzz {
namespace {

std::string MakeScratch() {
  // run.sh names a folder it removes afterwards: a crashing run cannot clean up after itself.
  const char* base = std::getenv("HV_FUZZ_SCRATCH");
  if (base == nullptr || *base == '\0') {
    base = ::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : nullptr;
  }
  std::string pattern = base ? std::string(base) : fs::temp_directory_path().string();
  pattern += "/hv-fuzz.XXXXXX";
  if (::mkdtemp(pattern.data()) == nullptr) {
    std::perror("mkdtemp");
    std::abort();
  }
  return pattern;
}

struct Scratch {
  std::string path = MakeScratch();
  pid_t owner = ::getpid();
  ~Scratch() {
    // A forked child must not take the parent's folder with it.
    if (::getpid() != owner) return;
    std::error_code ec;
    fs::remove_all(path, ec);
  }
};

}  // namespace

const std::string& ScratchDir() {
  static const Scratch scratch;
  return scratch.path;
}

void WriteAll(const std::string& path, const std::uint8_t* data, std::size_t size) {
  WriteAll(path, std::string_view(reinterpret_cast<const char*>(data), size));
}

void WriteAll(const std::string& path, std::string_view bytes) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (f == nullptr) Fail(__FILE__, __LINE__, "cannot write " + path);
  const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  if (std::fclose(f) != 0 || !ok) Fail(__FILE__, __LINE__, "short write to " + path);
}

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) Fail(__FILE__, __LINE__, "cannot read " + path);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void EmptyDir(const std::string& dir) {
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(dir, ec)) fs::remove_all(entry.path(), ec);
}

std::vector<std::string> ListTree(const std::string& dir) {
  std::vector<std::string> out;
  std::error_code ec;
  for (auto it = fs::recursive_directory_iterator(dir, ec); !ec && it != fs::end(it);
       it.increment(ec)) {
    std::string rel = fs::relative(it->path(), dir).string();
    if (it->is_directory(ec) && !it->is_symlink(ec)) rel += '/';
    out.push_back(rel);
  }
  return out;
}

void Fail(const char* file, int line, const std::string& what) {
  std::fprintf(stderr, "%s:%d: property violated: %s\n", file, line, what.c_str());
  std::abort();
}

const UnpackPaths& UnpackScratch(const std::string& input_name) {
  static const UnpackPaths paths = [&input_name] {
    UnpackPaths p{input_name, ScratchDir() + "/" + input_name, ScratchDir() + "/out"};
    WriteAll(p.input, "");
    fs::create_directories(p.out);
    return p;
  }();
  return paths;
}

std::uint64_t CheckOnlyReported(const UnpackPaths& paths, const std::vector<std::string>& written) {
  // Core names are Windows-1252; the files carry them in UTF-8.
  std::vector<std::string> on_disk;
  std::uint64_t bytes = 0;
  for (const std::string& name : written) {
    const bool plain = !name.empty() && name != "." && name != ".." &&
                       name.find_first_of(std::string("/\\\0", 3)) == std::string::npos;
    if (!plain) Fail(__FILE__, __LINE__, "reported a written name that is no plain name: " + name);
    on_disk.push_back(Cp1252ToUtf8(name));
    bytes += ReadAll(paths.out + "/" + on_disk.back()).size();
  }
  // No stray temporaries, no sub-folders, no file that escaped the output folder.
  for (const std::string& rel : ListTree(ScratchDir())) {
    if (rel == paths.input_name || rel == "out/") continue;
    const bool reported = rel.rfind("out/", 0) == 0 &&
                          std::find(on_disk.begin(), on_disk.end(), rel.substr(4)) != on_disk.end();
    if (!reported) Fail(__FILE__, __LINE__, "unexpected path after extraction: " + rel);
  }
  return bytes;
}

void CheckFailedRunLeftNoTemporaries(const UnpackPaths& paths) {
  for (const std::string& rel : ListTree(ScratchDir())) {
    if (rel == paths.input_name || rel == "out/") continue;
    const bool complete = rel.rfind("out/", 0) == 0 && rel.find('/', 4) == std::string::npos &&
                          rel.rfind("out/.hvpart.", 0) != 0;
    if (!complete) Fail(__FILE__, __LINE__, "unexpected path after a failed extraction: " + rel);
  }
}

}  // namespace hv::fuzz
