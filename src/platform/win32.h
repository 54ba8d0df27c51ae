#pragma once
// <windows.h> for the Win32 backend. The header maps names such as CopyFile and
// GetProfileString to their A/W functions by macro, which would rename this layer's own
// functions of those names; the macros go, the A functions stay.
#ifndef _WIN32
#error "win32.h is for Windows builds only"
#endif
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
