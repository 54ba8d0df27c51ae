#include "gui/widgets/program_window.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>

#include "gui/platform/window_title.h"

namespace widgets {

namespace {
constexpr char kProgramWindowProperty[] = "programWindow";
}

void MarkAsProgramWindow(QWidget& window) {
    window.setProperty(kProgramWindowProperty, true);
}

bool IsProgramWindow(const QWidget& window) {
    return window.property(kProgramWindowProperty).toBool();
}

void CenterOnPrimaryScreen(QWidget& window) {
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect frame = window.frameGeometry();
        window.move(screen->availableGeometry().center() -
                    QPoint(frame.width() / 2, frame.height() / 2));
    }
}

ProgramDialog::ProgramDialog(QWidget* parent, Qt::WindowFlags flags) : QDialog(parent, flags) {
    MarkAsProgramWindow(*this);
    // A language may give the window an empty title.
    platform::KeepEmptyTitleEmpty(*this);
}

void ProgramDialog::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

}  // namespace widgets
