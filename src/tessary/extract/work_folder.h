#pragma once
// The working folder of an extraction. Every call deletes it with all it holds, so before
// anything is touched it is made absolute and checked: never a root, never a folder that is or
// holds the user's or the system's own folders or the stored file, never a file, and never a
// folder of someone else's files. A folder the extraction made carries a hidden marker file;
// only a marked folder, or one laid out as an earlier extraction leaves it, is cleared.

#include <string>

#include "halvane/functions/functions_ops.h"

namespace hv::tessary {

// The marker's name: hidden by its leading dot on Linux and by its attribute on Windows, so no
// folder listing of an extraction ever shows it.
inline constexpr char kWorkFolderMarker[] = ".hvExtract-work";

// What an existing working folder holds, as far as clearing it is concerned.
enum class WorkFolderContent {
  kEmpty,
  kMarked,         // the marker: made by an extraction
  kEarlierLayout,  // level folders P1..., "ReZip" and at most one stored file, or that file
                   // alone, no marker
  kForeign,        // anything else: not ours to delete
};
WorkFolderContent InspectWorkFolder(const std::string& folder);

// Makes `CurrGameDIR` absolute, refuses it with hv::Error 75 (naming the folder and the reason)
// when it must not be deleted, then deletes it, makes it anew with the marker and returns its
// absolute path. `FileToExtract` is the stored file, which must lie outside it.
std::string PrepareWorkFolder(const std::string& CurrGameDIR, const std::string& FileToExtract,
                              halvane::FunctionsOps& functions);

}  // namespace hv::tessary
