#include "platform/ui/Menu.h"

namespace vorelt {

void Menu::update() {
    if (const auto delegate = delegate_.lock()) {
        delegate->menuNeedsUpdate(*this);
    }
}

}  // namespace vorelt
