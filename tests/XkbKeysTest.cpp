#include "platform/wayland/XkbKeys.h"

#include <gtest/gtest.h>
#include <xkbcommon/xkbcommon.h>

#include <cstdlib>
#include <string>

namespace vorelt {
namespace {

// The text of a keymap as a compositor hands it over.
std::string keymapText(const char* layout) {
    xkb_context* context = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
    const xkb_rule_names names{nullptr, nullptr, layout, nullptr, nullptr};
    xkb_keymap* keymap = xkb_keymap_new_from_names(context, &names, XKB_KEYMAP_COMPILE_NO_FLAGS);
    char* text =
        keymap != nullptr ? xkb_keymap_get_as_string(keymap, XKB_KEYMAP_FORMAT_TEXT_V1) : nullptr;
    std::string result = text != nullptr ? text : "";
    std::free(text);
    xkb_keymap_unref(keymap);
    xkb_context_unref(context);
    return result;
}

// Evdev's codes of the keys pressed.
constexpr uint32_t kEscape = 1, kTab = 15, kQ = 16, kA = 30;

TEST(XkbKeys, GivesKeysTextAndModifiersUnderTheKeymapHandedOver) {
    XkbKeys keys;
    EXPECT_EQ(keys.event(kEscape, true), nullptr) << "no keymap yet";
    EXPECT_FALSE(keys.useKeymap("not a keymap"));

    ASSERT_TRUE(keys.useKeymap(keymapText("us").c_str()));
    auto escape = keys.event(kEscape, true);
    ASSERT_NE(escape, nullptr);
    EXPECT_EQ(escape->type(), QEvent::KeyPress);
    EXPECT_EQ(escape->key(), Qt::Key_Escape);
    EXPECT_EQ(escape->modifiers(), Qt::NoModifier);
    EXPECT_EQ(keys.event(kA, false)->type(), QEvent::KeyRelease);
    EXPECT_EQ(keys.event(kA, true)->text(), "a");
    EXPECT_EQ(keys.event(kA, true)->key(), Qt::Key_A);

    // Shift, as the compositor's modifiers event says: its bit in the keymap is the first.
    keys.setModifiers(1, 0, 0, 0);
    auto backtab = keys.event(kTab, true);
    EXPECT_EQ(backtab->key(), Qt::Key_Backtab);
    EXPECT_EQ(backtab->modifiers(), Qt::ShiftModifier);
    EXPECT_EQ(keys.event(kA, true)->text(), "A");
    keys.setModifiers(0, 0, 0, 0);

    // Another layout, handed over later, is the one that counts.
    ASSERT_TRUE(keys.useKeymap(keymapText("fr").c_str()));
    EXPECT_EQ(keys.event(kQ, true)->text(), "a");
    EXPECT_EQ(keys.event(kA, true)->key(), Qt::Key_Q);
}

}  // namespace
}  // namespace vorelt
