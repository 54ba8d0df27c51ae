#include "core/settings/language_host.h"

#include "core/settings/language.h"

namespace settings {

void LanguageHost::useLanguage(const std::string& name) {
    const PackFileInfo info = ReadPackFileInfo(name);
    if (name == kDutch) {
        applyLanguage(kDutch);
        return;
    }
    checkPackFile(name);
    checkPackHeader(info.language, info.program);
}

}  // namespace settings
