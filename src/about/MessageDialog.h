#pragma once
// The framework's standard message dialog rebuilt on Qt, and the help command's language dialog
// made from it.
#include <QDialog>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

class QLabel;
class QPushButton;

namespace about {

enum TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };

// In the framework's fixed button order, which is also the left-to-right order on the dialog.
enum TMsgDlgBtn {
    mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore, mbAll, mbNoToAll, mbYesToAll, mbHelp
};

class TMsgDlgButtons {
public:
    TMsgDlgButtons(std::initializer_list<TMsgDlgBtn> buttons) {
        for (TMsgDlgBtn b : buttons) bits_ |= 1u << b;
    }
    bool Contains(TMsgDlgBtn b) const { return (bits_ & (1u << b)) != 0; }

private:
    unsigned bits_ = 0;
};

using TModalResult = std::int16_t;
inline constexpr TModalResult mrNone = 0, mrOk = 1, mrCancel = 2, mrAbort = 3, mrRetry = 4,
                              mrIgnore = 5, mrYes = 6, mrNo = 7, mrAll = 8, mrNoToAll = 9,
                              mrYesToAll = 10;

// The message dialog form: the type's icon, the word-wrapped message and one push button per
// requested button. Enter presses the focused button (the default one at first), Esc the cancel
// button, and the close box ends it with mrCancel. exec() returns the modal result.
class MessageDialog : public QDialog {
    Q_OBJECT
public:
    MessageDialog(const QString& message, TMsgDlgType type, TMsgDlgButtons buttons,
                 QWidget* parent = nullptr);

    QLabel* iconLabel = nullptr;    // none for mtCustom
    QLabel* messageLabel = nullptr;
    std::vector<QPushButton*> buttonRow;  // left to right
    QPushButton* defaultButton = nullptr;
    QPushButton* cancelButton = nullptr;
    std::int32_t helpContext = 0;

    void reject() override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;
};

// CreateMessageDialog: builds the dialog, not shown.
std::unique_ptr<MessageDialog> CreateMessageDialog(const std::string& message, TMsgDlgType type,
                                                  TMsgDlgButtons buttons,
                                                  QWidget* parent = nullptr);

// Shows the standard dialog with Yes/No/Cancel relabelled "&Nederlands"/"&English"/"&Annuleren",
// every button 66 pixels wide and, for the information type, `informationCaption` as its
// caption. Marks itself one of the program's windows, so the main window re-activates after it.
// Returns the modal result. With an owner the closed dialog lives on, hidden, until the next one
// opens, so the owner can still tell which window the user came back from.
TModalResult LanguageMessageDlg(const std::string& message, TMsgDlgType type,
                                TMsgDlgButtons buttons, std::int32_t helpContext,
                                const std::string& informationCaption, QWidget* parent = nullptr);

}  // namespace about
