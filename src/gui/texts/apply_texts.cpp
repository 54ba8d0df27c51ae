#include "gui/texts/apply_texts.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>

#include "gui/widgets/accessibility.h"
#include "gui/widgets/label_text.h"
#include "gui/widgets/link_label.h"
#include "gui/widgets/qt_text.h"

namespace settings {

namespace {

// False for an object of a kind that shows no text of the table.
bool SetText(QObject* control, const QString& text) {
    if (auto* action = qobject_cast<QAction*>(control)) {
        action->setText(text);
    } else if (auto* menu = qobject_cast<QMenu*>(control)) {
        menu->setTitle(text);
        menu->setAccessibleName(widgets::StripMnemonic(text));  // the open menu's name
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

// Controls that show no text of their own, with the row that names them for a screen reader: the
// label beside them (the summary goes by its heading). Set with the texts, so names follow the
// language.
constexpr struct {
    const char* control;
    settings::Text row;
} kNamedBy[] = {
    {"routeBox", settings::Text::RouteLabel},
    {"visibilityBar", settings::Text::VisibilityCaption},
    {"summaryView", settings::Text::SummaryTitle},
    {"languageBox", settings::Text::LanguageQuestion},
    {"folderBox", settings::Text::LocatorFolderGroup},
};

void SetAccessibleNames(QWidget& window, const WindowTexts& texts) {
    for (const auto& [object, row] : kNamedBy) {
        auto* control = window.findChild<QWidget*>(QLatin1String(object));
        if (!control) continue;
        const QString name = widgets::StripMnemonic(widgets::ToQ(texts.text(row)));
        control->setAccessibleName(name);
        // A combo box's list and text field are controls of their own to a screen reader.
        if (auto* box = qobject_cast<QComboBox*>(control)) {
            box->view()->setAccessibleName(name);
            if (box->lineEdit()) box->lineEdit()->setAccessibleName(name);
        }
    }
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
    SetAccessibleNames(window, texts);
}

}  // namespace settings
