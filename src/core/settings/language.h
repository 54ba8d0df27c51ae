#pragma once
// Language names and packs: "Nederlands" is the built-in Dutch; any other name is the pack
// Dump/Languages/<name>.lng, an INI file read anew at every use.
#include <string>
#include <string_view>
#include <vector>

namespace settings {

inline constexpr char kDutch[] = "Nederlands";
inline constexpr char kProgramName[] = "ZEL Nevora";
inline constexpr char kFileInfoSection[] = "File info";

std::string PackFolder();                     // Dump/Languages, no trailing separator
std::string PackPath(std::string_view name);  // Dump/Languages/<name>.lng

// One value of a pack, empty when the pack, section or key is missing.
std::string ReadPackString(std::string_view name, std::string_view section, std::string_view key);

// A pack's "File info" values, which say whose pack it is; empty when missing.
struct PackFileInfo {
    std::string language;
    std::string program;
};
PackFileInfo ReadPackFileInfo(std::string_view name);

// The language names of the entries of `folder` matching "*.lng", any attribute, folders
// included, in listing order: each name without its last extension.
std::vector<std::string> FindPackNames(std::string_view folder);
std::string StripLastExtension(std::string_view fileName);

// Is there a pack file of this name? Hidden, system and read-only files count; folders do not.
bool PackFileExists(std::string_view name);

// The "File info" acceptance rule.
bool LanguageValuePasses(std::string_view language);  // not "Onbekend", compares >= " "
bool ProgramValuePasses(std::string_view program);    // exactly "ZEL Nevora"

// Does the pack of this name read, with a "File info" that passes? Only such a pack lends its
// texts to a window.
bool PackAccepted(std::string_view name);

}  // namespace settings
