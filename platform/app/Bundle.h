#pragma once

#include <string>

namespace vorelt {

// The program's translations: Qt .qm files under share/<name>/translations, by the user's locale.
// The locale comes from LC_ALL, LC_MESSAGES or LANG; Qt's own are loaded too. They are loaded once
// at start, and looked up by the English text and the view it belongs to. The views' own texts are
// translated as they load.
class Bundle {
public:
    // The locale the user reads messages in: LC_ALL, else LC_MESSAGES, else LANG, without its
    // encoding or modifier ("de_DE" for "de_DE.UTF-8@euro"). Empty for C, POSIX or none.
    static std::string preferredLocalization();

    // Loads the program's translation for `localization` and Qt's own, in place of those loaded
    // before; an empty one leaves the English texts. The program's are looked for in `folder`,
    // or with none where the program is installed or built. False when it has none to load.
    static bool loadLocalization(const std::string& localization, const std::string& folder = {});

    // The text to show for `sourceText` in `context` (the class name of the view it belongs to):
    // its translation, or itself.
    static std::string localizedString(const char* context, const char* sourceText);
};

}  // namespace vorelt
