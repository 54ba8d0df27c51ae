#include "about/MessageDialog.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <algorithm>
#include <array>

#include "about/window_font.h"
#include "platform/messages.h"
#include "widgets/program_window.h"
#include "widgets/qtext.h"

namespace about {
namespace {

struct ButtonInfo {
    const char* name;
    const char* caption;
    TModalResult result;
};

// Indexed by TMsgDlgBtn.
constexpr ButtonInfo kButtons[] = {
    {"Yes", "&Yes", mrYes},          {"No", "&No", mrNo},
    {"OK", "OK", mrOk},              {"Cancel", "Cancel", mrCancel},
    {"Abort", "&Abort", mrAbort},    {"Retry", "&Retry", mrRetry},
    {"Ignore", "&Ignore", mrIgnore}, {"All", "&All", mrAll},
    {"NoToAll", "N&o to All", mrNoToAll}, {"YesToAll", "Yes to &All", mrYesToAll},
    {"Help", "&Help", mrNone},
};

QString TypeCaption(TMsgDlgType type) {
    switch (type) {
        case mtWarning: return QStringLiteral("Warning");
        case mtError: return QStringLiteral("Error");
        case mtInformation: return QStringLiteral("Information");
        case mtConfirmation: return QStringLiteral("Confirmation");
        case mtCustom: break;
    }
    return widgets::ToQ(platform::ApplicationTitle());
}

bool TypeIcon(TMsgDlgType type, QStyle::StandardPixmap& icon) {
    switch (type) {
        case mtWarning: icon = QStyle::SP_MessageBoxWarning; return true;
        case mtError: icon = QStyle::SP_MessageBoxCritical; return true;
        case mtInformation: icon = QStyle::SP_MessageBoxInformation; return true;
        case mtConfirmation: icon = QStyle::SP_MessageBoxQuestion; return true;
        case mtCustom: break;
    }
    return false;
}

}  // namespace

MessageDialog::MessageDialog(const QString& message, TMsgDlgType type, TMsgDlgButtons buttons,
                           QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                          Qt::MSWindowsFixedSizeDialogHint) {
    setObjectName("MessageDialog");
    setWindowTitle(TypeCaption(type));
    setFont(WindowFont());

    // The framework measures in dialog units of the message font: a quarter of the average
    // character width across, an eighth of the line height down.
    const QFontMetrics fm(font());
    const int charWidth =
        (fm.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")) +
         26) / 52;
    const auto across = [&](int units) { return units * charWidth / 4; };
    const auto down = [&](int units) { return units * fm.height() / 8; };
    const int horzMargin = across(8), vertMargin = down(8), horzSpacing = across(10),
              vertSpacing = down(10), buttonSpacing = across(4), buttonHeight = down(14);
    constexpr int kIconSize = 32;

    const QScreen* screen = QGuiApplication::primaryScreen();
    const int maxTextWidth = screen ? screen->availableGeometry().width() / 2 : 400;
    const QRect textRect =
        fm.boundingRect(QRect(0, 0, maxTextWidth, 0), Qt::AlignLeft | Qt::TextWordWrap, message);

    QStyle::StandardPixmap iconKind{};
    const bool hasIcon = TypeIcon(type, iconKind);
    if (hasIcon) {
        iconLabel = new QLabel(this);
        iconLabel->setObjectName("iconLabel");
        iconLabel->setPixmap(style()->standardIcon(iconKind, nullptr, this).pixmap(kIconSize, kIconSize));
        iconLabel->setGeometry(horzMargin, vertMargin, kIconSize, kIconSize);
    }
    messageLabel = new QLabel(message, this);
    messageLabel->setObjectName("messageLabel");
    messageLabel->setTextFormat(Qt::PlainText);
    messageLabel->setWordWrap(true);
    messageLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    const int textLeft = horzMargin + (hasIcon ? kIconSize + horzSpacing : 0);
    const int textWidth = textRect.width() + 1;
    messageLabel->setGeometry(textLeft, vertMargin, textWidth,
                         std::max(textRect.height(), messageLabel->heightForWidth(textWidth)));

    int buttonWidth = across(50);
    std::array<QPushButton*, mbHelp + 1> made{};  // by kind; null where not requested
    for (int b = mbYes; b <= mbHelp; ++b) {
        if (!buttons.Contains(TMsgDlgBtn(b))) continue;
        buttonWidth = std::max(buttonWidth, fm.horizontalAdvance(kButtons[b].caption) + 8);
        auto* button = new QPushButton(QString::fromLatin1(kButtons[b].caption), this);
        button->setObjectName(kButtons[b].name);
        // Help gives no result and closes nothing.
        if (const TModalResult result = kButtons[b].result; result != mrNone)
            connect(button, &QPushButton::clicked, this, [this, result] { done(result); });
        buttonRow.push_back(button);
        made[b] = button;
    }
    for (TMsgDlgBtn b : {mbOK, mbYes, mbRetry})
        if (!defaultButton) defaultButton = made[b];
    for (TMsgDlgBtn b : {mbCancel, mbNo, mbOK})
        if (!cancelButton) cancelButton = made[b];
    if (defaultButton) {
        defaultButton->setDefault(true);
        defaultButton->setFocus();
    }

    const int textBottom = std::max(messageLabel->height(), hasIcon ? kIconSize : 0);
    const int count = int(buttonRow.size());
    const int groupWidth = count * buttonWidth + std::max(0, count - 1) * buttonSpacing;
    const int clientWidth = std::max(textLeft - horzMargin + textWidth, groupWidth) + 2 * horzMargin;
    const int clientHeight = textBottom + vertSpacing + buttonHeight + 2 * vertMargin;
    int x = (clientWidth - groupWidth) / 2;
    for (QPushButton* button : buttonRow) {
        button->setGeometry(x, vertMargin + textBottom + vertSpacing, buttonWidth, buttonHeight);
        x += buttonWidth + buttonSpacing;
    }
    setFixedSize(clientWidth, clientHeight);
}

// The close box (and any other close request) ends the dialog with Cancel.
void MessageDialog::reject() { done(mrCancel); }

void MessageDialog::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        if (cancelButton) cancelButton->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

void MessageDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    widgets::CenterOnPrimaryScreen(*this);
}

std::unique_ptr<MessageDialog> CreateMessageDialog(const std::string& message, TMsgDlgType type,
                                                  TMsgDlgButtons buttons, QWidget* parent) {
    return std::make_unique<MessageDialog>(widgets::ToQ(message), type, buttons, parent);
}

TModalResult LanguageMessageDlg(const std::string& message, TMsgDlgType type,
                                TMsgDlgButtons buttons, std::int32_t helpContext,
                                const std::string& informationCaption, QWidget* parent) {
    std::unique_ptr<MessageDialog> dialog = CreateMessageDialog(message, type, buttons, parent);
    widgets::MarkAsProgramWindow(*dialog);
    if (type == mtInformation) dialog->setWindowTitle(widgets::ToQ(informationCaption));
    for (QPushButton* button : dialog->buttonRow) {
        button->resize(66, button->height());
        // Exact, case-sensitive, one after the other on the caption as it stands.
        const auto relabel = [button](const char* accel, const char* plain, const char* to) {
            if (button->text() == QLatin1String(accel) || button->text() == QLatin1String(plain))
                button->setText(QString::fromLatin1(to));
        };
        relabel("&Yes", "Yes", "&Nederlands");
        relabel("&No", "No", "&English");
        relabel("&Cancel", "Cancel", "&Annuleren");
    }
    dialog->helpContext = helpContext;
    const auto result = TModalResult(dialog->exec());
    // The owner decides on its own re-activation by looking at the window it came back from, and
    // that news can arrive after we return: keep the closed dialog until the next one opens.
    static QPointer<MessageDialog> previous;
    delete previous;
    previous = parent ? dialog.release() : nullptr;
    return result;
}

}  // namespace about
