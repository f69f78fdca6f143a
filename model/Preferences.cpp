#include "model/Preferences.h"

#include "model/DateFormatSettingsFields.h"
#include "model/composeDateFormat.h"
#include "platform/foundation/UserDefaults.h"

namespace vorelt {

void Preferences::seedDateFormatOptions(UserDefaults& store) {
    using Field = DateFormatSettingsFields;
    if (store.objectForKey(Field(Field::shouldShowDayOfWeek).rawValue())) {
        return;
    }
    // A pattern written by hand before the options ever were is the user's: it is kept, and shown
    // as a custom one when the default options would compose another.
    std::unordered_set<Field> on{Field::shouldShowDayOfWeek, Field::shouldShowDate,
                                 Field::shouldUseAMPM};
    const auto kept = store.stringForKey(dateFormatKey);
    if (kept && *kept != composeDateFormat(on, {})) {
        on.insert(Field::shouldUseCustomFormat);
    }
    // The first option, whose presence says the store was seeded, goes last: a seeding cut short
    // by a crash is done again at the next opening instead of leaving options unset.
    for (const Field field : Field::allCases()) {
        if (field != Field::shouldShowDayOfWeek) {
            store.setBool(on.contains(field), field.rawValue());
        }
    }
    if (!kept) {
        store.setObject(defaultDateFormat, dateFormatKey);
    }
    store.setBool(true, Field(Field::shouldShowDayOfWeek).rawValue());
}

void Preferences::seedShouldAutoLaunch(UserDefaults& store) {
    if (!store.objectForKey(shouldAutoLaunchKey)) {
        store.setBool(true, shouldAutoLaunchKey);
    }
}

}  // namespace vorelt
