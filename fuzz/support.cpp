#include "support.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

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

}  // namespace hv::fuzz
