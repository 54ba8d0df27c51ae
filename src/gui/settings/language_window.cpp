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
#include "ui_language_window.h"

LanguageWindow::LanguageWindow(settings::LanguageHost& host, QWidget* parent)
    : widgets::ProgramDialog(parent),
      ui_(std::make_unique<Ui::LanguageWindow>()),
      host_(host),
      chosenLanguage_(settings::kDutch) {
    // A title bar without system menu, so without close box; fixed size. Flags and font come
    // before the form, as they did before its controls were made.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setFont(widgets::WindowFont());
    ui_->setupUi(this);

    // The built-in item carries its file-name bytes like the packs' items do.
    ui_->languageBox->setItemData(0, QByteArray(settings::kDutch));
    ui_->languageBox->setCompleter(nullptr);  // the text is exactly what was typed
    // The change handler runs for the user's changes only: typing, or picking an entry.
    connect(ui_->languageBox->lineEdit(), &QLineEdit::textEdited, this,
            platform::Guarded([this] { onLanguageEdited(); }));
    connect(ui_->languageBox, &QComboBox::activated, this,
            platform::Guarded([this] { onLanguageEdited(); }));

    // Any error escaping OK (an unwritable settings file, a pack message the format rule
    // refuses) would repeat at every press of a window without a close box: after its box the
    // window closes, and the main window keeps the language it shows.
    connect(ui_->okButton, &QPushButton::clicked, this, [this] {
        if (!platform::RunGuarded([this] { onOkClicked(); }) && isVisible()) reject();
    });

    widgets::SetLabelPartner(*ui_->questionLabel, *ui_->languageBox);
    settings::ApplyTexts(*this, settings::BuiltInTexts(settings::TextWindow::Language));
    // The caption the window opens with ends in a blank; a language's caption is as the table has
    // it.
    setWindowTitle(windowTitle() + ' ');
}

LanguageWindow::~LanguageWindow() = default;

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
        ui_->languageBox->addItem(widgets::PathToQ(name), QByteArray::fromStdString(name));
    }
}

std::string LanguageWindow::boxLanguage() const {
    const QString text = ui_->languageBox->currentText();
    const int index = ui_->languageBox->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index >= 0) return ui_->languageBox->itemData(index).toByteArray().toStdString();
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
