// The command line: which arguments are the game's, which go on to glutInit,
// and which make a usage error.
#include "core/options.h"

#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

namespace {

using Action = LaunchOptions::Action;

struct OptionCase {
    std::vector<std::string> args;   // after the program name
    Action action;
    bool windowed;
    std::vector<std::string> glut;   // what glutInit gets after the program name
};

class Options : public testing::TestWithParam<OptionCase> {};

TEST_P(Options, DecideTheActionAndWhatGlutGets)
{
    const OptionCase& c = GetParam();
    std::vector<std::string> storage{"orbitor"};
    storage.insert(storage.end(), c.args.begin(), c.args.end());
    std::vector<char*> argv;
    for (std::string& s : storage)
        argv.push_back(s.data());
    const LaunchOptions options = parseOptions(static_cast<int>(argv.size()), argv.data());
    EXPECT_EQ(options.action, c.action);
    if (c.action != Action::play)
        return;
    EXPECT_EQ(options.windowed, c.windowed);
    std::vector<std::string> glut;
    for (char* arg : options.glutArguments)
        glut.push_back(arg);
    std::vector<std::string> expected{"orbitor"};
    expected.insert(expected.end(), c.glut.begin(), c.glut.end());
    EXPECT_EQ(glut, expected);
}

INSTANTIATE_TEST_SUITE_P(
    CommandLines, Options,
    testing::Values(
        OptionCase{{}, Action::play, false, {}},
        OptionCase{{"--windowed"}, Action::play, true, {}},
        OptionCase{{"-display", ":3", "--windowed", "-sync"}, Action::play, true, {"-display", ":3", "-sync"}},
        OptionCase{{"--help"}, Action::help, false, {}},
        OptionCase{{"-h"}, Action::help, false, {}},
        OptionCase{{"--windowed", "--version", "--bogus"}, Action::version, false, {}},
        OptionCase{{"--fullscreen"}, Action::usageError, false, {}},
        OptionCase{{"level2"}, Action::usageError, false, {}},
        OptionCase{{"-geometry"}, Action::usageError, false, {}}));

TEST(OptionTexts, UsageNamesEveryOptionAndTheControls)
{
    const std::string usage = usageText("orbitor");
    for (const char* word : {"Usage: orbitor", "--windowed", "--help", "--version", "Left button", "Esc"})
        EXPECT_NE(usage.find(word), std::string::npos) << word;
    EXPECT_TRUE(std::regex_match(versionText(), std::regex("orbitor [0-9]+\\.[0-9]+\\.[0-9]+\n"))) << versionText();
}

}  // namespace
