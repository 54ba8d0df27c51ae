#include "core/platform/files.h"

#include <gtest/gtest.h>

#include <chrono>

#include "core/platform/lock.h"
#include "core/platform/paths.h"
#include "support/fixtures.h"

namespace {

namespace fs = std::filesystem;
using namespace platform;
using testsupport::ReadFile;
using testsupport::TempDir;
using testsupport::WriteFile;

std::vector<std::string> Names(const std::vector<FileEntry>& entries) {
    std::vector<std::string> names;
    names.reserve(entries.size());
    for (const FileEntry& e : entries) names.push_back(e.name);
    return names;
}

// Every entry of a folder, hidden ones included.
std::vector<std::string> Listing(const fs::path& folder) {
    return Names(FindFiles((folder / "*").string(), FileAttr::AnyFile));
}

// A path written with '/' in the separator of the backend under test.
std::string Native(std::string path) {
    for (char& c : path)
        if (c == '/') c = kPathSep;
    return path;
}

TEST(Paths, JoinAndProgramFolder) {
    EXPECT_EQ(JoinPath(Native("/ts/"), "Routes"), Native("/ts//Routes"));
    EXPECT_EQ(JoinPath("", "Routes"), Native("/Routes"));
    // A copy, since a reference would follow SetProgramFolder below.
    // NOLINTNEXTLINE(performance-unnecessary-copy-initialization)
    const std::string previous = ProgramFolder();
    SetProgramFolder(Native("/opt/zel"));
    EXPECT_EQ(ProgramFolder(), Native("/opt/zel/"));
    EXPECT_EQ(DumpPath(), Native("/opt/zel/Dump"));
    EXPECT_EQ(DumpPath(JoinPath("Back_up", "route")), Native("/opt/zel/Dump/Back_up/route"));
    SetProgramFolder(previous);
    EXPECT_EQ(ProgramFolder(), previous);
}

TEST(Wildcard, MatchesWholeNameIgnoringCase) {
    EXPECT_TRUE(WildcardMatch("*rain*.env", "Autumn_RAIN.ENV"));
    EXPECT_TRUE(WildcardMatch("rain.env", "RAIN.ENV"));
    EXPECT_TRUE(WildcardMatch("r?in.*", "rain."));
    EXPECT_TRUE(WildcardMatch("*", ""));
    EXPECT_TRUE(WildcardMatch("*.*", "README"));
    EXPECT_TRUE(WildcardMatch("a*b*c", "abbbc"));
    EXPECT_FALSE(WildcardMatch("rain.env", "rain.env.bak"));
    EXPECT_FALSE(WildcardMatch("*.env", "rain.en"));
    EXPECT_FALSE(WildcardMatch("?", ""));
    EXPECT_FALSE(WildcardMatch("*.lng", "x.lngx"));
    // A backtracking matcher would take ages on this.
    auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(
        WildcardMatch(std::string(40, '*') + "*a*a*a*a*a*a*a*a*b", std::string(5000, 'a')));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
}

class FilesTest : public ::testing::Test {
  protected:
    TempDir dir;
    fs::path root = dir.path();
    std::string At(const std::string& relative) const { return (root / relative).string(); }
    // A name starting with '.' is what the emulation calls hidden. Windows keeps hidden as an
    // attribute of its own (wine also hides dot names), so there the entry gets it as well.
    void MarkHidden(const std::string& relative) const {
        if constexpr (kWindows) {
            ASSERT_TRUE(testsupport::SetHiddenAttribute(At(relative)));
        }
    }
};

TEST_F(FilesTest, SearchFiltersAttributesLikeFindFirst) {
    WriteFile(root / "Env/rain.env", "r");
    WriteFile(root / "Env/.hidden.env", "h");
    WriteFile(root / "Env/locked.env", "l");
    fs::create_directories(root / "Env/old_rain.env");
    fs::create_directories(root / "Env/.git");
    MarkHidden("Env/.hidden.env");
    MarkHidden("Env/.git");
    ASSERT_TRUE(SetReadOnly(At("Env/locked.env"), true));

    EXPECT_EQ(Names(FindFiles(At("Env/*.env"), FileAttr::None)),
              (std::vector<std::string>{"locked.env", "rain.env"}));
    EXPECT_EQ(Names(FindFiles(At("Env/*.env"), FileAttr::Hidden)),
              (std::vector<std::string>{".hidden.env", "locked.env", "rain.env"}));
    // Asking for folders still gives the plain files; hidden folders need the hidden bit too.
    EXPECT_EQ(Names(FindFiles(At("Env/*.*"), FileAttr::Directory)),
              (std::vector<std::string>{"locked.env", "old_rain.env", "rain.env"}));
    EXPECT_EQ(Names(FindFiles(At("Env/*"), FileAttr::AnyFile & ~FileAttr::Directory)),
              (std::vector<std::string>{".hidden.env", "locked.env", "rain.env"}));
    std::vector<FileEntry> all = FindFiles(At("Env/*"), FileAttr::AnyFile);
    ASSERT_EQ(Names(all), (std::vector<std::string>{".git", ".hidden.env", "locked.env",
                                                    "old_rain.env", "rain.env"}));
    EXPECT_EQ(all[0].attr, FileAttr::Directory | FileAttr::Hidden);
    EXPECT_EQ(all[2].attr, FileAttr::Archive | FileAttr::ReadOnly);
    EXPECT_EQ(all[4].attr, FileAttr::Archive);
}

TEST_F(FilesTest, SearchResolvesCaseAndSortsByUpperCase) {
    for (const char* name : {"b.env", "A.env", "_x.env", "C.env", "a1.env", "~t.env", "a-b.env",
                             "[x].env", "10.env", "9.env"})
        WriteFile(root / "TS/Routes/R1/Envfiles" / name, "");
    // NTFS lists names by their upper-cased form, so '_' and '[' come after the letters.
    EXPECT_EQ(Names(FindFiles(At("ts/ROUTES//r1/ENVFILES/*.ENV"), FileAttr::None)),
              (std::vector<std::string>{"10.env", "9.env", "a-b.env", "A.env", "a1.env", "b.env",
                                        "C.env", "[x].env", "_x.env", "~t.env"}));
    // A name without wildcards finds the entry itself, spelled as on disk.
    std::optional<FileEntry> folder = FindFirst(At("ts/routes/r1/envfiles"), FileAttr::Directory);
    ASSERT_TRUE(folder);
    EXPECT_EQ(folder->name, "Envfiles");
    EXPECT_EQ(ResolvePath(At("ts/routes//R1/envfiles/c.ENV")), At("TS/Routes//R1/Envfiles/C.env"));
    EXPECT_EQ(ResolvePath(At("ts/nowhere")), At("ts/nowhere"));
    EXPECT_TRUE(FindFiles(At("missing/*.*"), FileAttr::AnyFile).empty());
    EXPECT_TRUE(FindFiles(At("TS/Routes/R1/Envfiles/A.env/*"), FileAttr::AnyFile).empty());
    EXPECT_TRUE(IsFile(At("ts/routes/r1/envfiles/A.ENV")));
    EXPECT_TRUE(IsDirectory(At("ts/routes/r1/")));
    EXPECT_FALSE(IsDirectory(At("ts/routes/r1/envfiles/a.env")));
}

TEST_F(FilesTest, SearchMatchesWholeNamesOnly) {
    for (const char* name : {"rain.env", "notes.envx", "rain.env.bak", "rain_old.envx", "x.lngx"})
        WriteFile(root / "Env" / name, "");
    // Windows also matches a pattern against 8.3 aliases (NOTES~1.ENV); those must not count.
    EXPECT_EQ(Names(FindFiles(At("Env/*.env"), FileAttr::None)),
              std::vector<std::string>{"rain.env"});
    EXPECT_EQ(Names(FindFiles(At("Env/*rain*.env"), FileAttr::None)),
              std::vector<std::string>{"rain.env"});
    EXPECT_TRUE(FindFiles(At("Env/*.lng"), FileAttr::AnyFile).empty());
    EXPECT_EQ(Names(FindFiles(At("Env/RAIN.ENV"), FileAttr::None)),
              std::vector<std::string>{"rain.env"});
}

TEST_F(FilesTest, CopyReplacesAtomicallyAndKeepsTheTargetsSpelling) {
    WriteFile(root / "src.env", "fog");
    WriteFile(root / "Route/RAIN.ENV", "original");
    ASSERT_TRUE(SetReadOnly(At("src.env"), true));

    EXPECT_FALSE(CopyFile(At("src.env"), At("route/rain.env"), true));
    EXPECT_EQ(ReadFile(root / "Route/RAIN.ENV"), "original");
    EXPECT_TRUE(CopyFile(At("SRC.ENV"), At("route/rain.env"), false));
    EXPECT_EQ(ReadFile(root / "Route/RAIN.ENV"), "fog");
    EXPECT_EQ(Listing(root / "Route"), std::vector<std::string>{"RAIN.ENV"})
        << "temp file left or name doubled";
    // The copy of a read-only file is writable, so it can be replaced again later.
    EXPECT_FALSE(
        HasAttr(FindFirst(At("Route/RAIN.ENV"), FileAttr::None)->attr, FileAttr::ReadOnly));
    EXPECT_TRUE(CopyFile(At("src.env"), At("route/new.env"), true));
    EXPECT_EQ(ReadFile(root / "Route/new.env"), "fog");
}

TEST_F(FilesTest, CopyRefusesBadSourcesAndTargets) {
    WriteFile(root / "src.env", "fog");
    WriteFile(root / "locked.env", "keep");
    fs::create_directories(root / "folder.env");
    ASSERT_TRUE(SetReadOnly(At("locked.env"), true));

    EXPECT_FALSE(CopyFile(At("src.env"), At("locked.env"), false));
    EXPECT_EQ(ReadFile(root / "locked.env"), "keep");
    EXPECT_FALSE(CopyFile(At("src.env"), At("folder.env"), false));
    EXPECT_FALSE(CopyFile(At("src.env"), At("no/such/folder.env"), false));
    EXPECT_FALSE(CopyFile(At("missing.env"), At("x.env"), false));
    EXPECT_FALSE(CopyFile(At("folder.env"), At("x.env"), false));
    EXPECT_FALSE(fs::exists(root / "x.env"));
    EXPECT_EQ(Listing(root), (std::vector<std::string>{"folder.env", "locked.env", "src.env"}));
}

TEST_F(FilesTest, CreateAndDelete) {
    EXPECT_TRUE(CreateFolder(At("Back_up")));
    EXPECT_FALSE(CreateFolder(At("BACK_UP")));
    EXPECT_FALSE(CreateFolder(At("a/b")));
    EXPECT_TRUE(CreateFolder(At("back_up/Route1")));
    EXPECT_TRUE(fs::is_directory(root / "Back_up/Route1"));

    WriteFile(root / "Textures/sky.ace", "t");
    WriteFile(root / "Textures/locked.ace", "t");
    ASSERT_TRUE(SetReadOnly(At("Textures/locked.ace"), true));
    EXPECT_FALSE(DeleteFile(At("Back_up")));
    EXPECT_FALSE(DeleteFile(At("textures/LOCKED.ACE")));
    EXPECT_FALSE(DeleteFile(At("textures/none.ace")));
    EXPECT_TRUE(DeleteFile(At("textures/SKY.ACE")));
    EXPECT_EQ(Listing(root / "Textures"), std::vector<std::string>{"locked.ace"});
    EXPECT_TRUE(SetReadOnly(At("Textures/locked.ace"), false));
    EXPECT_TRUE(DeleteFile(At("Textures/locked.ace")));
}

// The one-copy lock never goes through or waits on what stands under its name: a link, a folder
// or a FIFO there is reported as such, never taken for a folder that offers no lock.
TEST_F(FilesTest, LockOnANameThatHoldsNoRegularFileIsRefusedAsSuch) {
    std::vector<std::string> planted = {"folder.lck"};
    fs::create_directory(root / "folder.lck");
    testsupport::FifoWatchdog watchdog({root / "fifo.lck"});
    if constexpr (!kWindows) {
        WriteFile(root / "real.lck", "");
        fs::create_symlink(root / "nowhere", root / "dangling.lck");
        fs::create_symlink(root / "real.lck", root / "link.lck");
        testsupport::MakeFifo(root / "fifo.lck");
        planted.insert(planted.end(), {"dangling.lck", "link.lck", "fifo.lck"});
    }
    for (const std::string& name : planted)
        EXPECT_EQ(HoldFileLock(At(name)), LockState::NotAFile) << name;
    if constexpr (!kWindows) {
        EXPECT_FALSE(fs::exists(root / "nowhere"));  // not made through the link
        EXPECT_FALSE(watchdog.fired()) << "waited on the FIFO";
    }
    // Where nothing can be made, there is simply no lock.
    EXPECT_EQ(HoldFileLock(At("missing/x.lck")), LockState::Unavailable);
}

TEST_F(FilesTest, AtomicWriteAndCompare) {
    EXPECT_TRUE(WriteFileAtomic(At("a.bin"), std::string("x\0y", 3)));
    EXPECT_EQ(ReadFileBytes(At("A.BIN")), std::string("x\0y", 3));
    WriteFile(root / "b.bin", std::string("x\0y", 3));
    EXPECT_TRUE(SameFileBytes(At("a.bin"), At("b.bin")));
    EXPECT_TRUE(WriteFileAtomic(At("A.bin"), "new"));
    EXPECT_FALSE(SameFileBytes(At("a.bin"), At("b.bin")));
    EXPECT_FALSE(SameFileBytes(At("a.bin"), At("none.bin")));
    ASSERT_TRUE(SetReadOnly(At("a.bin"), true));
    EXPECT_FALSE(WriteFileAtomic(At("a.bin"), "again"));
    EXPECT_EQ(ReadFileBytes(At("a.bin")), "new");
    EXPECT_FALSE(ReadFileBytes(At("none.bin")));
    EXPECT_FALSE(ReadFileBytes(root.string()));
    EXPECT_EQ(Listing(root), (std::vector<std::string>{"a.bin", "b.bin"}));
}

TEST_F(FilesTest, CompareReadsToTheEnd) {
    const std::string big(200000, 'x');
    WriteFile(root / "a.bin", big);
    WriteFile(root / "b.bin", big);
    WriteFile(root / "c.bin", big.substr(0, big.size() - 1) + "y");
    WriteFile(root / "d.bin", big + "x");
    EXPECT_TRUE(SameFileBytes(At("a.bin"), At("B.BIN")));
    EXPECT_FALSE(SameFileBytes(At("a.bin"), At("c.bin")));  // last byte only
    EXPECT_FALSE(SameFileBytes(At("a.bin"), At("d.bin")));  // a prefix
    EXPECT_FALSE(SameFileBytes(At("d.bin"), At("a.bin")));
    fs::create_directories(root / "folder");
    EXPECT_FALSE(SameFileBytes(At("folder"), At("folder")));
    // The same comparison against bytes in memory.
    EXPECT_TRUE(FileHolds(At("B.BIN"), big));
    EXPECT_FALSE(FileHolds(At("c.bin"), big));
    EXPECT_FALSE(FileHolds(At("d.bin"), big));
    EXPECT_FALSE(FileHolds(At("a.bin"), big + "x"));
    EXPECT_FALSE(FileHolds(At("none.bin"), ""));
    EXPECT_FALSE(FileHolds(At("folder"), ""));
}

TEST_F(FilesTest, BatchChangesNothingBeforeCommitAndLeavesNoTemporaries) {
    WriteFile(root / "a.src", "A");
    WriteFile(root / "b.src", "B");
    WriteFile(root / "T/Old.env", "old");
    WriteFile(root / "T/gone.ace", "sky");
    {
        FileBatch dropped;
        dropped.Copy(At("a.src"), At("T/old.env"), false);
    }
    FileBatch batch;
    batch.Copy(At("a.src"), At("t/OLD.ENV"), false);
    batch.Copy(At("b.src"), At("T/new.env"), true);
    batch.Delete(At("T/GONE.ACE"));
    EXPECT_EQ(ReadFile(root / "T/Old.env"), "old");
    EXPECT_FALSE(fs::exists(root / "T/new.env"));
    EXPECT_TRUE(fs::exists(root / "T/gone.ace"));

    std::vector<std::size_t> applied;
    EXPECT_EQ(batch.Commit(true, [&](std::size_t i) { applied.push_back(i); }),
              (std::vector<bool>{true, true, true}));
    EXPECT_EQ(applied, (std::vector<std::size_t>{0, 1, 2}));
    EXPECT_EQ(ReadFile(root / "T/Old.env"), "A");
    EXPECT_EQ(ReadFile(root / "T/new.env"), "B");
    EXPECT_EQ(Listing(root / "T"), (std::vector<std::string>{"new.env", "Old.env"}));
    EXPECT_TRUE(batch.Commit(true).empty());  // nothing is carried out twice
}

TEST_F(FilesTest, BatchTargetsResolveAsInASequenceOfCalls) {
    WriteFile(root / "a.src", "A");
    WriteFile(root / "b.src", "B");
    fs::create_directories(root / "T");
    FileBatch batch;
    batch.Copy(At("a.src"), At("T/x.env"), false);
    batch.Copy(At("b.src"), At("T/X.ENV"), false);  // the file the first one makes
    batch.Copy(At("a.src"), At("T/y.env"), true);
    batch.Copy(At("b.src"), At("T/Y.env"), true);  // exists by then
    EXPECT_EQ(batch.Commit(false), (std::vector<bool>{true, true, true, false}));
    EXPECT_EQ(Listing(root / "T"), (std::vector<std::string>{"x.env", "y.env"}));
    EXPECT_EQ(ReadFile(root / "T/x.env"), "B");
    EXPECT_EQ(ReadFile(root / "T/y.env"), "A");
}

TEST_F(FilesTest, BatchChecksEachTargetAgainAtCommit) {
    WriteFile(root / "a.src", "A");
    WriteFile(root / "T/locked.env", "keep");
    WriteFile(root / "T/late.ace", "keep");
    WriteFile(root / "T/already.env", "keep");
    ASSERT_TRUE(SetReadOnly(At("T/already.env"), true));
    FileBatch batch;
    batch.Copy(At("a.src"), At("T/locked.env"), false);
    batch.Copy(At("a.src"), At("T/new.env"), true);
    batch.Delete(At("T/late.ace"));
    batch.Copy(At("a.src"), At("T/already.env"), false);
    batch.Copy(At("missing.src"), At("T/other.env"), false);
    // Changed by someone else between adding and committing.
    ASSERT_TRUE(SetReadOnly(At("T/locked.env"), true));
    WriteFile(root / "T/new.env", "theirs");
    ASSERT_TRUE(SetReadOnly(At("T/late.ace"), true));
    EXPECT_EQ(batch.Commit(true), (std::vector<bool>{false, false, false, false, false}));
    EXPECT_EQ(ReadFile(root / "T/locked.env"), "keep");
    EXPECT_EQ(ReadFile(root / "T/new.env"), "theirs");
    EXPECT_EQ(ReadFile(root / "T/late.ace"), "keep");
    EXPECT_EQ(ReadFile(root / "T/already.env"), "keep");
    EXPECT_EQ(Listing(root / "T"),
              (std::vector<std::string>{"already.env", "late.ace", "locked.env", "new.env"}));
}

TEST_F(FilesTest, CopyUnlessSameKeepsATargetThatHoldsTheBytes) {
    WriteFile(root / "a.src", "A");
    WriteFile(root / "T/same.env", "A");
    WriteFile(root / "T/stale.env", "older");
    // A year-old time tells a kept file from a new one; file systems round times differently.
    const auto now = fs::file_time_type::clock::now();
    const auto yesterday = now - std::chrono::hours(24);
    fs::last_write_time(root / "T/same.env", now - std::chrono::hours(24 * 365));
    fs::last_write_time(root / "T/stale.env", now - std::chrono::hours(24 * 365));
    ASSERT_TRUE(SetReadOnly(At("T/same.env"), true));
    FileBatch batch;
    bool kept[] = {false, true};
    batch.CopyUnlessSame(At("a.src"), At("T/SAME.ENV"), &kept[0]);
    batch.CopyUnlessSame(At("a.src"), At("T/stale.env"), &kept[1]);
    EXPECT_EQ(batch.Commit(true), (std::vector<bool>{true, true}));
    EXPECT_TRUE(kept[0]);
    EXPECT_FALSE(kept[1]);
    EXPECT_LT(fs::last_write_time(root / "T/same.env"), yesterday) << "rewritten";
    EXPECT_TRUE(HasAttr(FindFirst(At("T/same.env"), FileAttr::None)->attr, FileAttr::ReadOnly));
    EXPECT_EQ(ReadFile(root / "T/stale.env"), "A");
    EXPECT_GT(fs::last_write_time(root / "T/stale.env"), yesterday);
}

TEST_F(FilesTest, LeftoverTemporariesGoAndNothingElse) {
    for (const char* name : {".zel-1234.tmp", ".ZEL-5.TMP", ".zel-notes.txt", "zel-1.tmp", "a.env"})
        WriteFile(root / "Env" / name, "x");
    fs::create_directories(root / "Env/.zel-9.tmp");
    RemoveLeftoverTemporaries(At("env"));
    EXPECT_EQ(Listing(root / "Env"),
              (std::vector<std::string>{".zel-9.tmp", ".zel-notes.txt", "a.env", "zel-1.tmp"}));
}

// Below the base only: the base itself may be a link, a folder named like it beside it is not
// below it, and the base's spelling on disk is the same base.
TEST_F(FilesTest, FolderReachedThroughALinkBelowTheBase) {
    fs::create_directories(root / "Real/A/B");
    if (!testsupport::MakeFolderLink(root / "Real", root / "Base") ||
        !testsupport::MakeFolderLink(root / "Real/A", root / "Real/Via"))
        GTEST_SKIP() << "no links here";
    EXPECT_FALSE(ReachedThroughLink(At("Base"), At("Base")));
    EXPECT_FALSE(ReachedThroughLink(At("Base"), At("Base/A/B")));
    EXPECT_FALSE(ReachedThroughLink(At("Base"), At("BASE/a/B")));
    EXPECT_TRUE(ReachedThroughLink(At("Base"), At("Base/Via")));
    EXPECT_TRUE(ReachedThroughLink(At("Base"), At("Base/via/B")));
    EXPECT_TRUE(ReachedThroughLink(At("Bas"), At("Base/A")));
    EXPECT_TRUE(ReachedThroughLink(At("Base/A"), At("Real/A")));
}

}  // namespace

namespace {

TEST_F(FilesTest, CreatedFilesNeverReplaceAnythingAndEmptyFoldersAloneAreRemoved) {
    WriteFile(root / "T/Taken.act", "theirs");
    FileBatch batch;
    EXPECT_FALSE(batch.Create(At("T/taken.ACT"), "ours"));  // there already, in any spelling
    EXPECT_TRUE(batch.Create(At("T/new.act"), "ours"));
    EXPECT_FALSE(batch.Create(At("T/NEW.act"), "again"));  // the batch's own name
    EXPECT_TRUE(batch.Create(At("T/late.act"), "ours"));
    WriteFile(root / "T/late.act", "theirs, meanwhile");
    EXPECT_EQ(batch.Commit(true), (std::vector<bool>{false, true, false, false}));
    EXPECT_EQ(ReadFile(root / "T/Taken.act"), "theirs");
    EXPECT_EQ(ReadFile(root / "T/new.act"), "ours");
    EXPECT_EQ(ReadFile(root / "T/late.act"), "theirs, meanwhile");
    EXPECT_EQ(Listing(root / "T"), (std::vector<std::string>{"late.act", "new.act", "Taken.act"}));
    // Committed again: the names of the first part and those made meanwhile stay taken.
    WriteFile(root / "T/later.act", "theirs, after the listing");
    EXPECT_FALSE(batch.Create(At("T/NEW.ACT"), "again"));
    EXPECT_FALSE(batch.Create(At("T/later.act"), "ours"));
    EXPECT_TRUE(batch.Create(At("T/next.act"), "ours"));
    EXPECT_EQ(batch.Commit(true), (std::vector<bool>{false, false, true}));
    EXPECT_EQ(ReadFile(root / "T/new.act"), "ours");
    EXPECT_EQ(ReadFile(root / "T/later.act"), "theirs, after the listing");
    EXPECT_EQ(ReadFile(root / "T/next.act"), "ours");
    EXPECT_EQ(Listing(root / "T"), (std::vector<std::string>{"late.act", "later.act", "new.act",
                                                             "next.act", "Taken.act"}));

    EXPECT_FALSE(RemoveEmptyFolder(At("T")));
    EXPECT_FALSE(RemoveEmptyFolder(At("T/new.act")));
    fs::create_directories(root / "Empty");
    std::error_code ec;
    fs::create_directory_symlink(root / "Empty", root / "Link", ec);
    if (!ec) {
        EXPECT_FALSE(RemoveEmptyFolder(At("Link")));
    }
    EXPECT_TRUE(RemoveEmptyFolder(At("EMPTY")));
    EXPECT_FALSE(fs::exists(root / "Empty"));
}

}  // namespace
