#include "core/options.h"

#include <string_view>

#ifndef ORBITOR_VERSION
#error "the build passes the project version as ORBITOR_VERSION"
#endif

namespace {

// freeglut's own X options: the first two take a value.
constexpr std::string_view glutWithValue[] = {"-display", "-geometry"};
constexpr std::string_view glutFlags[] = {"-direct", "-indirect", "-iconic", "-gldebug", "-sync"};

template <std::size_t N>
bool among(std::string_view arg, const std::string_view (&names)[N])
{
    for (std::string_view name : names)
        if (arg == name)
            return true;
    return false;
}

}  // namespace

LaunchOptions parseOptions(int argc, char** argv)
{
    LaunchOptions options;
    if (argc > 0)
        options.glutArguments.push_back(argv[0]);
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            options.action = LaunchOptions::Action::help;
            return options;
        }
        if (arg == "--version") {
            options.action = LaunchOptions::Action::version;
            return options;
        }
        if (arg == "--windowed") {
            options.windowed = true;
        } else if (among(arg, glutFlags)) {
            options.glutArguments.push_back(argv[i]);
        } else if (among(arg, glutWithValue)) {
            if (i + 1 == argc) {
                options.action = LaunchOptions::Action::usageError;
                options.problem = std::string(arg) + " needs a value";
                return options;
            }
            options.glutArguments.push_back(argv[i]);
            options.glutArguments.push_back(argv[++i]);
        } else {
            options.action = LaunchOptions::Action::usageError;
            options.problem = (arg.starts_with('-') ? "unknown option " : "unexpected argument ") + std::string(arg);
            return options;
        }
    }
    return options;
}

std::string usageText(const std::string& program)
{
    return "Usage: " + program + " [--windowed] [X options]\n"
           "       " + program + " --help | --version\n"
           "\n"
           "Orbitor: walk an island, shoot the crawling enemies, escape the mirror sphere.\n"
           "\n"
           "Options:\n"
           "  --windowed   play in an 800 x 600 window instead of full screen\n"
           "  --help, -h   print this help and exit\n"
           "  --version    print the version and exit\n"
           "  X options    -display NAME, -geometry WxH+X+Y, -direct, -indirect,\n"
           "               -iconic, -gldebug, -sync (passed on to freeglut)\n"
           "\n"
           "Title menu:\n"
           "  W / S        move the cursor      D    select\n"
           "  A            leave the goal page  Esc  quit\n"
           "\n"
           "In the game:\n"
           "  Mouse        look around          Left button  fire the laser\n"
           "  W A S D      walk                 Q / E (held) tilt the view\n"
           "  X / Y (held) turn right / left    E            escape mode\n"
           "  T            environment view     G H V B      move the view / blur\n"
           "  L            lighting             P            pause the music channel\n"
           "  M / N        beach culling radius F1           pause (help page)\n"
           "  F2           frames per second    F3           wireframe\n"
           "  F4 / F5      texture filtering    F8           object culling\n"
           "  F9           translucent player   Esc          leave the game\n"
           "\n"
           "The game reads Textures/, Modells/ and Sound/ from its working directory;\n"
           "the installed launcher starts it in the installed asset folder.\n";
}

std::string versionText() { return std::string("orbitor ") + ORBITOR_VERSION + "\n"; }
