#include "settings/language_host.h"

#include "settings/language.h"

namespace settings {

void LanguageHost::UseLanguage(const std::string& name) {
    const PackFileInfo info = ReadPackFileInfo(name);
    if (name == kDutch) {
        ApplyLanguage(kDutch);
        return;
    }
    CheckPackFile(name);
    CheckPackHeader(info.language, info.program);
}

}  // namespace settings
