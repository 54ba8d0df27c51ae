#include "core/settings/language.h"

#include "core/platform/files.h"
#include "core/platform/paths.h"
#include "core/platform/profile.h"

namespace settings {

std::string PackFolder() {
    return platform::DumpPath("Languages");
}

std::string PackPath(std::string_view name) {
    return platform::JoinPath(PackFolder(), std::string(name) + ".lng");
}

std::string ReadPackString(std::string_view name, std::string_view section, std::string_view key) {
    return platform::GetProfileString(PackPath(name), section, key, "");
}

std::string StripLastExtension(std::string_view fileName) {
    const auto dot = fileName.rfind('.');
    return std::string(dot == std::string_view::npos ? fileName : fileName.substr(0, dot));
}

PackFileInfo ReadPackFileInfo(std::string_view name) {
    return {ReadPackString(name, kFileInfoSection, "Language"),
            ReadPackString(name, kFileInfoSection, "Program")};
}

std::vector<std::string> FindPackNames(std::string_view folder) {
    std::vector<std::string> names;
    for (const auto& entry :
         platform::FindFiles(platform::JoinPath(folder, "*.lng"), platform::FileAttr::AnyFile))
        names.push_back(StripLastExtension(entry.name));
    return names;
}

bool PackFileExists(std::string_view name) {
    return platform::AnyFileMatches(PackPath(name));
}

bool LanguageValuePasses(std::string_view language) {
    // Byte comparison with " ": empty, or a first byte below 32, compares lower.
    return language != "Onbekend" && !language.empty() &&
           static_cast<unsigned char>(language[0]) >= 32;
}

bool ProgramValuePasses(std::string_view program) {
    return program == kProgramName;
}

bool PackAccepted(std::string_view name) {
    const PackFileInfo info = ReadPackFileInfo(name);
    return LanguageValuePasses(info.language) && ProgramValuePasses(info.program);
}

}  // namespace settings
