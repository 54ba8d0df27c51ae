#pragma once
// Every language-dependent text of the program: where a pack keeps it and its built-in Dutch text.
// Windows set their texts from these tables, and the pack checks derive the full key list from them.
#include <span>
#include <string>
#include <vector>

namespace settings {

struct PackText {
    int target;           // the window's own target number
    const char* section;
    const char* key;
    const char* dutch;    // nullptr: for Dutch the target keeps the text it has
};

// Main window targets, in the order the main window sets them.
enum MainTarget : int {
    kRouteLabel, kRouteGroup, kRouteBoxText, kNoRouteText,
    kFileMenu, kExitAction, kOptionsMenu, kLanguageMenu, kHelpMenu, kHelpContentsAction,
    kAboutAction,
    kWeatherGroup, kWeatherLabel, kSunButton, kRainButton, kSnowButton, kFogGroup,
    kFogStateCaption, kVisibilityCaption, kMakeButton,
    kCompletionLabel, kRestoreButton,
    kInfoTitle, kInfoRoute, kInfoWeather, kInfoVisibility, kInfoFogState,
    kFogState0, kFogState1, kFogState2, kFogState3, kFogState4,
    kErrorTitle, kNoRouteMsg, kRouteErrMsg, kRouteNotFoundMsg, kNoCloseMsg, kCloseTitle,
    kLanguageDlgTitle, kLanguageReadErrMsg, kHelpNotFoundMsg,
    kBackupFailedMsg, kRestoreFailedMsg, kRunPendingMsg,
    kInUseMsg,
    kInstallFailedMsg, kRecordRefusedMsg, kAlreadyFoggedMsg,
    kLockNotAFileMsg,
    // Open Rails: the option and what the summary says of its files.
    kOpenRailsAction, kInfoOpenRailsActivities, kInfoOpenRailsWeatherFile, kInfoOpenRailsSkipped,
    kOpenRailsFogWord,
    kMainTargetCount
};
std::span<const PackText> MainWindowTexts();

enum LanguageWindowTarget : int { kLangQuestionLabel, kLangCaption, kLangOkButton };
std::span<const PackText> LanguageWindowTexts();

enum LocatorTarget : int {
    kLocCaption, kLocIntroLabel, kLocContinueButton, kLocBrowseButton, kLocFolderGroup,
    kLocBrowseTitle, kLocErrorTitle, kLocNotFoundMsg, kLocFoundMsg, kLocFoundTitle
};
std::span<const PackText> LocatorTexts();

enum AboutTarget : int {
    kAboutCaption, kAboutProduct, kAboutVersion, kAboutWeb, kAboutMail, kAboutMailAddress,
    kAboutButton
};
std::span<const PackText> AboutTexts();

// Every (section, key) the program reads from a pack, "File info" included, without repeats.
struct PackKey {
    std::string section;
    std::string key;
    bool operator==(const PackKey&) const = default;
};
std::vector<PackKey> AllPackKeys();

// The texts of one table for a language: built-in for "Nederlands", else read from the pack as
// it is (each read opens the pack anew; a missing key gives an empty text, a missing pack empty
// texts). A message box never goes blank: a text of one that the pack leaves missing or empty is
// the built-in one. Entries whose Dutch text is nullptr are left empty for Dutch and
// flagged in `keep`.
struct LoadedText {
    int target;
    std::string text;
    bool keep = false;  // Dutch with no built-in text: leave the target as it is
};
std::vector<LoadedText> LoadTexts(std::span<const PackText> table, const std::string& language);

// The same for a window that takes the stored language without the main window's checks (the
// locator, the About window, the box before start-up): a pack that is missing, unreadable or
// refused by its "File info" gives the built-in texts.
std::vector<LoadedText> LoadTextsOrBuiltIn(std::span<const PackText> table,
                                           const std::string& language);

}  // namespace settings
