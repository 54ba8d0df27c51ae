// scripts/run.sh points the program at the demo simulator folder: its routes must hold real
// environment files (matching the format's grammar) and textures, or a fog run and its restore
// prove nothing about real routes.
#include <gtest/gtest.h>

#include <cctype>
#include <cstdlib>
#include <set>

#include "data/ace_reader.h"
#include "data/env_reader.h"
#include "support/fixtures.h"

namespace {

namespace fs = std::filesystem;

std::string Lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

TEST(DemoSimulator, RoutesHoldRealEnvironmentFilesAndTextures) {
    testsupport::TempDir dir;
    const fs::path ts = dir.path() / "TS";
    const fs::path script = testsupport::SourceDir() / "scripts" / "make_demo.sh";
    const std::string command = "bash '" + script.string() + "' '" + ts.string() + "' > /dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;

    int envFiles = 0;
    for (const auto& route : fs::directory_iterator(ts / "Routes")) {
        const fs::path envfiles = route.path() / "Envfiles";
        if (!fs::is_directory(envfiles)) continue;
        // Texture names as the simulator finds them: without regard to case.
        std::set<std::string> textures;
        for (const auto& t : fs::directory_iterator(envfiles / "Textures")) {
            auto read = acecheck::ReadTexture(testsupport::ReadFile(t.path()));
            ASSERT_TRUE(read.texture) << t.path() << ": " << read.error;
            EXPECT_EQ(read.texture->levels.back().side, 1) << t.path() << ": mip chain cut short";
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
                EXPECT_TRUE(textures.count(Lower(n))) << f.path() << " names " << n << ", missing";
        }
    }
    EXPECT_GE(envFiles, 10);
}

}  // namespace
