#include "core/platform/text.h"

#include <gtest/gtest.h>

namespace {

using platform::Cp1252ToUtf8;
using platform::DecodeForDisplay;
using platform::IsValidUtf8;

TEST(Text, StrictUtf8) {
    for (const char* ok : {"", "plain", "caf\xC3\xA9", "\xE2\x82\xAC", "\xF0\x9F\x98\x80",
                           "\xF4\x8F\xBF\xBF", "\xED\x9F\xBF"})
        EXPECT_TRUE(IsValidUtf8(ok)) << ok;
    for (const char* bad :
         {"caf\xE9", "\xC0\x80", "\xC1\xBF", "\xE0\x80\x80", "\xF0\x80\x80\x80", "\xED\xA0\x80",
          "\xF4\x90\x80\x80", "\xF5\x80\x80\x80", "\x80", "\xC3", "\xE2\x82", "\xE2\x28\xA1"})
        EXPECT_FALSE(IsValidUtf8(bad)) << bad;
    EXPECT_TRUE(IsValidUtf8(std::string("a\0b", 3)));
}

TEST(Text, Windows1252) {
    EXPECT_EQ(Cp1252ToUtf8("caf\xE9 \x80 \x85\x9F\xFF"),
              "caf\xC3\xA9 \xE2\x82\xAC \xE2\x80\xA6\xC5\xB8\xC3\xBF");
    // The five bytes the code page leaves undefined become the replacement character.
    std::string replacement;
    for (int i = 0; i < 5; ++i) replacement += "\xEF\xBF\xBD";
    EXPECT_EQ(Cp1252ToUtf8("\x81\x8D\x8F\x90\x9D"), replacement);
}

TEST(Text, DisplayDecoding) {
    EXPECT_EQ(DecodeForDisplay("\xEF\xBB\xBF"
                               "Fran\xC3\xA7"
                               "ais"),
              "Fran\xC3\xA7"
              "ais");
    EXPECT_EQ(DecodeForDisplay("Fran\xE7"
                               "ais"),
              "Fran\xC3\xA7"
              "ais");
    EXPECT_EQ(DecodeForDisplay("\xEF\xBB\xBF"
                               "Fran\xE7"
                               "ais"),
              "Fran\xC3\xA7"
              "ais");
    EXPECT_EQ(DecodeForDisplay("Nederlands"), "Nederlands");
}

}  // namespace
