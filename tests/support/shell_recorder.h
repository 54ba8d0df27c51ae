#pragma once
// Records what the program hands to the shell instead of opening it.
#include <string>
#include <vector>

#include "gui/platform/shell.h"

class ShellRecorder {
  public:
    ShellRecorder() {
        previous_ = platform::SetShellHook([this](const std::string& target) {
            opened.push_back(target);
            return succeeds;
        });
    }
    ~ShellRecorder() { platform::SetShellHook(previous_); }
    ShellRecorder(const ShellRecorder&) = delete;
    ShellRecorder& operator=(const ShellRecorder&) = delete;

    std::vector<std::string> opened;
    bool succeeds = true;  // false: a desktop with no program for the target

  private:
    platform::ShellHook previous_;
};
