#pragma once
// A tiny test runner for the Wine client programs: named test cases, checks that count and
// report, and a closing line run.sh adds up ("CHECKS <passed> <failed> <skipped>").
//
//   HV_WINE_TEST(Something) { HV_CHECK(x == 1); HV_CHECK_EQ(a, b); }
//   HV_WINE_TEST(Other) { if (!ready) return HV_SKIP("what is missing and why"); ... }
//   int main(int argc, char** argv) { return hv::wine::RunAll(argc, argv); }
//
// A case passes only when it made a check and none failed: one that made no check and skipped
// nothing has proved nothing, and fails. A skip counts apart from the checks and says why, in a
// line "skip <case>: <why>" that run.sh matches against the closing count.

#include <cstdio>
#include <functional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace hv::wine {

struct TestCase {
  const char* name;
  std::function<void()> body;
};

inline std::vector<TestCase>& Registry() {
  static std::vector<TestCase> tests;
  return tests;
}

struct Tally {
  int passed = 0;
  int failed = 0;
  int skipped = 0;
  const char* current = "";
};
inline Tally& Counts() {
  static Tally tally;
  return tally;
}

struct Registrar {
  Registrar(const char* name, std::function<void()> body) {
    Registry().push_back({name, std::move(body)});
  }
};

// Printable forms for the failure message.
inline std::string Show(const std::wstring& text) {
  std::string out = "\"";
  for (wchar_t c : text) {
    if (c >= 0x20 && c < 0x7F) {
      out += static_cast<char>(c);
    } else {
      char buf[12];
      std::snprintf(buf, sizeof buf, "\\u%04X", static_cast<unsigned>(c));
      out += buf;
    }
  }
  return out + "\"";
}
inline std::string Show(const wchar_t* text) {
  return Show(std::wstring(text));
}
inline std::string Show(const std::string& text) {
  return "\"" + text + "\"";
}
inline std::string Show(const char* text) {
  return Show(std::string(text));
}
inline std::string Show(const std::vector<std::string>& items) {
  std::string out = "{";
  for (const std::string& item : items) out += (out.size() > 1 ? ", " : "") + Show(item);
  return out + "}";
}
template <class T>
std::string Show(const T& value) {
  std::ostringstream s;
  s << value;
  return s.str();
}

inline bool Check(bool ok, const std::string& what, const char* file, int line) {
  Tally& t = Counts();
  if (ok) {
    ++t.passed;
  } else {
    ++t.failed;
    std::printf("FAIL [%s] %s:%d: %s\n", t.current, file, line, what.c_str());
    std::fflush(stdout);
  }
  return ok;
}

// Leaves out a part that cannot run here; `why` names what is missing.
inline void Skip(const std::string& why, const char* file, int line) {
  if (why.empty()) {
    Check(false, "a skip without a reason", file, line);
    return;
  }
  ++Counts().skipped;
  std::printf("skip %s: %s\n", Counts().current, why.c_str());
  std::fflush(stdout);
}

// The closing line run.sh reads; the exit status of the client.
inline int Finish() {
  const Tally& t = Counts();
  std::printf("CHECKS %d %d %d\n", t.passed, t.failed, t.skipped);
  std::fflush(stdout);
  return t.failed == 0 ? 0 : 1;
}

template <class A, class B>
bool CheckEq(const A& a, const B& b, const char* ea, const char* eb, const char* file, int line) {
  bool ok = a == b;
  return Check(
      ok,
      ok ? std::string() : std::string(ea) + " == " + eb + "  (" + Show(a) + " vs " + Show(b) + ")",
      file, line);
}

inline int RunAll(int argc, char** argv) {
  std::string_view only = argc > 2 ? argv[2] : "";
  for (const TestCase& test : Registry()) {
    if (!only.empty() && only != test.name) continue;
    Tally& t = Counts();
    t.current = test.name;
    const Tally before = t;
    test.body();
    const int checks = t.passed + t.failed - before.passed - before.failed;
    const int skips = t.skipped - before.skipped;
    if (t.failed != before.failed) {
      std::printf("FAIL %s\n", test.name);
    } else if (checks > 0) {
      std::printf("ok   %s\n", test.name);
    } else if (skips > 0) {
      std::printf("skip %s\n", test.name);
    } else {
      ++t.failed;
      std::printf("FAIL %s: made no check\n", test.name);
    }
    std::fflush(stdout);
  }
  return Finish();
}

}  // namespace hv::wine

#define HV_WINE_CAT2(a, b) a##b
#define HV_WINE_CAT(a, b) HV_WINE_CAT2(a, b)
#define HV_WINE_TEST(name)                                                                         \
  static void HV_WINE_CAT(hv_wine_test_, name)();                                                  \
  static ::hv::wine::Registrar HV_WINE_CAT(hv_wine_reg_, name)(#name,                              \
                                                               &HV_WINE_CAT(hv_wine_test_, name)); \
  static void HV_WINE_CAT(hv_wine_test_, name)()

#define HV_CHECK(cond) ::hv::wine::Check(static_cast<bool>(cond), #cond, __FILE__, __LINE__)
#define HV_CHECK_EQ(a, b) ::hv::wine::CheckEq((a), (b), #a, #b, __FILE__, __LINE__)
#define HV_SKIP(why) ::hv::wine::Skip((why), __FILE__, __LINE__)
// A call that must succeed; prints the HRESULT and error text when it does not.
#define HV_CHECK_OK(outcome)                                                                 \
  [&](const auto& o) {                                                                       \
    char buf[32];                                                                            \
    std::snprintf(buf, sizeof buf, "0x%08lX", static_cast<unsigned long>(o.hr));             \
    return ::hv::wine::Check(                                                                \
        o.ok(),                                                                              \
        std::string(#outcome " failed with ") + buf + " " + ::hv::wine::Show(o.description), \
        __FILE__, __LINE__);                                                                 \
  }(outcome)
