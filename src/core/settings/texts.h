#pragma once
// Every language-dependent text of the program, declared once: where a pack keeps it, its built-in
// Dutch and what it sets. Windows take their texts from this table, and the pack checks derive the
// full key list from it.
#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace settings {

// One key for each row of the table, in the table's order: code asks for a text by its key, so a
// text the table lacks does not compile.
enum class Text : unsigned char {
    RouteLabel,
    RouteGroup,
    RoutePlaceholder,
    FileMenu,
    ExitAction,
    OptionsMenu,
    LanguageMenu,
    HelpMenu,
    HelpContentsAction,
    AboutAction,
    WeatherGroup,
    WeatherLabel,
    SunButton,
    RainButton,
    SnowButton,
    FogGroup,
    FogStateCaption,
    VisibilityCaption,
    MakeButton,
    MakeProgress,
    CompletionLabel,
    RestoreButton,
    RestoreProgress,
    SummaryTitle,
    SummaryRoute,
    SummaryWeather,
    SummaryVisibility,
    SummaryFogState,
    FogState0,
    FogState1,
    FogState2,
    FogState3,
    FogState4,
    ErrorTitle,
    NoRoute,
    RouteUnusable,
    RouteNotFound,
    CannotQuit,
    QuitErrorTitle,
    HelpLanguageTitle,
    PackReadError,
    HelpNotFound,
    BackupFailed,
    RestoreFailed,
    RunStillOpen,
    AlreadyRunning,
    FogFailed,
    RecordInvalid,
    AlreadyFogged,
    AlreadyFoggedPutBack,
    DumpLockFailed,
    FolderLink,
    OpenRailsAction,
    SummaryOpenRailsActivities,
    SummaryOpenRailsWeather,
    SummaryOpenRailsSkipped,
    SummaryOpenRailsWhere,
    SummaryOpenRailsList,
    SummaryOpenRailsWeatherOnly,
    FolderAction,
    FolderWhileFogged,
    FogWord,
    LanguageQuestion,
    LanguageTitle,
    LanguageOk,
    LocatorTitle,
    LocatorIntro,
    LocatorContinue,
    LocatorBrowse,
    LocatorFolderGroup,
    BrowseText,
    SimulatorNotFound,
    SimulatorFound,
    ContentFolderFound,
    FoundTitle,
    AboutTitle,
    AboutProduct,
    AboutVersion,
    AboutWebCaption,
    AboutMailCaption,
    AboutMailLink,
    AboutOk,
};
inline constexpr std::size_t kTextCount = static_cast<std::size_t>(Text::AboutOk) + 1;

// The windows whose controls and titles the table names.
enum class TextWindow { Main, Language, Locator, About };

// What a text sets.
enum class TextUse {
    Control,  // the text of the window's control (widget, menu or action) of that object name
    Title,    // the window's title
    Text,     // a text the code takes by its key (messages, summary lines), any window
};

struct PackText {
    Text id;
    TextUse use;
    TextWindow window;   // for Control and Title
    const char* object;  // for Control: the control's object name
    const char* section;
    const char* key;
    const char* dutch;  // built-in, Windows-1252 as a pack would hold it
    bool keptInDutch;   // Dutch leaves the control as it is (it is built with `dutch`)
};
std::span<const PackText> TextTable();

// The rows a window takes: its controls and title, and every Text.
std::vector<const PackText*> TextsOf(TextWindow window);

// Every (section, key) the program reads from a pack, "File info" included, without repeats.
struct PackKey {
    std::string section;
    std::string key;
    bool operator==(const PackKey&) const = default;
};
std::vector<PackKey> AllPackKeys();

struct LoadedText {
    const PackText* row;
    std::string text;
    bool keep = false;  // leave the control as it is
};

// A window's texts in one language, in table order.
class WindowTexts {
  public:
    WindowTexts() = default;
    explicit WindowTexts(std::vector<LoadedText> texts) : texts_(std::move(texts)) {}
    const std::vector<LoadedText>& all() const { return texts_; }
    // The text of a row; empty for a row the window does not take.
    const std::string& text(Text key) const { return at(key).text; }
    const LoadedText& at(Text key) const;

  private:
    std::vector<LoadedText> texts_;
};

// A window's texts for a language: built-in for "Nederlands", else read from the pack as it is
// (each read opens the pack anew; a missing key gives an empty text, a missing pack empty texts).
// A message box never goes blank: a text of one that the pack leaves missing or empty is the
// built-in one.
WindowTexts LoadTexts(TextWindow window, const std::string& language);

// The same for a window that takes the stored language without the main window's checks (the
// locator, the box before start-up): a pack that is missing, unreadable or
// refused by its "File info" gives the built-in texts.
WindowTexts LoadTextsOrBuiltIn(TextWindow window, const std::string& language);
std::string LoadTextOrBuiltIn(Text key, const std::string& language);

// The built-in texts of a window's rows, none kept: what its controls are built with.
WindowTexts BuiltInTexts(TextWindow window);

}  // namespace settings
