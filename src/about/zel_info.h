#pragma once
// The About window.
#include <QDialog>
#include <functional>
#include <string>

class TzelForm : public QDialog {
    Q_OBJECT
public:
    // `currentLanguage` gives the main window's active language.
    explicit TzelForm(std::function<std::string()> currentLanguage, QWidget* parent = nullptr);

private:
    std::function<std::string()> currentLanguage_;
};
