#include "settings/apply_texts.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>

#include "widgets/label_text.h"
#include "widgets/link_label.h"
#include "widgets/qt_text.h"

namespace settings {

namespace {

// False for an object of a kind that shows no text of the table.
bool SetText(QObject* control, const QString& text) {
    if (auto* action = qobject_cast<QAction*>(control)) {
        action->setText(text);
    } else if (auto* menu = qobject_cast<QMenu*>(control)) {
        menu->setTitle(text);
    } else if (auto* group = qobject_cast<QGroupBox*>(control)) {
        group->setTitle(text);
    } else if (auto* box = qobject_cast<QComboBox*>(control)) {
        box->setEditText(text);
    } else if (auto* button = qobject_cast<QAbstractButton*>(control)) {
        button->setText(text);
    } else if (auto* label = qobject_cast<QLabel*>(control)) {
        widgets::SetLabelText(*label, text);
    } else if (auto* link = qobject_cast<widgets::LinkLabel*>(control)) {
        link->setText(text);
    } else {
        return false;
    }
    return true;
}

}  // namespace

void ApplyTexts(QWidget& window, const WindowTexts& texts) {
    for (const LoadedText& loaded : texts.all()) {
        if (loaded.keep) continue;
        const PackText& row = *loaded.row;
        if (row.use == TextUse::Title) {
            window.setWindowTitle(widgets::ToQ(loaded.text));
        } else if (row.use == TextUse::Control) {
            [[maybe_unused]] const bool set =
                SetText(window.findChild<QObject*>(row.object), widgets::ToQ(loaded.text));
            Q_ASSERT_X(set, row.object, "the table names a control the window does not have");
        }
    }
}

}  // namespace settings
