// What a screen reader finds in each window, read through Qt's accessibility tree: every control
// has a name (its label's, in the active language, without the access-key mark), the track bar
// says its unit and the About window's link labels are links that can be pressed.
#include <QAccessible>
#include <QLineEdit>

#include "gui/about/about_window.h"
#include "gui/install/install_locator.h"
#include "gui/settings/language_window.h"
#include "support/main_window_fixture.h"
#include "support/shell_recorder.h"

namespace {

struct Node {
    QAccessible::Role role;
    QString name, value, description;
    QObject* object;
};

// The window's accessible tree, depth first.
std::vector<Node> Tree(QWidget& window) {
    std::vector<Node> nodes;
    std::function<void(QAccessibleInterface*)> walk = [&](QAccessibleInterface* node) {
        nodes.push_back({node->role(), node->text(QAccessible::Name),
                         node->text(QAccessible::Value), node->text(QAccessible::Description),
                         node->object()});
        for (int i = 0; i < node->childCount(); ++i)
            if (QAccessibleInterface* child = node->child(i)) walk(child);
    };
    walk(QAccessible::queryAccessibleInterface(&window));
    return nodes;
}

bool IsControl(QAccessible::Role role) {
    switch (role) {
        case QAccessible::PushButton:
        case QAccessible::RadioButton:
        case QAccessible::CheckBox:
        case QAccessible::ComboBox:
        case QAccessible::EditableText:
        case QAccessible::Slider:
        case QAccessible::Link:
        case QAccessible::MenuItem:
        case QAccessible::PopupMenu:
        case QAccessible::List:
            return true;
        default:
            return false;
    }
}

// Every control of the tree is named, and no name shows an access-key mark. Returns the controls.
std::vector<Node> ExpectNamedControls(QWidget& window) {
    std::vector<Node> controls;
    for (const Node& n : Tree(window)) {
        if (!IsControl(n.role)) continue;
        controls.push_back(n);
        const std::string what = n.object ? n.object->objectName().toStdString() : "?";
        EXPECT_FALSE(n.name.isEmpty()) << "unnamed control " << what << " (role " << n.role << ")";
        EXPECT_FALSE(n.name.contains('&')) << what << ": " << n.name.toStdString();
    }
    EXPECT_FALSE(controls.empty());
    return controls;
}

const Node& NodeOf(const std::vector<Node>& nodes, const QObject* object) {
    static const Node none{QAccessible::NoRole, "<not in the tree>", {}, {}, nullptr};
    for (const Node& n : nodes)
        if (n.object == object) return n;
    return none;
}

}  // namespace

TEST_F(MainWindowFixture, MainWindowControlsAreNamedInTheActiveLanguage) {
    prog.WritePack("English", testsupport::PackText("English", "ZEL Nevora",
                                                    "[Hoofd Scherm]\r\nlabel1=Choose a &route:\r\n"
                                                    "label5=Visibility in metres:\r\n"));
    WriteSettings("Nederlands");
    CreateAndShow();
    std::vector<Node> controls = ExpectNamedControls(*mainWindow);
    const QString routeLabel = "Selecteer een route waarin u in de mist wilt gaan rijden:";
    EXPECT_EQ(NodeOf(controls, routeBox()).name, routeLabel);
    EXPECT_EQ(NodeOf(controls, routeBox()->lineEdit()).name, routeLabel);
    EXPECT_EQ(NodeOf(controls, visibilityBar()).name, "Zicht in meters:");
    EXPECT_EQ(NodeOf(controls, visibilityBar()).value, "75 m");
    EXPECT_EQ(NodeOf(controls, summaryView()).name, "Informatie van uw instellingen:");

    // A screen reader moving the bar is a user's move: the readouts follow and snap.
    auto* value = QAccessible::queryAccessibleInterface(visibilityBar())->valueInterface();
    ASSERT_NE(value, nullptr);
    EXPECT_EQ(value->minimumValue().toInt(), 25);
    EXPECT_EQ(value->maximumValue().toInt(), 125);
    value->setCurrentValue(110);
    EXPECT_EQ(visibilityBar()->value(), 100);
    EXPECT_EQ(visibilityLabel()->text(), "100 m");
    EXPECT_EQ(QAccessible::queryAccessibleInterface(visibilityBar())->text(QAccessible::Value),
              "100 m");

    mainWindow->applyLanguage("English");
    controls = Tree(*mainWindow);
    EXPECT_EQ(NodeOf(controls, routeBox()).name, "Choose a route:");
    EXPECT_EQ(NodeOf(controls, visibilityBar()).name, "Visibility in metres:");
}

TEST_F(MainWindowFixture, LanguageWindowAndLocatorControlsAreNamed) {
    CreateMainWindow();
    LanguageWindow language(*mainWindow);
    const std::vector<Node> languageControls = ExpectNamedControls(language);
    EXPECT_EQ(NodeOf(languageControls, language.findChild<QComboBox*>("languageBox")).name,
              "Selecteer de taal welke ZEL Nevora moet gebruiken.");

    InstallLocator locator;
    const std::vector<Node> locatorControls = ExpectNamedControls(locator);
    EXPECT_EQ(NodeOf(locatorControls, locator.findChild<QLineEdit*>("folderEdit")).name,
              "Locatie:");
}

TEST_F(MainWindowFixture, AboutWindowLinksAreLinksThatOpenTheirTarget) {
    AboutWindow about([] { return std::string("Nederlands"); });
    about.show();
    std::vector<Node> links;
    for (const Node& n : ExpectNamedControls(about))
        if (n.role == QAccessible::Link) links.push_back(n);
    ASSERT_EQ(links.size(), 2u);
    EXPECT_EQ(links[0].name, "Velmaron");
    EXPECT_TRUE(links[0].description.startsWith("http")) << links[0].description.toStdString();
    EXPECT_EQ(links[1].name, "Stuur een E-mail");
    EXPECT_TRUE(links[1].description.startsWith("mailto:")) << links[1].description.toStdString();

    ShellRecorder shell;
    for (const Node& link : links) {
        QAccessibleInterface* node = QAccessible::queryAccessibleInterface(link.object);
        ASSERT_TRUE(node->state().linked);
        ASSERT_TRUE(node->actionInterface()->actionNames().contains(
            QAccessibleActionInterface::pressAction()));
        node->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    }
    EXPECT_EQ(shell.opened, (std::vector<std::string>{links[0].description.toStdString(),
                                                      links[1].description.toStdString()}));
}
