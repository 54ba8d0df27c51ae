#pragma once
// Fog-run fixtures: the shipped fog data in a test program folder, and byte snapshots of folders.
#include <map>
#include <string>

#include "core/fog/fog_run.h"
#include "support/fixtures.h"

namespace testsupport {

// Writes the fifteen prepared files Dump/<weather>/<weather><metres>.env and the four sky
// textures in Dump/Textures, each holding a text that names it.
void WriteFogData(const ProgramFolder& program);

// Relative path -> bytes for every file under `folder`; folders appear with a trailing '/' and
// no bytes. Missing folder: empty.
using Snapshot = std::map<std::string, std::string>;
Snapshot TakeSnapshot(const fs::path& folder);

// The discovery result for a route of `sim` and the request a fog run gets from the window.
fog::FogRunRequest FogRequest(const SimulatorTree& sim, const std::string& route,
                              fog::Weather weather, int metres);

}  // namespace testsupport
