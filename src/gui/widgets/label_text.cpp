#include "gui/widgets/label_text.h"

#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QStyle>

namespace widgets {

namespace {

// QLabel clicks a partner that is a button (and so would check a radio button or start a
// restore); the program's labels only move the focus.
class FocusOnlyShortcut : public QObject {
  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::Shortcut) return false;
        auto* label = static_cast<QLabel*>(watched);
        QWidget* partner = label->buddy();
        if (partner && partner->isEnabled() && partner->isVisible() &&
            (partner->focusPolicy() != Qt::NoFocus || qobject_cast<QGroupBox*>(partner))) {
            partner->setFocus(Qt::ShortcutFocusReason);
            label->window()->setAttribute(Qt::WA_KeyboardFocusChange);
        }
        return true;
    }
};

// Rich text for a label without a partner, where QLabel would show the marks as they stand.
// Blanks are kept as they are, as plain text keeps them.
QString AccessKeyMarkup(const QString& text, bool underline) {
    QString html = QStringLiteral("<span style=\"white-space:pre-wrap\">");
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != u'&') {
            html += QString(text[i]).toHtmlEscaped();
        } else if (i + 1 < text.size()) {
            ++i;
            const QString next = QString(text[i]).toHtmlEscaped();
            if (text[i] == u'&' || !underline) {
                html += next;
            } else {
                html += QStringLiteral("<u>") + next + QStringLiteral("</u>");
            }
        }
    }
    return html + QStringLiteral("</span>");
}

}  // namespace

void SetLabelPartner(QLabel& label, QWidget& partner) {
    if (!label.buddy()) label.installEventFilter(new FocusOnlyShortcut(&label));
    label.setBuddy(&partner);
}

void SetLabelText(QLabel& label, const QString& text) {
    // With a partner QLabel shows the marks itself; a text without marks stays plain text.
    if (label.buddy() || !text.contains(u'&')) {
        label.setTextFormat(Qt::PlainText);
        label.setText(text);
        return;
    }
    const bool underline = label.style()->styleHint(QStyle::SH_UnderlineShortcut, nullptr, &label);
    label.setTextFormat(Qt::RichText);
    label.setText(AccessKeyMarkup(text, underline));
}

}  // namespace widgets
