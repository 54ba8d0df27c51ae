// Start-up of the main window: language at creation, the pack checks, settings failures, layout.
#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <map>

#include "app/program.h"
#include "core/fog/dump_lock.h"
#include "core/platform/files.h"
#include "core/platform/paths.h"
#include "core/platform/profile.h"
#include "core/settings/texts.h"
#include "gui/about/about_window.h"
#include "gui/install/install_locator.h"
#include "gui/settings/language_window.h"
#include "support/fog_fixtures.h"
#include "support/main_window_fixture.h"
#include "support/other_copy.h"

using testsupport::PackText;

namespace {

const char kReadErr[] = "Fout tijdens het lezen van taal bestand.";

// A pack whose every main-window text is "<key>!" so each target shows where it came from.
std::string FullPack(const std::string& language = "Testish") {
    // One section each: only the first of two same-named sections is ever read.
    std::map<std::string, std::string> sections;
    for (const settings::PackText* row : settings::TextsOf(settings::TextWindow::Main)) {
        sections[row->section] += std::string(row->key) + "=" + row->key + "!\r\n";
    }
    std::string extra;
    for (const auto& [name, lines] : sections)
        extra.append("[").append(name).append("]\r\n").append(lines);
    return PackText(language, "ZEL Nevora", extra);
}

}  // namespace

TEST_F(MainWindowFixture, FirstRunWithEmptyDumpFallsBackToDutchAndStoresIt) {
    CreateMainWindow();
    // The empty language name has no pack: one box from the file check, two from the header.
    ASSERT_EQ(messages.messages().size(), 3u);
    for (const auto& m : messages.messages()) {
        EXPECT_EQ(m.icon, platform::MessageIcon::Error);
        EXPECT_EQ(m.text, kReadErr);
        EXPECT_EQ(m.title, "Fout");
    }
    EXPECT_EQ(mainWindow->currentLanguage(), "Nederlands");
    EXPECT_EQ(Setting("Programma", "Taalkeuze"), "Nederlands");
    EXPECT_TRUE(dutchAction()->isChecked());
    EXPECT_EQ(makeButton()->text(), "Maken...");
    EXPECT_EQ(routeBox()->currentText(), "Geen route geselecteerd");
    EXPECT_EQ(mainWindow->windowTitle(), "ZEL Nevora");
}

TEST_F(MainWindowFixture, StoredDutchUsesBuiltInTextsWithoutTouchingAnyPack) {
    WriteSettings("Nederlands");
    // A pack of that name must never be read for the built-in language.
    prog.WritePack("Nederlands", FullPack("Nederlands"));
    CreateMainWindow();
    EXPECT_TRUE(messages.messages().empty());
    EXPECT_EQ(control<QGroupBox>("routeGroup")->title(), "Route Selecteren");
    EXPECT_EQ(control<QLabel>("completionLabel")->text().left(14), "Het maken van ");
    EXPECT_EQ(control<QAction>("exitAction")->text(), "&Afsluiten");
    EXPECT_EQ(languageMenu()->title(), "&Taal");
    EXPECT_EQ(mainWindow->texts().text(settings::Text::CannotQuit),
              "Het programma kan niet worden afgesloten voordat de bestanden weer zijn herstelt.");
    EXPECT_EQ(fogStateLabel()->text(), " Mist ");
    EXPECT_EQ(dutchAction()->text(), "Nederlands");
}

TEST_F(MainWindowFixture, StoredPackSetsEveryTextOfTheMainWindow) {
    WriteSettings("Testish");
    prog.WritePack("Testish", FullPack());
    CreateMainWindow();
    EXPECT_TRUE(messages.messages().empty());
    EXPECT_EQ(mainWindow->currentLanguage(), "Testish");
    EXPECT_EQ(Setting("Programma", "Taalkeuze"), "Testish");
    EXPECT_EQ(control<QLabel>("routeLabel")->text(), "label1!");
    EXPECT_EQ(control<QGroupBox>("routeGroup")->title(), "groupbox1!");
    EXPECT_EQ(routeBox()->currentText(), "RouteBox!");
    EXPECT_EQ(fogRunPage().texts().text(settings::Text::RoutePlaceholder), "RouteBox!");
    EXPECT_EQ(control<QMenu>("fileMenu")->title(), "Bestand1!");
    EXPECT_EQ(control<QAction>("exitAction")->text(), "Afsluiten1!");
    EXPECT_EQ(control<QMenu>("optionsMenu")->title(), "Opties1!");
    EXPECT_EQ(languageMenu()->title(), "Taal1!");
    EXPECT_EQ(control<QMenu>("helpMenu")->title(), "help1!");
    EXPECT_EQ(control<QAction>("helpContentsAction")->text(), "Help2!");
    EXPECT_EQ(control<QAction>("aboutAction")->text(), "info1!");
    EXPECT_EQ(control<QGroupBox>("weatherGroup")->title(), "Groupbox2!");
    EXPECT_EQ(control<QLabel>("weatherLabel")->text(), "label2!");
    EXPECT_EQ(control<QRadioButton>("sunButton")->text(), "Sun!");
    EXPECT_EQ(control<QRadioButton>("rainButton")->text(), "Rain!");
    EXPECT_EQ(control<QRadioButton>("snowButton")->text(), "Snow!");
    EXPECT_EQ(control<QGroupBox>("fogGroup")->title(), "Groupbox3!");
    EXPECT_EQ(control<QLabel>("fogStateCaption")->text(), "label4!");
    EXPECT_EQ(control<QLabel>("visibilityCaption")->text(), "label5!");
    EXPECT_EQ(makeButton()->text(), "Button1!");
    EXPECT_EQ(control<QLabel>("completionLabel")->text(), "label3!");
    EXPECT_EQ(restoreButton()->text(), "Button2!");
    EXPECT_EQ(fogRunPage().texts().text(settings::Text::SummaryTitle), "titel!");
    EXPECT_EQ(fogRunPage().texts().text(settings::Text::SummaryRoute), "route!");
    EXPECT_EQ(fogRunPage().texts().text(settings::Text::SummaryWeather), "het weer!");
    EXPECT_EQ(fogRunPage().texts().text(settings::Text::SummaryVisibility), "zicht!");
    EXPECT_EQ(fogRunPage().texts().text(settings::Text::SummaryFogState), "mist Toestand!");
    EXPECT_EQ(fogRunPage().texts().text(settings::Text::FogState4), "Toestand4!");
    EXPECT_EQ(mainWindow->texts().text(settings::Text::ErrorTitle), "Titel!");
    EXPECT_EQ(fogRunPage().texts().text(settings::Text::NoRoute), "Geen_Route!");
    EXPECT_EQ(fogRunPage().texts().text(settings::Text::RouteUnusable), "Route_err!");
    EXPECT_EQ(fogRunPage().texts().text(settings::Text::RouteNotFound), "Route_niet_gevonden!");
    EXPECT_EQ(mainWindow->texts().text(settings::Text::CannotQuit), "Niet_afsluiten!");
    EXPECT_EQ(mainWindow->texts().text(settings::Text::QuitErrorTitle), "afsluit_titel!");
    EXPECT_EQ(mainWindow->texts().text(settings::Text::HelpLanguageTitle), "Messagedlg_Titel!");
    EXPECT_EQ(mainWindow->texts().text(settings::Text::PackReadError), "Taal_lees_err!");
    EXPECT_EQ(mainWindow->texts().text(settings::Text::HelpNotFound), "Help_niet_gevonden!");
    EXPECT_EQ(fogStateLabel()->text(), " Toestand2! ");
    // Never changed by a language.
    EXPECT_EQ(mainWindow->windowTitle(), "ZEL Nevora");
    EXPECT_EQ(dutchAction()->text(), "Nederlands");
}

// A control row whose object its window lacks would lose its text without a word.
TEST_F(MainWindowFixture, EveryControlRowNamesAControlOfItsWindow) {
    CreateMainWindow();
    LanguageWindow language(*mainWindow);
    InstallLocator locator;
    AboutWindow about([] { return std::string("Nederlands"); });
    const std::map<settings::TextWindow, const QObject*> windows = {
        {settings::TextWindow::Main, mainWindow.get()},
        {settings::TextWindow::Language, &language},
        {settings::TextWindow::Locator, &locator},
        {settings::TextWindow::About, &about}};
    for (const settings::PackText& row : settings::TextTable()) {
        if (row.use != settings::TextUse::Control) continue;
        EXPECT_NE(windows.at(row.window)->findChild<QObject*>(row.object), nullptr) << row.object;
    }
}

TEST_F(MainWindowFixture, PackTextsDecodeAsUtf8OrWindows1252) {
    WriteSettings("Mixed");
    prog.WritePack("Mixed",
                   PackText("Mixed", "ZEL Nevora", "[Hoofd Scherm]\r\nSun=Sonnig \xC3\xBC\r\n"));
    CreateMainWindow();
    EXPECT_EQ(control<QRadioButton>("sunButton")->text(), QString::fromUtf8("Sonnig \xC3\xBC"));
    prog.WritePack("Mixed", PackText("Mixed", "ZEL Nevora", "[Hoofd Scherm]\r\nSun=Gel\xE9\r\n"));
    mainWindow->applyLanguage("Mixed");
    EXPECT_EQ(control<QRadioButton>("sunButton")->text(), QString::fromUtf8("Gel\xC3\xA9"));
}

// A pack is stored only once its "File info" has passed. The boxes that refuse it speak its own
// words, and the built-in Dutch where it has none (garbage, empty, UTF-16), never blank ones.
TEST_F(MainWindowFixture, PackWithoutAValidHeaderIsRefusedInItsOwnWordsThenDutch) {
    using namespace std::string_literals;  // "..."s keeps the NULs inside
    const struct {
        const char* what;
        std::string bytes;
    } cases[] = {
        {"wrong values",
         PackText("", "zel nevora", "[Meldingen]\r\nTaal_lees_err=bad pack\r\nTitel=oops\r\n")},
        {"garbage", "\x89PNG\r\n\x1a\n\0\0\0\rIHDR\xff\xd8[x]\n=\n"s},
        {"empty", ""},
        {"UTF-16",
         "\xFF\xFE[\0F\0i\0l\0e\0 \0i\0n\0f\0o\0]\0\r\0\n\0"
         "L\0a\0n\0g\0u\0a\0g\0e\0=\0E\0\r\0\n\0"s},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        WriteSettings("Bad");
        prog.WritePack("Bad", c.bytes);
        messages.clear();
        CreateMainWindow();
        // The system's profile reader on Windows reads UTF-16 text: only the header's values
        // refuse that one there.
        const size_t boxes = platform::kWindows && std::string_view(c.what) == "UTF-16" ? 1 : 2;
        ASSERT_EQ(messages.messages().size(), boxes);
        const bool ownWords = std::string_view(c.what) == "wrong values";
        for (const auto& m : messages.messages()) {
            EXPECT_EQ(m.text, ownWords ? "bad pack" : kReadErr);
            EXPECT_EQ(m.title, ownWords ? "oops" : "Fout");
        }
        EXPECT_EQ(mainWindow->currentLanguage(), "Nederlands");
        EXPECT_EQ(makeButton()->text(), "Maken...");
        EXPECT_TRUE(dutchAction()->isChecked());
        EXPECT_EQ(Setting("Programma", "Taalkeuze"), "Nederlands");
    }
}

// A FIFO or an oversized file in place of the pack, the settings file or the run record reads as
// an unreadable one, at once: start-up reports the pack as it reports a missing one and goes on.
TEST_F(MainWindowFixture, FifoOrHugeFileInDumpIsUnreadableAndStartUpGoesOn) {
    if constexpr (platform::kWindows) GTEST_SKIP() << "Windows has no FIFOs";
    std::string huge = PackText("Huge", "ZEL Nevora", "[Hoofd Scherm]\r\nButton1=Make\r\n");
    huge.resize(platform::kMaxDataFileSize + 1, ';');
    prog.WritePack("Huge", huge);
    testsupport::MakeFifo(prog.languages() / "Pipe.lng");
    testsupport::MakeFifo(prog.dump() / "Herstel.ini");
    testsupport::FifoWatchdog watchdog(
        {prog.languages() / "Pipe.lng", prog.dump() / "Herstel.ini", prog.settingsFile()});
    for (const char* pack : {"Huge", "Pipe"}) {
        SCOPED_TRACE(pack);
        WriteSettings(pack);
        messages.clear();
        CreateMainWindow();
        ASSERT_EQ(messages.messages().size(), 2u);
        for (const auto& m : messages.messages()) EXPECT_EQ(m.text, kReadErr);
        EXPECT_EQ(makeButton()->text(), "Maken...");
        EXPECT_EQ(Setting("Programma", "Taalkeuze"), "Nederlands");
    }
    // No settings to read: as a first start, three boxes, then Dutch.
    std::filesystem::remove(prog.settingsFile());
    testsupport::MakeFifo(prog.settingsFile());
    messages.clear();
    CreateMainWindow();
    EXPECT_EQ(messages.messages().size(), 3u);
    EXPECT_EQ(mainWindow->currentLanguage(), "Nederlands");
    // A run record that cannot be read leaves the window on its choosing page.
    EXPECT_FALSE(mainWindow->openUnrestoredRun());
    EXPECT_FALSE(watchdog.fired()) << "start-up waited on a FIFO";
}

TEST_F(MainWindowFixture, UnwritableSettingsFileIsReportedAndTheWindowStillWorks) {
    WriteSettings("Nederlands");
    ASSERT_TRUE(platform::SetReadOnly(prog.settingsFile().string(), true));
    CreateMainWindow();
    ASSERT_EQ(messages.messages().size(), 1u);
    EXPECT_EQ(messages.messages()[0].title, "ZEL Nevora");
    EXPECT_EQ(messages.messages()[0].text,
              "Unable to write to " + prog.settingsFile().string() + ".");
    // The texts were set before the failing write, and the stored folder still works.
    EXPECT_EQ(makeButton()->text(), "Maken...");
    std::filesystem::create_directories(sim.routes() / "Alpha");
    mainWindow->onActivated();
    EXPECT_EQ(routeBox()->count(), 1);
}

TEST_F(MainWindowFixture, PercentInAPackMessageGoesThroughTheFormatRule) {
    WriteSettings("Pct");
    prog.WritePack("Pct", PackText("Pct", "ZEL Nevora",
                                   "[Meldingen]\r\nNiet_afsluiten=100%% zeker%s\r\nTitel=%d\r\n"));
    CreateMainWindow();
    platform::ShowErrorMessage(mainWindow->texts().text(settings::Text::CannotQuit), "t");
    ASSERT_EQ(messages.messages().size(), 1u);
    EXPECT_EQ(messages.messages()[0].text, "100% zeker");
    // Any other specifier is a format error, shown by the top-level guard.
    messages.clear();
    platform::RunGuarded([&] {
        platform::ShowErrorMessage(mainWindow->texts().text(settings::Text::ErrorTitle), "t");
    });
    ASSERT_EQ(messages.messages().size(), 1u);
    EXPECT_EQ(messages.messages()[0].title, "ZEL Nevora");
}

TEST_F(MainWindowFixture, AfsluitenClosesTheWindowOnTheChoosingPage) {
    WriteSettings("Nederlands");
    CreateAndShow();
    bool closed = false;
    QObject::connect(mainWindow.get(), &MainWindow::closed, [&] { closed = true; });
    control<QAction>("exitAction")->trigger();
    EXPECT_TRUE(closed);
    EXPECT_FALSE(mainWindow->isVisible());
}

TEST_F(MainWindowFixture, LayoutFollowsTheFormDescription) {
    WriteSettings("Nederlands");
    CreateAndShow();
    EXPECT_EQ(mainWindow->centralWidget()->size(), QSize(351, 229));
    EXPECT_EQ(control<QGroupBox>("routeGroup")->geometry(), QRect(8, 8, 177, 113));
    EXPECT_EQ(control<QGroupBox>("weatherGroup")->geometry(), QRect(192, 8, 153, 113));
    EXPECT_EQ(control<QGroupBox>("fogGroup")->geometry(), QRect(8, 128, 337, 65));
    EXPECT_EQ(makeButton()->geometry(), QRect(136, 200, 75, 25));
    EXPECT_EQ(restoreButton()->geometry(), QRect(100, 200, 160, 25));
    EXPECT_EQ(fogStateLabel()->geometry(), QRect(232, 40, 90, 14));
    EXPECT_TRUE(control<QRadioButton>("sunButton")->isChecked());
    // The choosing page covers the completion page.
    EXPECT_TRUE(control<QWidget>("choosingPage")->isVisible());
    EXPECT_TRUE(mainWindow->windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(mainWindow->windowFlags() & Qt::WindowMaximizeButtonHint);
}

TEST_F(MainWindowFixture, SecondCopyOnTheSameDumpIsRefusedInItsLanguageUntilTheFirstIsKilled) {
    if constexpr (platform::kWindows) GTEST_SKIP() << "the other copy is a forked process";
    WriteSettings("English");
    prog.WritePack("English",
                   PackText("English", "ZEL Nevora",
                            "[Meldingen]\r\nTitel=Error\r\nAl_gestart=Running already.\r\n"));
    testsupport::OtherCopy first([] { return fog::ClaimDumpFolder(); });
    ASSERT_TRUE(first.Ready());
    // A record write of the first copy, under way: only the holder of the folder may clear it.
    testsupport::WriteFile(prog.dump() / ".zel-42.tmp", "[Herstel]");
    const testsupport::Snapshot dump = testsupport::TakeSnapshot(prog.dump());
    EXPECT_FALSE(Program::claimDumpFolder());
    ASSERT_EQ(messages.messages().size(), 1u);
    EXPECT_EQ(messages.messages()[0].icon, platform::MessageIcon::Error);
    EXPECT_EQ(messages.messages()[0].title, "Error");
    EXPECT_EQ(messages.messages()[0].text, "Running already.");
    EXPECT_EQ(testsupport::TakeSnapshot(prog.dump()), dump);  // nothing written

    // A pack without the text gives the built-in one rather than an empty box.
    WriteSettings("Nowhere");
    messages.clear();
    EXPECT_FALSE(Program::claimDumpFolder());
    ASSERT_EQ(messages.messages().size(), 1u);
    EXPECT_EQ(messages.messages()[0].title, "Fout");
    EXPECT_EQ(messages.messages()[0].text,
              "ZEL Nevora is al gestart en werkt met deze map Dump. Twee exemplaren tegelijk "
              "zouden elkaars bestanden overschrijven: sluit eerst het andere exemplaar.");

    // The first copy killed (kill -9): the next start goes ahead.
    first.Kill();
    messages.clear();
    EXPECT_TRUE(Program::claimDumpFolder());
    EXPECT_TRUE(messages.messages().empty());
    EXPECT_FALSE(std::filesystem::exists(prog.dump() / ".zel-42.tmp"));  // a write cut short
}

// Backups cut short by a kill leave full-size temporaries beside them; the next start clears them,
// but only in real folders: a link there may lead anywhere.
TEST_F(MainWindowFixture, StartClearsWhatCutShortBackupsLeftInRealBackupFoldersOnly) {
    using testsupport::WriteFile;
    const std::filesystem::path backups = prog.dump() / "Back_up";
    const std::filesystem::path elsewhere = prog.root() / "elsewhere";
    WriteFile(backups / "R" / ".zel-43.tmp", "half a backup");
    WriteFile(backups / "R" / "rain.env", "a backup");
    WriteFile(elsewhere / ".zel-44.tmp", "someone else's");
    const bool linked = testsupport::MakeFolderLink(elsewhere, backups / "L");
    EXPECT_TRUE(Program::claimDumpFolder());
    EXPECT_EQ(testsupport::TakeSnapshot(backups / "R"),
              (testsupport::Snapshot{{"rain.env", "a backup"}}));
    if (linked) {
        EXPECT_EQ(testsupport::ReadFile(elsewhere / ".zel-44.tmp"), "someone else's");
    }
}

// A lock file that is not a regular file keeps every copy off the Dump folder, the box naming it;
// only a Dump where nothing can be made counts as free.
TEST_F(MainWindowFixture, LockFileThatIsNoRegularFileKeepsEveryCopyOffTheDump) {
    if constexpr (platform::kWindows) GTEST_SKIP() << "the other copy is a forked process";
    namespace fs = std::filesystem;
    WriteSettings("Nederlands");
    const fs::path lock = prog.dump() / "Bezet.lck";
    // The Dump's entries with their kinds and, for files, their bytes; a FIFO is never read.
    auto entries = [&] {
        std::map<std::string, std::string> seen;
        for (const auto& e : fs::directory_iterator(prog.dump())) {
            const fs::file_status status = e.symlink_status();
            seen[e.path().filename().string()] =
                std::to_string(static_cast<int>(status.type())) +
                (fs::is_regular_file(status) ? testsupport::ReadFile(e.path()) : "");
        }
        return seen;
    };
    const std::function<void()> plants[] = {
        [&] { fs::create_symlink(prog.dump() / "nowhere", lock); },
        [&] { testsupport::MakeFifo(lock); },
        [&] { fs::create_directory(lock); },
    };
    for (const auto& plant : plants) {
        fs::remove_all(lock);
        plant();
        testsupport::FifoWatchdog watchdog({lock});
        SCOPED_TRACE(static_cast<int>(fs::symlink_status(lock).type()));
        // Both copies are refused: the one started first, then this one.
        testsupport::OtherCopy first([] { return !Program::claimDumpFolder(); });
        ASSERT_TRUE(first.Ready());
        const auto before = entries();
        messages.clear();
        EXPECT_FALSE(Program::claimDumpFolder());
        ASSERT_EQ(messages.messages().size(), 1u);
        EXPECT_EQ(messages.messages()[0].title, "Fout");
        EXPECT_EQ(messages.messages()[0].text,
                  "ZEL Nevora kan de map Dump niet in gebruik nemen: het slotbestand hieronder is "
                  "geen gewoon bestand, dus niets houdt een tweede exemplaar tegen. Er is niets "
                  "gewijzigd. Verwijder het en start het programma opnieuw:\n" +
                      lock.string());
        EXPECT_EQ(entries(), before);
        EXPECT_FALSE(fs::exists(prog.dump() / "nowhere"));
        EXPECT_FALSE(watchdog.fired()) << "waited on the FIFO";
    }

    // A Dump where nothing can be made (here: a file in its place) has no lock to take.
    fs::remove_all(prog.dump());
    testsupport::WriteFile(prog.dump(), "not a folder");
    messages.clear();
    EXPECT_TRUE(Program::claimDumpFolder());
    EXPECT_TRUE(messages.messages().empty());
}

TEST_F(MainWindowFixture, OpenRailsOptionSitsUnderTheLanguageItemAndIsStoredAsOneOrZero) {
    WriteSettings("Nederlands");
    CreateAndShow();
    QMenu* options = control<QMenu>("optionsMenu");
    auto* item = control<QAction>("openRailsAction");
    const QList<QAction*> items = options->actions();
    ASSERT_EQ(items.size(), 3);
    EXPECT_EQ(items[0], languageMenu()->menuAction());
    EXPECT_EQ(items[1], item);
    EXPECT_EQ(items[2]->text(), "Simulatormap kiezen...");
    EXPECT_EQ(item->text(), "Ook voor Open Rails");
    EXPECT_TRUE(item->isCheckable());
    EXPECT_FALSE(item->isChecked());  // off by default
    EXPECT_EQ(Setting("Programma", "OpenRails"), "<missing>");

    item->trigger();
    EXPECT_TRUE(item->isChecked());
    EXPECT_EQ(Setting("Programma", "OpenRails"), "1");
    item->trigger();
    EXPECT_EQ(Setting("Programma", "OpenRails"), "0");

    // The file is the only copy: a value written by another copy shows when the menu opens, and
    // the next start shows what is stored.
    platform::WriteProfileString(prog.settingsFile().string(), "programma", "openrails", "1");
    emit options->aboutToShow();
    EXPECT_TRUE(item->isChecked());
    CreateAndShow();
    EXPECT_TRUE(control<QAction>("openRailsAction")->isChecked());

    // A write that fails is reported and the item keeps showing what the file holds.
    ASSERT_TRUE(platform::SetReadOnly(prog.settingsFile().string(), true));
    messages.clear();
    control<QAction>("openRailsAction")->trigger();
    ASSERT_EQ(messages.messages().size(), 1u);
    EXPECT_EQ(messages.messages()[0].text,
              "Unable to write to " + prog.settingsFile().string() + ".");
    EXPECT_TRUE(control<QAction>("openRailsAction")->isChecked());
    EXPECT_EQ(Setting("Programma", "OpenRails"), "1");
}
