// Profile files read and written by the program itself: the pure lookup and update on the file's
// bytes, with an atomic replacement.
#include <optional>

#include "core/platform/files.h"
#include "core/platform/profile.h"

namespace platform {

std::string GetProfileString(std::string_view file, std::string_view section, std::string_view key,
                             std::string_view def) {
    const std::optional<std::string> contents = ReadDataFile(file);
    return ProfileLookup(contents ? std::string_view(*contents) : std::string_view(), section, key,
                         def);
}

void WriteProfileString(std::string_view file, std::string_view section, std::string_view key,
                        std::string_view value) {
    const std::string message = "Unable to write to " + std::string(file);
    std::string contents;
    if (std::string resolved = ResolvePath(file); IsFile(resolved)) {
        std::optional<std::string> bytes = ReadDataFile(resolved);
        // An unreadable file must not be replaced by one holding only this value.
        if (!bytes) throw ProfileWriteError(message);
        contents = std::move(*bytes);
    }
    std::string updated;
    try {
        updated = ProfileUpdate(contents, section, key, value);
    } catch (const std::invalid_argument&) {
        throw ProfileWriteError(message);
    }
    if (!WriteFileAtomic(file, updated)) throw ProfileWriteError(message);
}

}  // namespace platform
