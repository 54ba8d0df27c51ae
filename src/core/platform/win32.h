#pragma once
// <windows.h> for the Win32 backend (the *_win.cpp files only). The header maps names such as
// CopyFile and GetProfileString to their A/W functions by macro, which would rename this layer's
// own functions of those names; the macros go, the A functions stay.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#undef CopyFile
#undef DeleteFile
#undef GetProfileString
#undef WriteProfileString
