#pragma once
// The installation locator: makes sure the stored simulator folder holds train.exe.
#include <QDialog>

class TLocatie_form : public QDialog {
    Q_OBJECT
public:
    explicit TLocatie_form(QWidget* parent = nullptr);
    void FormCreate();
};
