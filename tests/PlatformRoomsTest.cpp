#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace {

// The platform's rooms from the bottom up: a room includes only itself and the rooms below it.
// The tray lives in the status bar's room.
constexpr std::array<std::string_view, 6> kRooms{"foundation", "wayland",   "x11",
                                                 "ui",         "statusbar", "app"};

// The room of a path under platform/ ("platform/statusbar/tray/X.h" is in statusbar); -1 for a
// folder that is no room.
int roomOf(const std::string& path) {
    const std::string rest = path.substr(path.find('/') + 1);
    const auto room = std::find(kRooms.begin(), kRooms.end(), rest.substr(0, rest.find('/')));
    return room == kRooms.end() ? -1 : static_cast<int>(room - kRooms.begin());
}

// Every include of one platform file that runs upward or into no room, as "file -> include";
// `files` maps paths such as "platform/ui/Popover.cpp" to their text.
std::vector<std::string> wrongIncludes(const std::map<std::string, std::string>& files) {
    static const std::regex include(R"(^\s*#\s*include\s*"(platform/[^"]+)\")");
    std::vector<std::string> wrong;
    for (const auto& [path, text] : files) {
        const int room = roomOf(path);
        std::istringstream lines(text);
        std::string line;
        std::smatch match;
        while (std::getline(lines, line)) {
            if (!std::regex_search(line, match, include)) {
                continue;
            }
            const int target = roomOf(match[1]);
            if (room < 0 || target < 0 || target > room) {
                wrong.push_back(path + " -> " + match[1].str());
            }
        }
    }
    return wrong;
}

TEST(PlatformRooms, NoIncludeRunsUpward) {
    const std::filesystem::path source(VORELT_PLATFORM_SOURCE);
    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(source)) {
        const auto extension = entry.path().extension();
        if (extension != ".h" && extension != ".cpp") {
            continue;
        }
        std::ifstream in(entry.path());
        std::ostringstream text;
        text << in.rdbuf();
        files["platform/" + entry.path().lexically_relative(source).generic_string()] = text.str();
    }
    ASSERT_GT(files.size(), 100u) << "the platform's files were not found in " << source;
    EXPECT_EQ(wrongIncludes(files), std::vector<std::string>{});
}

TEST(PlatformRooms, APlantedUpwardIncludeIsCaught) {
    const std::map<std::string, std::string> files{
        {"platform/x11/X11MouseWatcher.cpp",
         "#include <QWidget>\n#include \"platform/x11/X11Desktop.h\"\n"
         "#include \"platform/foundation/Geometry.h\"\n"
         "  #  include \"platform/statusbar/StatusBarWindow.h\"\n"},
        {"platform/statusbar/tray/StatusNotifierItem.cpp",
         "#include \"platform/statusbar/StatusItem.h\"\n#include \"platform/ui/Event.h\"\n"
         "#include \"platform/app/Application.h\"\n"},
        {"platform/app/Application.cpp", "#include \"platform/statusbar/StatusBar.h\"\n"},
        {"platform/extra/Thing.h", "#include \"platform/foundation/Object.h\"\n"},
    };
    EXPECT_EQ(wrongIncludes(files),
              (std::vector<std::string>{
                  "platform/extra/Thing.h -> platform/foundation/Object.h",
                  "platform/statusbar/tray/StatusNotifierItem.cpp -> platform/app/Application.h",
                  "platform/x11/X11MouseWatcher.cpp -> platform/statusbar/StatusBarWindow.h"}));
}

}  // namespace
