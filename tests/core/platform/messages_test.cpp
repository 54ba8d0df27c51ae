#include "core/platform/messages.h"

#include <gtest/gtest.h>

#include <chrono>

#include "core/platform/profile.h"
#include "support/fixtures.h"

namespace {

using platform::FormatWithEmptyArgument;
using platform::MessageIcon;

TEST(Format, EmptyArgumentAndPadding) {
    EXPECT_EQ(FormatWithEmptyArgument("plain text"), "plain text");
    EXPECT_EQ(FormatWithEmptyArgument("100%% sure: %s."), "100% sure: .");
    EXPECT_EQ(FormatWithEmptyArgument("[%3s|%0:-2S|%0:.5s]"), "[   |  |]");
    EXPECT_EQ(FormatWithEmptyArgument("%0:s%0:s%0:.99999999999s"), "");
    EXPECT_EQ(FormatWithEmptyArgument(""), "");
}

TEST(Format, AnythingElseIsAFormatError) {
    for (const char* text : {"%d", "%s and %s", "50%", "%1:s", "%*s", "%-*s", "%.*s", "%x", "%5-s",
                             "% s", "%g", "%p", "%U", "%999999999999s"}) {
        try {
            FormatWithEmptyArgument(text);
            ADD_FAILURE() << "accepted " << text;
        } catch (const platform::FormatError& e) {
            EXPECT_EQ(std::string(e.what()),
                      std::string("Format '") + text + "' invalid or incompatible with argument");
        }
    }
}

// A box shows at most 64 KiB: padding beyond that is refused at once, however it is spread.
TEST(Format, PaddingBeyondWhatABoxCanShowIsInvalid) {
    EXPECT_EQ(FormatWithEmptyArgument("%65536s"), std::string(65536, ' '));
    EXPECT_EQ(FormatWithEmptyArgument("%0:30000s%0:35536s.").size(), 65537u);
    std::string repeated;
    for (int i = 0; i < 110; ++i) repeated += "%0:99999s";
    const auto start = std::chrono::steady_clock::now();
    for (const std::string& text : {std::string("x%65536s"), std::string("%0:40000s%0:40000s"),
                                    std::string("%0:-65537s"), repeated}) {
        EXPECT_THROW(FormatWithEmptyArgument(text), platform::FormatError) << text.substr(0, 20);
    }
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(200));
}

TEST(Messages, BoxesGoThroughFormatAndPresenter) {
    testsupport::MessageRecorder recorder;
    platform::ShowErrorMessage("Fout %s 100%%", "Fout");
    platform::ShowInfoMessage("Klaar", "Info");
    platform::ShowMessageBox(MessageIcon::Info, "T", "raw %d");
    ASSERT_EQ(recorder.messages().size(), 3u);
    EXPECT_EQ(recorder.messages()[0].icon, MessageIcon::Error);
    EXPECT_EQ(recorder.messages()[0].title, "Fout");
    EXPECT_EQ(recorder.messages()[0].text, "Fout  100%");
    EXPECT_EQ(recorder.messages()[1].icon, MessageIcon::Info);
    EXPECT_EQ(recorder.messages()[2].text, "raw %d");
    EXPECT_THROW(platform::ShowErrorMessage("%d", "Fout"), platform::FormatError);
    EXPECT_EQ(recorder.messages().size(), 3u);
}

TEST(Messages, GuardShowsEscapedErrorsUnderTheTitle) {
    testsupport::MessageRecorder recorder;
    EXPECT_TRUE(platform::RunGuarded([] {}));
    EXPECT_FALSE(platform::RunGuarded(
        [] { throw platform::ProfileWriteError("Unable to write to /x/All_dat.ini"); }));
    EXPECT_FALSE(platform::RunGuarded([] { platform::ShowErrorMessage("50%", "Fout"); }));
    EXPECT_FALSE(platform::RunGuarded([] { throw 42; }));
    ASSERT_EQ(recorder.messages().size(), 3u);
    EXPECT_EQ(recorder.messages()[0].icon, MessageIcon::Error);
    EXPECT_EQ(recorder.messages()[0].title, "ZEL Nevora");
    // The path is shown as it is: no format rule on this path.
    EXPECT_EQ(recorder.messages()[0].text, "Unable to write to /x/All_dat.ini.");
    EXPECT_EQ(recorder.messages()[1].text, "Format '50%' invalid or incompatible with argument.");

    // A presenter that fails itself must not let anything escape the guard.
    platform::SetMessagePresenter(
        [](MessageIcon, const std::string&, const std::string&) { throw 1; });
    EXPECT_FALSE(platform::RunGuarded([] { throw std::runtime_error("x"); }));
}

}  // namespace
