// The system's own profile functions. The checks and the quoting of ProfileUpdate still come
// first: the system would write a line break into the file as it is, and would trim a value's
// blanks and quotes on reading it back.
#include "core/platform/files.h"
#include "core/platform/profile.h"
#include "core/platform/profile_internal.h"
#include "core/platform/win32.h"

namespace platform {

using profiledetail::CheckWritable;
using profiledetail::EncodeValue;
using profiledetail::kMaxValueLength;
using profiledetail::Trim;

std::string GetProfileString(std::string_view file, std::string_view section, std::string_view key,
                             std::string_view def) {
    // What is no data file (a folder, a device, a huge file) reads as a missing one.
    if (!ReadDataFile(file)) return std::string(def.substr(0, kMaxValueLength));
    char buffer[kMaxValueLength + 1];
    DWORD n = GetPrivateProfileStringA(std::string(section).c_str(), std::string(key).c_str(),
                                       std::string(def).c_str(), buffer, sizeof buffer,
                                       std::string(file).c_str());
    return std::string(buffer, n);
}

void WriteProfileString(std::string_view file, std::string_view section, std::string_view key,
                        std::string_view value) {
    const std::string message = "Unable to write to " + std::string(file);
    try {
        CheckWritable(section, key, value);
    } catch (const std::invalid_argument&) {
        throw ProfileWriteError(message);
    }
    // As the system refuses it, also when the program runs with rights that would allow it.
    const std::string path(file);
    DWORD attr = GetFileAttributesA(path.c_str());
    if (attr != INVALID_FILE_ATTRIBUTES && (attr & FILE_ATTRIBUTE_READONLY))
        throw ProfileWriteError(message);
    // A file that cannot be read must not be rewritten around this one value.
    if (attr != INVALID_FILE_ATTRIBUTES && !ReadDataFile(path)) throw ProfileWriteError(message);
    if (!WritePrivateProfileStringA(std::string(Trim(section)).c_str(),
                                    std::string(Trim(key)).c_str(), EncodeValue(value).c_str(),
                                    path.c_str()))
        throw ProfileWriteError(message);
}

}  // namespace platform
