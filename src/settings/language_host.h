#pragma once
// What the language window needs from the main window: applying a language and the pack checks.
#include <string>

namespace settings {

class LanguageHost {
public:
    virtual ~LanguageHost() = default;
    virtual void ApplyLanguage(const std::string& name) = 0;
    virtual void CheckPackFile(const std::string& name) = 0;
    virtual void CheckPackHeader(const std::string& language, const std::string& program) = 0;

    // Takes a language into use, as start-up and the language window do: Dutch at once, a pack
    // through the file and header checks. The "File info" is read first, for Dutch too.
    void UseLanguage(const std::string& name);
};

}  // namespace settings
