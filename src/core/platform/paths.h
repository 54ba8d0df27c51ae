#pragma once
// Program folder and path joining. Paths are byte strings, used exactly as given.
#include <string>
#include <string_view>

namespace platform {

// The one switch between the systems: other code branches on kWindows with a plain if, where both
// branches compile everywhere, or lives in a *_win.cpp / *_linux.cpp file of its own.
#ifdef _WIN32
inline constexpr bool kWindows = true;
#else
inline constexpr bool kWindows = false;
#endif
inline constexpr char kPathSep = kWindows ? '\\' : '/';

// a + separator + b, nothing normalised: a stored folder with a trailing separator gives two in a
// row, as on Windows, and an empty a gives a path at the root.
std::string JoinPath(std::string_view a, std::string_view b);

// Folder of the running executable, with a trailing separator.
const std::string& ProgramFolder();
// Tests and benchmarks point the program at a folder of their own (a trailing separator is added).
void SetProgramFolder(std::string folder);

// ProgramFolder() + "Dump" + sep + relative (a path made with JoinPath). With no relative part
// it is the Dump folder itself, without a trailing separator, ready for JoinPath.
std::string DumpPath(std::string_view relative = {});

}  // namespace platform
