// Drives the real settings view as fast as it goes, so that it can be killed at any moment, and
// checks afterwards that the store holds what the view had saved.
//
//   settings_harness run JOURNAL      clicks option checkboxes in a loop until killed; before
//                                     each click it journals the option's ordinal, after it "done"
//   settings_harness verify JOURNAL   exits 0 when every key holds its value after the last
//                                     finished click, or the one the unfinished click gave it
#include <QApplication>

#include <cstdio>
#include <fstream>
#include <map>
#include <random>
#include <string>
#include <unordered_set>

#include "model/DateFormatSettingsFields.h"
#include "model/Preferences.h"
#include "model/composeDateFormat.h"
#include "platform/app/ServiceManagement.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/ui/Button.h"
#include "settings/SettingsViewController.h"

namespace {

using Field = vorelt::DateFormatSettingsFields;
using State = std::map<std::string, std::string>;

// The store's contents after the clicks of `flips` on first-run defaults.
State stateAfter(const std::vector<Field>& flips) {
    std::unordered_set<Field> on = {Field::shouldShowDayOfWeek, Field::shouldShowDate,
                                    Field::shouldUseAMPM};
    for (const Field field : flips) {
        // AM/PM and the 24-hour clock are a pair of radio buttons: a click chooses one.
        if (field == Field::shouldUseAMPM || field == Field::shouldUse24Hour) {
            on.erase(field == Field::shouldUseAMPM ? Field::shouldUse24Hour : Field::shouldUseAMPM);
            on.insert(field);
        } else if (!on.erase(field)) {
            on.insert(field);
        }
    }
    State state;
    for (const Field field : Field::allCases()) {
        state[std::string(field.rawValue())] = on.contains(field) ? "true" : "false";
    }
    state["dateFormat"] = vorelt::composeDateFormat(on, "");
    return state;
}

int run(const char* journalPath) {
    // Each line is written before the next step, so that a kill leaves it behind.
    std::ofstream journal(journalPath, std::ios::app);
    vorelt::setLoginItemServiceForTesting([](std::string_view) { return true; });
    const auto settings = std::make_shared<vorelt::SettingsViewController>();
    settings->view();
    std::mt19937 random(std::random_device{}());
    for (;;) {
        // Any option but the custom format, the last, whose text the harness leaves alone.
        const Field field = Field::Case(random() % Field::shouldUseCustomFormat);
        journal << "click " << field.ordinal() << std::endl;
        settings->buttonFor(field)->performClick();
        journal << "done" << std::endl;
    }
}

int verify(const char* journalPath, const std::string& storePath) {
    std::ifstream in(journalPath);
    std::vector<Field> finished;
    std::optional<Field> pending;
    for (std::string line; std::getline(in, line);) {
        if (line.rfind("click ", 0) == 0) {
            // One digit: there are nine options.
            const int ordinal = line.size() == 7 ? line[6] - '0' : -1;
            const bool named = ordinal >= 0 && ordinal < static_cast<int>(Field::count);
            pending = named ? std::optional<Field>(Field::Case(ordinal)) : std::nullopt;
        } else if (line == "done" && pending) {
            finished.push_back(*pending);
            pending.reset();
        }
    }
    const State before = stateAfter(finished);
    if (pending) {
        finished.push_back(*pending);
    }
    const State after = stateAfter(finished);
    if (std::ifstream(storePath + ".unreadable").good()) {
        std::fprintf(stderr, "the store was unreadable after the kill\n");
        return 1;
    }
    vorelt::UserDefaults store(storePath);
    // What the next opening of the view finds: a first-run seeding cut short is done again.
    vorelt::Preferences::seedDateFormatOptions(store);
    vorelt::Preferences::seedShouldAutoLaunch(store);
    // The pattern is saved after the options: beside a new pattern, every option is new too.
    const bool newPattern = after.at("dateFormat") != before.at("dateFormat") &&
                            store.stringForKey("dateFormat") == after.at("dateFormat");
    int wrong = 0;
    for (const auto& [key, value] : after) {
        const auto stored = store.stringForKey(key);
        if (stored != value && (newPattern || stored != before.at(key))) {
            std::fprintf(stderr, "%s holds \"%s\", not \"%s\"%s\n", key.c_str(),
                         stored.value_or("(nothing)").c_str(), value.c_str(),
                         newPattern ? " beside the new pattern" : "");
            ++wrong;
        }
    }
    return wrong == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s run|verify JOURNAL\n", argv[0]);
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    return std::string(argv[1]) == "run" ? run(argv[2])
                                         : verify(argv[2], vorelt::UserDefaults::standardPath());
}
