#include "core/platform/messages.h"

#include <algorithm>
#include <cstdio>
#include <utility>

namespace platform {

namespace {

MessagePresenter& PresenterSlot() {
    static MessagePresenter presenter;
    return presenter;
}

QuestionPresenter& QuestionSlot() {
    static QuestionPresenter presenter;
    return presenter;
}

std::string& TitleSlot() {
    static std::string title = "ZEL Nevora";
    return title;
}

// The longest text a box can show. Widths that pad a text beyond it count as invalid: a pack
// text asking for them again and again would otherwise freeze every box it appears in.
constexpr size_t kMaxText = size_t{64} * 1024;
constexpr long kMaxWidth = static_cast<long>(kMaxText);

[[noreturn]] void Invalid(std::string_view text) {
    throw FormatError("Format '" + std::string(text) + "' invalid or incompatible with argument");
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Reads a run of digits, saturating above kMaxWidth; '*' would take an integer from the
// argument list, which holds only a string.
long ReadNumber(std::string_view text, size_t& i) {
    if (i < text.size() && text[i] == '*') Invalid(text);
    long number = 0;
    while (i < text.size() && IsDigit(text[i])) {
        number = std::min(number * 10 + (text[i] - '0'), kMaxWidth + 1);
        ++i;
    }
    return number;
}

}  // namespace

MessagePresenter SetMessagePresenter(MessagePresenter presenter) {
    return std::exchange(PresenterSlot(), std::move(presenter));
}

QuestionPresenter SetQuestionPresenter(QuestionPresenter presenter) {
    return std::exchange(QuestionSlot(), std::move(presenter));
}

void ShowMessageBox(MessageIcon icon, const std::string& title, const std::string& text) {
    if (const MessagePresenter& presenter = PresenterSlot()) {
        presenter(icon, title, text);
        return;
    }
    std::fprintf(stderr, "%s: %s: %s\n", icon == MessageIcon::Error ? "Error" : "Info",
                 title.c_str(), text.c_str());
}

void ShowErrorMessage(const std::string& text, const std::string& title) {
    ShowMessageBox(MessageIcon::Error, title, FormatWithEmptyArgument(text));
}

void ShowInfoMessage(const std::string& text, const std::string& title) {
    ShowMessageBox(MessageIcon::Info, title, FormatWithEmptyArgument(text));
}

bool AskYesNo(const std::string& text, const std::string& title) {
    const std::string formatted = FormatWithEmptyArgument(text);
    if (const QuestionPresenter& presenter = QuestionSlot()) return presenter(title, formatted);
    std::fprintf(stderr, "Question: %s: %s (answered No)\n", title.c_str(), formatted.c_str());
    return false;
}

std::string FormatWithEmptyArgument(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    size_t nextArgument = 0;  // the only argument is number 0, an empty string
    size_t i = 0;
    while (i < text.size()) {
        char c = text[i++];
        if (c != '%') {
            out += c;
            continue;
        }
        if (i < text.size() && text[i] == '%') {
            out += '%';
            ++i;
            continue;
        }
        // %[index:][-][width][.prec]type
        auto numberNext = [&] { return i < text.size() && (IsDigit(text[i]) || text[i] == '*'); };
        long width = 0;
        bool haveWidth = false;
        if (numberNext()) {
            long number = ReadNumber(text, i);
            if (i < text.size() && text[i] == ':') {
                nextArgument = static_cast<size_t>(number);
                ++i;
            } else {
                width = number;
                haveWidth = true;
            }
        }
        if (!haveWidth) {
            if (i < text.size() && text[i] == '-') ++i;
            if (numberNext()) width = ReadNumber(text, i);
        }
        if (i < text.size() && text[i] == '.') {
            ++i;
            ReadNumber(text, i);  // a precision only shortens the empty string
        }
        if (i >= text.size() || (text[i] != 's' && text[i] != 'S') || nextArgument != 0 ||
            (width > 0 && out.size() + static_cast<size_t>(width) > kMaxText))
            Invalid(text);
        ++i;
        ++nextArgument;
        // The argument is empty: all that shows is the padding, left or right alike.
        out.append(static_cast<size_t>(width), ' ');
    }
    return out;
}

std::string LiteralForFormat(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        out += c;
        if (c == '%') out += '%';
    }
    return out;
}

void SetApplicationTitle(std::string title) {
    TitleSlot() = std::move(title);
}

const std::string& ApplicationTitle() {
    return TitleSlot();
}

bool RunGuarded(const std::function<void()>& handler) {
    std::string message;
    try {
        handler();
        return true;
    } catch (const std::exception& e) {
        message = e.what();
    } catch (...) {
        message = "Unknown error";
    }
    // Nothing may escape into the event loop, not even a failing presenter.
    try {
        ShowMessageBox(MessageIcon::Error, ApplicationTitle(), message + ".");
    } catch (...) {
        std::fprintf(stderr, "%s: %s.\n", ApplicationTitle().c_str(), message.c_str());
    }
    return false;
}

}  // namespace platform
