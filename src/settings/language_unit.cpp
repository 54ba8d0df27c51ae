#include "settings/language_unit.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>

#include "platform/messages.h"
#include "settings/language.h"
#include "settings/settings_file.h"
#include "settings/texts.h"
#include "widgets/fonts.h"
#include "widgets/qtext.h"

using widgets::ToQ;

Tlanguage_form::Tlanguage_form(settings::LanguageHost& host, QWidget* parent)
    : widgets::FormDialog(parent), host_(host), ChosenLanguage(settings::kDutch) {
    setObjectName("language_form");
    // A title bar without system menu, so without close box; fixed size.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(237, 117);
    setFont(widgets::FormFont());
    setWindowTitle("Kies uw taal ");

    Label1 = new QLabel("Selecteer de taal welke ZEL Nevora moet gebruiken.", this);
    Label1->setObjectName("Label1");
    Label1->setGeometry(8, 8, 210, 26);
    Label1->setWordWrap(true);
    Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label1->setTextFormat(Qt::PlainText);

    ComboBox1 = new QComboBox(this);
    ComboBox1->setObjectName("ComboBox1");
    ComboBox1->setGeometry(8, 48, 217, 21);
    ComboBox1->setEditable(true);
    ComboBox1->setInsertPolicy(QComboBox::NoInsert);  // typed names never join the list
    ComboBox1->setCompleter(nullptr);                 // the text is exactly what was typed
    ComboBox1->addItem("Nederlands", QByteArray(settings::kDutch));
    ComboBox1->setEditText("Nederlands");
    // The change handler runs for the user's changes only: typing, or picking an entry.
    connect(ComboBox1->lineEdit(), &QLineEdit::textEdited, this,
            platform::Guarded([this] { ComboBox1Change(); }));
    connect(ComboBox1, &QComboBox::activated, this,
            platform::Guarded([this] { ComboBox1Change(); }));

    Button1 = new QPushButton("OK", this);
    Button1->setObjectName("Button1");
    Button1->setGeometry(88, 80, 75, 25);
    // Any error escaping OK (an unwritable settings file, a pack message the format rule
    // refuses) would repeat at every press of a window without a close box: after its box the
    // window closes, and the main window keeps the language it shows.
    connect(Button1, &QPushButton::clicked, this, [this] {
        if (!platform::RunGuarded([this] { Button1Click(); }) && isVisible()) reject();
    });

    setTabOrder(ComboBox1, Button1);
}

void Tlanguage_form::FormCreate() {
    ChosenLanguage = settings::kDutch;
    const bool answered = settings::ReadBool(settings::kProgramSection, settings::kLanguageAskedKey, false);
    const std::string language = settings::ReadString(settings::kProgramSection, settings::kLanguageKey);
    if (answered && !language.empty()) return;
    widgets::CenterOnPrimaryScreen(*this);
    exec();
}

void Tlanguage_form::FormActivate() { FillLanguageList(settings::PackFolder(), ComboBox1); }

void Tlanguage_form::FillLanguageList(const std::string& Folder, QComboBox* Box) {
    for (const std::string& name : settings::FindPackNames(Folder)) {
        // The name's own bytes ride along, so a name that does not decode cleanly still names
        // its pack file.
        Box->addItem(widgets::PathToQ(name), QByteArray::fromStdString(name));
    }
}

std::string Tlanguage_form::BoxLanguage() const {
    const QString text = ComboBox1->currentText();
    const int index = ComboBox1->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index >= 0) return ComboBox1->itemData(index).toByteArray().toStdString();
    return widgets::PathFromQ(text);
}

void Tlanguage_form::ComboBox1Change() {
    ChosenLanguage = BoxLanguage();
    for (const auto& text : settings::LoadTexts(settings::LanguageWindowTexts(), ChosenLanguage)) {
        if (text.keep) continue;
        switch (static_cast<settings::LanguageWindowTarget>(text.target)) {
            case settings::kLangLabel1: Label1->setText(ToQ(text.text)); break;
            case settings::kLangCaption: setWindowTitle(ToQ(text.text)); break;
            case settings::kLangButton1: Button1->setText(ToQ(text.text)); break;
        }
    }
}

void Tlanguage_form::Button1Click() {
    settings::WriteBool(settings::kProgramSection, settings::kLanguageAskedKey, true);
    settings::WriteString(settings::kProgramSection, settings::kLanguageKey, ChosenLanguage);
    host_.UseLanguage(ChosenLanguage);
    accept();
}

void Tlanguage_form::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // The window is modal and displayed once, so its display is its activation; message boxes
    // over it are no other form of the program and do not count.
    if (!event->spontaneous()) platform::RunGuarded([this] { FormActivate(); });
}

