#include "platform/wayland/XkbKeys.h"

#include <xkbcommon/xkbcommon.h>

#include <QChar>

#include <array>
#include <cstdarg>
#include <utility>

namespace vorelt {

namespace {
// Evdev's codes are xkb's less this.
constexpr uint32_t kEvdevOffset = 8;

int qtKey(xkb_keysym_t sym) {
    static constexpr std::array<std::pair<xkb_keysym_t, int>, 25> named{{
        {XKB_KEY_Escape, Qt::Key_Escape},
        {XKB_KEY_Tab, Qt::Key_Tab},
        {XKB_KEY_ISO_Left_Tab, Qt::Key_Backtab},
        {XKB_KEY_Return, Qt::Key_Return},
        {XKB_KEY_KP_Enter, Qt::Key_Enter},
        {XKB_KEY_BackSpace, Qt::Key_Backspace},
        {XKB_KEY_Delete, Qt::Key_Delete},
        {XKB_KEY_Home, Qt::Key_Home},
        {XKB_KEY_End, Qt::Key_End},
        {XKB_KEY_Left, Qt::Key_Left},
        {XKB_KEY_Up, Qt::Key_Up},
        {XKB_KEY_Right, Qt::Key_Right},
        {XKB_KEY_Down, Qt::Key_Down},
        {XKB_KEY_Prior, Qt::Key_PageUp},
        {XKB_KEY_Next, Qt::Key_PageDown},
        {XKB_KEY_space, Qt::Key_Space},
        {XKB_KEY_KP_Space, Qt::Key_Space},
        {XKB_KEY_Shift_L, Qt::Key_Shift},
        {XKB_KEY_Shift_R, Qt::Key_Shift},
        {XKB_KEY_Control_L, Qt::Key_Control},
        {XKB_KEY_Control_R, Qt::Key_Control},
        {XKB_KEY_Alt_L, Qt::Key_Alt},
        {XKB_KEY_Alt_R, Qt::Key_Alt},
        {XKB_KEY_Super_L, Qt::Key_Meta},
        {XKB_KEY_Super_R, Qt::Key_Meta},
    }};
    for (const auto& [keysym, key] : named) {
        if (keysym == sym) {
            return key;
        }
    }
    if (sym >= XKB_KEY_F1 && sym <= XKB_KEY_F12) {
        return Qt::Key_F1 + static_cast<int>(sym - XKB_KEY_F1);
    }
    // Characters are their own keys, letters the capital ones.
    const uint32_t character = xkb_keysym_to_utf32(sym);
    return character >= 0x20 ? static_cast<int>(QChar::toUpper(character)) : Qt::Key_unknown;
}
}  // namespace

XkbKeys::XkbKeys() : context_(xkb_context_new(XKB_CONTEXT_NO_FLAGS)) {
    // A keymap it cannot read leaves the keys unread, and the user's terminal quiet.
    if (context_ != nullptr) {
        xkb_context_set_log_fn(context_, [](xkb_context*, xkb_log_level, const char*, va_list) {});
    }
}

XkbKeys::~XkbKeys() {
    xkb_state_unref(state_);
    xkb_keymap_unref(keymap_);
    xkb_context_unref(context_);
}

bool XkbKeys::useKeymap(const char* text) {
    xkb_state_unref(std::exchange(state_, nullptr));
    xkb_keymap_unref(std::exchange(keymap_, nullptr));
    if (context_ == nullptr || text == nullptr) {
        return false;
    }
    keymap_ = xkb_keymap_new_from_string(context_, text, XKB_KEYMAP_FORMAT_TEXT_V1,
                                         XKB_KEYMAP_COMPILE_NO_FLAGS);
    state_ = keymap_ != nullptr ? xkb_state_new(keymap_) : nullptr;
    return state_ != nullptr;
}

void XkbKeys::setModifiers(uint32_t depressed, uint32_t latched, uint32_t locked, uint32_t group) {
    if (state_ != nullptr) {
        xkb_state_update_mask(state_, depressed, latched, locked, 0, 0, group);
    }
}

std::unique_ptr<QKeyEvent> XkbKeys::event(uint32_t code, bool pressed) const {
    if (state_ == nullptr) {
        return nullptr;
    }
    const xkb_keycode_t keycode = code + kEvdevOffset;
    const xkb_keysym_t sym = xkb_state_key_get_one_sym(state_, keycode);
    const auto active = [this](const char* name) {
        return xkb_state_mod_name_is_active(state_, name, XKB_STATE_MODS_EFFECTIVE) > 0;
    };
    Qt::KeyboardModifiers modifiers;
    modifiers.setFlag(Qt::ShiftModifier, active(XKB_MOD_NAME_SHIFT));
    modifiers.setFlag(Qt::ControlModifier, active(XKB_MOD_NAME_CTRL));
    modifiers.setFlag(Qt::AltModifier, active(XKB_MOD_NAME_ALT));
    modifiers.setFlag(Qt::MetaModifier, active(XKB_MOD_NAME_LOGO));
    char text[16] = {};
    xkb_state_key_get_utf8(state_, keycode, text, sizeof text);
    return std::make_unique<QKeyEvent>(pressed ? QEvent::KeyPress : QEvent::KeyRelease, qtKey(sym),
                                       modifiers, QString::fromUtf8(text));
}

}  // namespace vorelt
