#include "com/halvane/functions_object.h"

#include <utility>
#include <vector>

#include "com/common/bstr.h"
#include "com/common/error_boundary.h"
#include "com/common/hand_invoke.h"
#include "com/common/module.h"
#include "com/common/returns.h"
#include "com/common/variant_convert.h"

namespace hv::com {
namespace {

// The dispatch ids of the IDL that this class handles itself.
constexpr DISPID kChangeConfigFileId = 10;
constexpr DISPID kFoundFileId = 1;

// ConfigFileType's id, as the type library holds it.
const GUID& ConfigFileTypeId() {
  static const GUID id = [] {
    GUID found = GUID_NULL;
    HV_THROW_IF_FAILED(ModuleTypeId(L"ConfigFileType", &found));
    return found;
  }();
  return id;
}

template <class T>
T& Ref(T* p) {
  if (!p) throw ComError(E_POINTER);
  return *p;
}

// Writes a text output back only when the core changed it, so an unchanged in/out argument
// keeps the caller's own string.
void WriteBack(BSTR* target, const std::string& before, const std::string& after) {
  if (after != before) ReplaceBstr(target, after);
}

}  // namespace

FunctionsObject::FunctionsObject() {
  core_.SetFoundFileHandler([this](const std::string& strPathAndFile) {
    std::vector<UniqueVariant> args(1);
    ToVariant(Variant(strPathAndFile), args[0].put());
    // A failing handler does not stop the search, as a Visual Basic event would not.
    Events().Fire(kFoundFileId, args);
  });
}

HRESULT STDMETHODCALLTYPE FunctionsObject::Invoke(DISPID id, REFIID riid, LCID lcid, WORD flags,
                                                  DISPPARAMS* params, VARIANT* result,
                                                  EXCEPINFO* excep, UINT* arg_err) {
  if (id == kChangeConfigFileId && riid == IID_NULL)
    return InvokeChangeConfigFile(flags, params, result, excep, arg_err);
  return EventSource::Invoke(id, riid, lcid, flags, params, result, excep, arg_err);
}

HRESULT FunctionsObject::InvokeChangeConfigFile(WORD flags, DISPPARAMS* params, VARIANT* result,
                                                EXCEPINFO* excep, UINT* arg_err) {
  if ((flags & DISPATCH_METHOD) == 0) return DISP_E_MEMBERNOTFOUND;
  if (!params) return E_INVALIDARG;
  if (params->cArgs > 2) return DISP_E_BADPARAMCOUNT;
  const VARIANT* file = CallArgument(params, 0);
  const VARIANT* array = CallArgument(params, 1);
  if (!file || !array) {
    if (arg_err) *arg_err = file ? 0 : 1;
    return DISP_E_PARAMNOTFOUND;
  }
  if (result) VariantInit(result);
  const HRESULT hr = Guard("ChangeConfigFile", [&] {
    ChangeConfig(FromVariant(*file).ToText(), RecordArrayArgument(*array));
  });
  return InvokeResult(hr, excep);
}

void FunctionsObject::ChangeConfig(const std::string& file, SAFEARRAY* array) {
  halvane::ConfigFileArray entries;
  if (!array) {
    entries = halvane::ConfigFileArray::NotDimensioned();
  } else {
    entries.lower_bound =
        ForEachRecord(array, ConfigFileTypeId(), sizeof(::ConfigFileType), [&](const void* item) {
          const auto& record = *static_cast<const ::ConfigFileType*>(item);
          entries.items.push_back({FromBstr(record.KeyToChange), FromBstr(record.ValueToSet)});
        });
  }
  core_.ChangeConfigFile(file, entries);
}

HRESULT STDMETHODCALLTYPE FunctionsObject::GetFileAndPath(BSTR strPathAndFile, BSTR* strPath,
                                                          BSTR* strFileName) {
  return Guard("GetFileAndPath", [&] {
    std::string path = FromBstr(Ref(strPath));
    std::string file = FromBstr(Ref(strFileName));
    if (strPath == strFileName) {
      // One variable for both outputs: it ends up holding the file name.
      core_.GetFileAndPath(FromBstr(strPathAndFile), path, path);
      ReplaceBstr(strPath, path);
      return;
    }
    core_.GetFileAndPath(FromBstr(strPathAndFile), path, file);
    ReplaceBstr(strPath, path);
    ReplaceBstr(strFileName, file);
  });
}

HRESULT STDMETHODCALLTYPE FunctionsObject::JustFileName(BSTR strPathAndFile, BSTR* result) {
  return Guard("JustFileName",
               [&] { ReturnText(result, core_.JustFileName(FromBstr(strPathAndFile))); });
}

HRESULT STDMETHODCALLTYPE FunctionsObject::SetAlwaysOnTop(VARIANT_BOOL SetOn, LONG WindowHwnd) {
  return Guard("SetAlwaysOnTop", [&] { core_.SetAlwaysOnTop(SetOn != VARIANT_FALSE, WindowHwnd); });
}

HRESULT STDMETHODCALLTYPE FunctionsObject::GetVolumeName(BSTR RootPathName, BSTR* result) {
  return Guard("GetVolumeName",
               [&] { ReturnText(result, core_.GetVolumeName(FromBstr(RootPathName))); });
}

HRESULT STDMETHODCALLTYPE FunctionsObject::Long2Short(BSTR S, BSTR* result) {
  return Guard("Long2Short", [&] { ReturnText(result, core_.Long2Short(FromBstr(S))); });
}

HRESULT STDMETHODCALLTYPE FunctionsObject::DeletePathSilent(BSTR strDestPath) {
  return Guard("DeletePathSilent", [&] { core_.DeletePathSilent(FromBstr(strDestPath)); });
}

HRESULT STDMETHODCALLTYPE FunctionsObject::DriveTypeIsCDRom(BSTR RootPathName,
                                                            VARIANT_BOOL* result) {
  return Guard("DriveTypeIsCDRom",
               [&] { ReturnBool(result, core_.DriveTypeIsCDRom(FromBstr(RootPathName))); });
}

HRESULT STDMETHODCALLTYPE FunctionsObject::FileExists(BSTR FileName, VARIANT_BOOL DisplayMsgBox,
                                                      BSTR MBCaption, VARIANT_BOOL* result) {
  return Guard("FileExists", [&] {
    Out(result);
    // The box shows only for exactly True (-1): the value goes through as it came.
    ReturnBool(result,
               core_.FileExists(FromBstr(FileName), static_cast<std::int16_t>(DisplayMsgBox),
                                FromBstr(MBCaption)));
  });
}

HRESULT STDMETHODCALLTYPE FunctionsObject::DirExists(BSTR strDir, VARIANT_BOOL* result) {
  return Guard("DirExists", [&] { ReturnBool(result, core_.DirExists(FromBstr(strDir))); });
}

HRESULT STDMETHODCALLTYPE FunctionsObject::ChangeConfigFile(BSTR ConfigFile, SAFEARRAY** ChArray) {
  return Guard("ChangeConfigFile", [&] { ChangeConfig(FromBstr(ConfigFile), Ref(ChArray)); });
}

HRESULT STDMETHODCALLTYPE FunctionsObject::GetSidInfo(BSTR strSidFile, BSTR* strName,
                                                      BSTR* strAuthor, BSTR* strCopyright,
                                                      short* intTotalSongs, short* intDefaultSong,
                                                      VARIANT_BOOL* result) {
  return Guard("GetSidInfo", [&] {
    Out(result);
    const std::string name_in = FromBstr(Ref(strName));
    const std::string author_in = FromBstr(Ref(strAuthor));
    const std::string copyright_in = FromBstr(Ref(strCopyright));
    std::string name = name_in, author = author_in, copyright = copyright_in;
    std::int16_t total = Ref(intTotalSongs);
    std::int16_t start = Ref(intDefaultSong);
    const bool ok = core_.GetSidInfo(FromBstr(strSidFile), name, author, copyright, total, start);
    WriteBack(strName, name_in, name);
    WriteBack(strAuthor, author_in, author);
    WriteBack(strCopyright, copyright_in, copyright);
    *intTotalSongs = total;
    *intDefaultSong = start;
    ReturnBool(result, ok);
  });
}

HRESULT STDMETHODCALLTYPE FunctionsObject::GetSidSongInfo(BSTR strSidFile, short* intTotalSongs,
                                                          short* intDefaultSong,
                                                          VARIANT_BOOL* result) {
  return Guard("GetSidSongInfo", [&] {
    Out(result);
    std::int16_t total = Ref(intTotalSongs);
    std::int16_t start = Ref(intDefaultSong);
    const bool ok = core_.GetSidSongInfo(FromBstr(strSidFile), total, start);
    *intTotalSongs = total;
    *intDefaultSong = start;
    ReturnBool(result, ok);
  });
}

HRESULT STDMETHODCALLTYPE FunctionsObject::SaveDefaultSidSong(BSTR strSidFile,
                                                              short* intDefaultSong,
                                                              VARIANT_BOOL* result) {
  return Guard("SaveDefaultSidSong", [&] {
    Out(result);
    std::int16_t start = Ref(intDefaultSong);
    ReturnBool(result, core_.SaveDefaultSidSong(FromBstr(strSidFile), start));
  });
}

HRESULT STDMETHODCALLTYPE FunctionsObject::GetSidAuthor(BSTR strSidFile, BSTR* result) {
  return Guard("GetSidAuthor",
               [&] { ReturnText(result, core_.GetSidAuthor(FromBstr(strSidFile))); });
}

HRESULT STDMETHODCALLTYPE FunctionsObject::FindFile(BSTR FileName, BSTR path, BSTR* result) {
  return Guard("FindFile",
               [&] { ReturnText(result, core_.FindFile(FromBstr(FileName), FromBstr(path))); });
}

HRESULT STDMETHODCALLTYPE FunctionsObject::FindFiles(BSTR* path, BSTR* SearchStr, VARIANT* result) {
  return Guard("FindFiles", [&] {
    Out(result);
    const std::string path_in = FromBstr(Ref(path));
    std::string folder = path_in;
    std::string pattern = FromBstr(Ref(SearchStr));
    const Variant total = core_.FindFiles(folder, pattern);
    WriteBack(path, path_in, folder);
    ToVariant(total, result);
  });
}

HRESULT STDMETHODCALLTYPE FunctionsObject::WaitForCDRom(BSTR RootDrive, BSTR CDRomName,
                                                        VARIANT_BOOL* result) {
  return Guard("WaitForCDRom", [&] {
    Out(result);
    ReturnBool(result, core_.WaitForCDRom(FromBstr(RootDrive), FromBstr(CDRomName)));
  });
}

HRESULT STDMETHODCALLTYPE FunctionsObject::WaitForCDRomPath(VARIANT strPath, VARIANT_BOOL* result) {
  return Guard("WaitForCDRomPath", [&] {
    Out(result);
    ReturnBool(result, core_.WaitForCDRomPath(FromVariant(strPath)));
  });
}

HRESULT STDMETHODCALLTYPE FunctionsObject::WaitForCDRomFile(VARIANT strPath, VARIANT_BOOL* result) {
  return Guard("WaitForCDRomFile", [&] {
    Out(result);
    ReturnBool(result, core_.WaitForCDRomFile(FromVariant(strPath)));
  });
}

}  // namespace hv::com
