// The command line: the game's own options, decided without any window, so
// --help and --version work without a display. Everything else on the line
// is freeglut's X options (-display NAME, -geometry WxH+X+Y, -direct,
// -indirect, -iconic, -gldebug, -sync), which go on to glutInit as before.
#pragma once

#include <string>
#include <vector>

struct LaunchOptions {
    enum class Action { play, help, version, usageError };
    Action action = Action::play;
    // Open an ordinary 800 x 600 window instead of switching the screen mode.
    bool windowed = false;
    // For usageError: what was wrong, e.g. "unknown option --fast".
    std::string problem;
    // argv[0] and the arguments meant for glutInit, in their order.
    std::vector<char*> glutArguments;
};

// Reads argv[1 .. argc-1]. --help (or -h) and --version win over anything
// after them; the first argument that is neither ours nor freeglut's makes a
// usage error. Called once by main, before anything else.
LaunchOptions parseOptions(int argc, char** argv);

// The usage, the options and the controls, as printed by --help. Called by
// main for --help (standard output) and after a usage error's problem line
// (standard error).
std::string usageText(const std::string& program);
// "orbitor 1.0.0", as printed by --version. Called by main for --version.
std::string versionText();
