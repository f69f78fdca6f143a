#include "platform/app/CommandLine.h"

namespace vorelt {

namespace {
constexpr std::string_view kShowIn = "--show-in";
}  // namespace

CommandLine::CommandLine(const std::vector<std::string>& arguments) {
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "-h" || argument == "--help") {
            help_ = true;
        } else if (argument == "--version") {
            version_ = true;
        } else if (argument == kShowIn || argument.starts_with(std::string(kShowIn) + "=")) {
            std::string value;
            if (argument.size() > kShowIn.size()) {
                value = argument.substr(kShowIn.size() + 1);
            } else if (i + 1 < arguments.size()) {
                value = arguments[++i];
            } else {
                fail("option '--show-in' needs a place: auto, bar, tray or stdout");
                continue;
            }
            if (const auto place = StatusBarHostRule::placeNamed(value)) {
                place_ = *place;
            } else {
                fail("unknown place '" + value + "' for --show-in: auto, bar, tray or stdout");
            }
        } else if (argument.starts_with("-")) {
            fail("unknown option '" + argument + "'");
        } else {
            fail("unexpected argument '" + argument + "'");
        }
    }
}

void CommandLine::fail(std::string message) {
    if (error_.empty()) {
        error_ = std::move(message) + " (see --help)";
    }
}

std::string CommandLine::usage(const std::string& program) {
    return "Usage: " + program + R"( [--show-in=auto|bar|tray|stdout] [Qt options]

A clock for the desktop's status bar: the date and time in a pattern of your own,
refreshed every second. Click it for a calendar, Settings and Quit.

Options:
  --show-in=PLACE  where the clock shows:
                     auto    the panel's tray where it shows text beside icons (GNOME
                             Shell with the AppIndicator extension, Ayatana indicators),
                             else a bar of its own along the top (the default)
                     bar     a bar of its own along the top of the screen
                     tray    the panel's tray whenever there is one
                     stdout  standard output, one line a change, for bar programs
  -h, --help       show this help and exit
  --version        show the version and exit

Qt's own options, such as -platform or -display, work as in every Qt program.
Settings: $XDG_CONFIG_HOME/)" +
           program + "/" + program + R"(.conf, changed in the Settings window.
)";
}

}  // namespace vorelt
