#pragma once
// File system operations with the Windows semantics the program relies on: case-insensitive
// lookups, wildcard searches with an attribute filter, atomic copies, read-only files that
// cannot be written.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// Attribute bits, numbered as the Windows runtime numbers them.
enum Attr : unsigned {
    faReadOnly = 0x01,
    faHidden = 0x02,
    faSysFile = 0x04,
    faVolumeID = 0x08,
    faDirectory = 0x10,
    faArchive = 0x20,
    faAnyFile = 0x3F,
};

struct FileEntry {
    std::string name;  // bare name, spelled as on disk
    unsigned attr = 0;
    bool IsDirectory() const { return (attr & faDirectory) != 0; }
};

// '*' any run (also none), '?' one character; case-insensitive over the whole name.
// "*.*" matches every name, as on Windows.
bool WildcardMatch(std::string_view pattern, std::string_view name);

// Searches the folder part of `pattern` for entries whose names match its last component.
// Entries carrying the hidden, system, volume or directory attribute are skipped unless that
// attribute is in `attrs`; read-only and archive entries are never skipped. Asking for folders
// still returns plain files. Order: names sorted by their upper-cased bytes, as NTFS lists them;
// on Windows the file system's own order. A wildcard matches the whole name only, never the
// 8.3 alias Windows keeps beside it.
std::vector<FileEntry> FindFiles(std::string_view pattern, unsigned attrs);

// The first entry FindFiles would return, if any.
std::optional<FileEntry> FindFirst(std::string_view pattern, unsigned attrs);

// Resolves each component case-insensitively when the exact name is missing. Returns the path
// as it exists on disk, or the input unchanged when some component cannot be found.
std::string ResolvePath(std::string_view path);

// CopyFileA: copies to a temporary file beside the target, flushes it and renames it over the
// target, so the target is either the old or the complete new file. With failIfExists an
// existing target is left alone. A read-only target is not replaced. Returns success.
bool CopyFile(std::string_view from, std::string_view to, bool failIfExists);

// CreateDirectoryA: one level; fails when the parent is missing or the name exists.
bool CreateFolder(std::string_view path);

// DeleteFileA: files only; a read-only file is not deleted.
bool DeleteFile(std::string_view path);

bool IsDirectory(std::string_view path);
bool IsFile(std::string_view path);

// Whole file contents, or nothing when it cannot be read.
std::optional<std::string> ReadFileBytes(std::string_view path);

// Writes `bytes` to `path` through a temporary file, flushed and renamed, so the file is
// either old or new after a crash. Returns success.
bool WriteFileAtomic(std::string_view path, std::string_view bytes);

// True when both files can be read and hold the same bytes.
bool SameFileBytes(std::string_view a, std::string_view b);

// Read-only in the Windows sense: no write permission bit set (Linux), the attribute (Windows).
bool SetReadOnly(std::string_view path, bool readOnly);

}  // namespace platform
