#include <gtest/gtest.h>

#include <QByteArray>
#include <QtGlobal>

#include <utility>
#include <vector>

#include "platform/app/ToolkitScale.h"

using namespace vorelt;

// The environment Qt starts with tells whether it may draw at a fraction of a pixel; anything
// unreadable or left to Qt counts as a fraction.
TEST(ToolkitScale, WholeOnlyWhereEveryScaleTheEnvironmentGivesIsWhole) {
    const char* const names[] = {"QT_SCALE_FACTOR", "QT_SCREEN_SCALE_FACTORS", "QT_FONT_DPI",
                                 "QT_USE_PHYSICAL_DPI", "QT_DEVICE_PIXEL_RATIO"};
    const std::vector<std::pair<std::vector<std::pair<const char*, const char*>>, bool>> cases{
        {{}, true},
        {{{"QT_SCALE_FACTOR", "2"}}, true},
        {{{"QT_SCALE_FACTOR", "1.5"}}, false},
        {{{"QT_SCALE_FACTOR", "big"}}, false},
        {{{"QT_SCREEN_SCALE_FACTORS", "DP-1=2;HDMI-1=1;"}}, true},
        {{{"QT_SCREEN_SCALE_FACTORS", "eDP-1=2;HDMI-1=1.25"}}, false},
        {{{"QT_SCREEN_SCALE_FACTORS", "2,1.75"}}, false},
        {{{"QT_FONT_DPI", "120"}}, false},
        {{{"QT_USE_PHYSICAL_DPI", "0"}, {"QT_SCALE_FACTOR", "3"}}, true},
        {{{"QT_DEVICE_PIXEL_RATIO", "auto"}}, false},
    };
    for (const auto& [variables, whole] : cases) {
        for (const char* name : names) {
            qunsetenv(name);
        }
        for (const auto& [name, value] : variables) {
            qputenv(name, QByteArray(value));
        }
        EXPECT_EQ(ToolkitScale::wholeFromEnvironment(), whole)
            << (variables.empty() ? "none" : variables.back().second);
    }
    for (const char* name : names) {
        qunsetenv(name);
    }
}
