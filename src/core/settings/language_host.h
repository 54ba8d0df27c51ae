#pragma once
// What the language window needs from the main window: taking a language into use.
#include <string>

namespace settings {

class LanguageHost {
  public:
    virtual ~LanguageHost() = default;

    // Takes a language into use, as start-up and the language window do: Dutch at once, a pack
    // through the file and header checks. The "File info" is read first, for Dutch too.
    void useLanguage(const std::string& name);

  protected:
    // Sets every text of a language and stores it as the program's language.
    virtual void applyLanguage(const std::string& name) = 0;
    // The pack checks: each reports a refused pack and falls back to Dutch.
    virtual void checkPackFile(const std::string& name) = 0;
    virtual void checkPackHeader(const std::string& language, const std::string& program) = 0;
};

}  // namespace settings
