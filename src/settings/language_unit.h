#pragma once
// The first-run language window.
#include <QDialog>
#include <string>

#include "settings/language_host.h"

class QLabel;
class QComboBox;
class QPushButton;

class Tlanguage_form : public QDialog {
    Q_OBJECT
public:
    explicit Tlanguage_form(settings::LanguageHost& host, QWidget* parent = nullptr);

    // Creation handler: shows the window modally when the question is still open.
    void FormCreate();

    QLabel* Label1 = nullptr;
    QComboBox* ComboBox1 = nullptr;
    QPushButton* Button1 = nullptr;

private:
    settings::LanguageHost& host_;
    std::string ChosenLanguage;
};
