#include "gui/widgets/accessibility.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QComboBox>
#include <QLineEdit>

#include "gui/widgets/link_label.h"
#include "gui/widgets/track_bar.h"

namespace widgets {

namespace {

class AccessibleLinkLabel : public QAccessibleWidget {
  public:
    explicit AccessibleLinkLabel(LinkLabel* label) : QAccessibleWidget(label, QAccessible::Link) {}

    QString text(QAccessible::Text t) const override {
        // A name or description set on the label wins over its caption and target.
        QString own = QAccessibleWidget::text(t);
        if (!own.isEmpty()) return own;
        if (t == QAccessible::Name)
            return label()->showMnemonic() ? StripMnemonic(label()->text()) : label()->text();
        if (t == QAccessible::Description) return label()->linkTarget();
        return own;
    }
    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.linked = label()->linkActive();
        return s;
    }
    QStringList actionNames() const override {
        return QAccessibleWidget::actionNames() << pressAction();
    }
    void doAction(const QString& action) override {
        if (action == pressAction())
            label()->click();
        else
            QAccessibleWidget::doAction(action);
    }

  private:
    LinkLabel* label() const { return static_cast<LinkLabel*>(widget()); }
};

class AccessibleTrackBar : public QAccessibleWidget, public QAccessibleValueInterface {
  public:
    explicit AccessibleTrackBar(TrackBar* bar) : QAccessibleWidget(bar, QAccessible::Slider) {}

    void* interface_cast(QAccessible::InterfaceType t) override {
        if (t == QAccessible::ValueInterface) return static_cast<QAccessibleValueInterface*>(this);
        return QAccessibleWidget::interface_cast(t);
    }
    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Value) return QString::number(bar()->value()) + bar()->valueSuffix();
        return QAccessibleWidget::text(t);
    }
    QVariant currentValue() const override { return bar()->value(); }
    // A screen reader's setting is the user's, so its listeners hear of it.
    void setCurrentValue(const QVariant& value) override { bar()->setValueByUser(value.toInt()); }
    QVariant maximumValue() const override { return bar()->maximum(); }
    QVariant minimumValue() const override { return bar()->minimum(); }
    QVariant minimumStepSize() const override { return bar()->singleStep(); }

  private:
    TrackBar* bar() const { return static_cast<TrackBar*>(widget()); }
};

// Qt's own combo box interface with one change: the name it was given, or its label's, wins over
// its current text.
class AccessibleComboBox : public QAccessibleWidget {
  public:
    explicit AccessibleComboBox(QComboBox* box) : QAccessibleWidget(box, QAccessible::ComboBox) {}

    int childCount() const override { return box()->lineEdit() ? 2 : 1; }
    QAccessibleInterface* child(int index) const override {
        if (index == 0) return QAccessible::queryAccessibleInterface(box()->view());
        if (index == 1 && box()->lineEdit())
            return QAccessible::queryAccessibleInterface(box()->lineEdit());
        return nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        if (child->object() == box()->view()) return 0;
        if (box()->lineEdit() && child->object() == box()->lineEdit()) return 1;
        return -1;
    }
    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Value) return box()->currentText();
        QString text = QAccessibleWidget::text(t);
        if (t == QAccessible::Name && text.isEmpty()) return box()->currentText();
        return text;
    }
    QStringList actionNames() const override { return {showMenuAction(), pressAction()}; }
    void doAction(const QString& action) override {
        if (action != showMenuAction() && action != pressAction()) return;
        if (box()->view()->isVisible())
            box()->hidePopup();
        else
            box()->showPopup();
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

  private:
    QComboBox* box() const { return static_cast<QComboBox*>(widget()); }
};

QAccessibleInterface* Factory(const QString& className, QObject* object) {
    if (!object || !object->isWidgetType()) return nullptr;
    if (className == QLatin1String(LinkLabel::staticMetaObject.className()))
        return new AccessibleLinkLabel(static_cast<LinkLabel*>(object));
    if (className == QLatin1String(TrackBar::staticMetaObject.className()))
        return new AccessibleTrackBar(static_cast<TrackBar*>(object));
    if (className == QLatin1String("QComboBox"))
        return new AccessibleComboBox(static_cast<QComboBox*>(object));
    return nullptr;
}

}  // namespace

QString StripMnemonic(const QString& text) {
    QString shown;
    shown.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'&' && i + 1 < text.size()) ++i;
        shown += text[i];
    }
    return shown;
}

void InstallAccessibility() {
    static const bool installed = (QAccessible::installFactory(Factory), true);
    (void)installed;
}

}  // namespace widgets
