// Calls every member of every class of both servers, thousands of times, with arguments of
// every shape a late-binding client can build: the right types, every variant type by value
// and by reference, NULL and 1 MiB strings, strings with NULs, too few and too many arguments,
// named arguments, wrong record arrays. The process must survive each call; each must end in
// S_OK or a dispatch error (an exception with its error object); no by-reference argument may
// be written where the member does not write it.
//
//   hostile_calls.exe SEEDS_FOLDER [SEED] [CALLS] [SECONDS]
//
// Run only by tests/wine/hostile.sh, in a prefix whose only drives are C: and the scratch
// drive S: (it refuses to run otherwise). SEEDS_FOLDER holds the input files, read once; the
// client keeps them restored in S:\in and works in S:\work.

#include <windows.h>

#include <oaidl.h>
#include <oleauto.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "hostile/call.h"
#include "hostile/members.h"
#include "hostile/path_guard.h"
#include "hostile/values.h"
#include "platform/win32/handle.h"
#include "support/dispatch_client.h"

namespace {

using hv::com::ComPtr;
using hv::platform::win32::UniqueFile;
using hv::platform::win32::UniqueFind;
using namespace hv::wine::hostile;

// A call this slow is reported; one that has not returned after kHangMillis ends the run.
constexpr DWORD kSlowMillis = 20000;
constexpr DWORD kHangMillis = 60000;

// ---- the watchdog: a call that never returns still ends the run with a report ---------------

struct Progress {
  volatile LONG passed = 0;
  volatile LONG failed = 0;
  volatile LONG skipped = 0;
  volatile DWORD call_started = 0;  // GetTickCount at the call's start, 0 between calls
  const wchar_t* volatile member = L"";
  const char* volatile shape = "";
};
Progress g_progress;
std::vector<std::string> g_recent(6);  // the last calls, oldest first

DWORD WINAPI Watchdog(void*) {
  DWORD reported = 0;
  for (;;) {
    Sleep(1000);
    const DWORD started = g_progress.call_started;
    // Signed: a call may have started a tick after this thread's clock reading.
    const LONG running = static_cast<LONG>(GetTickCount() - started);
    if (started && started != reported && running > static_cast<LONG>(kSlowMillis)) {
      reported = started;
      std::printf("note: %ls has not returned for %lu s (%s)\n", g_progress.member,
                  static_cast<unsigned long>(kSlowMillis / 1000), g_progress.shape);
      std::fflush(stdout);
    }
    if (started && running > static_cast<LONG>(kHangMillis)) {
      std::printf("FAIL hang: %ls did not return within %lu s (%s)\n", g_progress.member,
                  static_cast<unsigned long>(kHangMillis / 1000), g_progress.shape);
      // The calls before it: a member may leave something behind that blocks a later one.
      for (const std::string& earlier : g_recent) std::printf("  after %s\n", earlier.c_str());
      std::printf("CHECKS %ld %ld %ld\n", g_progress.passed, g_progress.failed + 1,
                  g_progress.skipped);
      std::fflush(stdout);
      TerminateProcess(GetCurrentProcess(), 3);
    }
  }
}

// ---- scratch: the inputs are put back after every call that may have removed them ----------

struct Fixture {
  std::wstring path;
  std::string bytes;
};

std::string ReadAll(const std::wstring& path) {
  std::string bytes;
  const UniqueFile file(
      CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  if (!file) return bytes;
  char buf[65536];
  DWORD got = 0;
  while (ReadFile(file.get(), buf, sizeof buf, &got, nullptr) && got > 0) bytes.append(buf, got);
  return bytes;
}

bool WriteAll(const std::wstring& path, const std::string& bytes) {
  const UniqueFile file(
      CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  if (!file) return false;
  DWORD written = 0;
  const BOOL ok =
      WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  return ok && written == bytes.size();
}

class Scratch {
 public:
  void Add(const std::wstring& path, std::string bytes) { fixtures_.push_back({path, bytes}); }
  // Folders and files as they were; cheap when nothing changed.
  void Restore() {
    for (const wchar_t* folder : {L"S:\\in", L"S:\\emu", L"S:\\work", L"S:\\work\\w1"})
      CreateDirectoryW(folder, nullptr);
    for (const Fixture& f : fixtures_) {
      WIN32_FILE_ATTRIBUTE_DATA data;
      if (GetFileAttributesExW(f.path.c_str(), GetFileExInfoStandard, &data) &&
          !(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && data.nFileSizeHigh == 0 &&
          data.nFileSizeLow == f.bytes.size() && !rewrite_all_)
        continue;
      SetFileAttributesW(f.path.c_str(), FILE_ATTRIBUTE_NORMAL);
      if (GetFileAttributesW(f.path.c_str()) & FILE_ATTRIBUTE_DIRECTORY)
        RemoveDirectoryW(f.path.c_str());
      WriteAll(f.path, f.bytes);
    }
    rewrite_all_ = false;
    SetCurrentDirectoryW(L"S:\\work");
  }
  void RewriteAllNextTime() { rewrite_all_ = true; }

 private:
  std::vector<Fixture> fixtures_;
  bool rewrite_all_ = true;
};

// ---- what is called ------------------------------------------------------------------------

struct Target {
  ComPtr<IDispatch> object;
  std::shared_ptr<const std::vector<Member>> members;
  std::wstring class_name;
};

struct Tally {
  long calls = 0;
  long ok = 0;
  long dispatch_errors = 0;
  long exceptions = 0;
  DWORD slowest_ms = 0;
};

// The codes of the dispatch facility (0x8002xxxx): the call was refused before the member ran.
// E_INVALIDARG too: the system's type-info dispatcher returns it bare when it cannot convert an
// argument (a date beyond the calendar to a text); the servers themselves never raise it.
// HV_HOSTILE_TRACE=1 prints every call before it is made, to find the one a crash ends on.
const bool g_trace = std::getenv("HV_HOSTILE_TRACE") != nullptr;

bool AcceptedDispatchError(HRESULT hr) {
  return (HRESULT_FACILITY(hr) == FACILITY_DISPATCH && FAILED(hr) && hr != DISP_E_EXCEPTION) ||
         hr == E_INVALIDARG;
}

std::wstring ClassOf(const std::wstring& prog_id) {
  const std::size_t dot = prog_id.find(L'.');
  return dot == std::wstring::npos ? prog_id : prog_id.substr(dot + 1);
}

class Runner {
 public:
  Runner(std::uint64_t seed, const Places& places, Scratch& scratch)
      : rng_(seed), values_(rng_, places, own_), scratch_(scratch) {
    values_.set_objects(&pool_objects_);
  }

  void AddClass(const ClassInfo& c) {
    auto members = std::make_shared<const std::vector<Member>>(c.members);
    members_by_class_[ClassOf(c.prog_id)] = members;
    for (const Member& m : c.members) pairs_.push_back({ClassOf(c.prog_id), &m - c.members.data()});
    if (c.creatable) creatable_.push_back(c.prog_id);
  }

  // Fresh objects of every creatable class, so that state left by earlier calls goes too.
  void Recreate() {
    objects_.clear();
    pool_objects_.clear();
    for (const std::wstring& prog_id : creatable_) {
      hv::wine::Dispatch d;
      const HRESULT hr = hv::wine::Dispatch::Create(prog_id.c_str(), d);
      if (FAILED(hr)) {
        Fail(L"create " + prog_id, hr);
        continue;
      }
      Keep(ComPtr<IDispatch>(d.get()), ClassOf(prog_id));
    }
  }

  void Run(long budget, DWORD seconds) {
    const DWORD start = GetTickCount();
    for (long i = 0; i < budget; ++i) {
      if (GetTickCount() - start > seconds * 1000) {
        std::printf("note: time limit of %lu s reached after %ld calls\n",
                    static_cast<unsigned long>(seconds), i);
        break;
      }
      if (i % 500 == 0) Recreate();
      if (i % 50 == 0) scratch_.RewriteAllNextTime();
      const auto& [class_name, index] = pairs_[static_cast<std::size_t>(i) % pairs_.size()];
      std::vector<Target*> candidates;
      for (Target& t : objects_)
        if (t.class_name == class_name) candidates.push_back(&t);
      if (candidates.empty()) {
        ++no_object_[class_name];
        continue;
      }
      Target& target = *candidates[rng_.Below(candidates.size())];
      const Member& member = (*target.members)[static_cast<std::size_t>(index)];
      CallOnce(target, member);
      scratch_.Restore();
    }
  }

  void Report() const {
    long total = 0;
    for (const auto& [name, t] : tallies_) {
      std::printf(
          "  %-36ls %6ld calls: %6ld S_OK, %6ld exceptions, %6ld dispatch errors, slowest %lu ms\n",
          name.c_str(), t.calls, t.ok, t.exceptions, t.dispatch_errors,
          static_cast<unsigned long>(t.slowest_ms));
      total += t.calls;
    }
    for (const auto& [name, n] : no_object_)
      std::printf("  no object of %ls yet for %ld turns\n", name.c_str(), n);
    std::printf("calls %ld (%zu members), strings refused by the guard %ld, own object asked %ld\n",
                total, tallies_.size(), values_.refused(), own_.asked());
  }
  long members_called() const { return static_cast<long>(tallies_.size()); }
  std::size_t member_count() const { return pairs_.size(); }

 private:
  void Keep(ComPtr<IDispatch> object, const std::wstring& class_name) {
    auto found = members_by_class_.find(class_name);
    if (found == members_by_class_.end()) return;
    if (objects_.size() >= 64)
      objects_.erase(objects_.begin() + 8 + rng_.Below(objects_.size() - 8));
    objects_.push_back({object, found->second, class_name});
    pool_objects_.push_back(object);
    if (pool_objects_.size() > 16) pool_objects_.erase(pool_objects_.begin());
  }

  // The class of an object a call handed out, by its type information.
  void KeepResult(IDispatch* object) {
    ComPtr<ITypeInfo> info;
    if (FAILED(object->GetTypeInfo(0, LOCALE_USER_DEFAULT, info.put()))) return;
    hv::com::UniqueBstr name;
    if (FAILED(info->GetDocumentation(MEMBERID_NIL, name.put(), nullptr, nullptr, nullptr))) return;
    std::wstring iface(name.get(), SysStringLen(name.get()));
    // IhvD64Entries -> hvD64Entries: the class behind the interface.
    if (iface.size() > 1 && iface[0] == L'I') iface.erase(0, 1);
    Keep(ComPtr<IDispatch>(object), iface);
  }

  void AddArgument(hv::wine::hostile::Call& call, const Param* p, bool typed) {
    const bool out = p && p->out;
    // A settings key is always a text below the test key, in any by-value or by-reference
    // form: a number or an empty value would name a key of the user's own.
    if (p && p->name == L"sKeyName") {
      VARIANT key = values_.TextVariant(p);
      const std::size_t shape = rng_.Below(3);
      if (shape == 0) {
        call.AddValue(key, out);
      } else {
        call.AddRef(key, shape == 2, out);
      }
      return;
    }
    if (p && p->record_array) {
      AddRecords(call, *p, typed);
      return;
    }
    if (typed && p) {
      if (p->by_ref && p->vt == VT_VARIANT) {
        call.AddRef(values_.Typed(*p), true, out);
      } else if (p->by_ref) {
        call.AddRef(values_.Typed(*p), false, out);
      } else {
        call.AddValue(values_.Typed(*p), out);
      }
      return;
    }
    VARIANT v = values_.Hostile(p);
    const std::size_t shape = rng_.Below(10);
    const VARTYPE vt = V_VT(&v);
    if (shape < 4) {
      call.AddValue(v, out);
    } else if (shape < 7 && vt != VT_EMPTY && vt != VT_NULL) {
      call.AddRef(v, false, out);  // VT_BYREF|<its type>
    } else {
      call.AddRef(v, true, out);  // VT_BYREF|VT_VARIANT
    }
  }

  void AddRecords(hv::wine::hostile::Call& call, const Param& p, bool typed) {
    VARIANT v;
    VariantInit(&v);
    const std::size_t kind = typed ? 0 : rng_.Below(6);
    if (kind <= 2) {
      V_VT(&v) = VT_ARRAY | VT_RECORD;
      V_ARRAY(&v) = rng_.Chance(8) ? nullptr : values_.Records(p.record.get(), true);
    } else if (kind == 3 && WrongRecord()) {
      V_VT(&v) = VT_ARRAY | VT_RECORD;
      V_ARRAY(&v) = values_.Records(WrongRecord(), false);
    } else {
      v = values_.Hostile(&p);
    }
    const std::size_t shape = rng_.Below(10);
    if (shape < 6 && V_VT(&v) != VT_EMPTY && V_VT(&v) != VT_NULL) {
      call.AddRef(v, false, p.out);  // VT_BYREF|VT_ARRAY|VT_RECORD, as VB passes it
    } else if (shape < 8) {
      call.AddValue(v, p.out);
    } else {
      call.AddRef(v, true, p.out);
    }
  }

  // A record of another layout and id than ConfigFileType: one 32-bit number.
  IRecordInfo* WrongRecord() {
    if (wrong_tried_) return wrong_.get();
    wrong_tried_ = true;
    ComPtr<ICreateTypeLib2> lib;
    if (FAILED(CreateTypeLib2(SYS_WIN64, L"hostile-wrong.tlb", lib.put()))) return nullptr;
    static const GUID kLib = {0x6c1b7d8e, 0x1f0a, 0x4b3e, {0x9a, 1, 2, 3, 4, 5, 6, 7}};
    static const GUID kRecord = {0x6c1b7d8f, 0x1f0a, 0x4b3e, {0x9a, 1, 2, 3, 4, 5, 6, 8}};
    lib->SetGuid(kLib);
    ComPtr<ICreateTypeInfo> info;
    if (FAILED(lib->CreateTypeInfo(const_cast<LPOLESTR>(L"WrongRecord"), TKIND_RECORD, info.put())))
      return nullptr;
    info->SetGuid(kRecord);
    VARDESC var{};
    var.varkind = VAR_PERINSTANCE;
    var.elemdescVar.tdesc.vt = VT_I4;
    if (FAILED(info->AddVarDesc(0, &var))) return nullptr;
    info->SetVarName(0, const_cast<LPOLESTR>(L"Number"));
    if (FAILED(info->LayOut())) return nullptr;
    ComPtr<ITypeInfo> type = info.As<ITypeInfo>();
    if (type) GetRecordInfoFromTypeInfo(type.get(), wrong_.put());
    if (!wrong_) std::printf("note: no wrong record type could be made; that shape is left out\n");
    return wrong_.get();
  }

  WORD Flags(const Member& m) {
    if (rng_.Chance(6)) {
      static const std::vector<WORD> kOdd = {DISPATCH_PROPERTYPUT, DISPATCH_PROPERTYPUTREF, 0,
                                             DISPATCH_METHOD | DISPATCH_PROPERTYPUT, 0x80};
      return rng_.Pick(kOdd);
    }
    if (m.kind == INVOKE_PROPERTYGET)
      return rng_.Chance(50) ? DISPATCH_PROPERTYGET : DISPATCH_PROPERTYGET | DISPATCH_METHOD;
    return rng_.Chance(60) ? DISPATCH_METHOD : DISPATCH_METHOD | DISPATCH_PROPERTYGET;
  }

  void CallOnce(Target& target, const Member& member) {
    const std::wstring name = target.class_name + L"." + member.name;
    Tally& tally = tallies_[name];
    ++tally.calls;
    const bool typed = rng_.Chance(55);
    std::size_t count = member.params.size();
    if (!typed && count > 0 && rng_.Chance(12)) count = rng_.Below(count);
    hv::wine::hostile::Call call;
    for (std::size_t k = 0; k < count; ++k) AddArgument(call, &member.params[k], typed);
    if (!typed && rng_.Chance(8)) {
      const std::size_t extra = 1 + rng_.Below(3);
      for (std::size_t k = 0; k < extra; ++k) AddArgument(call, nullptr, false);
    }
    WORD flags = Flags(member);
    if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
      AddArgument(call, nullptr, false);
      call.NameLast({DISPID_PROPERTYPUT});
    } else if (call.size() > 0 && rng_.Chance(typed ? 8 : 15)) {
      // Named arguments: every one by its position, or some by ids that name no parameter.
      std::vector<DISPID> ids;
      const std::size_t named = 1 + rng_.Below(call.size());
      const bool settings = std::any_of(member.params.begin(), member.params.end(),
                                        [](const Param& p) { return p.name == L"sKeyName"; });
      for (std::size_t k = call.size() - named; k < call.size(); ++k)
        ids.push_back(settings || rng_.Chance(85) ? static_cast<DISPID>(k)
                                                  : static_cast<DISPID>(rng_.Next() % 40) - 5);
      call.NameLast(ids);
    }
    // One id in twenty names no member, or a member of another interface.
    DISPID id = member.id;
    if (!typed && rng_.Chance(5)) id = static_cast<DISPID>(rng_.Below(40)) - 8;

    const std::string shape = call.Shape(flags) + ", id " + std::to_string(id);
    g_progress.member = name.c_str();
    g_progress.shape = shape.c_str();
    g_progress.call_started = GetTickCount() | 1;
    if (g_trace) {
      std::printf("call %ls %s\n", name.c_str(), shape.c_str());
      std::fflush(stdout);
    }
    const DWORD began = GetTickCount();
    const HRESULT hr = call.Invoke(target.object.get(), id, flags);
    g_progress.call_started = 0;
    const DWORD took = GetTickCount() - began;
    g_recent.erase(g_recent.begin());
    g_recent.push_back(std::string(name.begin(), name.end()) + " (" + shape + ")");
    if (took > tally.slowest_ms) tally.slowest_ms = took;

    bool good = true;
    if (hr == S_OK) {
      ++tally.ok;
    } else if (hr == DISP_E_EXCEPTION) {
      ++tally.exceptions;
      if (!call.HasDescription()) {
        good = false;
        Report(name, L"an exception without an error object", hr, call.Shape(flags));
      }
    } else if (AcceptedDispatchError(hr)) {
      ++tally.dispatch_errors;
    } else {
      good = false;
      Report(name, L"neither S_OK nor a dispatch error", hr, call.Shape(flags));
    }
    // Wine's dispatcher rewrites by-value arguments itself when named ones fill an [in, out]
    // parameter (seen with PlayMusic), before any member code runs: only positional calls
    // tell about the server.
    if (call.by_value_changed() && !call.has_named()) {
      good = false;
      Report(name, L"changed an argument passed by value", hr,
             call.change() + "; " + call.Shape(flags));
    }
    const bool member_ran = hr == S_OK || hr == DISP_E_EXCEPTION;
    for (const RefCell& cell : call.cells()) {
      // A named argument goes where the dispatcher binds it: Wine's binds the one named as the
      // value of a property put to the last parameter, an [in, out] one included, which the
      // member then writes (seen with GetFileAndPath called as method and put at once).
      const bool may_change = cell.may_change() || call.has_named();
      if (!cell.Changed() || (may_change && member_ran)) continue;
      good = false;
      Report(name,
             may_change ? L"wrote a by-reference argument of a call it refused"
                        : L"wrote a by-reference argument it does not own",
             hr, call.Shape(flags));
    }
    if (good) {
      InterlockedIncrement(&g_progress.passed);
    } else {
      InterlockedIncrement(&g_progress.failed);
    }
    VARIANT& result = call.result();
    if (V_VT(&result) == VT_DISPATCH && V_DISPATCH(&result)) KeepResult(V_DISPATCH(&result));
  }

  void Report(const std::wstring& name, const wchar_t* what, HRESULT hr,
              const std::string& detail = {}) {
    // The first few of each kind are enough to find the fault.
    if (++reported_[name + what] > 3) return;
    std::printf("FAIL %ls: %ls (0x%08lX) %s\n", name.c_str(), what, static_cast<unsigned long>(hr),
                detail.c_str());
    std::fflush(stdout);
  }
  void Fail(const std::wstring& what, HRESULT hr) {
    std::printf("FAIL %ls (0x%08lX)\n", what.c_str(), static_cast<unsigned long>(hr));
    InterlockedIncrement(&g_progress.failed);
  }

  Rng rng_;
  ValueObject own_;
  Values values_;
  Scratch& scratch_;
  std::vector<std::pair<std::wstring, std::ptrdiff_t>> pairs_;
  std::map<std::wstring, std::shared_ptr<const std::vector<Member>>> members_by_class_;
  std::vector<std::wstring> creatable_;
  std::vector<Target> objects_;
  std::vector<ComPtr<IDispatch>> pool_objects_;
  std::map<std::wstring, Tally> tallies_;
  std::map<std::wstring, long> no_object_;
  std::map<std::wstring, int> reported_;
  ComPtr<IRecordInfo> wrong_;
  bool wrong_tried_ = false;
};

// Every coclass of the library a first object comes from.
std::vector<ClassInfo> Library(const wchar_t* prog_id) {
  hv::wine::Dispatch first;
  const HRESULT hr = hv::wine::Dispatch::Create(prog_id, first);
  if (FAILED(hr)) {
    std::printf("FAIL create %ls (0x%08lX)\n", prog_id, static_cast<unsigned long>(hr));
    InterlockedIncrement(&g_progress.failed);
    return {};
  }
  return ClassesOfLibrary(first.get());
}

int Main(int argc, char** argv) {
  if (argc < 2) {
    std::printf("usage: hostile_calls.exe SEEDS_FOLDER [SEED] [CALLS] [SECONDS]\n");
    return 2;
  }
  const std::uint64_t seed = argc > 2 ? std::strtoull(argv[2], nullptr, 10) : 1;
  const long budget = argc > 3 ? std::strtol(argv[3], nullptr, 10) : 20000;
  const DWORD seconds = argc > 4 ? static_cast<DWORD>(std::strtoul(argv[4], nullptr, 10)) : 60;

  std::wstring why;
  if (!OnlyScratchDrives(why)) {
    std::printf("FAIL refusing to run: %ls (only C: and the scratch drive S: may exist)\n",
                why.c_str());
    std::printf("CHECKS 0 1 0\n");
    return 1;
  }
  hv::wine::ComApartment com;
  if (FAILED(com.status())) return 1;

  // The inputs, read once; the client puts them back in S:\in as calls remove or change them.
  Scratch scratch;
  Places places;
  const std::wstring seeds = hv::wine::FromCp1252(argv[1]);
  WIN32_FIND_DATAW found;
  const UniqueFind find(FindFirstFileW((seeds + L"\\*").c_str(), &found));
  for (BOOL more = static_cast<bool>(find); more; more = FindNextFileW(find.get(), &found)) {
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    const std::wstring name = found.cFileName;
    std::string bytes = ReadAll(seeds + L"\\" + name);
    if (name == L"standin_emulator.exe") {
      places.standin = L"S:\\emu\\standin.exe";
      scratch.Add(places.standin, std::move(bytes));
    } else {
      places.files.push_back(L"S:\\in\\" + name);
      scratch.Add(places.files.back(), std::move(bytes));
    }
  }
  places.not_program = L"S:\\emu\\x64.exe";
  scratch.Add(places.not_program, "no program, only text\r\n");
  places.shell_file = L"S:\\in\\open.hvq";
  scratch.Add(places.shell_file, "nothing opens this\r\n");
  places.folders = {L"S:\\in", L"S:\\emu", L"S:\\work", L"S:\\work\\w1", L"in", L"w1", L"."};
  if (places.files.empty() || places.standin.empty()) {
    std::printf("FAIL no inputs in %s\n", argv[1]);
    std::printf("CHECKS 0 1 0\n");
    return 1;
  }
  scratch.Restore();

  HANDLE watchdog = CreateThread(nullptr, 0, Watchdog, nullptr, 0, nullptr);
  if (watchdog) CloseHandle(watchdog);

  // With no display a prompt cannot be answered: it must decline at once, not ask for ever.
  {
    hv::wine::Dispatch functions;
    if (SUCCEEDED(hv::wine::Dispatch::Create(L"Halvane.hvFunctions", functions))) {
      g_progress.member = L"WaitForCDRomPath of a missing folder";
      g_progress.call_started = GetTickCount() | 1;
      const hv::wine::Outcome declined = functions.Get(L"WaitForCDRomPath", L"S:\\in\\no-such-cd");
      g_progress.call_started = 0;
      const bool ok = declined.ok() && declined.type() == VT_BOOL && declined.Long() == 0;
      std::printf("%s a prompt with no display declines\n", ok ? "ok  " : "FAIL");
      InterlockedIncrement(ok ? &g_progress.passed : &g_progress.failed);

      // The system reads a path only up to a NUL: a search must walk on from there, not list
      // the folder before the NUL again at every level.
      CreateDirectoryW(L"S:\\work\\nul-walk", nullptr);
      CreateDirectoryW(L"S:\\work\\nul-walk\\sub", nullptr);
      g_progress.member = L"FindFile below a path with a NUL";
      g_progress.call_started = GetTickCount() | 1;
      const std::wstring cut(L"S:\\work\\nul-walk\0junk", 21);
      const hv::wine::Outcome walked = functions.Get(L"FindFile", L"none.d64", cut);
      g_progress.call_started = 0;
      const bool ended = walked.ok() && walked.Text().empty();
      std::printf("%s a search below a path with a NUL ends\n", ended ? "ok  " : "FAIL");
      InterlockedIncrement(ended ? &g_progress.passed : &g_progress.failed);

      // The same for the search of every match, whose path comes back with its backslash.
      g_progress.member = L"FindFiles below a path with a NUL";
      g_progress.call_started = GetTickCount() | 1;
      // In/out strings: the member may free them and hand back others, which are ours to free.
      BSTR path = SysAllocStringLen(cut.data(), static_cast<UINT>(cut.size()));
      BSTR pattern = SysAllocString(L"*.d64");
      const hv::wine::Outcome all =
          functions.Get(L"FindFiles", hv::wine::Arg::ByRef(&path), hv::wine::Arg::ByRef(&pattern));
      g_progress.call_started = 0;
      // The folder holds one empty subfolder and no match: the number 0.
      const bool all_ended = all.ok() && all.type() != VT_EMPTY && all.Long() == 0;
      std::printf("%s a search of every match below a path with a NUL ends\n",
                  all_ended ? "ok  " : "FAIL");
      InterlockedIncrement(all_ended ? &g_progress.passed : &g_progress.failed);
      SysFreeString(path);
      SysFreeString(pattern);

      // A text passed by value where the member takes one by reference stays the caller's:
      // freeing it afterwards must be safe (a member that freed it would crash the caller).
      g_progress.member = L"GetFileAndPath with an output given by value";
      g_progress.call_started = GetTickCount() | 1;
      VARIANT money;
      VariantInit(&money);
      V_VT(&money) = VT_CY;
      V_CY(&money).int64 = 12345;
      BSTR file = SysAllocString(L"x");
      {
        const hv::wine::Outcome split =
            functions.Get(L"GetFileAndPath", hv::wine::Arg::ByRef(&money),
                          hv::wine::Arg(std::wstring(1 << 20, L'h')), hv::wine::Arg::ByRef(&file));
        std::printf("ok   an output given by value stays the caller's (0x%08lX)\n",
                    static_cast<unsigned long>(split.hr));
      }
      g_progress.call_started = 0;
      InterlockedIncrement(&g_progress.passed);
      SysFreeString(file);
      VariantClear(&money);
    }
  }

  Runner runner(seed, places, scratch);
  std::size_t classes = 0;
  std::vector<ClassInfo> all;
  for (const wchar_t* first : {L"Tessary.hvD64", L"Halvane.hvFunctions"}) {
    for (ClassInfo& c : Library(first)) all.push_back(std::move(c));
  }
  for (const ClassInfo& c : all) {
    std::printf("class %ls%ls: %zu members\n", c.prog_id.c_str(),
                c.creatable ? L"" : L" (handed out)", c.members.size());
    runner.AddClass(c);
    ++classes;
  }
  if (runner.member_count() == 0) {
    std::printf("FAIL no members found in the type libraries\n");
    std::printf("CHECKS 0 1 0\n");
    return 1;
  }
  std::printf("seed %llu, budget %ld calls, %lu s\n", static_cast<unsigned long long>(seed), budget,
              static_cast<unsigned long>(seconds));
  std::fflush(stdout);
  runner.Run(budget, seconds);
  runner.Report();
  if (runner.members_called() != static_cast<long>(runner.member_count())) {
    std::printf("FAIL only %ld of %zu members were called\n", runner.members_called(),
                runner.member_count());
    InterlockedIncrement(&g_progress.failed);
  }

  // Settings written under the test key go with the run.
  RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\HalvaneHostileTest");
  RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\HalvaneHostileTest");
  std::printf("CHECKS %ld %ld %ld\n", g_progress.passed, g_progress.failed, g_progress.skipped);
  std::fflush(stdout);
  return g_progress.failed == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  return Main(argc, argv);
}
