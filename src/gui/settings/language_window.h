#pragma once
// The first-run language window: asks once which language the program speaks.
#include <memory>
#include <string>

#include "core/settings/language_host.h"
#include "gui/widgets/program_window.h"

namespace Ui {
class LanguageWindow;
}

class LanguageWindow : public widgets::ProgramDialog {
    Q_OBJECT
  public:
    explicit LanguageWindow(settings::LanguageHost& host, QWidget* parent = nullptr);
    ~LanguageWindow() override;

    // Creation: shows the window modally while the question is still open.
    void initialize();

    const std::string& chosenLanguage() const { return chosenLanguage_; }

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    // Runs when the window is displayed: lists the packs below "Nederlands".
    void onActivated();
    // Appends the language name of every pack in `folder` to the box; never clears it.
    void fillLanguageList(const std::string& folder);
    // The user changed the box text (typed or picked): show the window in that language.
    void onLanguageEdited();
    // OK: stores the choice and hands it to the main window, then closes.
    void onOkClicked();
    // The language the box text names: an item's own file-name bytes, else the typed text.
    std::string boxLanguage() const;

    // Controls: the question, the language box and OK.
    std::unique_ptr<Ui::LanguageWindow> ui_;

    settings::LanguageHost& host_;
    std::string chosenLanguage_;
};
