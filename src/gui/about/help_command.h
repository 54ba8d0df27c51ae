#pragma once
// Help > Help inhoud: asks which manual the user wants and hands it to the desktop.
#include <string>

class QWidget;

namespace about {

// The texts the help command shows, in the program's current language.
struct HelpTexts {
    std::string dialogTitle;  // the language question's caption
    std::string errorTitle;
    std::string notFoundMsg;
};

// Asks for the manual's language over `parent`, then opens it from the program folder (on Linux
// its web page where there is one, else its document) or says why it cannot.
void OpenHelp(const HelpTexts& texts, QWidget* parent);

}  // namespace about
