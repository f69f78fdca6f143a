#include <gtest/gtest.h>

#include "model/DateFormatSettingsFields.h"

namespace vorelt {
namespace {

using Field = DateFormatSettingsFields;

// The keys are what settings files hold: a changed one would lose the user's setting.
TEST(DateFormatSettingsFields, RawValuesAreTheKeysInDeclarationOrder) {
    const char* keys[] = {"shouldShowDayOfWeek", "shouldShowDate",     "shouldShowYear",
                          "shouldShowSeconds",   "shouldShowTimezone", "shouldFlashSeparator",
                          "shouldUseAMPM",       "shouldUse24Hour",    "shouldUseCustomFormat"};
    ASSERT_EQ(Field::allCases().size(), 9u);
    for (int i = 0; i < 9; ++i) {
        EXPECT_EQ(Field::allCases()[i].rawValue(), keys[i]);
        EXPECT_EQ(Field::fromRawValue(keys[i]), Field::allCases()[i]);
    }
}

}  // namespace
}  // namespace vorelt
