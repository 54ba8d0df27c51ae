// Help > Help inhoud: the language question, each way of answering it, and the documents.
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "core/platform/paths.h"
#include "gui/about/message_dialog.h"
#include "gui/widgets/program_window.h"
#include "support/main_window_fixture.h"
#include "support/shell_recorder.h"

namespace fs = std::filesystem;
using about::MessageDialog;

namespace {

const char kDutchDoc[] = "ZEL Nevora Help (Nederlands).doc";
const char kEnglishDoc[] = "ZEL Nevora Help (English).doc";
const char kDutchPage[] = "ZEL Nevora Help (Nederlands).html";
const char kEnglishPage[] = "ZEL Nevora Help (English).html";

std::vector<QPushButton*> ButtonsOf(QWidget* dialog) {
    auto list = dialog->findChildren<QPushButton*>(Qt::FindDirectChildrenOnly);
    return {list.begin(), list.end()};
}

QPushButton* ButtonCaptioned(QWidget* dialog, const QString& caption) {
    for (QPushButton* b : ButtonsOf(dialog))
        if (b->text() == caption) return b;
    return nullptr;
}

class HelpCommand : public MainWindowFixture {
  protected:
    ShellRecorder shell;

    void SetUp() override {
        WriteSettings("Nederlands");
        CreateAndShow();
    }

    void AddDocument(const std::string& name) const {
        testsupport::WriteFile(prog.root() / name, "document " + name);
    }
    std::string Document(const std::string& name) const { return (prog.root() / name).string(); }

    // Runs the menu command, answering its dialog with `answer`.
    void RunHelp(std::function<void(QWidget*)> answer) {
        testsupport::AnswerNextModal(std::move(answer));
        control<QAction>("helpContentsAction")->trigger();
        ASSERT_EQ(testsupport::MissedModalAnswers(), 0) << "the language dialog never opened";
    }
};

}  // namespace

TEST_F(HelpCommand, AsksWithTwoRelabelledButtonsUnderTheLanguageTitle) {
    AddDocument(kDutchDoc);
    QString caption, message;
    QStringList captions;
    std::vector<int> widths, lefts;
    bool dutchIsDefault = false, isForm = false, modal = false;
    RunHelp([&](QWidget* dialog) {
        caption = dialog->windowTitle();
        message = dialog->findChild<QLabel*>("messageLabel")->text();
        for (QPushButton* b : ButtonsOf(dialog)) {
            captions << b->text();
            widths.push_back(b->width());
            lefts.push_back(b->x());
        }
        dutchIsDefault = ButtonsOf(dialog).front()->isDefault();
        isForm = widgets::IsProgramWindow(*dialog);
        modal = dialog->isModal();
        QTest::keyClick(dialog, Qt::Key_Return);
    });
    EXPECT_EQ(caption, "Kies een taal");
    EXPECT_EQ(message, "Choose a language for the help file.");
    EXPECT_EQ(captions, (QStringList{"&Nederlands", "&English"}));
    EXPECT_EQ(widths, (std::vector<int>{66, 66}));
    ASSERT_EQ(lefts.size(), 2u);
    EXPECT_LT(lefts[0] + 66, lefts[1]) << "the buttons must not overlap";
    EXPECT_TRUE(dutchIsDefault);
    EXPECT_TRUE(isForm);
    EXPECT_TRUE(modal);
    EXPECT_EQ(shell.opened, std::vector<std::string>{Document(kDutchDoc)});
    EXPECT_TRUE(messages.messages().empty());
}

TEST_F(HelpCommand, EachAnswerOpensItsDocumentOrNothing) {
    AddDocument(kDutchDoc);
    AddDocument(kEnglishDoc);
    const struct {
        const char* how;
        std::function<void(QWidget*)> answer;
        std::vector<std::string> opened;
    } cases[] = {
        {"Enter", [](QWidget* d) { QTest::keyClick(d, Qt::Key_Return); }, {Document(kDutchDoc)}},
        {"Esc", [](QWidget* d) { QTest::keyClick(d, Qt::Key_Escape); }, {Document(kEnglishDoc)}},
        {"close box", [](QWidget* d) { d->close(); }, {}},
        {"click Nederlands",
         [](QWidget* d) { ButtonCaptioned(d, "&Nederlands")->click(); },
         {Document(kDutchDoc)}},
        {"click English",
         [](QWidget* d) { ButtonCaptioned(d, "&English")->click(); },
         {Document(kEnglishDoc)}},
        {"Alt+E",
         [](QWidget* d) { QTest::keyClick(d, Qt::Key_E, Qt::AltModifier); },
         {Document(kEnglishDoc)}},
    };
    for (const auto& c : cases) {
        shell.opened.clear();
        RunHelp(c.answer);
        EXPECT_EQ(shell.opened, c.opened) << c.how;
    }
    EXPECT_TRUE(messages.messages().empty());
}

// Linux desktops open a page in any browser, a Word document only with an office suite.
TEST_F(HelpCommand, OnLinuxThePageOpensBeforeTheDocumentWhereItIsThere) {
    for (const char* name : {kDutchDoc, kEnglishDoc, kDutchPage}) AddDocument(name);
    fs::create_directories(prog.root() / kEnglishPage);  // a folder is no page
    RunHelp([](QWidget* d) { QTest::keyClick(d, Qt::Key_Return); });
    RunHelp([](QWidget* d) { QTest::keyClick(d, Qt::Key_Escape); });
    const std::string dutch = Document(platform::kWindows ? kDutchDoc : kDutchPage);
    EXPECT_EQ(shell.opened, (std::vector<std::string>{dutch, Document(kEnglishDoc)}));
    EXPECT_TRUE(messages.messages().empty());
}

TEST_F(HelpCommand, MissingDocumentOrAFolderOfThatNameShowsTheErrorBox) {
    AddDocument(kDutchDoc);
    RunHelp([](QWidget* d) { QTest::keyClick(d, Qt::Key_Escape); });
    EXPECT_TRUE(shell.opened.empty());
    ASSERT_EQ(messages.messages().size(), 1u);
    EXPECT_EQ(messages.messages()[0].icon, platform::MessageIcon::Error);
    EXPECT_EQ(messages.messages()[0].text, "Kan het help bestand niet openen.");
    EXPECT_EQ(messages.messages()[0].title, "Fout");

    // The Dutch one is there and opens.
    RunHelp([](QWidget* d) { QTest::keyClick(d, Qt::Key_Return); });
    EXPECT_EQ(shell.opened, std::vector<std::string>{Document(kDutchDoc)});

    messages.clear();
    shell.opened.clear();
    fs::create_directories(prog.root() / kEnglishDoc);
    RunHelp([](QWidget* d) { QTest::keyClick(d, Qt::Key_Escape); });
    EXPECT_TRUE(shell.opened.empty());
    ASSERT_EQ(messages.messages().size(), 1u);
    EXPECT_EQ(messages.messages()[0].text, "Kan het help bestand niet openen.");
}

TEST_F(HelpCommand, DesktopThatCannotOpenTheDocumentSaysSoAndNamesIt) {
    AddDocument(kEnglishDoc);
    shell.succeeds = false;
    RunHelp([](QWidget* d) { QTest::keyClick(d, Qt::Key_Escape); });
    EXPECT_EQ(shell.opened, std::vector<std::string>{Document(kEnglishDoc)});
    ASSERT_EQ(messages.messages().size(), 1u);
    EXPECT_EQ(messages.messages()[0].icon, platform::MessageIcon::Error);
    EXPECT_EQ(messages.messages()[0].text,
              "Kan het help bestand niet openen.\n\n" + Document(kEnglishDoc));
    EXPECT_EQ(messages.messages()[0].title, "Fout");
}

TEST_F(HelpCommand, DocumentIsFoundWhateverTheCaseOfItsNameOnDisk) {
    testsupport::WriteFile(prog.root() / "zel nevora help (ENGLISH).DOC", "manual");
    RunHelp([](QWidget* d) { QTest::keyClick(d, Qt::Key_Escape); });
    // The desktop gets the name as it is on disk, which it can open.
    EXPECT_EQ(shell.opened,
              std::vector<std::string>{(prog.root() / "zel nevora help (ENGLISH).DOC").string()});
    EXPECT_TRUE(messages.messages().empty());
}

TEST_F(HelpCommand, PackWithoutItsKeysGivesAnEmptyCaptionAndTheBuiltInErrorText) {
    prog.WritePack("Testish", testsupport::PackText("Testish", "ZEL Nevora",
                                                    "[Meldingen]\r\nTitel=Error\r\n"));
    mainWindow->applyLanguage("Testish");
    QString caption = "<unset>";
    RunHelp([&](QWidget* d) {
        caption = d->windowTitle();
        // The document names and the message stay the same in every language.
        EXPECT_EQ(d->findChild<QLabel*>("messageLabel")->text(),
                  "Choose a language for the help file.");
        QTest::keyClick(d, Qt::Key_Return);
    });
    EXPECT_EQ(caption, "");
    ASSERT_EQ(messages.messages().size(), 1u);
    EXPECT_EQ(messages.messages()[0].text, "Kan het help bestand niet openen.");
    EXPECT_EQ(messages.messages()[0].title, "Error");
}

TEST_F(HelpCommand, ReturningFromTheDialogRefillsTheRouteList) {
    fs::create_directories(sim.routes() / "Alpha");
    mainWindow->onActivated();
    mainWindow->startActivationTracking();
    mainWindow->activateWindow();
    testsupport::ProcessEvents();
    routeBox()->setCurrentIndex(0);
    ASSERT_EQ(routeBox()->currentText(), "Alpha");
    RunHelp([](QWidget* d) { d->close(); });
    mainWindow->activateWindow();
    testsupport::ProcessEvents();
    EXPECT_EQ(routeBox()->currentText(), "Geen route geselecteerd");
}

// The standard dialog itself, with buttons the help command does not ask for.
TEST(ShowLanguageDialog, FollowsTheFixedButtonOrderDefaultsAndResults) {
    using Button = about::MessageButton;
    const struct {
        const char* what;
        about::MessageButtons buttons;
        QStringList captions;
        QString defaultButton;      // caption, empty: none
        about::DialogResult onEsc;  // DialogResult::None: Esc does nothing
    } cases[] = {
        {"yes no cancel",
         {Button::Cancel, Button::No, Button::Yes},
         {"&Nederlands", "&English", "&Annuleren"},
         "&Nederlands",
         about::DialogResult::Cancel},
        {"ok cancel",
         {Button::Ok, Button::Cancel},
         {"OK", "&Annuleren"},
         "OK",
         about::DialogResult::Cancel},
        {"ok yes", {Button::Yes, Button::Ok}, {"&Nederlands", "OK"}, "OK", about::DialogResult::Ok},
        {"abort retry ignore",
         {Button::Abort, Button::Retry, Button::Ignore},
         {"&Abort", "&Retry", "&Ignore"},
         "&Retry",
         about::DialogResult::None},
        {"all and help",
         {Button::Help, Button::YesToAll, Button::NoToAll, Button::All},
         {"&All", "N&o to All", "Yes to &All", "&Help"},
         "",
         about::DialogResult::None},
    };
    for (const auto& c : cases) {
        QStringList captions;
        QString defaultCaption;
        std::vector<int> widths;
        about::DialogResult escResult = about::DialogResult::None;
        testsupport::AnswerNextModal([&](QWidget* d) {
            for (QPushButton* b : ButtonsOf(d)) {
                captions << b->text();
                widths.push_back(b->width());
            }
            if (auto* dialog = qobject_cast<MessageDialog*>(d); dialog && dialog->defaultButton())
                defaultCaption = dialog->defaultButton()->text();
            QTest::keyClick(d, Qt::Key_Escape);
            if (d->isVisible()) d->close();  // Esc did nothing: the close box gives Cancel
        });
        escResult = about::ShowLanguageDialog("Message", about::MessageType::Warning, c.buttons, 7,
                                              "Titel");
        EXPECT_EQ(captions, c.captions) << c.what;
        EXPECT_EQ(widths, std::vector<int>(std::size_t(c.captions.size()), 66)) << c.what;
        EXPECT_EQ(defaultCaption, c.defaultButton) << c.what;
        EXPECT_EQ(escResult,
                  c.onEsc == about::DialogResult::None ? about::DialogResult::Cancel : c.onEsc)
            << c.what;
    }
    EXPECT_EQ(testsupport::MissedModalAnswers(), 0);
}

TEST(ShowLanguageDialog, EachButtonGivesItsModalResultAndHelpClosesNothing) {
    using Button = about::MessageButton;
    const about::MessageButtons all = {Button::Yes,      Button::No,    Button::Ok,
                                       Button::Cancel,   Button::Abort, Button::Retry,
                                       Button::Ignore,   Button::All,   Button::NoToAll,
                                       Button::YesToAll, Button::Help};
    const std::vector<int> expected = {6, 7, 1, 2, 3, 4, 5, 8, 9, 10};
    for (std::size_t i = 0; i < expected.size(); ++i) {
        bool helpKeptItOpen = false;
        testsupport::AnswerNextModal([&](QWidget* d) {
            ButtonsOf(d).back()->click();  // Help
            helpKeptItOpen = d->isVisible();
            ButtonsOf(d)[i]->click();
        });
        EXPECT_EQ(
            int(about::ShowLanguageDialog("m", about::MessageType::Confirmation, all, 0, "t")),
            expected[i])
            << "button " << i;
        EXPECT_TRUE(helpKeptItOpen);
    }
}

TEST(ShowLanguageDialog, OnlyTheInformationTypeTakesTheLanguageCaption) {
    const struct {
        about::MessageType type;
        QString caption;
        bool icon;
    } cases[] = {{about::MessageType::Information, "Kies een taal", true},
                 {about::MessageType::Warning, "Warning", true},
                 {about::MessageType::Error, "Error", true},
                 {about::MessageType::Confirmation, "Confirmation", true},
                 {about::MessageType::Custom, "ZEL Nevora", false}};
    platform::SetApplicationTitle("ZEL Nevora");
    for (const auto& c : cases) {
        QString caption;
        bool hasIcon = false;
        testsupport::AnswerNextModal([&](QWidget* d) {
            caption = d->windowTitle();
            hasIcon = d->findChild<QLabel*>("iconLabel") != nullptr;
            d->close();
        });
        about::ShowLanguageDialog("m", c.type, {about::MessageButton::Ok}, 0, "Kies een taal");
        EXPECT_EQ(caption, c.caption);
        EXPECT_EQ(hasIcon, c.icon) << caption.toStdString();
    }
}

TEST(ShowLanguageDialog, LongMessageWrapsInsideTheDialog) {
    const std::string longText(40, 'x');
    std::string text;
    for (int i = 0; i < 30; ++i) text += longText + " ";
    QRect label, client;
    int lineHeight = 0;
    testsupport::AnswerNextModal([&](QWidget* d) {
        label = d->findChild<QLabel*>("messageLabel")->geometry();
        lineHeight = d->findChild<QLabel*>("messageLabel")->fontMetrics().height();
        client = d->rect();
        QTest::keyClick(d, Qt::Key_Return);
    });
    about::ShowLanguageDialog(text, about::MessageType::Information,
                              {about::MessageButton::Yes, about::MessageButton::No}, 0, "t");
    EXPECT_TRUE(client.contains(label)) << "the message must fit in the dialog";
    EXPECT_GT(label.height(), 3 * lineHeight);
}
