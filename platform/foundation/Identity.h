#pragma once

#include <string>

namespace vorelt {

// The program's names, handed to Qt as its application name and desktop file name.
// Who the program is, as its product names it. The platform takes every name of the program from
// here.
struct Identity {
    // The application identifier: the desktop file's name, and the running program's announcement.
    std::string applicationId;
    // The product's name in lower case: its messages, the folders of its settings, translations
    // and announcements, its logging category.
    std::string name;
    // The name people see: the tray item's title.
    std::string displayName;

    // Makes this the program's identity, before the toolkit starts too.
    void adopt() const;
    // The identity adopted.
    static Identity current();
};

}  // namespace vorelt
