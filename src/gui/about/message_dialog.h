#pragma once
// The standard message dialog, and the help command's language dialog made from it.
#include <QDialog>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

class QPushButton;

namespace about {
namespace Ui {
class MessageDialog;
}

enum class MessageType { Warning, Error, Information, Confirmation, Custom };

// In the fixed button order, which is also the left-to-right order on the dialog.
enum class MessageButton {
    Yes,
    No,
    Ok,
    Cancel,
    Abort,
    Retry,
    Ignore,
    All,
    NoToAll,
    YesToAll,
    Help
};

class MessageButtons {
  public:
    MessageButtons(std::initializer_list<MessageButton> buttons) {
        for (MessageButton b : buttons) bits_ |= 1u << unsigned(b);
    }
    bool contains(MessageButton b) const { return (bits_ & (1u << unsigned(b))) != 0; }

  private:
    unsigned bits_ = 0;
};

// The dialog's exec() code for each button; None: no result (Help).
enum class DialogResult : std::int16_t {
    None = 0,
    Ok = 1,
    Cancel = 2,
    Abort = 3,
    Retry = 4,
    Ignore = 5,
    Yes = 6,
    No = 7,
    All = 8,
    NoToAll = 9,
    YesToAll = 10
};

// The message dialog: the type's icon, the word-wrapped message and one push button per
// requested button. Enter presses the focused button (the default one at first), Esc the cancel
// button, and the close box ends it with DialogResult::Cancel. exec() returns the modal result.
class MessageDialog : public QDialog {
    Q_OBJECT
  public:
    MessageDialog(const QString& message, MessageType type, MessageButtons buttons,
                  QWidget* parent = nullptr);
    ~MessageDialog() override;

    // The buttons, left to right.
    const std::vector<QPushButton*>& buttons() const { return buttonRow_; }
    // The button Enter presses at first (Ok, else Yes, else Retry), or none.
    QPushButton* defaultButton() const { return defaultButton_; }
    // The help topic the dialog stands for; kept for the caller, shown nowhere.
    std::int32_t helpContext() const { return helpContext_; }
    void setHelpContext(std::int32_t context) { helpContext_ = context; }

    void reject() override;

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    // Controls: the icon (none for MessageType::Custom) and the message; the buttons are made for
    // the kinds requested.
    std::unique_ptr<Ui::MessageDialog> ui_;
    std::vector<QPushButton*> buttonRow_;
    QPushButton* defaultButton_ = nullptr;  // Enter's button at first; none: no Ok, Yes, Retry
    QPushButton* cancelButton_ = nullptr;   // Esc's button; none: Esc does nothing
    std::int32_t helpContext_ = 0;
};

// Builds the dialog, not shown.
std::unique_ptr<MessageDialog> BuildMessageDialog(const std::string& message, MessageType type,
                                                  MessageButtons buttons,
                                                  QWidget* parent = nullptr);

// Shows the standard dialog with Yes/No/Cancel relabelled "&Nederlands"/"&English"/"&Annuleren",
// every button 66 pixels wide and, for the information type, `informationCaption` as its
// caption. Marks itself one of the program's windows, so the main window re-activates after it.
// Returns the modal result. With an owner the closed dialog lives on, hidden, until the next one
// opens, so the owner can still tell which window the user came back from.
DialogResult ShowLanguageDialog(const std::string& message, MessageType type,
                                MessageButtons buttons, std::int32_t helpContext,
                                const std::string& informationCaption, QWidget* parent = nullptr);

}  // namespace about
