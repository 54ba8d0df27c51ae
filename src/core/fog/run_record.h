#pragma once
// The record of a fog run, kept on disk from before the first route file is replaced until every
// file is back: what the restore puts back and deletes, and nothing a run cannot have written.
#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/fog/openrails/openrails_files.h"
#include "core/fog/weather.h"

namespace fog {

// One plain file or folder name: not empty, not "." or "..", no separator of either kind, no
// drive colon, wildcard or control character, and no trailing blank or dot (Windows drops those,
// so the name would stand for another entry). Anything else could reach outside the Routes,
// Envfiles or backup folders.
bool IsPlainName(std::string_view name);

// <installRoot>/Routes/<route>
std::string RouteFolder(std::string_view installRoot, std::string_view route);

// <installRoot>/Routes/<route>/Envfiles, without a trailing separator.
std::string RouteEnvFolder(std::string_view installRoot, std::string_view route);
// <prog>Dump/Back_up/<route>
std::string RouteBackupFolder(std::string_view route);
// <prog>Dump/Herstel.ini: the record of a run that has not been restored yet.
std::string RunRecordPath();

// What a restore needs to know, kept on disk from before the first route file is replaced until
// every file is back.
struct RunRecord {
    std::string route;
    std::string installRoot;
    Weather weather = Weather::Sun;
    int metres = 0;
    bool multiFileMode = false;
    std::vector<std::string> files;     // environment files still to put back, in slot order
    std::vector<std::string> textures;  // textures the run added: absent from the route before it
    // Route files that were symbolic links, by name: the link's target as stored. The restore
    // puts the link back instead of a copy of what it pointed to.
    std::map<std::string, std::string> links = {};
    // Files the run added for Open Rails, listed before any was written, and the folder it made
    // for them (paths under the route folder). A record without them restores as it always did.
    std::vector<AddedFile> added = {};
    std::vector<std::string> addedFolders = {};
    bool operator==(const RunRecord&) const = default;
};

// The record of an unrestored run, or nothing when there is none or it is not one a run can have
// written: unreadable (no regular file, too large), damaged, made for another simulator folder
// than the configured one, or naming anything but plain names, environment files of its weather
// and that weather's own textures.
std::optional<RunRecord> LoadRunRecord();

// Whether anything at all stands at the record's place, usable or not.
bool RunRecordPresent();

// A record on disk that LoadRunRecord refuses (whatever stands there: a file it cannot read, a
// folder, a link, a FIFO) is renamed aside (Herstel_ongeldig.ini, or with a number when that is
// taken), so that nothing it names is ever touched and nothing waits for it. Returns where the
// refused record is now (still Herstel.ini if it could not be renamed), or nothing when there was
// none.
std::optional<std::string> SetAsideRefusedRunRecord();

// Both of the above in one reading of the record: the usable record, or nothing after a refused
// one has been set aside (`setAsideAt` then says where it is now).
std::optional<RunRecord> LoadOrSetAsideRunRecord(std::optional<std::string>& setAsideAt);

// Writes the record atomically and reads it back; false when it is not on disk exactly as given.
bool SaveRunRecord(const RunRecord& record);

// Deletes the record: once a restore has put everything back, or after a run that could not
// write it whole.
bool RemoveRunRecord();

// What a recorded run added for Open Rails, for its summary: the number of activity copies and
// the weather file's path under the route folder (empty when it has none).
struct OpenRailsFiles {
    std::size_t activityCopies = 0;
    std::string weatherFile;
};
OpenRailsFiles AddedForOpenRails(const RunRecord& record);

}  // namespace fog
