#pragma once
// The user's home folder, for the default settings location and the working-folder guard.

#include <sys/types.h>

#include <string>

namespace hv::platform {

// $HOME when set, else the home of the user's password entry; "" when neither names one.
std::string HomeFolder();

// The home folder that a file laid out as /etc/passwd gives `uid`; "" when no line does.
std::string PasswdFileHome(const std::string& passwd_file, uid_t uid);

}  // namespace hv::platform
