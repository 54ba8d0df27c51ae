#pragma once
// The About window: product, version, the web and mail links, the copyright line and two
// pictures. Not modal; hidden by OK or the close box and shown again by Help > Info.
#include <functional>
#include <string>

#include "widgets/forms.h"

class QLabel;
class QPushButton;
namespace widgets {
class TLinkLabel;
}

class TzelForm : public widgets::FormDialog {
    Q_OBJECT
public:
    // `currentLanguage` gives the main window's active language.
    explicit TzelForm(std::function<std::string()> currentLanguage, QWidget* parent = nullptr);

    // Each change from hidden to shown: the texts in the main window's current language.
    void FormShow();
    // Sets the texts for a language; the product name and the version are never translated.
    void ApplyAboutLanguage(const std::string& name);
    void OKButtonClick();

    // Controls, named as on the form. All but OKButton lie on Panel1.
    QWidget* Panel1 = nullptr;
    QLabel* Image2 = nullptr;
    QLabel* ProductName = nullptr;
    QLabel* Version = nullptr;
    QLabel* Web = nullptr;
    widgets::TLinkLabel* LinkLabel1 = nullptr;
    QLabel* Mail = nullptr;
    widgets::TLinkLabel* Mail_adres = nullptr;
    QLabel* Image1 = nullptr;
    QLabel* Copyright = nullptr;
    QPushButton* OKButton = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void BuildControls();

    std::function<std::string()> currentLanguage_;
};
