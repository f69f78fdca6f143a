#include "model/Preferences.h"

#include "model/DateFormatSettingsFields.h"
#include "platform/UserDefaults.h"

namespace vorelt {

void Preferences::seedDateFormatOptions(UserDefaults& store) {
    using Field = DateFormatSettingsFields;
    if (store.objectForKey(Field(Field::shouldShowDayOfWeek).rawValue())) {
        return;
    }
    for (const Field field : Field::allCases()) {
        const bool on = field == Field::shouldShowDayOfWeek || field == Field::shouldShowDate ||
                        field == Field::shouldUseAMPM;
        store.setBool(on, field.rawValue());
    }
    store.setObject(defaultDateFormat, dateFormatKey);
}

void Preferences::seedShouldAutoLaunch(UserDefaults& store) {
    if (!store.objectForKey(shouldAutoLaunchKey)) {
        store.setBool(true, shouldAutoLaunchKey);
    }
}

}  // namespace vorelt
