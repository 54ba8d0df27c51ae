// Locks by holding the file open without sharing: no other process can open, rename or delete it
// until this one ends, when the system closes the handle.
#include "core/platform/lock_backend.h"
#include "core/platform/win32.h"

namespace platform::lockbackend {

LockState OpenAndLock(const std::string& path, Opened& result) {
    // Not inheritable (no security attributes), so programs started from here do not hold it.
    // A link is opened as itself, never followed.
    const HANDLE handle =
        ::CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_ALWAYS,
                      FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        const DWORD error = ::GetLastError();
        if (error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION)
            return LockState::HeldElsewhere;
        // A folder under the name refuses the open; it is not a folder without locks.
        const DWORD attributes = ::GetFileAttributesA(path.c_str());
        const bool other =
            attributes != INVALID_FILE_ATTRIBUTES &&
            (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) != 0;
        return other ? LockState::NotAFile : LockState::Unavailable;
    }
    const bool disk = ::GetFileType(handle) == FILE_TYPE_DISK;
    BY_HANDLE_FILE_INFORMATION info{};
    if (disk && !::GetFileInformationByHandle(handle, &info)) {
        ::CloseHandle(handle);
        return LockState::Unavailable;
    }
    if (!disk ||
        (info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) != 0) {
        ::CloseHandle(handle);
        return LockState::NotAFile;
    }
    result = {reinterpret_cast<std::intptr_t>(handle), info.dwVolumeSerialNumber,
              (std::uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow};
    return LockState::Held;
}

// Nobody can remove or replace a file held open without sharing.
bool StillNamed(const std::string&, const Opened&) {
    return true;
}

void Close(const Opened& opened) {
    ::CloseHandle(reinterpret_cast<HANDLE>(opened.handle));
}

}  // namespace platform::lockbackend
