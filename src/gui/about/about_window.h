#pragma once
// The About window: product, version, the web and mail links, the copyright line and two
// pictures. Not modal; hidden by OK or the close box and shown again by Help > Info.
#include <functional>
#include <string>

#include "core/settings/texts.h"
#include "gui/widgets/program_window.h"

class QLabel;
class QPushButton;
namespace widgets {
class LinkLabel;
}

class AboutWindow : public widgets::ProgramDialog {
    Q_OBJECT
  public:
    // `currentLanguage` gives the main window's active language.
    explicit AboutWindow(std::function<std::string()> currentLanguage, QWidget* parent = nullptr);

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void buildControls();
    // Each change from hidden to shown: the texts in the main window's current language.
    void onShown();
    // Sets the texts for a language; the product name and the version are never translated.
    void applyLanguage(const std::string& name);
    void showTexts(const settings::WindowTexts& texts);
    void onOkClicked();

    // Controls. All but okButton_ lie on the panel.
    QWidget* panel_ = nullptr;
    QLabel* trainPicture_ = nullptr;
    QLabel* productLabel_ = nullptr;
    QLabel* versionLabel_ = nullptr;
    QLabel* webCaption_ = nullptr;
    widgets::LinkLabel* webLink_ = nullptr;
    QLabel* mailCaption_ = nullptr;
    widgets::LinkLabel* mailLink_ = nullptr;
    QLabel* iconPicture_ = nullptr;
    QLabel* copyrightLabel_ = nullptr;
    QPushButton* okButton_ = nullptr;

    std::function<std::string()> currentLanguage_;
};
