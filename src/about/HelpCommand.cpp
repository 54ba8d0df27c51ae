// Help > Help inhoud: asks which manual the user wants and hands it to the desktop.
#include "about/MessageDialog.h"
#include "app/MainWindow.h"
#include "platform/files.h"
#include "platform/messages.h"
#include "platform/paths.h"
#include "platform/shell.h"
#include "platform/text.h"

void MainWindow::onHelpTriggered() {
    std::string document;
    switch (about::LanguageMessageDlg("Choose a language for the help file.", about::mtInformation,
                                      {about::mbYes, about::mbNo}, 0, LanguageDlgTitle, this)) {
        case about::mrYes: document = "ZEL Nevora Help (Nederlands).doc"; break;
        case about::mrNo: document = "ZEL Nevora Help (English).doc"; break;
        default: return;  // closed without a choice
    }
    const std::string path = platform::ProgramFolder() + document;
    // A folder of that name is no document.
    if (platform::IsFile(path)) {
        // The name as spelled on disk, since the desktop's handler does not ignore case.
        const std::string onDisk = platform::ResolvePath(path);
        // The desktop may have no program for the document: the box names it, so the player
        // can open it another way. Only the pack text goes through the format rule, the path
        // is shown as it is; each is decoded on its own, as a Windows-1252 pack text and a
        // UTF-8 path would not decode together.
        if (!platform::ShellOpen(onDisk)) {
            platform::ShowMessageBox(
                platform::MessageIcon::Error, ErrorTitle,
                platform::DecodeForDisplay(platform::FormatWithEmptyArgument(HelpNotFoundMsg)) +
                    "\n\n" + platform::DecodeForDisplay(onDisk));
        }
    } else {
        platform::ShowErrorMessage(HelpNotFoundMsg, ErrorTitle);
    }
}
