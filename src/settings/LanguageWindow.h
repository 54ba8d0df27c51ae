#pragma once
// The first-run language window: asks once which language the program speaks.
#include <string>

#include "settings/language_host.h"
#include "widgets/program_window.h"

class QLabel;
class QComboBox;
class QPushButton;

class LanguageWindow : public widgets::ProgramDialog {
    Q_OBJECT
public:
    explicit LanguageWindow(settings::LanguageHost& host, QWidget* parent = nullptr);

    // Creation handler: shows the window modally while the question is still open.
    void FormCreate();
    // Runs when the window is displayed: lists the packs below "Nederlands".
    void FormActivate();
    // Appends the language name of every pack in `Folder` to the box; never clears it.
    void FillLanguageList(const std::string& Folder, QComboBox* Box);
    // The user changed the box text (typed or picked): show the window in that language.
    void onLanguageEdited();
    // OK: stores the choice and hands it to the main window, then closes.
    void onOkClicked();

    const std::string& chosenLanguage() const { return chosenLanguage_; }

    QLabel* questionLabel = nullptr;
    QComboBox* languageBox = nullptr;
    QPushButton* okButton = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    // The language the box text names: an item's own file-name bytes, else the typed text.
    std::string BoxLanguage() const;

    settings::LanguageHost& host_;
    std::string chosenLanguage_;
};
