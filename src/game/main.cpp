// Orbitor's entry point: the command line first (help and version need no
// display), then the game.
#include "core/options.h"
#include "game/startup.h"

#include <cstdio>
#include <string>

int main(int argc, char** argv)
{
    LaunchOptions options = parseOptions(argc, argv);
    const std::string program = "orbitor";
    switch (options.action) {
    case LaunchOptions::Action::help:
        std::fputs(usageText(program).c_str(), stdout);
        return 0;
    case LaunchOptions::Action::version:
        std::fputs(versionText().c_str(), stdout);
        return 0;
    case LaunchOptions::Action::usageError:
        std::fprintf(stderr, "%s: %s\n\n%s", program.c_str(), options.problem.c_str(),
                     usageText(program).c_str());
        return 2;
    case LaunchOptions::Action::play:
        break;
    }
    options.glutArguments.push_back(nullptr);   // argv ends with a null pointer
    return runGame(static_cast<int>(options.glutArguments.size()) - 1, options.glutArguments.data(),
                   options.windowed);
}
