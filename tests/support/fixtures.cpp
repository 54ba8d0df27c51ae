#include "support/fixtures.h"

#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>
#include <utility>

#include "core/platform/paths.h"
#include "core/platform/profile.h"

namespace testsupport {

TempDir::TempDir() {
    std::random_device rd;
    for (int attempt = 0; attempt < 100; ++attempt) {
        fs::path candidate = fs::temp_directory_path() /
                             ("zel-test-" + std::to_string(rd()) + std::to_string(attempt));
        std::error_code ec;
        if (fs::create_directory(candidate, ec)) {
            path_ = candidate;
            return;
        }
    }
    throw std::runtime_error("cannot create a temporary folder");
}

TempDir::~TempDir() {
    std::error_code ec;
    // Restore write permission first so read-only fixtures can be removed.
    for (auto it = fs::recursive_directory_iterator(path_, ec); !ec && it != fs::end(it);
         it.increment(ec)) {
        fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
    }
    fs::remove_all(path_, ec);
}

void WriteFile(const fs::path& file, const std::string& bytes) {
    fs::create_directories(file.parent_path());
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    if (!out) throw std::runtime_error("cannot write " + file.string());
    out << bytes;
}

std::string ReadFile(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) return {};
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

ProgramFolder::ProgramFolder() {
    fs::create_directories(languages());
    fs::create_directories(dump() / "Back_up");
    platform::SetProgramFolder(root().string());
}

ProgramFolder::~ProgramFolder() = default;

void ProgramFolder::WriteSettings(const std::string& contents) const {
    WriteFile(settingsFile(), contents);
}

void ProgramFolder::WritePack(const std::string& name, const std::string& contents) const {
    WriteFile(languages() / (name + ".lng"), contents);
}

std::string ProgramFolder::Setting(const std::string& section, const std::string& key) const {
    return platform::GetProfileString(settingsFile().string(), section, key, "<missing>");
}

SimulatorTree::SimulatorTree() : root_(dir_.path() / "TS") {
    fs::create_directories(routes());
    WriteFile(root_ / "train.exe", "MZ placeholder");
}

fs::path SimulatorTree::AddEnvFile(const std::string& route, const std::string& name,
                                   const std::string& bytes) const {
    fs::path file = envfiles(route) / name;
    WriteFile(file, bytes.empty() ? "original " + route + "/" + name + "\n" : bytes);
    return file;
}

fs::path SimulatorTree::AddTexturesFolder(const std::string& route) const {
    fs::path folder = envfiles(route) / "Textures";
    fs::create_directories(folder);
    return folder;
}

std::string SettingsText(const std::string& language, const std::string& pad) {
    std::string ini = "[Programma]\r\nTaalkeuze=" + language + "\r\nTaalscherm=1\r\n";
    if (!pad.empty()) ini += "[msts locatie]\r\nPad=" + pad + "\r\n";
    return ini;
}

std::string PackText(const std::string& language, const std::string& program,
                     const std::string& extra) {
    return "[File info]\r\nLanguage=" + language + "\r\nProgram=" + program + "\r\n" + extra;
}

MessageRecorder::MessageRecorder() {
    previous_ = platform::SetMessagePresenter(
        [this](platform::MessageIcon icon, const std::string& title, const std::string& text) {
            messages_.push_back({icon, title, text});
        });
    previousQuestions_ =
        platform::SetQuestionPresenter([this](const std::string& title, const std::string& text) {
            messages_.push_back({platform::MessageIcon::Question, title, text});
            return answer_;
        });
}

MessageRecorder::~MessageRecorder() {
    platform::SetMessagePresenter(previous_);
    platform::SetQuestionPresenter(previousQuestions_);
}

void MakeContentFolder(const fs::path& folder, const std::vector<std::string>& routes) {
    for (const std::string& route : routes) {
        WriteFile(folder / "ROUTES" / route / "ENVFILES" / "rain.env", "own rain.env\n");
        WriteFile(folder / "ROUTES" / route / "ENVFILES" / "sun.env", "own sun.env\n");
        fs::create_directories(folder / "ROUTES" / route / "ACTIVITIES");
    }
    fs::create_directories(folder / "TRAINS");
    fs::create_directories(folder / "GLOBAL");
}

PlayerPrefix::PlayerPrefix(const ProfileList& profiles) {
    fs::create_directories(driveC());
    fs::create_directories(dir_.path() / "dosdevices");
    fs::create_directory_symlink("../drive_c", dir_.path() / "dosdevices" / "c:");
    std::string reg =
        "WINE REGISTRY Version 2\n;; All keys relative to \\\\User\\\\S-1\n\n"
        "[Software\\\\OpenRails\\\\ORTS\\\\Folders] 1733700000\n"
        "#time=1db4a8e3b2c1f00\n";
    auto escaped = [](const std::string& text) {
        std::string out;
        for (char c : text) out += c == '\\' ? std::string("\\\\") : std::string(1, c);
        return out;
    };
    for (const auto& [name, folder] : profiles)
        reg += "\"" + escaped(name) + "\"=\"" + escaped(folder) + "\"\n";
    WriteFile(dir_.path() / "user.reg", reg);
    env_.emplace("WINEPREFIX", dir_.str());
}

ScopedEnv::ScopedEnv(std::string name, const std::string& value) : name_(std::move(name)) {
    if (const char* old = std::getenv(name_.c_str())) previous_ = old;
    SetEnv(name_, value.c_str());
}

ScopedEnv::~ScopedEnv() {
    SetEnv(name_, previous_ ? previous_->c_str() : nullptr);
}

bool MakeFolderLink(const fs::path& target, const fs::path& link) {
    std::error_code ec;
    fs::create_directory_symlink(target, link, ec);
    return !ec;
}

fs::path SourceDir() {
    if (const char* dir = std::getenv("ZEL_SOURCE_DIR")) return dir;
    return ZEL_SOURCE_TREE;
}

}  // namespace testsupport
