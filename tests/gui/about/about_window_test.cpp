// The About window: its texts in each language, when they change, its links and its life.
#include "gui/about/about_window.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTextDocument>

#include "app/program.h"
#include "gui/widgets/link_label.h"
#include "gui/widgets/program_window.h"
#include "support/main_window_fixture.h"
#include "support/shell_recorder.h"

using testsupport::Child;
namespace fs = std::filesystem;

namespace {

const char kAboutPack[] =
    "[About Dlg]\r\nTitel=About...\r\nproduct=Product name:\r\nVersie=Version:\r\nWeb=Site:\r\n"
    "Mail=Mail:\r\nmail_adres=Send &mail\r\nbutton=Close\r\n";

struct AboutTexts {
    QString caption, product, version, web, mail, mailLink, button, webLink;
    bool operator==(const AboutTexts&) const = default;
};

std::ostream& operator<<(std::ostream& os, const AboutTexts& t) {
    for (const QString* s :
         {&t.caption, &t.product, &t.version, &t.web, &t.mail, &t.mailLink, &t.button, &t.webLink})
        os << '"' << s->toStdString() << "\" ";
    return os;
}

AboutTexts TextsOf(const AboutWindow& about) {
    return {about.windowTitle(),
            Child<QLabel>(about, "productLabel")->text(),
            Child<QLabel>(about, "versionLabel")->text(),
            Child<QLabel>(about, "webCaption")->text(),
            Child<QLabel>(about, "mailCaption")->text(),
            Child<widgets::LinkLabel>(about, "mailLink")->text(),
            Child<QPushButton>(about, "okButton")->text(),
            Child<widgets::LinkLabel>(about, "webLink")->text()};
}

const AboutTexts kDutch = {"Info...",
                           "Product:  ZEL Nevora",
                           "Versie:      " ZEL_VERSION,
                           "Web:",
                           "E-Mail:",
                           "Stuur een E-mail",
                           "OK",
                           "Velmaron"};

class AboutWindowTest : public MainWindowFixture {
  protected:
    std::unique_ptr<AboutWindow> about;

    void SetUp() override {
        WriteSettings("Nederlands");
        CreateAndShow();
        prog.WritePack("Testish", testsupport::PackText("Testish", "ZEL Nevora", kAboutPack));
        prog.WritePack("Bare", testsupport::PackText("Bare", "ZEL Nevora"));
        about = std::make_unique<AboutWindow>([this] { return mainWindow->currentLanguage(); });
    }

    void Open() {
        about->show();
        testsupport::ProcessEvents();
    }
};

}  // namespace

TEST_F(AboutWindowTest, OpensHiddenAndShowsTheBuiltInDutchTexts) {
    EXPECT_FALSE(about->isVisible());
    Open();
    EXPECT_EQ(TextsOf(*about), kDutch);
    EXPECT_FALSE(about->isModal());
    EXPECT_TRUE(widgets::IsProgramWindow(*about));
}

TEST_F(AboutWindowTest, PackSuppliesTheWordsInFrontOfNameAndVersion) {
    mainWindow->applyLanguage("Testish");
    Open();
    const AboutTexts expected = {"About...",
                                 "Product name:  ZEL Nevora",
                                 "Version:      " ZEL_VERSION,
                                 "Site:",
                                 "Mail:",
                                 "Send &mail",
                                 "Close",
                                 "Velmaron"};
    EXPECT_EQ(TextsOf(*about), expected);
    // A longer word must not be cut off.
    EXPECT_GE(
        Child<QLabel>(*about, "productLabel")->width(),
        Child<QLabel>(*about, "productLabel")->fontMetrics().horizontalAdvance(expected.product));
}

TEST_F(AboutWindowTest, PackWithoutTheSectionOrRemovedLeavesOnlyTheFixedTails) {
    const AboutTexts expected = {"", "  ZEL Nevora", "      " ZEL_VERSION, "", "", "",
                                 "", "Velmaron"};
    mainWindow->applyLanguage("Bare");
    Open();
    EXPECT_EQ(TextsOf(*about), expected);

    // The active pack removed while the program runs: no Dutch, no box.
    about->hide();
    mainWindow->applyLanguage("Testish");
    fs::remove(prog.languages() / "Testish.lng");
    Open();
    EXPECT_EQ(TextsOf(*about), expected);
    EXPECT_TRUE(messages.messages().empty());
}

TEST_F(AboutWindowTest, LabelsShowAccessKeyMarks) {
    prog.WritePack("Keys", testsupport::PackText("Keys", "ZEL Nevora",
                                                 "[About Dlg]\r\nproduct=Pro&duct:\r\n"
                                                 "Web=&Web:\r\nMail=Post && mail\r\n"));
    mainWindow->applyLanguage("Keys");
    Open();
    const auto shown = [&](const char* name) {
        auto document = std::make_unique<QTextDocument>();
        document->setHtml(Child<QLabel>(*about, name)->text());
        return document;
    };
    const auto web = shown("webCaption");
    EXPECT_EQ(web->toPlainText(), "Web:");
    EXPECT_TRUE(web->find("W").charFormat().fontUnderline());
    EXPECT_FALSE(web->find(":").charFormat().fontUnderline());
    EXPECT_EQ(shown("mailCaption")->toPlainText(), "Post & mail");
    // Blanks stay as they are.
    const auto product = shown("productLabel");
    EXPECT_EQ(product->toPlainText(), "Product:  ZEL Nevora");
    EXPECT_TRUE(product->find("d").charFormat().fontUnderline());
}

TEST_F(AboutWindowTest, LanguageChosenWhileOpenShowsAtTheNextOpening) {
    Open();
    mainWindow->applyLanguage("Testish");
    // Help > Info again while it is open only brings it to the front.
    about->show();
    about->raise();
    testsupport::ProcessEvents();
    EXPECT_EQ(TextsOf(*about), kDutch);

    Child<QPushButton>(*about, "okButton")->click();
    EXPECT_FALSE(about->isVisible());
    Open();
    EXPECT_EQ(about->windowTitle(), "About...");
    EXPECT_EQ(Child<QPushButton>(*about, "okButton")->text(), "Close");

    // The close box hides it too, and the next opening follows the language again.
    mainWindow->applyLanguage("Nederlands");
    about->close();
    EXPECT_FALSE(about->isVisible());
    Open();
    EXPECT_EQ(TextsOf(*about), kDutch);
}

TEST_F(AboutWindowTest, EnterPressesOkAndEscLeavesItOpen) {
    Open();
    QTest::keyClick(about.get(), Qt::Key_Escape);
    EXPECT_TRUE(about->isVisible());
    QTest::keyClick(about.get(), Qt::Key_Return);
    EXPECT_FALSE(about->isVisible());
}

TEST_F(AboutWindowTest, LinksHandTheirTargetsToTheShell) {
    ShellRecorder shell;
    Open();
    QTest::mouseClick(Child<widgets::LinkLabel>(*about, "webLink"), Qt::LeftButton, {},
                      QPoint(3, 3));
    QTest::mouseClick(Child<widgets::LinkLabel>(*about, "mailLink"), Qt::LeftButton, {},
                      QPoint(3, 3));
    EXPECT_EQ(shell.opened, (std::vector<std::string>{"https://www.example.com/zel-nevora",
                                                      "mailto:zel-nevora@example.com"}));
    // Clicking a link does not close the window.
    EXPECT_TRUE(about->isVisible());
}

TEST_F(AboutWindowTest, PicturesLoadAndEverythingFitsOnThePanel) {
    mainWindow->applyLanguage("Testish");
    Open();
    // The pictures come from resources a static library could lose at link time.
    ASSERT_FALSE(Child<QLabel>(*about, "trainPicture")->pixmap().isNull());
    ASSERT_FALSE(Child<QLabel>(*about, "iconPicture")->pixmap().isNull());
    // Transparent pictures: their corner colour lets the white panel through.
    EXPECT_FALSE(Child<QLabel>(*about, "iconPicture")->pixmap().mask().isNull());
    EXPECT_FALSE(Child<QLabel>(*about, "trainPicture")->pixmap().mask().isNull());
    for (QWidget* w : std::initializer_list<QWidget*>{Child<widgets::LinkLabel>(*about, "webLink"),
                                                      Child<widgets::LinkLabel>(*about, "mailLink"),
                                                      Child<QLabel>(*about, "productLabel"),
                                                      Child<QLabel>(*about, "copyrightLabel")}) {
        EXPECT_LE(w->geometry().right(), Child<QWidget>(*about, "panel")->width() - 2)
            << w->objectName().toStdString();
        EXPECT_GT(w->width(), 0) << w->objectName().toStdString();
    }
    // The pack's "&" marks the mail link's access key; the web link shows its caption as is.
    EXPECT_TRUE(Child<widgets::LinkLabel>(*about, "mailLink")->showMnemonic());
    EXPECT_FALSE(Child<widgets::LinkLabel>(*about, "webLink")->showMnemonic());
}

TEST_F(AboutWindowTest, PicturesShowCutOutOnThePanel) {
    Open();
    const QImage window = about->grab().toImage().convertToFormat(QImage::Format_RGB32);
    // Inside the panel's bevels.
    const QRect panel(Child<QWidget>(*about, "panel")->mapTo(about.get(), QPoint(2, 2)),
                      Child<QWidget>(*about, "panel")->size() - QSize(4, 4));
    for (QLabel* picture :
         {Child<QLabel>(*about, "iconPicture"), Child<QLabel>(*about, "trainPicture")}) {
        SCOPED_TRACE(picture->objectName().toStdString());
        const QImage image = picture->pixmap().toImage().convertToFormat(QImage::Format_RGB32);
        const QRgb key = image.pixel(0, image.height() - 1);
        int background = 0, seen = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                if (image.pixel(x, y) != key) continue;
                ++background;
                const QPoint at = picture->mapTo(about.get(), QPoint(x, y));
                if (!panel.contains(at)) continue;
                ++seen;
                ASSERT_EQ(window.pixel(at), qRgb(255, 255, 255)) << x << "," << y;
            }
        }
        // A flat background around the scene, not a few stray pixels of a gradient.
        EXPECT_GT(background, image.width() * image.height() / 3);
        EXPECT_GT(seen, background / 2);
    }
}

// The program's own wiring: Help > Info opens it without blocking the main window, and coming
// back from it refreshes the route list.
TEST_F(AboutWindowTest, HelpInfoOpensItAndReturningRefillsTheRouteList) {
    fs::create_directories(sim.routes() / "Alpha");
    mainWindow.reset();
    about.reset();
    Program program;
    program.showMainWindow();
    testsupport::ProcessEvents();
    MainWindow& window = program.mainWindow();
    AboutWindow& shown = *testsupport::TopLevel<AboutWindow>("AboutWindow");
    Child<QComboBox>(window, "routeBox")->setCurrentIndex(0);
    ASSERT_EQ(Child<QComboBox>(window, "routeBox")->currentText(), "Alpha");

    Child<QAction>(window, "aboutAction")->trigger();
    testsupport::ProcessEvents();
    ASSERT_TRUE(shown.isVisible());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_EQ(shown.windowTitle(), "Info...");

    Child<QPushButton>(shown, "okButton")->click();
    window.activateWindow();
    testsupport::ProcessEvents();
    EXPECT_FALSE(shown.isVisible());
    EXPECT_EQ(Child<QComboBox>(window, "routeBox")->currentText(), "Geen route geselecteerd");
}
