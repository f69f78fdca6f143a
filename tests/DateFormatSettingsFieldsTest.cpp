#include <gtest/gtest.h>

#include <set>
#include <unordered_set>

#include "model/DateFormatSettingsFields.h"

namespace vorelt {
namespace {

using Field = DateFormatSettingsFields;

TEST(DateFormatSettingsFields, RawValuesAreTheKeysInDeclarationOrder) {
    const char* keys[] = {"shouldShowDayOfWeek", "shouldShowDate",     "shouldShowYear",
                          "shouldShowSeconds",   "shouldShowTimezone", "shouldFlashSeparator",
                          "shouldUseAMPM",       "shouldUse24Hour",    "shouldUseCustomFormat"};
    ASSERT_EQ(Field::allCases().size(), 9u);
    for (int i = 0; i < 9; ++i) {
        EXPECT_EQ(Field::allCases()[i].ordinal(), i);
        EXPECT_EQ(Field::allCases()[i].rawValue(), keys[i]);
        EXPECT_EQ(Field::fromRawValue(keys[i]), Field::allCases()[i]);
    }
}

TEST(DateFormatSettingsFields, LookupIsExactAndCaseSensitive) {
    EXPECT_EQ(Field::fromRawValue("shouldShowDate")->ordinal(), 1);
    for (const char* other :
         {"ShouldShowDate", "shouldshowdate", " shouldShowDate", "shouldShowDate ", "",
          "shouldUseCustomDateButton", "dateFormat", "shouldAutoLaunch"}) {
        EXPECT_FALSE(Field::fromRawValue(other).has_value()) << other;
    }
}

TEST(DateFormatSettingsFields, EqualityAndHashFollowTheCase) {
    std::unordered_set<Field> set(Field::allCases().begin(), Field::allCases().end());
    EXPECT_EQ(set.size(), 9u);
    set.insert(Field::shouldShowYear);
    EXPECT_EQ(set.size(), 9u);
    EXPECT_EQ(Field(Field::shouldUseAMPM), Field::fromRawValue("shouldUseAMPM"));
    EXPECT_NE(Field(Field::shouldUseAMPM), Field(Field::shouldUse24Hour));
    std::set<std::size_t> hashes;
    for (const Field field : Field::allCases()) {
        hashes.insert(std::hash<Field>{}(field));
        EXPECT_EQ(std::hash<Field>{}(field),
                  std::hash<Field>{}(*Field::fromRawValue(field.rawValue())));
    }
    EXPECT_EQ(hashes.size(), 9u);
}

}  // namespace
}  // namespace vorelt
