#pragma once

#include <QKeyEvent>

#include <cstdint>
#include <memory>

struct xkb_context;
struct xkb_keymap;
struct xkb_state;

namespace vorelt {

// libxkbcommon's reading of Wayland keyboard events into QKeyEvents.
// The keys that a Wayland compositor sends (evdev codes, under the keymap it hands over) as the
// toolkit's key events.
class XkbKeys {
public:
    XkbKeys();
    ~XkbKeys();
    XkbKeys(const XkbKeys&) = delete;
    XkbKeys& operator=(const XkbKeys&) = delete;

    // The keymap in xkb's text form; false, and no keymap, when it cannot be read.
    bool useKeymap(const char* text);
    // The modifiers and the layout group the compositor says are in effect.
    void setModifiers(uint32_t depressed, uint32_t latched, uint32_t locked, uint32_t group);
    // The event for the evdev key `code` pressed or released; none without a keymap.
    std::unique_ptr<QKeyEvent> event(uint32_t code, bool pressed) const;

private:
    xkb_context* context_;
    xkb_keymap* keymap_ = nullptr;
    xkb_state* state_ = nullptr;
};

}  // namespace vorelt
