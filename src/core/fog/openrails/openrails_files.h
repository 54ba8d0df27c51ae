#pragma once
// The files a fog run adds to a route for Open Rails: a fogged copy of each activity (with its
// Open Rails extension file, where it has one) and one timetable weather file. They are new
// files beside the route's own, never written over anything, so the restore only has to delete
// them again, and only while they still hold what the run wrote.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/fog/weather.h"

namespace fog {

// A file the run added, by its path under the route folder ('/' between the parts, folders
// spelled as on disk), with the size and a hash of the bytes the run wrote.
struct AddedFile {
    std::string path;
    std::uint64_t size = 0;
    std::string hash;  // 16 lower-case hex digits
    bool operator==(const AddedFile&) const = default;
};

// A 64-bit hash (FNV-1a over 8-byte words) as 16 hex digits: enough to tell the run's own
// bytes from a file the player has since changed or put there.
std::string ContentHash(std::string_view bytes);

// The record's form of an added file, "path|size|hash" ('|' is in no file name), and back.
std::string FormatAddedFile(const AddedFile& file);
std::optional<AddedFile> ParseAddedFile(std::string_view text);

// Whether a path is one a run can have added: an activity copy in the route's Activities folder
// or in its OpenRails folder, or the program's weather file in WeatherFiles; plain names only.
bool IsAddedFilePath(std::string_view path);
// Whether a folder is one a run can have created: the weather files folder.
bool IsAddedFolder(std::string_view folder);

// What a run adds, worked out before anything is written.
struct OpenRailsPlan {
    std::vector<AddedFile> files;       // in the order they are written
    std::vector<std::string> contents;  // the bytes of each
    std::vector<std::string> folders;   // created first (the weather files folder, if missing)
    std::size_t activityCopies = 0;
    std::string weatherFile;  // path of the weather file, as in `files`
    // Activity file names left alone: no activity file, or a name the run record cannot hold.
    std::vector<std::string> unreadable;
};

// Reads the route's activities and makes their fogged copies and the weather file, under names
// that neither the route's folders nor the plan hold yet. `fogWord` is the language pack's word
// for fog (UTF-8 or Windows-1252), as in "Morning freight (mist 50 m)". Activities that are
// themselves copies are not copied again.
OpenRailsPlan PlanOpenRailsFiles(std::string_view routeFolder, Weather weather, int metres,
                                 std::string_view fogWord);

// The files a run with this weather, level and fog word added that are still in the route with
// exactly the bytes it wrote, found by the names it gives out; for a route whose record is lost.
std::vector<AddedFile> FindAddedFiles(std::string_view routeFolder, Weather weather, int metres,
                                      std::string_view fogWord);

// <routeFolder> joined with the parts of an added file's path.
std::string AddedFileLocation(std::string_view routeFolder, std::string_view path);

// Whether the file at `location` holds exactly the bytes an added file was written with.
bool HoldsAddedBytes(std::string_view location, const AddedFile& file);

}  // namespace fog
