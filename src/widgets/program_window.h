#pragma once
// What the program's own windows ("forms") have in common.
#include <QDialog>

namespace widgets {

// Marks a window as a form of the program: the main window counts a return from a form as its
// activation, but not a return from a message box or from another program.
void MarkAsForm(QWidget& window);
bool IsForm(const QWidget& window);

// Puts a window in the middle of the primary screen's free area, frame included.
void CenterOnPrimaryScreen(QWidget& window);

// A dialog form. It has no cancel button, so Escape does not close it; its own buttons or a close
// request from the system do.
class FormDialog : public QDialog {
    Q_OBJECT

public:
    explicit FormDialog(QWidget* parent = nullptr, Qt::WindowFlags flags = {});

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace widgets
