// OPTIONS: the desktop programs' command line.
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "app/options.h"

namespace {

TEST(Options, ParseTheDesktopCommandLine)
{
    auto parse = [](std::initializer_list<const char*> args, DesktopView* view, std::string* text) {
        std::vector<const char*> argv{"voxa7100"};
        argv.insert(argv.end(), args);
        return OPTIONS_parse(static_cast<int>(argv.size()), argv.data(), view, text);
    };
    DesktopView view;
    std::string text;
    EXPECT_EQ(parse({}, &view, &text), OPTIONS_RUN);
    EXPECT_EQ(view.scale, 0);
    EXPECT_TRUE(view.vsync);
    EXPECT_FALSE(view.fullscreen || view.verbose);
    EXPECT_EQ(parse({"--scale", "3", "--fullscreen", "--no-vsync", "--verbose"}, &view, &text), OPTIONS_RUN);
    EXPECT_EQ(view.scale, 3);
    EXPECT_TRUE(view.fullscreen && !view.vsync && view.verbose);
    EXPECT_EQ(parse({"--scale=2"}, &view, &text), OPTIONS_RUN);
    EXPECT_EQ(view.scale, 2);
    EXPECT_EQ(parse({"--help"}, &view, &text), OPTIONS_SHOW);
    EXPECT_NE(text.find("usage: voxa7100"), std::string::npos);
    EXPECT_NE(text.find("SPACE         next part"), std::string::npos);
    EXPECT_NE(text.find("F11, Alt+Enter"), std::string::npos);
    EXPECT_EQ(parse({"--version"}, &view, &text), OPTIONS_SHOW);
    EXPECT_EQ(text, std::string("voxa7100 ") + VOXA_VERSION + "\n");
    for (auto bad : {std::initializer_list<const char*>{"--scale"}, {"--scale", "0"}, {"--scale", "2x"},
                     {"--scale", "-1"}, {"--scale", "99999999999"}, {"--bogus"}, {"-x"}}) {
        view = DesktopView{};
        EXPECT_EQ(parse(bad, &view, &text), OPTIONS_BAD) << *bad.begin();
        EXPECT_EQ(text.rfind("voxa7100: ", 0), 0u) << text;
        EXPECT_NE(text.find("usage: voxa7100"), std::string::npos);
        EXPECT_EQ(view.scale, 0) << "a bad command line leaves the view as it was";
    }
}

}  // namespace
