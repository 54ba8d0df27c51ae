#pragma once
// What the program's own windows have in common.
#include <QDialog>

namespace widgets {

// Marks a window as one of the program's own: the main window counts a return from one as its
// activation, but not a return from a message box or from another program.
void MarkAsProgramWindow(QWidget& window);
bool IsProgramWindow(const QWidget& window);

// Puts a window in the middle of the primary screen's free area, frame included.
void CenterOnPrimaryScreen(QWidget& window);

// A window of the program shown as a dialog. It has no cancel button, so Escape does not close it;
// its own buttons or a close request from the system do.
class ProgramDialog : public QDialog {
    Q_OBJECT

  public:
    explicit ProgramDialog(QWidget* parent = nullptr, Qt::WindowFlags flags = {});

  protected:
    void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace widgets
