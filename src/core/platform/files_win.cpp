// The Win32 backend of the file functions: the system's own search, copy, create and delete,
// with the case rules, attributes and listing order of the file system. Replacements still go
// through a temporary file renamed over the target, so a crash never leaves half a file.
#include <atomic>
#include <functional>
#include <optional>
#include <random>
#include <string>

#include "core/platform/files.h"
#include "core/platform/text.h"
#include "core/platform/win32.h"

namespace platform {

namespace {

constexpr DWORD kNoAttributes = INVALID_FILE_ATTRIBUTES;

std::string Str(std::string_view s) {
    return std::string(s);
}

bool IsSeparator(char c) {
    return c == '\\' || c == '/';
}

// The folder part with its trailing separator (empty for a bare name), and the last component.
std::pair<std::string, std::string> SplitLast(std::string_view path) {
    std::string_view::size_type cut = path.find_last_of("\\/");
    if (cut == std::string_view::npos) {
        // "C:name" is relative to the drive's current folder: the drive is the folder part.
        if (path.size() >= 2 && path[1] == ':')
            return {Str(path.substr(0, 2)), Str(path.substr(2))};
        return {std::string(), Str(path)};
    }
    return {Str(path.substr(0, cut + 1)), Str(path.substr(cut + 1))};
}

DWORD AttributesOf(const std::string& path) {
    return GetFileAttributesA(path.c_str());
}

bool HasWildcard(std::string_view name) {
    return name.find_first_of("*?") != std::string_view::npos;
}

// The name of an existing entry as the file system spells it.
std::optional<std::string> OnDiskName(const std::string& path) {
    if (HasWildcard(path)) return std::nullopt;
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA(path.c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return std::nullopt;
    FindClose(find);
    return std::string(data.cFileName);
}

// Where a replacement goes: its folder as given, and the name an existing target already has,
// so replacing RAIN.ENV through the name rain.env keeps RAIN.ENV.
struct Target {
    std::string folder;
    std::string path;
};

std::optional<Target> ResolveTarget(std::string_view path) {
    auto [folder, name] = SplitLast(path);
    if (name.empty() || name == "." || name == ".." || HasWildcard(name)) return std::nullopt;
    DWORD folderAttr = AttributesOf(folder.empty() ? std::string(".") : folder);
    if (folderAttr == kNoAttributes || !(folderAttr & FILE_ATTRIBUTE_DIRECTORY))
        return std::nullopt;
    return Target{folder, folder + OnDiskName(Str(path)).value_or(name)};
}

// A fresh name beside the target; CREATE_NEW or CopyFileA's fail-if-exists makes it ours.
std::string TempName(const Target& target, unsigned attempt) {
    static std::atomic<unsigned> counter{0};
    return target.folder + ".zel-" + std::to_string(GetCurrentProcessId()) + "-" +
           std::to_string(GetTickCount() ^ (counter++ * 7919u) ^ attempt) + ".tmp";
}

bool Flush(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    bool ok = FlushFileBuffers(file) != 0;
    return CloseHandle(file) != 0 && ok;
}

// Makes a temporary file beside the target with `fill`, flushes it and moves it over the target.
// A folder or read-only target is refused, and with failIfExists so is any existing target.
template <typename Fill>
bool ReplaceAtomically(const Target& target, bool failIfExists, Fill fill) {
    DWORD existing = AttributesOf(target.path);
    if (existing != kNoAttributes &&
        (failIfExists || (existing & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY))))
        return false;
    std::string temp;
    bool made = false;
    for (unsigned attempt = 0; attempt < 100 && !made; ++attempt) {
        temp = TempName(target, attempt);
        made = fill(temp);
        if (!made && GetLastError() != ERROR_FILE_EXISTS && GetLastError() != ERROR_ALREADY_EXISTS)
            break;
    }
    if (!made) return false;
    DWORD flags = MOVEFILE_WRITE_THROUGH | (failIfExists ? 0 : MOVEFILE_REPLACE_EXISTING);
    if (Flush(temp) && MoveFileExA(temp.c_str(), target.path.c_str(), flags)) return true;
    SetFileAttributesA(temp.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(temp.c_str());
    return false;
}

bool WriteNew(const std::string& path, std::string_view bytes) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    bool ok = true;
    while (ok && !bytes.empty()) {
        DWORD chunk = bytes.size() > (1u << 20) ? (1u << 20) : static_cast<DWORD>(bytes.size());
        DWORD written = 0;
        ok = WriteFile(file, bytes.data(), chunk, &written, nullptr) && written == chunk;
        bytes.remove_prefix(written);
    }
    ok = CloseHandle(file) && ok;
    if (!ok) DeleteFileA(path.c_str());
    return ok;
}

}  // namespace

std::vector<FileEntry> FindFiles(std::string_view pattern, FileAttr attrs) {
    std::vector<FileEntry> found;
    // These attributes hide an entry unless the caller asked for them.
    const auto skippable = static_cast<DWORD>(
        (FileAttr::Hidden | FileAttr::System | FileAttr::Volume | FileAttr::Directory) & ~attrs);
    // The system also matches a wildcard against an entry's 8.3 alias, so "*.env" would find
    // notes.envx through NOTES~1.ENV; only the name itself may match.
    const std::string mask = SplitLast(pattern).second;
    const bool wildcard = HasWildcard(mask);
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA(Str(pattern).c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return found;
    do {
        std::string name = data.cFileName;
        if (name == "." || name == ".." || (data.dwFileAttributes & skippable) != 0) continue;
        if (wildcard && !WildcardMatch(mask, name)) continue;
        found.push_back({std::move(name), FileAttr(data.dwFileAttributes) & FileAttr::AnyFile});
    } while (FindNextFileA(find, &data));
    FindClose(find);
    return found;
}

std::string ResolvePath(std::string_view path) {
    // The drive ("C:"), or a share's "\\server\share", is taken as given; every component after
    // it is replaced by its on-disk spelling.
    std::string resolved;
    size_t pos = 0;
    if (path.size() >= 2 && path[1] == ':') {
        pos = 2;
    } else if (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1])) {
        size_t server = path.find_first_of("\\/", 2);
        size_t share =
            server == std::string_view::npos ? server : path.find_first_of("\\/", server + 1);
        pos = share == std::string_view::npos ? path.size() : share;
    }
    resolved.assign(path.substr(0, pos));
    while (pos < path.size()) {
        if (IsSeparator(path[pos])) {
            resolved += path[pos++];
            continue;
        }
        size_t end = path.find_first_of("\\/", pos);
        if (end == std::string_view::npos) end = path.size();
        std::string component = Str(path.substr(pos, end - pos));
        if (component != "." && component != "..") {
            std::optional<std::string> onDisk = OnDiskName(resolved + component);
            if (!onDisk) return Str(path);
            component = *onDisk;
        }
        resolved += component;
        pos = end;
    }
    return resolved;
}

bool CopyFile(std::string_view from, std::string_view to, bool failIfExists) {
    const std::string source = Str(from);
    DWORD sourceAttr = AttributesOf(source);
    if (sourceAttr == kNoAttributes || (sourceAttr & FILE_ATTRIBUTE_DIRECTORY)) return false;
    std::optional<Target> target = ResolveTarget(to);
    if (!target) return false;
    return ReplaceAtomically(*target, failIfExists, [&source](const std::string& temp) {
        if (!CopyFileA(source.c_str(), temp.c_str(), TRUE)) return false;
        // CopyFileA carries the read-only attribute over; a read-only fog file installed into
        // a route would block the restore that has to overwrite it later.
        DWORD attr = AttributesOf(temp);
        if (attr != kNoAttributes && (attr & FILE_ATTRIBUTE_READONLY))
            SetFileAttributesA(temp.c_str(), attr & ~DWORD{FILE_ATTRIBUTE_READONLY});
        return true;
    });
}

bool CreateFolder(std::string_view path) {
    return CreateDirectoryA(Str(path).c_str(), nullptr) != 0;
}

bool DeleteFile(std::string_view path) {
    return DeleteFileA(Str(path).c_str()) != 0;
}

bool RemoveEmptyFolder(std::string_view path) {
    if (IsLink(path)) return false;
    return RemoveDirectoryA(Str(path).c_str()) != 0;
}

bool IsDirectory(std::string_view path) {
    DWORD attr = AttributesOf(Str(path));
    return attr != kNoAttributes && (attr & FILE_ATTRIBUTE_DIRECTORY);
}

bool IsFile(std::string_view path) {
    DWORD attr = AttributesOf(Str(path));
    return attr != kNoAttributes && !(attr & FILE_ATTRIBUTE_DIRECTORY);
}

bool IsLink(std::string_view path) {
    // Other reparse points (cloud files kept online, deduplicated files) are the entry itself.
    const std::string p = Str(path);
    if (HasWildcard(p)) return false;
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA(p.c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return false;
    FindClose(find);
    return (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) &&
           (data.dwReserved0 == IO_REPARSE_TAG_SYMLINK ||
            data.dwReserved0 == IO_REPARSE_TAG_MOUNT_POINT);
}

bool EntryExists(std::string_view path) {
    const std::string p = Str(path);
    return !p.empty() && !HasWildcard(p) && AttributesOf(p) != INVALID_FILE_ATTRIBUTES;
}

std::optional<std::string> ReadLink(std::string_view) {
    return std::nullopt;
}

bool SameFile(std::string_view a, std::string_view b) {
    // Opened for no access at all, so no sharing mode of another program stands in the way;
    // backup semantics let a folder be opened too.
    auto identify = [](std::string_view path, BY_HANDLE_FILE_INFORMATION& info) {
        HANDLE file = CreateFileA(Str(path).c_str(), 0,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
        if (file == INVALID_HANDLE_VALUE) return false;
        bool ok = GetFileInformationByHandle(file, &info) != 0;
        CloseHandle(file);
        return ok;
    };
    BY_HANDLE_FILE_INFORMATION first, second;
    return identify(a, first) && identify(b, second) &&
           first.dwVolumeSerialNumber == second.dwVolumeSerialNumber &&
           first.nFileIndexHigh == second.nFileIndexHigh &&
           first.nFileIndexLow == second.nFileIndexLow;
}

bool RenameFile(std::string_view from, std::string_view to) {
    // Without MOVEFILE_REPLACE_EXISTING an existing target makes the move fail.
    return MoveFileExA(Str(from).c_str(), Str(to).c_str(), MOVEFILE_WRITE_THROUGH) != 0;
}

namespace {

// Reads a file on disk to its end; nothing for a folder, a device or a pipe, or once more than
// `limit` bytes came.
std::optional<std::string> ReadWholeFile(std::string_view path, ULONGLONG limit) {
    HANDLE file = CreateFileA(Str(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::nullopt;
    LARGE_INTEGER size{};
    bool ok = GetFileType(file) == FILE_TYPE_DISK && GetFileSizeEx(file, &size) &&
              static_cast<ULONGLONG>(size.QuadPart) <= limit;
    std::string bytes;
    if (ok) bytes.reserve(static_cast<std::size_t>(size.QuadPart));
    char buffer[65536];
    while (ok) {
        DWORD n = 0;
        if (!ReadFile(file, buffer, sizeof buffer, &n, nullptr)) {
            ok = false;
            break;
        }
        if (n == 0) break;
        bytes.append(buffer, n);
        ok = bytes.size() <= limit;
    }
    CloseHandle(file);
    if (!ok) return std::nullopt;
    return bytes;
}

}  // namespace

std::optional<std::string> ReadFileBytes(std::string_view path) {
    return ReadWholeFile(path, ~ULONGLONG{0});
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
    return ReplaceAtomically(*target, false,
                             [bytes](const std::string& temp) { return WriteNew(temp, bytes); });
}

bool SetReadOnly(std::string_view path, bool readOnly) {
    const std::string p = Str(path);
    DWORD attr = AttributesOf(p);
    if (attr == kNoAttributes) return false;
    attr = readOnly ? (attr | FILE_ATTRIBUTE_READONLY) : (attr & ~DWORD{FILE_ATTRIBUTE_READONLY});
    // FILE_ATTRIBUTE_NORMAL must stand alone; an empty set means the same.
    if ((attr & ~DWORD{FILE_ATTRIBUTE_NORMAL}) != 0) attr &= ~DWORD{FILE_ATTRIBUTE_NORMAL};
    return SetFileAttributesA(p.c_str(), attr == 0 ? FILE_ATTRIBUTE_NORMAL : attr) != 0;
}

bool SameFileBytes(std::string_view a, std::string_view b) {
    std::optional<std::string> first = ReadFileBytes(a);
    if (!first) return false;
    std::optional<std::string> second = ReadFileBytes(b);
    return second && *first == *second;
}
bool FileHolds(std::string_view path, std::string_view bytes) {
    const std::optional<std::string> held = ReadFileBytes(path);
    return held && *held == bytes;
}

struct FileBatch::Op {
    enum class Kind { Copy, CopyUnlessSame, Delete, Link, Create } kind;
    bool failIfExists = false;
    std::string from, to;  // Create: `from` holds the bytes
    bool* kept = nullptr;  // CopyUnlessSame: told whether the target was kept
};

FileBatch::FileBatch() = default;
FileBatch::~FileBatch() = default;

bool FileBatch::Copy(std::string_view from, std::string_view to, bool failIfExists) {
    ops_.push_back({Op::Kind::Copy, failIfExists, std::string(from), std::string(to)});
    return true;
}

bool FileBatch::CopyUnlessSame(std::string_view from, std::string_view to, bool* kept) {
    if (kept != nullptr) *kept = false;
    ops_.push_back({Op::Kind::CopyUnlessSame, false, std::string(from), std::string(to), kept});
    return true;
}

bool FileBatch::Delete(std::string_view path) {
    ops_.push_back({Op::Kind::Delete, false, {}, std::string(path)});
    return true;
}

// The program never reads a link on Windows (ReadLink finds none), so it never puts one back.
bool FileBatch::Link(std::string_view target, std::string_view path) {
    ops_.push_back({Op::Kind::Link, false, std::string(target), std::string(path)});
    return false;
}

bool FileBatch::Create(std::string_view path, std::string_view bytes) {
    bool free = !EntryExists(path);
    for (const Op& earlier : ops_)
        free = free && !(earlier.kind == Op::Kind::Create && EqualNoCase(earlier.to, path));
    ops_.push_back({Op::Kind::Create, true, std::string(bytes), std::string(path)});
    return free;
}

namespace {
// Written under a temporary name beside the target and moved to it without replacing anything.
bool CreateNewFile(const std::string& path, const std::string& bytes) {
    if (EntryExists(path)) return false;
    static std::mt19937 random{std::random_device{}()};
    const std::string::size_type cut = path.find_last_of("\\/");
    const std::string folder = cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
    const std::string temp = folder + ".zel-" + std::to_string(random()) + ".tmp";
    if (!WriteFileAtomic(temp, bytes)) return false;
    if (RenameFile(temp, path)) return true;
    DeleteFile(temp);
    return false;
}
}  // namespace

std::vector<bool> FileBatch::Commit(bool, const std::function<void(std::size_t)>& applied) {
    std::vector<bool> done(ops_.size());
    for (std::size_t i = 0; i < ops_.size(); ++i) {
        const Op& op = ops_[i];
        switch (op.kind) {
            case Op::Kind::Copy:
                done[i] = CopyFile(op.from, op.to, op.failIfExists);
                break;
            case Op::Kind::CopyUnlessSame: {
                const bool same = SameFileBytes(op.from, op.to);
                if (op.kept != nullptr) *op.kept = same;
                done[i] = same || CopyFile(op.from, op.to, false);
                break;
            }
            case Op::Kind::Delete:
                done[i] = DeleteFile(op.to);
                break;
            case Op::Kind::Link:
                done[i] = false;
                break;
            case Op::Kind::Create:
                done[i] = CreateNewFile(op.to, op.from);
                break;
        }
        if (done[i] && applied) applied(i);
    }
    ops_.clear();
    return done;
}

std::size_t FileBatch::Size() const {
    return ops_.size();
}

}  // namespace platform
