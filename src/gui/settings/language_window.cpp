#include "gui/settings/language_window.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>

#include "core/platform/messages.h"
#include "core/settings/language.h"
#include "core/settings/settings_file.h"
#include "core/settings/texts.h"
#include "gui/texts/apply_texts.h"
#include "gui/widgets/fonts.h"
#include "gui/widgets/label_text.h"
#include "gui/widgets/qt_text.h"

LanguageWindow::LanguageWindow(settings::LanguageHost& host, QWidget* parent)
    : widgets::ProgramDialog(parent), host_(host), chosenLanguage_(settings::kDutch) {
    setObjectName("LanguageWindow");
    // A title bar without system menu, so without close box; fixed size.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(237, 117);
    setFont(widgets::WindowFont());

    questionLabel_ = new QLabel(this);
    questionLabel_->setObjectName("questionLabel");
    questionLabel_->setGeometry(8, 8, 210, 26);
    questionLabel_->setWordWrap(true);
    questionLabel_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    questionLabel_->setTextFormat(Qt::PlainText);

    languageBox_ = new QComboBox(this);
    languageBox_->setObjectName("languageBox");
    languageBox_->setGeometry(8, 48, 217, 21);
    languageBox_->setEditable(true);
    languageBox_->setInsertPolicy(QComboBox::NoInsert);  // typed names never join the list
    languageBox_->setCompleter(nullptr);                 // the text is exactly what was typed
    languageBox_->addItem("Nederlands", QByteArray(settings::kDutch));
    languageBox_->setEditText("Nederlands");
    // The change handler runs for the user's changes only: typing, or picking an entry.
    connect(languageBox_->lineEdit(), &QLineEdit::textEdited, this,
            platform::Guarded([this] { onLanguageEdited(); }));
    connect(languageBox_, &QComboBox::activated, this,
            platform::Guarded([this] { onLanguageEdited(); }));

    okButton_ = new QPushButton(this);
    okButton_->setObjectName("okButton");
    okButton_->setGeometry(88, 80, 75, 25);
    // Any error escaping OK (an unwritable settings file, a pack message the format rule
    // refuses) would repeat at every press of a window without a close box: after its box the
    // window closes, and the main window keeps the language it shows.
    connect(okButton_, &QPushButton::clicked, this, [this] {
        if (!platform::RunGuarded([this] { onOkClicked(); }) && isVisible()) reject();
    });

    setTabOrder(languageBox_, okButton_);
    widgets::SetLabelPartner(*questionLabel_, *languageBox_);
    settings::ApplyTexts(*this, settings::BuiltInTexts(settings::TextWindow::Language));
    // The caption the window opens with ends in a blank; a language's caption is as the table has
    // it.
    setWindowTitle(windowTitle() + ' ');
}

void LanguageWindow::initialize() {
    chosenLanguage_ = settings::kDutch;
    const bool answered =
        settings::ReadBool(settings::kProgramSection, settings::kLanguageAskedKey, false);
    const std::string language =
        settings::ReadString(settings::kProgramSection, settings::kLanguageKey);
    if (answered && !language.empty()) return;
    widgets::CenterOnPrimaryScreen(*this);
    exec();
}

void LanguageWindow::onActivated() {
    fillLanguageList(settings::PackFolder());
}

void LanguageWindow::fillLanguageList(const std::string& folder) {
    for (const std::string& name : settings::FindPackNames(folder)) {
        // The name's own bytes ride along, so a name that does not decode cleanly still names
        // its pack file.
        languageBox_->addItem(widgets::PathToQ(name), QByteArray::fromStdString(name));
    }
}

std::string LanguageWindow::boxLanguage() const {
    const QString text = languageBox_->currentText();
    const int index = languageBox_->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index >= 0) return languageBox_->itemData(index).toByteArray().toStdString();
    return widgets::PathFromQ(text);
}

void LanguageWindow::onLanguageEdited() {
    chosenLanguage_ = boxLanguage();
    settings::ApplyTexts(*this,
                         settings::LoadTexts(settings::TextWindow::Language, chosenLanguage_));
}

void LanguageWindow::onOkClicked() {
    settings::WriteBool(settings::kProgramSection, settings::kLanguageAskedKey, true);
    settings::WriteString(settings::kProgramSection, settings::kLanguageKey, chosenLanguage_);
    host_.useLanguage(chosenLanguage_);
    accept();
}

void LanguageWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // The window is modal and displayed once, so its display is its activation; message boxes
    // over it are no other window of the program and do not count.
    if (!event->spontaneous()) platform::RunGuarded([this] { onActivated(); });
}
