#pragma once
// A stand-in for the general functions the launchers use, over std::filesystem, until the
// command-line tool reaches them through an adapter over hvFunctions. Linux paths have no short
// forms and no drives: a path's short form is the path itself when it exists, and a folder that
// cannot be found counts as a CD-ROM drive (nothing is written there).

#include <memory>

#include "halvane/shell/launcher_functions.h"

namespace hv::cli {

std::unique_ptr<halvane::LauncherFunctions> MakeStandinFunctions();

}  // namespace hv::cli
