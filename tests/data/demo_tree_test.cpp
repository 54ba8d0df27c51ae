// scripts/run.sh points the program at the demo simulator folder: its routes must hold real
// environment files (matching the format's grammar) and textures, or a fog run and its restore
// prove nothing about real routes.
#include <gtest/gtest.h>

#include <cctype>
#include <cstdlib>
#include <set>

#include "core/fog/openrails/activity_copy.h"
#include "data/ace_reader.h"
#include "data/env_reader.h"
#include "support/activity_reader.h"
#include "support/fixtures.h"

namespace {

namespace fs = std::filesystem;

std::string Lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

// The demo simulator's route folders and those of the content folder beside it, whose folders
// are spelled in upper case as content packs spell them.
struct RouteLayout {
    fs::path routes;
    const char *envfiles, *textures, *activities;
};
std::vector<RouteLayout> Layouts(const fs::path& ts) {
    EXPECT_FALSE(fs::exists(fs::path(ts.string() + "-content") / "train.exe"));
    return {{ts / "Routes", "Envfiles", "Textures", "Activities"},
            {fs::path(ts.string() + "-content") / "ROUTES", "ENVFILES", "TEXTURES", "ACTIVITIES"}};
}

TEST(DemoSimulator, RoutesHoldRealEnvironmentFilesAndTextures) {
    testsupport::TempDir dir;
    const fs::path ts = dir.path() / "TS";
    const fs::path script = testsupport::SourceDir() / "scripts" / "make_demo.sh";
    const std::string command = "bash '" + script.string() + "' '" + ts.string() + "' > /dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;

    int envFiles = 0;
    for (const RouteLayout& layout : Layouts(ts))
        for (const auto& route : fs::directory_iterator(layout.routes)) {
            const fs::path envfiles = route.path() / layout.envfiles;
            if (!fs::is_directory(envfiles)) continue;
            // Texture names as the simulator finds them: without regard to case.
            std::set<std::string> textures;
            for (const auto& t : fs::directory_iterator(envfiles / layout.textures)) {
                auto read = acecheck::ReadTexture(testsupport::ReadFile(t.path()));
                ASSERT_TRUE(read.texture) << t.path() << ": " << read.error;
                EXPECT_EQ(read.texture->levels.back().side, 1)
                    << t.path() << ": mip chain cut short";
                EXPECT_EQ(read.texture->reserved, 0u) << t.path();
                textures.insert(Lower(t.path().filename().string()));
            }
            for (const auto& f : fs::directory_iterator(envfiles)) {
                if (!f.is_regular_file()) continue;
                ++envFiles;
                auto text = envcheck::DecodeUtf16Le(testsupport::ReadFile(f.path()));
                ASSERT_TRUE(text) << f.path();
                auto parsed = envcheck::ParseText(*text);
                ASSERT_TRUE(parsed.document) << f.path() << ": " << parsed.error;
                auto env = envcheck::ReadEnvironment(*parsed.document);
                EXPECT_EQ(env.error, "") << f.path();
                const envcheck::Environment& e = env.environment;
                EXPECT_FALSE(e.water.empty() || e.sky.empty()) << f.path();
                EXPECT_TRUE(e.Sun() && e.Moon()) << f.path();
                std::vector<std::string> named;
                for (const auto& w : e.water) named.push_back(w.shader.texture);
                for (const auto& s : e.sky) named.push_back(s.shader.texture);
                for (const auto& s : e.satellites) named.push_back(s.shader.texture);
                if (e.precipitation) named.push_back(e.precipitation->shader.texture);
                for (const std::string& n : named)
                    EXPECT_TRUE(textures.count(Lower(n)))
                        << f.path() << " names " << n << ", missing";
            }
        }
    EXPECT_GE(envFiles, 20);
}

// Open Rails takes its fog from activities: each route with environment files ships activities
// in the editor's format, one with events and one without, and each takes the fog.
TEST(DemoSimulator, RoutesHoldRealActivitiesWithAndWithoutEvents) {
    testsupport::TempDir dir;
    const fs::path ts = dir.path() / "TS";
    const fs::path script = testsupport::SourceDir() / "scripts" / "make_demo.sh";
    const std::string command = "bash '" + script.string() + "' '" + ts.string() + "' > /dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    for (const RouteLayout& layout : Layouts(ts))
        for (const auto& route : fs::directory_iterator(layout.routes)) {
            if (!fs::is_directory(route.path() / layout.envfiles)) continue;
            int withEvents = 0, withoutEvents = 0;
            for (const auto& f : fs::directory_iterator(route.path() / layout.activities)) {
                const std::string bytes = testsupport::ReadFile(f.path());
                const actcheck::Activity read = actcheck::ReadActivity(bytes);
                for (const std::string& w : read.warnings) ADD_FAILURE() << f.path() << ": " << w;
                EXPECT_EQ(read.encoding, "utf-16le") << f.path();
                EXPECT_TRUE(read.crlf) << f.path();
                ++(read.events.empty() ? withoutEvents : withEvents);
                const auto copy =
                    fog::FogActivity(bytes, {fog::Weather::Rain, 50, " (mist 50 m)", ""});
                ASSERT_TRUE(copy) << f.path();
                const actcheck::Activity fogged = actcheck::ReadActivity(*copy);
                EXPECT_TRUE(fogged.warnings.empty()) << f.path();
                ASSERT_EQ(fogged.events.size(), read.events.size() + 1) << f.path();
                EXPECT_EQ(fogged.events[0].fogMetres, 50.0) << f.path();
            }
            EXPECT_GE(withEvents, 1) << route.path();
            EXPECT_GE(withoutEvents, 1) << route.path();
        }
}

}  // namespace
