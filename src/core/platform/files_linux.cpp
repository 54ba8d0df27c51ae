// The POSIX emulation of the Windows file functions the program relies on.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <limits>
#include <random>
#include <unordered_set>

#include "core/platform/files.h"
#include "core/platform/parallel.h"
#include "core/platform/paths.h"
#include "core/platform/text.h"

namespace platform {

namespace {

// As comparing the upper-cased strings (bytes unsigned, a prefix first), without making them.
int CompareUpper(std::string_view a, std::string_view b) {
    const std::size_t common = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < common; ++i) {
        const auto ca = static_cast<unsigned char>(UpperAscii(a[i]));
        const auto cb = static_cast<unsigned char>(UpperAscii(b[i]));
        if (ca != cb) return ca < cb ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

// The folder part (with its trailing separator, empty for a bare name) and the last component.
std::pair<std::string, std::string> SplitLast(std::string_view path) {
    std::string_view::size_type cut = path.rfind(kPathSep);
    if (cut == std::string_view::npos) return {std::string(), std::string(path)};
    return {std::string(path.substr(0, cut + 1)), std::string(path.substr(cut + 1))};
}

// A folder prefix as produced by SplitLast, usable with opendir/open.
std::string OpenableFolder(const std::string& folder) {
    return folder.empty() ? "." : folder;
}

// Any entry, a dangling link too: one look at the entry itself.
bool Exists(const std::string& path) {
    struct stat st;
    return ::lstat(path.c_str(), &st) == 0;
}

bool IsReadOnlyMode(mode_t mode) {
    return (mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
}

// The entry of `folder` whose name equals `name` ignoring case; the exact spelling wins, else the
// smallest of several spellings, so the choice is stable.
std::optional<std::string> FindEntryNoCase(const std::string& folder, const std::string& name) {
    if (name.empty() || name == "." || name == "..") return name;
    if (Exists(folder + name)) return name;
    DIR* dir = ::opendir(OpenableFolder(folder).c_str());
    if (dir == nullptr) return std::nullopt;
    std::optional<std::string> found;
    while (dirent* entry = ::readdir(dir)) {
        std::string_view candidate = entry->d_name;
        if (EqualNoCase(candidate, name) && (!found || candidate < *found))
            found = std::string(candidate);
    }
    ::closedir(dir);
    return found;
}

std::optional<std::string> ResolveExisting(std::string_view path) {
    // Spelled as on disk already: then so is every component, and one look settles it.
    if (!path.empty() && Exists(std::string(path))) return std::string(path);
    std::string resolved;
    std::string_view rest = path;
    for (;;) {
        std::string_view::size_type cut = rest.find(kPathSep);
        std::string component(rest.substr(0, cut));
        std::optional<std::string> onDisk = FindEntryNoCase(resolved, component);
        if (!onDisk) return std::nullopt;
        resolved += *onDisk;
        if (cut == std::string_view::npos) break;
        resolved += kPathSep;
        rest.remove_prefix(cut + 1);
    }
    return resolved;
}

// Where a file that may not exist yet goes: its folder must exist; an existing entry keeps its
// on-disk spelling, a new one gets the name as given.
struct Target {
    std::string folder;  // with trailing separator, or empty for the working folder
    std::string path;
};

std::optional<Target> ResolveTarget(std::string_view path) {
    auto [folder, name] = SplitLast(path);
    if (name.empty() || name == "." || name == "..") return std::nullopt;
    std::string resolvedFolder;
    if (!folder.empty()) {
        std::optional<std::string> onDisk = ResolveExisting(folder);
        if (!onDisk) return std::nullopt;
        resolvedFolder = *onDisk;
    }
    struct stat st;
    if (::stat(OpenableFolder(resolvedFolder).c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
        return std::nullopt;
    std::optional<std::string> onDiskName = FindEntryNoCase(resolvedFolder, name);
    return Target{resolvedFolder, resolvedFolder + onDiskName.value_or(name)};
}

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        bytes.remove_prefix(static_cast<size_t>(n));
    }
    return true;
}

// Fills `buffer` unless the file ends first; the count read, or -1 on an error.
ssize_t ReadFull(int fd, char* buffer, size_t size) {
    size_t got = 0;
    while (got < size) {
        ssize_t n = ::read(fd, buffer + got, size - got);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return -1;
        if (n == 0) break;
        got += static_cast<size_t>(n);
    }
    return static_cast<ssize_t>(got);
}

// Reads to the end of the file straight into `out`, sized for the `expected` bytes (a file may
// still change while it is read); false on an error or once more than `limit` bytes came.
bool ReadAll(int fd, std::string& out, std::size_t expected, std::uintmax_t limit) {
    std::size_t got = 0;
    out.resize(expected + 1);  // the byte past the expected end shows that it is the end
    for (;;) {
        if (got == out.size()) out.resize(out.size() * 2);
        ssize_t n = ::read(fd, out.data() + got, out.size() - got);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (n == 0) break;
        got += static_cast<size_t>(n);
        if (got > limit) return false;
    }
    out.resize(got);
    return true;
}

// Opens a regular file for reading; -1 for anything else. The open itself must not wait: a FIFO
// with no writer would hold it for ever, and a terminal must not become the program's own.
int OpenRegularFile(const std::string& path, struct stat& st) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) return -1;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return -1;
    }
    return fd;
}

// The path nearly always names its entry as spelled on disk: then one look settles it, instead
// of a look for the entry and a second one at it. Any other spelling goes the long way.
int OpenExistingRegular(std::string_view path, struct stat& st) {
    const int fd = path.empty() ? -1 : OpenRegularFile(std::string(path), st);
    if (fd >= 0) return fd;
    const std::optional<std::string> resolved = ResolveExisting(path);
    return resolved ? OpenRegularFile(*resolved, st) : -1;
}

// As stat (`follow`) or lstat of the entry the path names in any spelling.
bool StatExisting(std::string_view path, struct stat& st, bool follow) {
    auto look = [&](const std::string& p) {
        return (follow ? ::stat(p.c_str(), &st) : ::lstat(p.c_str(), &st)) == 0;
    };
    if (!path.empty() && look(std::string(path))) return true;
    const std::optional<std::string> resolved = ResolveExisting(path);
    return resolved && look(*resolved);
}

std::optional<std::string> ReadWholeFile(std::string_view path, std::uintmax_t limit) {
    struct stat st;
    int fd = OpenExistingRegular(path, st);
    if (fd < 0) return std::nullopt;
    std::string bytes;
    bool ok = static_cast<std::uintmax_t>(st.st_size) <= limit &&
              ReadAll(fd, bytes, static_cast<std::size_t>(st.st_size), limit);
    ::close(fd);
    if (!ok) return std::nullopt;
    return bytes;
}

// Makes the folder's entries durable. A file system that cannot flush a folder (EINVAL) keeps
// its entries its own way; anything else that fails is an error.
bool SyncFolder(const std::string& folder) {
    int fd = ::open(OpenableFolder(folder).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return false;
    bool ok = ::fsync(fd) == 0 || errno == EINVAL;
    ::close(fd);
    return ok;
}

// False for a folder, and for a read-only file: root ignores permission bits, the program must
// not. `mode` receives the permissions of a file that is there.
bool MayReplace(const std::string& path, std::optional<mode_t>& mode) {
    struct stat st;
    if (::lstat(path.c_str(), &st) != 0) return true;
    if (S_ISDIR(st.st_mode) || (::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode)))
        return false;
    if (IsReadOnlyMode(st.st_mode)) return false;
    mode = st.st_mode & 07777;
    return true;
}

// A file or link the program may delete: not a folder, not read-only.
bool MayDelete(const std::string& path) {
    struct stat st;
    return ::lstat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode) &&
           (S_ISLNK(st.st_mode) || !IsReadOnlyMode(st.st_mode));
}

// The first half of an atomic replacement: the new contents in a hidden temporary file beside
// the target, already on their way to the disk. Nothing is renamed yet.
struct Staged {
    Target target;
    std::string temp;
    int fd = -1;
};

void Discard(Staged& staged) {
    if (staged.fd >= 0) ::close(staged.fd);
    staged.fd = -1;
    if (!staged.temp.empty()) ::unlink(staged.temp.c_str());
    staged.temp.clear();
}

// Fills a fresh temporary file for `target` and starts writing it out, so that several staged
// files reach the disk together. `mode` gives the new file's permissions (nullopt: those of the
// file it replaces, or the default for a new file).
template <typename Fill>
std::optional<Staged> Stage(const Target& target, std::optional<mode_t> mode, Fill fill,
                            bool startWriteback = true) {
    std::optional<mode_t> existingMode;
    if (!MayReplace(target.path, existingMode)) return std::nullopt;
    if (!mode) mode = existingMode;
    static std::mt19937 random{std::random_device{}()};
    Staged staged{target, {}, -1};
    for (int attempt = 0; attempt < 100 && staged.fd < 0; ++attempt) {
        staged.temp = target.folder + ".zel-" + std::to_string(random()) + ".tmp";
        staged.fd = ::open(staged.temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (staged.fd < 0 && errno != EEXIST) return std::nullopt;
    }
    if (staged.fd < 0) return std::nullopt;
    if (!fill(staged.fd) || (mode && ::fchmod(staged.fd, *mode) != 0)) {
        Discard(staged);
        return std::nullopt;
    }
#ifdef __linux__
    // Only starts the write-back; the flush in Finish waits for it and reports its errors.
    if (startWriteback) ::sync_file_range(staged.fd, 0, 0, SYNC_FILE_RANGE_WRITE);
#else
    (void)startWriteback;
#endif
    return staged;
}

// Waits until the staged contents are on disk and renames them over the target: the target is
// either the old or the complete new file, never a half-written one. The target is checked
// again, as it may have changed since it was staged.
// `flushed`: its contents were flushed since they were written.
bool Finish(Staged& staged, bool failIfExists, bool flushed = false) {
    bool ok = flushed || ::fsync(staged.fd) == 0;
    ok = (::close(staged.fd) == 0) && ok;
    staged.fd = -1;
    std::optional<mode_t> ignored;
    ok = ok && !(failIfExists && Exists(staged.target.path)) &&
         MayReplace(staged.target.path, ignored) &&
         ::rename(staged.temp.c_str(), staged.target.path.c_str()) == 0;
    if (ok) staged.temp.clear();
    Discard(staged);
    return ok;
}

// As Finish, for a file that must be new and was closed once written; Commit has flushed it
// (`flushed`). The rename itself refuses a name that has appeared since, where the file system
// can (a few cannot, and keep only the check before it).
bool FinishNew(Staged& staged, bool flushed) {
    bool ok = flushed && ::renameat2(AT_FDCWD, staged.temp.c_str(), AT_FDCWD,
                                     staged.target.path.c_str(), RENAME_NOREPLACE) == 0;
    if (flushed && !ok && (errno == EINVAL || errno == ENOSYS))
        ok = !Exists(staged.target.path) &&
             ::rename(staged.temp.c_str(), staged.target.path.c_str()) == 0;
    if (ok) staged.temp.clear();
    Discard(staged);
    return ok;
}

// Flushes a staged file's contents: through its handle, or for a new file closed once written,
// through a handle opened again for the purpose.
bool FlushStaged(const Staged& staged) {
    if (staged.fd >= 0) return ::fsync(staged.fd) == 0;
    const int fd = ::open(staged.temp.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    const bool ok = fd >= 0 && ::fsync(fd) == 0;
    if (fd >= 0) ::close(fd);
    return ok;
}

// Copies the source's bytes into the staged file. Unlike Windows' own CopyFile, a copy is never
// read-only: a read-only fog file installed into a route would otherwise block the restore that
// has to overwrite it later.
std::optional<Staged> StageCopy(const std::string& source, const Target& target) {
    struct stat st;
    int in = OpenRegularFile(source, st);
    if (in < 0) return std::nullopt;
    std::optional<Staged> staged = Stage(target, (st.st_mode & 0777) | S_IWUSR, [in](int out) {
        char buffer[65536];
        for (;;) {
            ssize_t n = ::read(in, buffer, sizeof buffer);
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) return false;
            if (n == 0) return true;
            if (!WriteAll(out, std::string_view(buffer, static_cast<size_t>(n)))) return false;
        }
    });
    ::close(in);
    return staged;
}

FileAttr AttributesOf(const std::string& name, const struct stat& st) {
    FileAttr attr = S_ISDIR(st.st_mode) ? FileAttr::Directory : FileAttr::Archive;
    if (!name.empty() && name[0] == '.') attr |= FileAttr::Hidden;
    if (IsReadOnlyMode(st.st_mode)) attr |= FileAttr::ReadOnly;
    return attr;
}

}  // namespace

std::vector<FileEntry> FindFiles(std::string_view pattern, FileAttr attrs) {
    std::vector<FileEntry> found;
    auto [folder, mask] = SplitLast(pattern);
    std::string resolved;
    if (!folder.empty()) {
        std::optional<std::string> onDisk = ResolveExisting(folder);
        if (!onDisk) return found;
        resolved = *onDisk;
    }
    DIR* dir = ::opendir(OpenableFolder(resolved).c_str());
    if (dir == nullptr) return found;
    const FileAttr skippable =
        (FileAttr::Hidden | FileAttr::System | FileAttr::Volume | FileAttr::Directory) & ~attrs;
    // Each entry is looked at relative to the open folder: a folder of thousands would otherwise
    // walk the whole path again for each of them.
    const int folderFd = ::dirfd(dir);
    while (dirent* entry = ::readdir(dir)) {
        std::string name = entry->d_name;
        if (name == "." || name == ".." || !WildcardMatch(mask, name)) continue;
        struct stat st;
        // A dangling link still names an entry, as a file.
        if (::fstatat(folderFd, name.c_str(), &st, 0) != 0 &&
            ::fstatat(folderFd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0)
            continue;
        const FileAttr attr = AttributesOf(name, st);
        if (HasAttr(attr, skippable)) continue;
        found.push_back({std::move(name), attr});
    }
    ::closedir(dir);
    // Compared in place: a folder may hold thousands of names, and upper-cased copies made per
    // comparison would cost far more than the listing itself.
    std::sort(found.begin(), found.end(), [](const FileEntry& a, const FileEntry& b) {
        const int byUpper = CompareUpper(a.name, b.name);
        return byUpper != 0 ? byUpper < 0 : a.name < b.name;
    });
    return found;
}

std::string ResolvePath(std::string_view path) {
    return ResolveExisting(path).value_or(std::string(path));
}

bool CopyFile(std::string_view from, std::string_view to, bool failIfExists) {
    FileBatch batch;
    return batch.Copy(from, to, failIfExists) && batch.Commit(true).front();
}

bool CreateFolder(std::string_view path) {
    std::optional<Target> target = ResolveTarget(path);
    if (!target || Exists(target->path)) return false;
    if (::mkdir(target->path.c_str(), 0777) != 0) return false;
    SyncFolder(target->folder);
    return true;
}

bool DeleteFile(std::string_view path) {
    std::optional<std::string> resolved = ResolveExisting(path);
    return resolved && MayDelete(*resolved) && ::unlink(resolved->c_str()) == 0;
}

bool RemoveEmptyFolder(std::string_view path) {
    std::optional<std::string> resolved = ResolveExisting(path);
    struct stat st;
    if (!resolved || ::lstat(resolved->c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return false;
    if (::rmdir(resolved->c_str()) != 0) return false;
    SyncFolder(SplitLast(*resolved).first);
    return true;
}

bool IsDirectory(std::string_view path) {
    struct stat st;
    return StatExisting(path, st, true) && S_ISDIR(st.st_mode);
}

bool IsFile(std::string_view path) {
    struct stat st;
    return StatExisting(path, st, true) && S_ISREG(st.st_mode);
}

bool IsLink(std::string_view path) {
    struct stat st;
    return StatExisting(path, st, false) && S_ISLNK(st.st_mode);
}

bool EntryExists(std::string_view path) {
    return !path.empty() && ResolveExisting(path).has_value();
}

std::optional<std::string> ReadLink(std::string_view path) {
    std::optional<std::string> resolved = ResolveExisting(path);
    if (!resolved) return std::nullopt;
    std::string target(PATH_MAX, '\0');
    const ssize_t n = ::readlink(resolved->c_str(), target.data(), target.size());
    if (n <= 0 || static_cast<std::size_t>(n) >= target.size()) return std::nullopt;
    target.resize(static_cast<std::size_t>(n));
    return target;
}

bool SameFile(std::string_view a, std::string_view b) {
    std::optional<std::string> first = ResolveExisting(a), second = ResolveExisting(b);
    struct stat sa, sb;
    return first && second && ::stat(first->c_str(), &sa) == 0 &&
           ::stat(second->c_str(), &sb) == 0 && sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

bool RenameFile(std::string_view from, std::string_view to) {
    std::optional<std::string> source = ResolveExisting(from);
    std::optional<Target> target = ResolveTarget(to);
    if (!source || !target || Exists(target->path)) return false;
    // The check above ignores case; this one closes the gap until the rename, where the file
    // system can (a few cannot, and keep only the check).
    bool renamed = ::renameat2(AT_FDCWD, source->c_str(), AT_FDCWD, target->path.c_str(),
                               RENAME_NOREPLACE) == 0;
    if (!renamed && (errno == EINVAL || errno == ENOSYS))
        renamed = ::rename(source->c_str(), target->path.c_str()) == 0;
    if (!renamed) return false;
    SyncFolder(target->folder);
    SyncFolder(SplitLast(*source).first);
    return true;
}

std::optional<std::string> ReadFileBytes(std::string_view path) {
    return ReadWholeFile(path, std::numeric_limits<std::uintmax_t>::max());
}

std::optional<std::string> ReadDataFile(std::string_view path) {
    return ReadWholeFile(path, kMaxDataFileSize);
}

std::optional<std::string> ReadFileUpTo(std::string_view path, std::uintmax_t limit) {
    return ReadWholeFile(path, limit);
}

bool WriteFileAtomic(std::string_view path, std::string_view bytes) {
    std::optional<Target> target = ResolveTarget(path);
    if (!target) return false;
    std::optional<Staged> staged =
        Stage(*target, std::nullopt, [bytes](int out) { return WriteAll(out, bytes); });
    return staged && Finish(*staged, false) && SyncFolder(target->folder);
}

bool SameFileBytes(std::string_view a, std::string_view b) {
    // Compared piece by piece: whole-file buffers cost more in allocation than in reading.
    struct stat sa, sb;
    int fa = OpenExistingRegular(a, sa);
    int fb = fa < 0 ? -1 : OpenExistingRegular(b, sb);
    bool same = fb >= 0 && sa.st_size == sb.st_size;
    // Unequal sizes settle it; equal ones are no proof, so the bytes are read to the end of both
    // files (a file that grew since its size was taken still differs).
    char bufferA[65536], bufferB[65536];
    while (same) {
        ssize_t n = ReadFull(fa, bufferA, sizeof bufferA);
        ssize_t m = ReadFull(fb, bufferB, sizeof bufferB);
        same = n >= 0 && n == m && std::memcmp(bufferA, bufferB, static_cast<size_t>(n)) == 0;
        if (n == 0) break;
    }
    if (fa >= 0) ::close(fa);
    if (fb >= 0) ::close(fb);
    return same;
}

bool FileHolds(std::string_view path, std::string_view bytes) {
    struct stat st;
    const int fd = OpenExistingRegular(path, st);
    bool same = fd >= 0 && static_cast<std::uintmax_t>(st.st_size) == bytes.size();
    // Read one byte past the expected end: a file that grew since its size was taken differs.
    char buffer[65536];
    while (same) {
        const ssize_t n = ReadFull(fd, buffer, sizeof buffer);
        same = n >= 0 && static_cast<std::size_t>(n) <= bytes.size() &&
               std::memcmp(buffer, bytes.data(), static_cast<size_t>(n)) == 0;
        if (n == 0) break;
        if (same) bytes.remove_prefix(static_cast<size_t>(n));
    }
    if (fd >= 0) ::close(fd);
    return same && bytes.empty();
}

bool SetReadOnly(std::string_view path, bool readOnly) {
    std::optional<std::string> resolved = ResolveExisting(path);
    struct stat st;
    if (!resolved || ::stat(resolved->c_str(), &st) != 0) return false;
    mode_t mode = st.st_mode & 07777;
    mode = readOnly ? (mode & ~static_cast<mode_t>(S_IWUSR | S_IWGRP | S_IWOTH)) : (mode | S_IWUSR);
    return ::chmod(resolved->c_str(), mode) == 0;
}
struct FileBatch::Op {
    enum class Kind { Copy, Keep, Delete, Link, Create } kind = Kind::Copy;
    bool failIfExists = false;
    bool ok = false;       // not refused so far
    bool flushed = false;  // its file system was flushed at Commit, after it was written
    bool deleted = false;  // a deletion that has been carried out (see ok)
    dev_t device = 0;      // a new file: the file system it is on
    Staged staged;         // a copy: its temporary file; a kept file: a handle; all: the target
};

FileBatch::FileBatch() = default;

FileBatch::~FileBatch() {
    for (Op& op : ops_) Discard(op.staged);
}

bool FileBatch::Copy(std::string_view from, std::string_view to, bool failIfExists) {
    Op& op = ops_.emplace_back();
    op.failIfExists = failIfExists;
    std::optional<std::string> source = ResolveExisting(from);
    std::optional<Target> target = ResolveTarget(to);
    if (!source || !target) return false;
    bool exists = Exists(target->path);
    if (!exists) {
        // A name an earlier copy of the batch creates, spelled differently, is that file.
        const std::string name = target->path.substr(target->folder.size());
        for (const Op& earlier : ops_) {
            const Target& other = earlier.staged.target;
            if (&earlier != &op && earlier.kind == Op::Kind::Copy && earlier.ok &&
                other.folder == target->folder &&
                EqualNoCase(other.path.substr(other.folder.size()), name)) {
                target->path = other.path;
                exists = true;
                break;
            }
        }
    }
    if (failIfExists && exists) return false;
    std::optional<Staged> staged = StageCopy(*source, *target);
    if (!staged) return false;
    op.staged = std::move(*staged);
    op.ok = true;
    return true;
}

bool FileBatch::CopyUnlessSame(std::string_view from, std::string_view to, bool* kept) {
    std::optional<Target> target = ResolveTarget(to);
    const bool same = target && SameFileBytes(from, target->path);
    if (kept != nullptr) *kept = same;
    if (same) {
        Op& op = ops_.emplace_back();
        op.kind = Op::Kind::Keep;
        op.staged.target = *target;
        op.staged.fd = ::open(target->path.c_str(), O_RDONLY | O_CLOEXEC);
        op.ok = op.staged.fd >= 0;
        return op.ok;
    }
    return Copy(from, to, false);
}

bool FileBatch::Delete(std::string_view path) {
    Op& op = ops_.emplace_back();
    op.kind = Op::Kind::Delete;
    std::optional<std::string> resolved = ResolveExisting(path);
    if (!resolved) return false;
    op.staged.target = {SplitLast(*resolved).first, *resolved};
    op.ok = MayDelete(*resolved);
    return op.ok;
}

bool FileBatch::Link(std::string_view target, std::string_view path) {
    Op& op = ops_.emplace_back();
    op.kind = Op::Kind::Link;
    std::optional<Target> resolved = ResolveTarget(path);
    std::optional<mode_t> ignored;
    if (target.empty() || !resolved || !MayReplace(resolved->path, ignored)) return false;
    static std::mt19937 random{std::random_device{}()};
    const std::string to(target);
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string temp = resolved->folder + ".zel-" + std::to_string(random()) + ".tmp";
        if (::symlink(to.c_str(), temp.c_str()) == 0) {
            op.staged = {*resolved, std::move(temp), -1};
            op.ok = true;
            return true;
        }
        if (errno != EEXIST) break;
    }
    return false;
}

bool FileBatch::Create(std::string_view path, std::string_view bytes) {
    Op& op = ops_.emplace_back();
    op.kind = Op::Kind::Create;
    auto [folderPart, name] = SplitLast(path);
    if (name.empty() || name == "." || name == "..") return false;
    std::string folder;
    if (!folderPart.empty()) {
        std::optional<std::string> onDisk = ResolveExisting(folderPart);
        if (!onDisk) return false;
        folder = *onDisk;
    }
    // A batch of new files writes hundreds into one folder: its names are listed once, not
    // once for every file, and the batch's own names join them.
    auto names = std::find_if(folderNames_.begin(), folderNames_.end(),
                              [&](const FolderNames& f) { return f.folder == folder; });
    if (names == folderNames_.end()) {
        DIR* dir = ::opendir(OpenableFolder(folder).c_str());
        if (dir == nullptr) return false;
        FolderNames listed{folder, {}};
        while (dirent* entry = ::readdir(dir)) listed.upper.insert(UpperCased(entry->d_name));
        ::closedir(dir);
        folderNames_.push_back(std::move(listed));
        names = folderNames_.end() - 1;
    }
    // Taken in any spelling, by the folder or by the batch: refused. The rename at Commit
    // refuses the exact name should it appear meanwhile.
    if (!names->upper.insert(UpperCased(name)).second || Exists(folder + name)) return false;
    const Target target{folder, folder + name};
    // New files come many at a time: the flush of their whole file system at Commit writes
    // them out together, rather than a start for each. Thousands of them would exceed the
    // handles a process may hold: each is closed once written.
    std::optional<Staged> staged = Stage(
        target, std::nullopt, [bytes](int out) { return WriteAll(out, bytes); }, false);
    if (!staged) return false;
    op.staged = std::move(*staged);
    struct stat st;
    const bool known = ::fstat(op.staged.fd, &st) == 0;
    const bool closed = ::close(op.staged.fd) == 0;
    op.staged.fd = -1;
    if (!known || !closed) {
        Discard(op.staged);
        return false;
    }
    op.device = st.st_dev;
    op.ok = true;
    return true;
}

std::vector<bool> FileBatch::Commit(bool durable, const std::function<void(std::size_t)>& applied) {
    std::vector<bool> done(ops_.size());
    std::vector<std::string> folders;  // changed, in the order they changed
    // Many files: one flush of each file system they are on writes them all out together,
    // instead of one wait for the disk after the other. A new file then needs no flush of its
    // own; a replacement's own flush finds nothing left to wait for.
    constexpr std::size_t kManyFiles = 8;
    // Copies and kept files hold a handle; new files were closed once written.
    auto toFlush = [](const Op& op) {
        return op.ok && (op.staged.fd >= 0 || op.kind == Op::Kind::Create);
    };
    if (static_cast<std::size_t>(std::count_if(ops_.begin(), ops_.end(), toFlush)) > kManyFiles) {
        std::vector<std::pair<dev_t, bool>> flushed;  // each file system, and whether it was
        for (Op& op : ops_) {
            struct stat st;
            if (!toFlush(op) || (op.staged.fd >= 0 && ::fstat(op.staged.fd, &st) != 0)) continue;
            const dev_t device = op.staged.fd >= 0 ? st.st_dev : op.device;
            auto fs = std::find_if(flushed.begin(), flushed.end(),
                                   [&](const auto& f) { return f.first == device; });
            if (fs == flushed.end()) {
                const int fd = op.staged.fd >= 0
                                   ? op.staged.fd
                                   : ::open(OpenableFolder(op.staged.target.folder).c_str(),
                                            O_RDONLY | O_DIRECTORY | O_CLOEXEC);
                flushed.emplace_back(device, fd >= 0 && ::syncfs(fd) == 0);
                if (fd >= 0 && fd != op.staged.fd) ::close(fd);
                fs = flushed.end() - 1;
            }
            op.flushed = fs->second;
        }
    } else {
        // A few files: all flushed side by side, so that their waits for the disk overlap, and
        // before any is renamed, as a rename between two flushes would give each one a journal
        // commit of its own. A thread for each of them only: a batch may hold thousands of
        // deletions beside them.
        std::vector<Op*> few;
        for (Op& op : ops_)
            if (toFlush(op)) few.push_back(&op);
        ForEachIndex(few.size(), 1, kManyFiles,
                     [&few](std::size_t i) { few[i]->flushed = FlushStaged(few[i]->staged); });
    }
    // Carries out the deletions from ops_[first] up to an operation of another kind. Each
    // deletion may wait for the disk (a file system that discards freed blocks does so at
    // once, for milliseconds); many deletions go side by side, so that those waits overlap.
    // The workers mostly wait: far more of them than processors pay off (10,000 deletions took
    // 1.4 s with 8 and 0.3 to 0.6 s with 64 on a two-processor machine).
    auto deleteFrom = [this](std::size_t first) {
        std::size_t end = first;
        while (end < ops_.size() && ops_[end].kind == Op::Kind::Delete) ++end;
        constexpr std::size_t kPerWorker = 16, kMaxWorkers = 64;
        ForEachIndex(end - first, kPerWorker, kMaxWorkers, [&](std::size_t k) {
            Op& op = ops_[first + k];
            const std::string& path = op.staged.target.path;
            // Checked again: the file may have changed since it was added.
            op.ok = op.ok && MayDelete(path) && ::unlink(path.c_str()) == 0;
            op.deleted = true;
        });
    };
    for (std::size_t i = 0; i < ops_.size(); ++i) {
        Op& op = ops_[i];
        if (op.kind == Op::Kind::Delete && !op.deleted) deleteFrom(i);
        if (!op.ok) continue;
        const std::string& path = op.staged.target.path;
        switch (op.kind) {
            case Op::Kind::Copy:
                op.ok = Finish(op.staged, op.failIfExists, op.flushed);
                break;
            case Op::Kind::Create:
                op.ok = FinishNew(op.staged, op.flushed);
                break;
            case Op::Kind::Keep:
                op.ok = op.flushed || ::fsync(op.staged.fd) == 0;
                Discard(op.staged);
                break;
            case Op::Kind::Delete:
                break;  // done by DeleteMany
            case Op::Kind::Link: {
                std::optional<mode_t> ignored;
                op.ok = MayReplace(path, ignored) &&
                        ::rename(op.staged.temp.c_str(), path.c_str()) == 0;
                if (op.ok) op.staged.temp.clear();
                Discard(op.staged);
                break;
            }
        }
        if (!op.ok) continue;
        done[i] = true;
        const std::string& folder = op.staged.target.folder;
        if (std::find(folders.begin(), folders.end(), folder) == folders.end())
            folders.push_back(folder);
        if (applied) applied(i);
    }
    if (durable) {
        for (const std::string& folder : folders) {
            if (SyncFolder(folder)) continue;
            for (std::size_t i = 0; i < ops_.size(); ++i)
                if (ops_[i].staged.target.folder == folder) done[i] = false;
        }
    }
    ops_.clear();
    return done;
}

std::size_t FileBatch::Size() const {
    return ops_.size();
}

}  // namespace platform
