// The command line: which arguments are the game's, which go on to glutInit,
// and which make a usage error.
#include "core/options.h"

#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

namespace {

using Action = LaunchOptions::Action;

TEST(Options, DecideTheActionAndWhatGlutGets)
{
    const struct { std::vector<std::string> args; Action action; bool windowed; std::vector<std::string> glut; } cases[] = {
        {{}, Action::play, false, {}},
        {{"--windowed"}, Action::play, true, {}},
        {{"-display", ":3", "--windowed", "-sync"}, Action::play, true, {"-display", ":3", "-sync"}},
        {{"--help"}, Action::help, false, {}},
        {{"-h"}, Action::help, false, {}},
        {{"--windowed", "--version", "--bogus"}, Action::version, false, {}},
        {{"--fullscreen"}, Action::usageError, false, {}},
        {{"level2"}, Action::usageError, false, {}},
        {{"-geometry"}, Action::usageError, false, {}}};
    for (const auto& c : cases) {
        std::vector<std::string> storage{"orbitor"}, glut, expected{"orbitor"};
        storage.insert(storage.end(), c.args.begin(), c.args.end());
        expected.insert(expected.end(), c.glut.begin(), c.glut.end());
        std::vector<char*> argv;
        for (std::string& s : storage)
            argv.push_back(s.data());
        const LaunchOptions options = parseOptions(static_cast<int>(argv.size()), argv.data());
        for (char* arg : options.glutArguments)
            glut.push_back(arg);
        EXPECT_EQ(options.action, c.action) << storage.size();
        EXPECT_TRUE(c.action != Action::play || std::pair(options.windowed, glut) == std::pair(c.windowed, expected))
            << storage.size();
    }
}

TEST(Options, UsageNamesEveryOptionAndTheControls)
{
    const std::string usage = usageText("orbitor");
    for (const char* word : {"Usage: orbitor", "--windowed", "--help", "--version", "Left button", "Esc"})
        EXPECT_NE(usage.find(word), std::string::npos) << word;
    EXPECT_TRUE(std::regex_match(versionText(), std::regex("orbitor [0-9]+\\.[0-9]+\\.[0-9]+\n"))) << versionText();
}

}  // namespace
