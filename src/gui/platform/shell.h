#pragma once
// Shell open and the folder chooser (Qt on every platform).
#include <functional>
#include <string>

namespace platform {

// Opens a local file, a mailto:/news: target or a web address with the desktop's handler.
// False when the desktop could not hand it to a program; telling the user is the caller's part.
bool ShellOpen(const std::string& target);
// Tests replace the shell; returns the previous hook (empty: the real shell).
using ShellHook = std::function<bool(const std::string& target)>;
ShellHook SetShellHook(ShellHook hook);

// Modal folder chooser with `title`; the chosen path, or empty when cancelled.
std::string ChooseFolder(const std::string& title);
using FolderHook = std::function<std::string(const std::string& title)>;
FolderHook SetFolderHook(FolderHook hook);

// The message and question presenters that show real message boxes.
void InstallQtMessagePresenter();

}  // namespace platform
