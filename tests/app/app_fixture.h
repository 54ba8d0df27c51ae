#pragma once
// A main window in a temporary program folder, with a simulator tree and recorded message boxes.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "app/MainWindow.h"
#include "platform/messages.h"
#include "support/fixtures.h"
#include "support/gui.h"

class MainWindowFixture : public ::testing::Test {
protected:
    testsupport::ProgramFolder prog;
    testsupport::SimulatorTree sim;
    testsupport::MessageRecorder messages;
    std::unique_ptr<MainWindow> form;

    void WriteSettings(const std::string& language, bool pointAtSimulator = true) {
        prog.WriteSettings(
            testsupport::SettingsText(language, pointAtSimulator ? sim.root().string() : ""));
    }

    // Creates the main window as start-up does, creation handler included.
    void CreateForm() {
        form = std::make_unique<MainWindow>();
        platform::RunGuarded([this] { form->FormCreate(); });
    }

    // Creates and shows it: FormShow, then FormActivate.
    void CreateAndShow() {
        CreateForm();
        form->show();
        platform::RunGuarded([this] { form->FormActivate(); });
    }

    std::string Setting(const std::string& section, const std::string& key) const {
        return prog.Setting(section, key);
    }
};
