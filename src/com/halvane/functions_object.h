#pragma once
// hvFunctions on the automation interface: path and file questions, the configuration-file
// editor, SID headers, the file search with its FoundFile event, and the CD-ROM prompts.

#include <string>

#include "Halvane.h"
#include "com/common/connection_points.h"
#include "halvane/functions/hvFunctions.h"

namespace hv::com {

class FunctionsObject
    : public EventSource<FunctionsObject,
                         DispatchObject<FunctionsObject, IhvFunctions, IConnectionPointContainer,
                                        IProvideClassInfo2>> {
 public:
  static constexpr const char* kSource = "Halvane.hvFunctions";
  static const IID& EventIid() { return DIID_hvFunctionsEvents; }
  static const CLSID& ClassId() { return CLSID_hvFunctions; }

  FunctionsObject();

  // ChangeConfigFile is unpacked here: Wine's type information cannot pass record arrays.
  // Every other member goes the stock way.
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID riid, LCID lcid, WORD flags,
                                   DISPPARAMS* params, VARIANT* result, EXCEPINFO* excep,
                                   UINT* arg_err) override;

  HRESULT STDMETHODCALLTYPE GetFileAndPath(BSTR strPathAndFile, BSTR* strPath,
                                           BSTR* strFileName) override;
  HRESULT STDMETHODCALLTYPE JustFileName(BSTR strPathAndFile, BSTR* result) override;
  HRESULT STDMETHODCALLTYPE SetAlwaysOnTop(VARIANT_BOOL SetOn, LONG WindowHwnd) override;
  HRESULT STDMETHODCALLTYPE GetVolumeName(BSTR RootPathName, BSTR* result) override;
  HRESULT STDMETHODCALLTYPE Long2Short(BSTR S, BSTR* result) override;
  HRESULT STDMETHODCALLTYPE DeletePathSilent(BSTR strDestPath) override;
  HRESULT STDMETHODCALLTYPE DriveTypeIsCDRom(BSTR RootPathName, VARIANT_BOOL* result) override;
  HRESULT STDMETHODCALLTYPE FileExists(BSTR FileName, VARIANT_BOOL DisplayMsgBox, BSTR MBCaption,
                                       VARIANT_BOOL* result) override;
  HRESULT STDMETHODCALLTYPE DirExists(BSTR strDir, VARIANT_BOOL* result) override;
  HRESULT STDMETHODCALLTYPE ChangeConfigFile(BSTR ConfigFile, SAFEARRAY** ChArray) override;
  HRESULT STDMETHODCALLTYPE GetSidInfo(BSTR strSidFile, BSTR* strName, BSTR* strAuthor,
                                       BSTR* strCopyright, short* intTotalSongs,
                                       short* intDefaultSong, VARIANT_BOOL* result) override;
  HRESULT STDMETHODCALLTYPE GetSidSongInfo(BSTR strSidFile, short* intTotalSongs,
                                           short* intDefaultSong, VARIANT_BOOL* result) override;
  HRESULT STDMETHODCALLTYPE SaveDefaultSidSong(BSTR strSidFile, short* intDefaultSong,
                                               VARIANT_BOOL* result) override;
  HRESULT STDMETHODCALLTYPE GetSidAuthor(BSTR strSidFile, BSTR* result) override;
  HRESULT STDMETHODCALLTYPE FindFile(BSTR FileName, BSTR path, BSTR* result) override;
  HRESULT STDMETHODCALLTYPE FindFiles(BSTR* path, BSTR* SearchStr, VARIANT* result) override;
  HRESULT STDMETHODCALLTYPE WaitForCDRom(BSTR RootDrive, BSTR CDRomName,
                                         VARIANT_BOOL* result) override;
  HRESULT STDMETHODCALLTYPE WaitForCDRomPath(VARIANT strPath, VARIANT_BOOL* result) override;
  HRESULT STDMETHODCALLTYPE WaitForCDRomFile(VARIANT strPath, VARIANT_BOOL* result) override;

 private:
  HRESULT InvokeChangeConfigFile(WORD flags, DISPPARAMS* params, VARIANT* result, EXCEPINFO* excep,
                                 UINT* arg_err);
  void ChangeConfig(const std::string& file, SAFEARRAY* array);

  halvane::hvFunctions core_;
};

}  // namespace hv::com
