#include "support/fog_fixtures.h"

#include "core/platform/paths.h"

namespace testsupport {

void WriteFogData(const ProgramFolder& program) {
    for (const char* weather : {"sun", "rain", "snow"}) {
        for (int metres = 25; metres <= 125; metres += 25) {
            const std::string name = weather + std::to_string(metres) + ".env";
            WriteFile(program.dump() / weather / name, "fog " + name + "\n");
        }
    }
    for (const char* texture :
         {"ZEL_rainsky.ace", "ZEL_rainskylo.ace", "ZEL_snowsky.ace", "ZEL_snowskylo.ace"}) {
        WriteFile(program.dump() / "Textures" / texture, std::string("sky ") + texture + "\n");
    }
}

Snapshot TakeSnapshot(const fs::path& folder) {
    Snapshot snapshot;
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(folder, ec); !ec && it != fs::end(it);
         it.increment(ec)) {
        // '/' between the parts on every system, so tests name entries one way; a link is named
        // where it stands, not where it leads.
        const std::string relative = it->path().lexically_relative(folder).generic_string();
        if (it->is_directory()) {
            snapshot[relative + "/"];
        } else {
            snapshot[relative] = ReadFile(it->path());
        }
    }
    return snapshot;
}

fog::FogRunRequest FogRequest(const SimulatorTree& sim, const std::string& route,
                              fog::Weather weather, int metres) {
    const std::string root = sim.root().string();
    return {root, route, weather, metres,
            fog::FindEnvFiles(fog::RouteEnvFolder(root, route) + platform::kPathSep, weather)};
}

}  // namespace testsupport
