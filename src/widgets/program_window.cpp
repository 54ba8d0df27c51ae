#include "widgets/program_window.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>

namespace widgets {

namespace {
constexpr char kFormProperty[] = "programForm";
}

void MarkAsForm(QWidget& window) { window.setProperty(kFormProperty, true); }

bool IsForm(const QWidget& window) { return window.property(kFormProperty).toBool(); }

void CenterOnPrimaryScreen(QWidget& window) {
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect frame = window.frameGeometry();
        window.move(screen->availableGeometry().center() - QPoint(frame.width() / 2, frame.height() / 2));
    }
}

FormDialog::FormDialog(QWidget* parent, Qt::WindowFlags flags) : QDialog(parent, flags) {
    MarkAsForm(*this);
}

void FormDialog::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

}  // namespace widgets
