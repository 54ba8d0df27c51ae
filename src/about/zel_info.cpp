#include "about/zel_info.h"

TzelForm::TzelForm(std::function<std::string()> currentLanguage, QWidget* parent)
    : QDialog(parent), currentLanguage_(std::move(currentLanguage)) {
    setProperty("zelForm", true);
    setWindowTitle("Info...");
    setModal(false);
}
