// A translator writes a pack from the manual's key tables, so they must name exactly the keys the
// program reads: a missing row leaves a caption empty, an extra row sends translators astray.
#include <gtest/gtest.h>

#include <regex>
#include <set>

#include "core/settings/texts.h"
#include "support/fixtures.h"

namespace {

using Key = std::pair<std::string, std::string>;  // section, key

// Rows of every <table data-section="..."> whose first cell is <td><code>key</code></td>.
std::set<Key> DocumentedKeys(const std::string& html) {
    std::set<Key> keys;
    static const std::regex table(R"re(<table data-section="([^"]+)"[^>]*>([\s\S]*?)</table>)re");
    static const std::regex row(R"re(<tr><td><code>([^<]+)</code></td>)re");
    for (std::sregex_iterator t(html.begin(), html.end(), table), end; t != end; ++t) {
        const std::string section = (*t)[1], body = (*t)[2];
        for (std::sregex_iterator r(body.begin(), body.end(), row); r != end; ++r)
            keys.insert({section, (*r)[1]});
    }
    return keys;
}

std::set<Key> ProgramKeys() {
    std::set<Key> keys;
    for (const auto& k : settings::AllPackKeys()) keys.insert({k.section, k.key});
    return keys;
}

TEST(HelpKeyTables, ListExactlyTheKeysTheProgramReads) {
    const std::set<Key> expected = ProgramKeys();
    ASSERT_GT(expected.size(), 50u);
    for (const char* source : {"help_nl.html", "help_en.html"}) {
        std::string html =
            testsupport::ReadFile(testsupport::SourceDir() / "docs" / "help" / source);
        std::set<Key> documented = DocumentedKeys(html);
        for (const Key& k : expected)
            EXPECT_TRUE(documented.count(k)) << source << " lacks [" << k.first << "] " << k.second;
        for (const Key& k : documented)
            EXPECT_TRUE(expected.count(k))
                << source << " lists unknown [" << k.first << "] " << k.second;
    }
}

TEST(HelpKeyTables, ReaderFindsRowsPerSection) {
    auto keys = DocumentedKeys(
        "<table data-section=\"Menu\" border=\"1\"><tr><th>Key</th></tr>"
        "<tr><td><code>help1</code></td><td>x</td></tr></table>"
        "<table data-section=\"About Dlg\"><tr><td><code>Titel</code></td></tr></table>");
    EXPECT_EQ(keys, (std::set<Key>{{"Menu", "help1"}, {"About Dlg", "Titel"}}));
}

}  // namespace
