#pragma once
// What each system gives the program-folder logic (paths_linux.cpp, paths_win.cpp).
#include <string>

namespace platform {

// The running executable's full path, or empty when the system does not say.
std::string ExecutablePath();

}  // namespace platform
