#include "core/platform/files.h"

// What the systems share: wildcard matching and what is built on each system's search.
#include <algorithm>

#include "core/platform/paths.h"
#include "core/platform/text.h"

namespace platform {

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

std::optional<FileEntry> FindFirst(std::string_view pattern, FileAttr attrs) {
    std::vector<FileEntry> found = FindFiles(pattern, attrs);
    if (found.empty()) return std::nullopt;
    return found.front();
}

bool AnyFileMatches(std::string_view pattern) {
    return FindFirst(pattern, FileAttr::AnyFileButFolder).has_value();
}

bool ReachedThroughLink(std::string_view base, std::string_view folder) {
    // Windows takes either slash.
    const auto separator = [](char c) { return c == kPathSep || (kWindows && c == '/'); };
    // Case aside, as a path resolved on disk may spell the base otherwise.
    if (folder.size() < base.size() || !EqualNoCase(folder.substr(0, base.size()), base))
        return true;
    std::string_view rest = folder.substr(base.size());
    // Not "base2" beside "base".
    if (!rest.empty() && !separator(rest.front()) && !(!base.empty() && separator(base.back())))
        return true;
    std::string path(base);
    while (!rest.empty()) {
        const auto end = std::find_if(rest.begin(), rest.end(), separator);
        const std::string_view part(rest.begin(), end);
        rest.remove_prefix(part.size() + (end == rest.end() ? 0 : 1));
        if (part.empty()) continue;
        path = JoinPath(path, part);
        if (IsLink(path)) return true;
    }
    return false;
}

void RemoveLeftoverTemporaries(std::string_view folder) {
    for (const FileEntry& entry : FindFiles(JoinPath(folder, ".zel-*.tmp"), FileAttr::AnyFile)) {
        if (!entry.IsDirectory()) DeleteFile(JoinPath(folder, entry.name));
    }
}

}  // namespace platform
