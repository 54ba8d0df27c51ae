#pragma once
// The About window: product, version, the web and mail links, the copyright line and two
// pictures. Not modal; hidden by OK or the close box and shown again by Help > Info.
#include <functional>
#include <string>

#include "widgets/program_window.h"

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

    // Each change from hidden to shown: the texts in the main window's current language.
    void FormShow();
    // Sets the texts for a language; the product name and the version are never translated.
    void ApplyAboutLanguage(const std::string& name);
    void onOkClicked();

    // Controls. All but okButton lie on the panel.
    QWidget* panel = nullptr;
    QLabel* trainPicture = nullptr;
    QLabel* productLabel = nullptr;
    QLabel* versionLabel = nullptr;
    QLabel* webCaption = nullptr;
    widgets::LinkLabel* webLink = nullptr;
    QLabel* mailCaption = nullptr;
    widgets::LinkLabel* mailLink = nullptr;
    QLabel* iconPicture = nullptr;
    QLabel* copyrightLabel = nullptr;
    QPushButton* okButton = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void BuildControls();

    std::function<std::string()> currentLanguage_;
};
