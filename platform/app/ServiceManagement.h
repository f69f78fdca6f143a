#pragma once

#include <functional>
#include <string>

namespace vorelt {

// A login item: an XDG autostart entry, $XDG_CONFIG_HOME/autostart/<identifier>.desktop.
// The program that the session starts whenever the user logs in, as its product describes it.
struct LoginItem {
    std::string identifier;
    // The program's file name: beside this program while built, in `installedFolder` (relative to
    // this program's folder) once installed. A name with a slash is the program's own path.
    std::string program;
    std::string installedFolder;
    // The entry's Name and Comment, as the desktop's list of programs started at login shows it.
    std::string name;
    std::string comment;
};

// Turns `item` on. It stays on: its program decides at each login whether to start anything.
//
// True when the item is on afterwards. It fails, and writes nothing, for a program that is not
// installed, one whose path an entry cannot hold, or an identifier that is no file name.
bool enableLoginItem(const LoginItem& item);

// What turns login items on: enableLoginItem, or a stand-in that a test hands in.
using LoginItemService = std::function<bool(const LoginItem& item)>;

}  // namespace vorelt
