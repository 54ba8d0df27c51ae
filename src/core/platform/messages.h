#pragma once
// Message boxes and the top-level error guard.
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>

namespace platform {

enum class MessageIcon : unsigned { Error = 0x10, Question = 0x20, Info = 0x40 };

// Shows one modal box with an OK button. Texts are 8-bit program texts (see DecodeForDisplay).
using MessagePresenter =
    std::function<void(MessageIcon icon, const std::string& title, const std::string& text)>;

// Replaces the presenter; returns the previous one. Tests install a recorder.
MessagePresenter SetMessagePresenter(MessagePresenter presenter);

// Shows one modal box with the question icon and the buttons Yes (the default) and No; returns
// whether Yes was chosen. Tests install a recorder that answers at once.
using QuestionPresenter = std::function<bool(const std::string& title, const std::string& text)>;
QuestionPresenter SetQuestionPresenter(QuestionPresenter presenter);

// Shows a box through the presenter as it stands, without the format rule.
void ShowMessageBox(MessageIcon icon, const std::string& title, const std::string& text);

// The text is formatted with one empty-string argument first (FormatWithEmptyArgument), so "%s"
// vanishes, "%%" becomes "%" and any other specifier throws FormatError: translators' texts have
// always been read that way.
void ShowErrorMessage(const std::string& text, const std::string& title);
void ShowInfoMessage(const std::string& text, const std::string& title);
// Asks through the question presenter, the text formatted as above; without one the answer is No,
// which changes nothing.
bool AskYesNo(const std::string& text, const std::string& title);

class FormatError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// `text` formatted with one empty-string argument: "%s" (with its flags, width and precision)
// gives the empty string padded as asked, "%%" gives "%"; anything else, or padding past what a
// box can show, throws FormatError.
std::string FormatWithEmptyArgument(std::string_view text);

// `text` with every "%" doubled, so a path put into a box's text shows as it is.
std::string LiteralForFormat(std::string_view text);

// Title of the program, used by the top-level guard's box.
void SetApplicationTitle(std::string title);
const std::string& ApplicationTitle();

// Runs a handler; an exception that escapes it is shown with a full stop added, under the
// application title with the error icon, and the program goes on. Returns false when one did.
bool RunGuarded(const std::function<void()>& handler);

// A signal handler that runs `handler` inside the guard, whatever the signal's arguments, so no
// exception reaches the event loop.
template <class F>
auto Guarded(F handler) {
    return [handler = std::move(handler)](auto&&...) { RunGuarded(handler); };
}

}  // namespace platform
