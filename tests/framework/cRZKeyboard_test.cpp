#include "framework/cRZKeyboard.h"

#include <gtest/gtest.h>

TEST(cRZKeyboard, ModifiersAndDownOrder) {
    cRZKeyboard kb;
    kb.KeyDown(cRZKeyboard::kVKShift);
    kb.KeyDown(cRZKeyboard::kVKMenu);
    EXPECT_EQ(kb.GetModifiers(), 5u);
    kb.KeyDown('A');
    EXPECT_TRUE(kb.IsKeyDownWith('A', 5));
    kb.KeyDown(cRZKeyboard::kVKControl);
    EXPECT_FALSE(kb.IsKeyDownWith('A', 1));
    EXPECT_FALSE(kb.IsKeyDownWith('A', 5));
    EXPECT_TRUE(kb.IsKeyDownWith('A', 7));

    kb.KeyDown('A');  // twice: listed once
    EXPECT_EQ(kb.GetKeysDown(), (std::vector<uint32_t>{0x10, 0x12, 'A', 0x11}));
    kb.KeyUp(0x12);
    kb.KeyUp(0x12);
    EXPECT_EQ(kb.GetKeysDown(), (std::vector<uint32_t>{0x10, 'A', 0x11}));
    EXPECT_FALSE(kb.IsKeyDown(0x12));
    kb.KeyDown(300);  // outside the table: ignored
    EXPECT_EQ(kb.GetKeysDown().size(), 3u);
    kb.Reset();
    EXPECT_TRUE(kb.GetKeysDown().empty());
    EXPECT_EQ(kb.GetModifiers(), 0u);
}

TEST(cRZKeyboard, ModifierKeysAndHostState) {
    cRZKeyboard kb;
    EXPECT_TRUE(kb.IsModifierKey(16));
    EXPECT_TRUE(kb.IsModifierKey(18));
    EXPECT_FALSE(kb.IsModifierKey(19));
    EXPECT_FALSE(kb.IsKeyDownNow('Q'));  // no host window
    cRZKeyboard::SetHostState({[](uint32_t vk) { return vk == 'Q'; }, [](uint32_t vk) { return vk == 0x14; }});
    EXPECT_TRUE(kb.IsKeyDownNow('Q'));
    EXPECT_FALSE(kb.IsKeyDown('Q'));  // the table is the window manager's view
    EXPECT_TRUE(kb.IsToggled(0x14));
    cRZKeyboard::SetHostState({});
}
