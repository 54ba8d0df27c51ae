#include "install/Locatie_unit.h"

TLocatie_form::TLocatie_form(QWidget* parent) : QDialog(parent) { setProperty("zelForm", true); }

void TLocatie_form::FormCreate() {}
