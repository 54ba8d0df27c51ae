#pragma once
// The About window: product, version, the web and mail links, the copyright line and two
// pictures. Not modal; hidden by OK or the close box and shown again by Help > Info.
#include <functional>
#include <memory>
#include <string>

#include "core/settings/texts.h"
#include "gui/widgets/program_window.h"

namespace Ui {
class AboutWindow;
}

class AboutWindow : public widgets::ProgramDialog {
    Q_OBJECT
  public:
    // `currentLanguage` gives the main window's active language.
    explicit AboutWindow(std::function<std::string()> currentLanguage, QWidget* parent = nullptr);
    ~AboutWindow() override;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    // What the form cannot say: the pictures' see-through colour, the copyright line as wide as
    // its text, the links' colours, the OK icon and the handler.
    void setUpControls();
    // Each change from hidden to shown: the texts in the main window's current language.
    void onShown();
    // Sets the texts for a language; the product name and the version are never translated.
    void applyLanguage(const std::string& name);
    void showTexts(const settings::WindowTexts& texts);
    void onOkClicked();

    // Controls: the panel with the pictures, texts and links, and OK below it.
    std::unique_ptr<Ui::AboutWindow> ui_;

    std::function<std::string()> currentLanguage_;
};
