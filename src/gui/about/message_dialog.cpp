#include "gui/about/message_dialog.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <algorithm>
#include <array>

#include "core/platform/messages.h"
#include "gui/about/window_font.h"
#include "gui/platform/window_title.h"
#include "gui/widgets/program_window.h"
#include "gui/widgets/qt_text.h"
#include "ui_message_dialog.h"

namespace about {
namespace {

struct ButtonInfo {
    const char* name;
    const char* caption;
    DialogResult result;
};

// Indexed by MessageButton.
constexpr ButtonInfo kButtons[] = {
    {"Yes", "&Yes", DialogResult::Yes},
    {"No", "&No", DialogResult::No},
    {"OK", "OK", DialogResult::Ok},
    {"Cancel", "Cancel", DialogResult::Cancel},
    {"Abort", "&Abort", DialogResult::Abort},
    {"Retry", "&Retry", DialogResult::Retry},
    {"Ignore", "&Ignore", DialogResult::Ignore},
    {"All", "&All", DialogResult::All},
    {"NoToAll", "N&o to All", DialogResult::NoToAll},
    {"YesToAll", "Yes to &All", DialogResult::YesToAll},
    {"Help", "&Help", DialogResult::None},
};

QString TypeCaption(MessageType type) {
    switch (type) {
        case MessageType::Warning:
            return QStringLiteral("Warning");
        case MessageType::Error:
            return QStringLiteral("Error");
        case MessageType::Information:
            return QStringLiteral("Information");
        case MessageType::Confirmation:
            return QStringLiteral("Confirmation");
        case MessageType::Custom:
            break;
    }
    return widgets::ToQ(platform::ApplicationTitle());
}

bool TypeIcon(MessageType type, QStyle::StandardPixmap& icon) {
    switch (type) {
        case MessageType::Warning:
            icon = QStyle::SP_MessageBoxWarning;
            return true;
        case MessageType::Error:
            icon = QStyle::SP_MessageBoxCritical;
            return true;
        case MessageType::Information:
            icon = QStyle::SP_MessageBoxInformation;
            return true;
        case MessageType::Confirmation:
            icon = QStyle::SP_MessageBoxQuestion;
            return true;
        case MessageType::Custom:
            break;
    }
    return false;
}

}  // namespace

MessageDialog::MessageDialog(const QString& message, MessageType type, MessageButtons buttons,
                             QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                          Qt::MSWindowsFixedSizeDialogHint),
      ui_(std::make_unique<Ui::MessageDialog>()) {
    platform::KeepEmptyTitleEmpty(*this);
    setWindowTitle(TypeCaption(type));
    setFont(WindowFont());
    // The form holds the icon and the message; their places, the buttons (by the requested kinds)
    // and the size follow from the message's font and length.
    ui_->setupUi(this);

    // Measured in dialog units of the message font: a quarter of the average
    // character width across, an eighth of the line height down.
    const QFontMetrics fm(font());
    const int charWidth = (fm.horizontalAdvance(QStringLiteral(
                               "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")) +
                           26) /
                          52;
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
        ui_->iconLabel->setPixmap(
            style()->standardIcon(iconKind, nullptr, this).pixmap(kIconSize, kIconSize));
        ui_->iconLabel->setGeometry(horzMargin, vertMargin, kIconSize, kIconSize);
    } else {
        delete ui_->iconLabel;  // the custom type shows no icon, and has no icon label
        ui_->iconLabel = nullptr;
    }
    QLabel* const messageLabel = ui_->messageLabel;
    messageLabel->setText(message);
    const int textLeft = horzMargin + (hasIcon ? kIconSize + horzSpacing : 0);
    const int textWidth = textRect.width() + 1;
    messageLabel->setGeometry(textLeft, vertMargin, textWidth,
                              std::max(textRect.height(), messageLabel->heightForWidth(textWidth)));

    int buttonWidth = across(50);
    constexpr int kButtonKinds = int(MessageButton::Help) + 1;
    std::array<QPushButton*, kButtonKinds> made{};  // by kind; null where not requested
    for (int b = 0; b < kButtonKinds; ++b) {
        if (!buttons.contains(MessageButton(b))) continue;
        buttonWidth = std::max(buttonWidth, fm.horizontalAdvance(kButtons[b].caption) + 8);
        auto* button = new QPushButton(QString::fromLatin1(kButtons[b].caption), this);
        button->setObjectName(kButtons[b].name);
        // Help gives no result and closes nothing.
        if (const DialogResult result = kButtons[b].result; result != DialogResult::None)
            connect(button, &QPushButton::clicked, this, [this, result] { done(int(result)); });
        buttonRow_.push_back(button);
        made[b] = button;
    }
    for (MessageButton b : {MessageButton::Ok, MessageButton::Yes, MessageButton::Retry})
        if (!defaultButton_) defaultButton_ = made[std::size_t(b)];
    for (MessageButton b : {MessageButton::Cancel, MessageButton::No, MessageButton::Ok})
        if (!cancelButton_) cancelButton_ = made[std::size_t(b)];
    if (defaultButton_) {
        defaultButton_->setDefault(true);
        defaultButton_->setFocus();
    }

    const int textBottom = std::max(messageLabel->height(), hasIcon ? kIconSize : 0);
    const int count = int(buttonRow_.size());
    const int groupWidth = count * buttonWidth + std::max(0, count - 1) * buttonSpacing;
    const int clientWidth =
        std::max(textLeft - horzMargin + textWidth, groupWidth) + 2 * horzMargin;
    const int clientHeight = textBottom + vertSpacing + buttonHeight + 2 * vertMargin;
    int x = (clientWidth - groupWidth) / 2;
    for (QPushButton* button : buttonRow_) {
        button->setGeometry(x, vertMargin + textBottom + vertSpacing, buttonWidth, buttonHeight);
        x += buttonWidth + buttonSpacing;
    }
    setFixedSize(clientWidth, clientHeight);
}

MessageDialog::~MessageDialog() = default;

// The close box (and any other close request) ends the dialog with Cancel.
void MessageDialog::reject() {
    done(int(DialogResult::Cancel));
}

void MessageDialog::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        if (cancelButton_) cancelButton_->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

void MessageDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    widgets::CenterOnPrimaryScreen(*this);
}

std::unique_ptr<MessageDialog> BuildMessageDialog(const std::string& message, MessageType type,
                                                  MessageButtons buttons, QWidget* parent) {
    return std::make_unique<MessageDialog>(widgets::ToQ(message), type, buttons, parent);
}

DialogResult ShowLanguageDialog(const std::string& message, MessageType type,
                                MessageButtons buttons, std::int32_t helpContext,
                                const std::string& informationCaption, QWidget* parent) {
    std::unique_ptr<MessageDialog> dialog = BuildMessageDialog(message, type, buttons, parent);
    widgets::MarkAsProgramWindow(*dialog);
    if (type == MessageType::Information) dialog->setWindowTitle(widgets::ToQ(informationCaption));
    for (QPushButton* button : dialog->buttons()) {
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
    dialog->setHelpContext(helpContext);
    const auto result = DialogResult(dialog->exec());
    // The owner decides on its own re-activation by looking at the window it came back from, and
    // that news can arrive after we return: keep the closed dialog until the next one opens.
    static QPointer<MessageDialog> previous;
    delete previous;
    previous = parent ? dialog.release() : nullptr;
    return result;
}

}  // namespace about
