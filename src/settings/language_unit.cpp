#include "settings/language_unit.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>

Tlanguage_form::Tlanguage_form(settings::LanguageHost& host, QWidget* parent)
    : QDialog(parent), host_(host), ChosenLanguage("Nederlands") {
    setProperty("zelForm", true);
    Label1 = new QLabel(this);
    ComboBox1 = new QComboBox(this);
    Button1 = new QPushButton(this);
}

void Tlanguage_form::FormCreate() {}
