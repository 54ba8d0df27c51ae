#pragma once
// A main window in a temporary program folder, with a simulator tree and recorded message boxes.
#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTextEdit>
#include <memory>
#include <string>

#include "core/platform/messages.h"
#include "gui/mainwindow/main_window.h"
#include "gui/widgets/track_bar.h"
#include "support/fixtures.h"
#include "support/gui.h"

class MainWindowFixture : public ::testing::Test {
  protected:
    testsupport::ProgramFolder prog;
    testsupport::SimulatorTree sim;
    testsupport::MessageRecorder messages;
    std::unique_ptr<MainWindow> mainWindow;

    void WriteSettings(const std::string& language, bool pointAtSimulator = true) {
        prog.WriteSettings(
            testsupport::SettingsText(language, pointAtSimulator ? sim.root().string() : ""));
    }

    // Creates the main window as start-up does, creation handler included.
    void CreateMainWindow() {
        mainWindow = std::make_unique<MainWindow>();
        platform::RunGuarded([this] { mainWindow->initialize(); });
    }

    // Creates and shows it: its show handler, then its activation.
    void CreateAndShow() {
        CreateMainWindow();
        mainWindow->show();
        platform::RunGuarded([this] { mainWindow->onActivated(); });
    }

    // A control of the main window, by its object name; the ones tests use most have shorthands.
    template <class T>
    T* control(const char* name) const {
        return testsupport::Child<T>(*mainWindow, name);
    }
    QComboBox* routeBox() const { return control<QComboBox>("routeBox"); }
    QPushButton* makeButton() const { return control<QPushButton>("makeButton"); }
    QPushButton* restoreButton() const { return control<QPushButton>("restoreButton"); }
    QTextEdit* summaryView() const { return control<QTextEdit>("summaryView"); }
    widgets::TrackBar* visibilityBar() const { return control<widgets::TrackBar>("visibilityBar"); }
    QLabel* visibilityLabel() const { return control<QLabel>("visibilityLabel"); }
    QLabel* fogStateLabel() const { return control<QLabel>("fogStateLabel"); }
    QMenu* languageMenu() const { return control<QMenu>("languageMenu"); }
    QAction* dutchAction() const { return control<QAction>("dutchAction"); }
    // The client area: route, weather and visibility, the fog run and its restore.
    const FogRunPage& fogRunPage() const { return *control<FogRunPage>("client"); }

    std::string Setting(const std::string& section, const std::string& key) const {
        return prog.Setting(section, key);
    }
};
