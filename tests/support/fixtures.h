#pragma once
// Temporary program folders, simulator trees and a recording message presenter.
#include <atomic>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "core/platform/messages.h"

namespace testsupport {

namespace fs = std::filesystem;

// A fresh folder under the system temp folder, removed with everything in it at the end.
class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const fs::path& path() const { return path_; }
    std::string str() const { return path_.string(); }

  private:
    fs::path path_;
};

void WriteFile(const fs::path& file, const std::string& bytes);  // creates parent folders
std::string ReadFile(const fs::path& file);                      // empty when missing

// A program folder with Dump/ (and Dump/Languages, Dump/Back_up) set as the program's folder for
// the lifetime of the object.
class ProgramFolder {
  public:
    ProgramFolder();
    ~ProgramFolder();
    const fs::path& root() const { return dir_.path(); }
    fs::path dump() const { return dir_.path() / "Dump"; }
    fs::path settingsFile() const { return dump() / "All_dat.ini"; }
    fs::path languages() const { return dump() / "Languages"; }
    // Writes Dump/All_dat.ini verbatim.
    void WriteSettings(const std::string& contents) const;
    // Writes Dump/Languages/<name>.lng verbatim.
    void WritePack(const std::string& name, const std::string& contents) const;
    // One value of the settings file, "<missing>" when it has none.
    std::string Setting(const std::string& section, const std::string& key) const;

  private:
    TempDir dir_;
};

// A simulator tree <root>/TS with train.exe and Routes/.
class SimulatorTree {
  public:
    SimulatorTree();
    const fs::path& root() const { return root_; }
    fs::path routes() const { return root_ / "Routes"; }
    fs::path envfiles(const std::string& route) const { return routes() / route / "Envfiles"; }
    // Creates Routes/<route>/Envfiles/<name> holding `bytes` (default: a text naming the file).
    fs::path AddEnvFile(const std::string& route, const std::string& name,
                        const std::string& bytes = {}) const;
    fs::path AddTexturesFolder(const std::string& route) const;

  private:
    TempDir dir_;
    fs::path root_;
};

// A settings file naming `language`, with the language question answered, and `pad` as the
// simulator folder when one is given.
std::string SettingsText(const std::string& language, const std::string& pad = {});

// A complete pack text: [File info] with the given values plus the given extra INI text.
std::string PackText(const std::string& language, const std::string& program,
                     const std::string& extra = {});

// Records every message box instead of showing it; restores the previous presenter at the end.
struct RecordedMessage {
    platform::MessageIcon icon;
    std::string title;
    std::string text;
};
class MessageRecorder {
  public:
    MessageRecorder();
    ~MessageRecorder();
    const std::vector<RecordedMessage>& messages() const { return messages_; }
    void clear() { messages_.clear(); }
    // Questions are recorded with the question icon and answered so (No until told otherwise).
    void answerQuestions(bool yes) { answer_ = yes; }

  private:
    std::vector<RecordedMessage> messages_;
    bool answer_ = false;
    platform::MessagePresenter previous_;
    platform::QuestionPresenter previousQuestions_;
};

// Sets an environment variable for the lifetime of the object, then restores it (or unsets it).
class ScopedEnv {
  public:
    ScopedEnv(std::string name, const std::string& value);
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

  private:
    std::string name_;
    std::optional<std::string> previous_;
};

// An Open Rails content folder as content packs lay it out: no train.exe, upper-case ROUTES,
// ENVFILES and ACTIVITIES; each route gets rain.env and sun.env.
void MakeContentFolder(const fs::path& folder, const std::vector<std::string>& routes);

// A player's compatibility-layer prefix (drive C: inside it) whose user.reg lists Open Rails'
// profiles as (name, Windows folder); WINEPREFIX points at it while it lives.
using ProfileList = std::vector<std::pair<std::string, std::string>>;
class PlayerPrefix {
  public:
    explicit PlayerPrefix(const ProfileList& profiles);
    fs::path driveC() const { return dir_.path() / "drive_c"; }

  private:
    TempDir dir_;
    std::optional<ScopedEnv> env_;
};

// Makes `link` a symbolic link to the folder `target`; false where the system does not let us
// (Windows without the right).
bool MakeFolderLink(const fs::path& target, const fs::path& link);

// Root of the source tree (for shipped data): ZEL_SOURCE_DIR when set, else the tree it was built
// from.
fs::path SourceDir();

// What only one system has, for tests that plant it. Defined per system (fixtures_linux.cpp,
// fixtures_win.cpp); where the system has no such thing they do nothing and return false.

// Sets an environment variable, or removes it when `value` is null.
void SetEnv(const std::string& name, const char* value);

// Makes a FIFO at `path`: false on Windows, which has none; throws where it cannot be made.
bool MakeFifo(const fs::path& path);

// Keeps a test that reads FIFOs from hanging the suite when the reader waits on one after all:
// once `seconds` have passed, it keeps opening each FIFO for writing until it is destroyed,
// which lets a reader stuck in open() or read() go on. fired() says that it had to.
class FifoWatchdog {
  public:
    explicit FifoWatchdog(std::vector<fs::path> fifos, int seconds = 5);
    ~FifoWatchdog();
    FifoWatchdog(const FifoWatchdog&) = delete;
    FifoWatchdog& operator=(const FifoWatchdog&) = delete;
    bool fired() const { return fired_; }

  private:
    std::vector<fs::path> fifos_;
    std::atomic<bool> stop_{false}, fired_{false};
    std::thread thread_;
};

// chattr +i / -i: nothing in the folder can change, not even for root.
bool SetImmutable(const fs::path& path, bool on);

// A small file system of its own (64 KiB) mounted on `folder`, to fill up; false without the
// right to mount. Unmount takes it away again.
bool MountSmallFileSystem(const fs::path& folder);
void Unmount(const fs::path& folder);

// Windows' hidden attribute, which it keeps apart from the name.
bool SetHiddenAttribute(const fs::path& path);

}  // namespace testsupport
