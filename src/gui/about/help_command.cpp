#include "gui/about/help_command.h"

#include "core/platform/files.h"
#include "core/platform/messages.h"
#include "core/platform/paths.h"
#include "core/platform/text.h"
#include "gui/about/message_dialog.h"
#include "gui/platform/shell.h"

namespace about {

void OpenHelp(const HelpTexts& texts, QWidget* parent) {
    std::string manual;
    switch (ShowLanguageDialog("Choose a language for the help file.", MessageType::Information,
                               {MessageButton::Yes, MessageButton::No}, 0, texts.dialogTitle,
                               parent)) {
        case DialogResult::Yes:
            manual = "ZEL Nevora Help (Nederlands)";
            break;
        case DialogResult::No:
            manual = "ZEL Nevora Help (English)";
            break;
        default:
            return;  // closed without a choice
    }
    // A Linux desktop often has no program for Word documents but always a browser, so there the
    // page goes first; the document stays for a folder that lacks the page.
    std::string path = platform::ProgramFolder() + manual + ".doc";
    if (!platform::kWindows) {
        const std::string page = platform::ProgramFolder() + manual + ".html";
        if (platform::IsFile(page)) path = page;
    }
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
                platform::MessageIcon::Error, texts.errorTitle,
                platform::DecodeForDisplay(platform::FormatWithEmptyArgument(texts.notFoundMsg)) +
                    "\n\n" + platform::DecodeForDisplay(onDisk));
        }
    } else {
        platform::ShowErrorMessage(texts.notFoundMsg, texts.errorTitle);
    }
}

}  // namespace about
