#pragma once

#include <memory>
#include <vector>

#include "platform/foundation/Object.h"

namespace vorelt {

class Menu;
class MenuItem;

// Brings a menu's entries up to date when a panel asks for it over com.canonical.dbusmenu.
class MenuDelegate : public Object {
public:
    virtual void menuNeedsUpdate(Menu& menu) = 0;
};

// A menu as plain data, shown by the panel over com.canonical.dbusmenu (DBusMenuExporter).
// A list of entries that a click opens, each sending its action when chosen.
class Menu : public Object {
public:
    void addItem(std::shared_ptr<MenuItem> item) { items_.push_back(std::move(item)); }
    const std::vector<std::shared_ptr<MenuItem>>& itemArray() const { return items_; }

    void setDelegate(const std::shared_ptr<MenuDelegate>& delegate) { delegate_ = delegate; }
    // Asks the delegate to bring the entries up to date: the menu is about to show.
    void update();

private:
    std::vector<std::shared_ptr<MenuItem>> items_;
    std::weak_ptr<MenuDelegate> delegate_;
};

}  // namespace vorelt
