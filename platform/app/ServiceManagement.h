#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace vorelt {

// Turns the login item `identifier` on: the session starts the item's program whenever the user
// logs in. The item is an XDG autostart entry, $XDG_CONFIG_HOME/autostart/<identifier>.desktop,
// naming the program installed with this one. It stays on: its program decides at each login
// whether to start anything.
//
// True when the item is on afterwards. It fails, and writes nothing, for an unknown identifier, a
// program that is not installed, or one whose path an entry cannot hold.
bool enableLoginItem(std::string_view identifier);

// Tests: `service`, when set, stands in for everything enableLoginItem does; an empty one brings
// the real service back.
void setLoginItemServiceForTesting(std::function<bool(std::string_view identifier)> service);
// Tests: the program of every login item is `path` instead of the one installed beside this
// program; an empty path brings the search back.
void setLoginItemProgramForTesting(std::string path);

}  // namespace vorelt
