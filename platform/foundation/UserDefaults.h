#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/foundation/Object.h"

namespace vorelt {

// The preference store: QSettings' INI file under $XDG_CONFIG_HOME/<name>/, written through at
// once. <name> is the product's name.
//
// Every write goes to disk at once, replacing the file atomically. Writes that cannot reach the
// disk are kept in memory for the life of the process and fail silently. A file that cannot be
// read is kept aside under a new name before the first write, never overwritten. Edits made to
// the file by hand while the program runs are picked up at the next read.
class UserDefaults : public Object {
public:
    // The one shared store of this process.
    static std::shared_ptr<UserDefaults> standardUserDefaults();
    // Drops the shared store, so that the next call reads the location from the environment again.
    static void resetStandardUserDefaults();
    // $XDG_CONFIG_HOME, or ~/.config when the variable is unset or relative.
    static std::string configHomePath();
    // <name>/<name>.conf in the config home.
    static std::string standardPath();

    explicit UserDefaults(std::string path);
    ~UserDefaults() override;

    // Presence: the stored text of a key, or nothing for a key never written.
    std::optional<std::string> objectForKey(std::string_view key);
    // True only for a stored "true"; absent keys and any other text read as false.
    bool boolForKey(std::string_view key);
    // The stored string, or nothing when the key is absent or holds something else.
    std::optional<std::string> stringForKey(std::string_view key);

    void setBool(bool value, std::string_view key);
    void setObject(std::string_view value, std::string_view key);

    const std::string& path() const;

    // False while changes made here have not reached the disk, or when the folder of the file
    // cannot take one: what is set then lasts only as long as this process.
    bool canSave();

    // Calls `observer` at the next turn of the event loop after the stored values changed, here
    // or on disk, once for all the changes made before it. Needs a running Qt application.
    int addObserver(std::function<void()> observer);
    void removeObserver(int token);

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

}  // namespace vorelt
