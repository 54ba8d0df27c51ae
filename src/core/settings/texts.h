#pragma once
// Every language-dependent text of the program, declared once: where a pack keeps it, its built-in
// Dutch and what it sets. Windows take their texts from this table, and the pack checks derive the
// full key list from it.
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace settings {

// The windows whose controls and titles the table names.
enum class TextWindow { Main, Language, Locator, About };

// What a text sets.
enum class TextUse {
    Control,  // the text of the window's control (widget, menu or action) of that object name
    Title,    // the window's title
    Text,     // a text the code takes by its "section/key" (messages, summary lines), any window
};

struct PackText {
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
    // The text of the row "section/key"; empty for a row the window does not take.
    const std::string& text(std::string_view sectionKey) const { return at(sectionKey).text; }
    const LoadedText& at(std::string_view sectionKey) const;

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
std::string LoadTextOrBuiltIn(std::string_view sectionKey, const std::string& language);

// The built-in texts of a window's rows, none kept: what its controls are built with.
WindowTexts BuiltInTexts(TextWindow window);

}  // namespace settings
