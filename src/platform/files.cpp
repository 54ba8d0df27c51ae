#include "platform/files.h"

// The POSIX emulation of the Windows file functions; the Win32 backend (files_win.cpp) shares
// the parts outside the _WIN32 guards.
#ifndef _WIN32
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <random>
#endif

#include "platform/paths.h"

namespace platform {

namespace {

char UpperAscii(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

#ifndef _WIN32
bool EqualNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (UpperAscii(a[i]) != UpperAscii(b[i])) return false;
    return true;
}

std::string UpperCased(std::string_view s) {
    std::string up(s);
    for (char& c : up) c = UpperAscii(c);
    return up;
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

bool StatPath(const std::string& path, struct stat& st) {
    // A dangling link still names an entry, as a file.
    return ::stat(path.c_str(), &st) == 0 || ::lstat(path.c_str(), &st) == 0;
}

bool Exists(const std::string& path) {
    struct stat st;
    return StatPath(path, st);
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

bool ReadAll(int fd, std::string& out) {
    char buffer[65536];
    for (;;) {
        ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (n == 0) return true;
        out.append(buffer, static_cast<size_t>(n));
    }
}

void SyncFolder(const std::string& folder) {
    int fd = ::open(OpenableFolder(folder).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

// Fills a hidden temporary file beside the target, flushes it and renames it over the target,
// so a crash leaves either the old or the complete new file, never a half-written one.
// The target must not be a folder or read-only; `mode` gives the new file's permissions
// (nullopt: those of the file it replaces, or the default for a new file).
template <typename Fill>
bool ReplaceAtomically(const Target& target, std::optional<mode_t> mode, Fill fill) {
    struct stat st;
    if (::lstat(target.path.c_str(), &st) == 0) {
        if (S_ISDIR(st.st_mode) || (::stat(target.path.c_str(), &st) == 0 && S_ISDIR(st.st_mode)))
            return false;
        // Root ignores permission bits; the program must not.
        if (IsReadOnlyMode(st.st_mode)) return false;
        if (!mode) mode = st.st_mode & 07777;
    }
    static std::mt19937 random{std::random_device{}()};
    std::string temp;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temp = target.folder + ".zel-" + std::to_string(random()) + ".tmp";
        fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST) return false;
    }
    if (fd < 0) return false;
    bool ok = fill(fd) && (!mode || ::fchmod(fd, *mode) == 0) && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    ok = ok && ::rename(temp.c_str(), target.path.c_str()) == 0;
    if (!ok) {
        ::unlink(temp.c_str());
        return false;
    }
    SyncFolder(target.folder);
    return true;
}

unsigned AttributesOf(const std::string& name, const struct stat& st) {
    unsigned attr = S_ISDIR(st.st_mode) ? faDirectory : faArchive;
    if (!name.empty() && name[0] == '.') attr |= faHidden;
    if (IsReadOnlyMode(st.st_mode)) attr |= faReadOnly;
    return attr;
}
#endif

}  // namespace

bool WildcardMatch(std::string_view pattern, std::string_view name) {
    if (pattern == "*.*") return true;
    // Greedy scan that backtracks only to the latest '*': at most pattern x name steps.
    size_t p = 0, n = 0;
    size_t starP = std::string_view::npos, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starN = n;
        } else if (p < pattern.size() &&
                   (pattern[p] == '?' || UpperAscii(pattern[p]) == UpperAscii(name[n]))) {
            ++p;
            ++n;
        } else if (starP != std::string_view::npos) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') ++p;
    return p == pattern.size();
}

#ifndef _WIN32
std::vector<FileEntry> FindFiles(std::string_view pattern, unsigned attrs) {
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
    const unsigned skippable = (faHidden | faSysFile | faVolumeID | faDirectory) & ~attrs;
    while (dirent* entry = ::readdir(dir)) {
        std::string name = entry->d_name;
        if (name == "." || name == ".." || !WildcardMatch(mask, name)) continue;
        struct stat st;
        if (!StatPath(resolved + name, st)) continue;
        unsigned attr = AttributesOf(name, st);
        if ((attr & skippable) != 0) continue;
        found.push_back({std::move(name), attr});
    }
    ::closedir(dir);
    std::sort(found.begin(), found.end(), [](const FileEntry& a, const FileEntry& b) {
        std::string ua = UpperCased(a.name), ub = UpperCased(b.name);
        return ua != ub ? ua < ub : a.name < b.name;
    });
    return found;
}

#endif

std::optional<FileEntry> FindFirst(std::string_view pattern, unsigned attrs) {
    std::vector<FileEntry> found = FindFiles(pattern, attrs);
    if (found.empty()) return std::nullopt;
    return found.front();
}

#ifndef _WIN32
std::string ResolvePath(std::string_view path) {
    return ResolveExisting(path).value_or(std::string(path));
}

bool CopyFile(std::string_view from, std::string_view to, bool failIfExists) {
    std::optional<std::string> source = ResolveExisting(from);
    if (!source) return false;
    std::optional<Target> target = ResolveTarget(to);
    if (!target) return false;
    if (failIfExists && Exists(target->path)) return false;

    int in = ::open(source->c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0) return false;
    struct stat st;
    if (::fstat(in, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(in);
        return false;
    }
    // Unlike the Windows original, a copy is never read-only: a read-only fog file installed
    // into a route would otherwise block the restore that has to overwrite it later.
    mode_t mode = (st.st_mode & 0777) | S_IWUSR;
    bool ok = ReplaceAtomically(*target, mode, [in](int out) {
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
    return ok;
}

bool CreateFolder(std::string_view path) {
    std::optional<Target> target = ResolveTarget(path);
    if (!target || Exists(target->path)) return false;
    return ::mkdir(target->path.c_str(), 0777) == 0;
}

bool DeleteFile(std::string_view path) {
    std::optional<std::string> resolved = ResolveExisting(path);
    if (!resolved) return false;
    struct stat st;
    if (::lstat(resolved->c_str(), &st) != 0 || S_ISDIR(st.st_mode)) return false;
    if (!S_ISLNK(st.st_mode) && IsReadOnlyMode(st.st_mode)) return false;
    return ::unlink(resolved->c_str()) == 0;
}

bool IsDirectory(std::string_view path) {
    std::optional<std::string> resolved = ResolveExisting(path);
    struct stat st;
    return resolved && ::stat(resolved->c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool IsFile(std::string_view path) {
    std::optional<std::string> resolved = ResolveExisting(path);
    struct stat st;
    return resolved && ::stat(resolved->c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::optional<std::string> ReadFileBytes(std::string_view path) {
    std::optional<std::string> resolved = ResolveExisting(path);
    if (!resolved) return std::nullopt;
    int fd = ::open(resolved->c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    struct stat st;
    std::string bytes;
    bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && ReadAll(fd, bytes);
    ::close(fd);
    if (!ok) return std::nullopt;
    return bytes;
}

bool WriteFileAtomic(std::string_view path, std::string_view bytes) {
    std::optional<Target> target = ResolveTarget(path);
    if (!target) return false;
    return ReplaceAtomically(*target, std::nullopt,
                             [bytes](int out) { return WriteAll(out, bytes); });
}

#endif

bool SameFileBytes(std::string_view a, std::string_view b) {
    std::optional<std::string> first = ReadFileBytes(a);
    if (!first) return false;
    std::optional<std::string> second = ReadFileBytes(b);
    return second && *first == *second;
}

#ifndef _WIN32
bool SetReadOnly(std::string_view path, bool readOnly) {
    std::optional<std::string> resolved = ResolveExisting(path);
    struct stat st;
    if (!resolved || ::stat(resolved->c_str(), &st) != 0) return false;
    mode_t mode = st.st_mode & 07777;
    mode = readOnly ? (mode & ~static_cast<mode_t>(S_IWUSR | S_IWGRP | S_IWOTH)) : (mode | S_IWUSR);
    return ::chmod(resolved->c_str(), mode) == 0;
}
#endif

}  // namespace platform
