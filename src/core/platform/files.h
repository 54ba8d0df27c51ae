#pragma once
// File system operations with the Windows semantics the program relies on: case-insensitive
// lookups, wildcard searches with an attribute filter, atomic copies, read-only files that
// cannot be written.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace platform {

// Attribute bits of a directory entry. The values are the ones Windows gives its entries, so
// its backend passes them through unchanged.
enum class FileAttr : unsigned {
    None = 0,
    ReadOnly = 0x01,
    Hidden = 0x02,
    System = 0x04,
    Volume = 0x08,
    Directory = 0x10,
    Archive = 0x20,
    AnyFile = 0x3F,
    // Hidden, system and read-only files all count, folders do not.
    AnyFileButFolder = 0x2F,
};

constexpr FileAttr operator|(FileAttr a, FileAttr b) {
    return FileAttr(unsigned(a) | unsigned(b));
}
constexpr FileAttr operator&(FileAttr a, FileAttr b) {
    return FileAttr(unsigned(a) & unsigned(b));
}
// Every other attribute bit.
constexpr FileAttr operator~(FileAttr a) {
    return FileAttr(~unsigned(a) & unsigned(FileAttr::AnyFile));
}
constexpr FileAttr& operator|=(FileAttr& a, FileAttr b) {
    return a = a | b;
}
static_assert(FileAttr::AnyFileButFolder == (FileAttr::AnyFile & ~FileAttr::Directory));

// Whether `attrs` holds any of the bits in `flags`.
constexpr bool HasAttr(FileAttr attrs, FileAttr flags) {
    return (attrs & flags) != FileAttr::None;
}

struct FileEntry {
    std::string name;  // bare name, spelled as on disk
    FileAttr attr = FileAttr::None;
    bool IsDirectory() const { return HasAttr(attr, FileAttr::Directory); }
};

// '*' any run (also none), '?' one character; case-insensitive over the whole name.
// "*.*" matches every name, as on Windows.
bool WildcardMatch(std::string_view pattern, std::string_view name);

// Searches the folder part of `pattern` for entries whose names match its last component.
// Entries carrying the hidden, system, volume or directory attribute are skipped unless that
// attribute is in `attrs`; read-only and archive entries are never skipped. Asking for folders
// still returns plain files. Order: names sorted by their upper-cased bytes, as NTFS lists them;
// on Windows the file system's own order. A wildcard matches the whole name only, never the
// 8.3 alias Windows keeps beside it. The entries "." and ".." are never returned.
std::vector<FileEntry> FindFiles(std::string_view pattern, FileAttr attrs);

// The first entry FindFiles would return, if any.
std::optional<FileEntry> FindFirst(std::string_view pattern, FileAttr attrs);

// Does `pattern` name a file of any attribute (but no folder), as FindFirst finds one?
bool AnyFileMatches(std::string_view pattern);

// Resolves each component case-insensitively when the exact name is missing. Returns the path
// as it exists on disk, or the input unchanged when some component cannot be found.
std::string ResolvePath(std::string_view path);

// CopyFileA: copies to a temporary file beside the target, flushes it and renames it over the
// target, so the target is either the old or the complete new file. With failIfExists an
// existing target is left alone. A read-only target is not replaced. Returns success.
bool CopyFile(std::string_view from, std::string_view to, bool failIfExists);

// Several CopyFile and DeleteFile calls made durable together: the files are written out side by
// side and each folder is flushed once, instead of one wait for the disk after the other. Each
// copy is written to its temporary file when it is added, and no target changes before Commit.
// Commit renames each temporary file over its target only once its contents are on disk, so every
// replacement is still atomic, and carries out the deletions; all in the order added. Targets
// resolve as in a sequence of calls: a later copy to a name an earlier one creates (ignoring case)
// replaces that file, and with failIfExists it is refused. A copy keeps a handle open until
// Commit, so copies are meant to come a handful at a time; new files (Create) hold none and may
// come by the thousand. A batch dropped uncommitted changes nothing and leaves no temporary file.
class FileBatch {
  public:
    FileBatch();
    ~FileBatch();
    FileBatch(const FileBatch&) = delete;
    FileBatch& operator=(const FileBatch&) = delete;

    // Adds a copy with CopyFile's rules; false (and the copy fails) when it is refused already.
    bool Copy(std::string_view from, std::string_view to, bool failIfExists);
    // As Copy(from, to, false), except that a target already holding the source's bytes is kept
    // as it is (even when read-only) and only flushed with the batch. `kept`, when given, tells
    // after Commit whether the target was kept (set by the time Commit returns).
    bool CopyUnlessSame(std::string_view from, std::string_view to, bool* kept = nullptr);
    // Adds a deletion with DeleteFile's rules; false when it is refused already.
    bool Delete(std::string_view path);
    // Adds a symbolic link at `path` that points to `target` (kept exactly as given), replacing
    // the file there as a copy would; false when it is refused already.
    bool Link(std::string_view target, std::string_view path);
    // Adds a new file holding `bytes` at `path`: nothing of that name (ignoring case) may be
    // there when it is added nor when it is committed, so nothing is ever replaced; false when it
    // is refused already.
    bool Create(std::string_view path, std::string_view bytes);

    // Carries out everything added since the last Commit; `applied` hears of each operation as it
    // takes effect (its index among them). With `durable` the folders that changed are flushed
    // too, so the new names survive a power cut; without it only the contents are safe (a crash
    // may still show the old file, never a mix). Returns each operation's success: one that took
    // effect in a folder that could not be flushed has failed.
    std::vector<bool> Commit(bool durable, const std::function<void(std::size_t)>& applied = {});

    // Operations added since the last Commit, refused ones included.
    std::size_t Size() const;

  private:
    struct Op;
    std::vector<Op> ops_;
    // The names of the folders Create writes into, upper-cased, listed once per batch and kept
    // across Commit, with the names Create gave out since.
    struct FolderNames {
        std::string folder;
        std::unordered_set<std::string> upper;
    };
    std::vector<FolderNames> folderNames_;
};

// Removes the temporary files that copies cut short by a crash left in `folder`. Only names of
// the form the copies use are touched.
void RemoveLeftoverTemporaries(std::string_view folder);

// CreateDirectoryA: one level; fails when the parent is missing or the name exists. The new
// folder is flushed into its parent, so files made durable in it stay reachable.
bool CreateFolder(std::string_view path);

// DeleteFileA: files only; a read-only file is not deleted.
bool DeleteFile(std::string_view path);

// RemoveDirectoryA: removes a folder (not a link to one) only while it is empty.
bool RemoveEmptyFolder(std::string_view path);

bool IsDirectory(std::string_view path);
bool IsFile(std::string_view path);

// Whether the entry itself is a symbolic link (on Windows also a junction).
bool IsLink(std::string_view path);

// Whether `folder`, or any folder between `base` and it, is a symbolic link (on Windows also a
// junction): what the program wrote or deleted there would land in another folder. `base` itself
// is not looked at, so it may be a link. A folder that does not lie below `base` counts as
// reached through a link, as nothing says where it leads.
bool ReachedThroughLink(std::string_view base, std::string_view folder);

// Whether the path names any entry at all: a file, a folder, a link (also a dangling one), a
// FIFO or a device.
bool EntryExists(std::string_view path);

// The target a symbolic link holds, exactly as stored; nothing when the entry is no symbolic
// link or its target cannot be read (on Windows always nothing).
std::optional<std::string> ReadLink(std::string_view path);

// Whether both paths reach one file or folder on disk, links followed: the same device and inode,
// on Windows the same volume and file index. False when either cannot be found.
bool SameFile(std::string_view a, std::string_view b);

// MoveFileA: gives a file a new name in the same or another folder; fails, changing nothing,
// when the new name is taken already.
bool RenameFile(std::string_view from, std::string_view to);

// Whole file contents, or nothing when it cannot be read or is no regular file. A FIFO or
// device is turned down without waiting on it.
std::optional<std::string> ReadFileBytes(std::string_view path);

// The largest settings file, language pack or run record the program reads: far beyond any real
// one, and small enough that reading one whole at each use stays quick. A run record lists every
// file a run adds: a route of 10,000 activities with their extension files needs about 2-3 MiB.
inline constexpr std::uintmax_t kMaxDataFileSize = std::uintmax_t{4} << 20;

// A settings file, language pack or run record: as ReadFileBytes, and nothing either for a file
// larger than kMaxDataFileSize, which no real one is.
std::optional<std::string> ReadDataFile(std::string_view path);

// As ReadFileBytes, and nothing either for a file larger than `limit`: for files of other
// programs, which may be large but must never be read without end.
std::optional<std::string> ReadFileUpTo(std::string_view path, std::uintmax_t limit);

// Writes `bytes` to `path` through a temporary file, flushed and renamed, so the file is
// either old or new after a crash. Returns success.
bool WriteFileAtomic(std::string_view path, std::string_view bytes);

// True when both files can be read and hold the same bytes.
bool SameFileBytes(std::string_view a, std::string_view b);

// True when the file can be read and holds exactly `bytes`: its size is compared first, then its
// contents piece by piece, so a file of another size is never read.
bool FileHolds(std::string_view path, std::string_view bytes);

// Read-only in the Windows sense: no write permission bit set (Linux), the attribute (Windows).
bool SetReadOnly(std::string_view path, bool readOnly);

}  // namespace platform
