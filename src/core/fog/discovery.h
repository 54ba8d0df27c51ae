#pragma once
// Finding a route's environment files for a weather.
#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "core/fog/weather.h"

namespace fog {

// The four name slots of a search and how they were filled.
struct EnvFiles {
    std::array<std::string, 4> names;  // bare names as listed; empty = no file
    bool multiFileMode = false;        // the broad pattern supplied the names
    bool missing = false;              // neither pattern matched a file
};

// The slots a run backs up and replaces: every non-empty slot in multi-file mode, otherwise the
// first slot alone (when it holds a name).
std::vector<std::string> HandledSlots(const std::array<std::string, 4>& names, bool multiFileMode);

// The check on a route's Envfiles folder: one entry of that name, folder or plain file, that is
// neither hidden nor a system entry. `envFolder` has no trailing separator.
bool EnvFolderFound(std::string_view envFolder);

// Searches `envFolder` (with a trailing separator) for the weather's files: the first match of
// the first pattern alone, else up to four matches of the broad pattern in listing order.
// Folders never match; files match whatever their attributes.
EnvFiles FindEnvFiles(std::string_view envFolder, Weather weather);

}  // namespace fog
