#include "errors.h"
#include "grid_entry.h"

#include <gtest/gtest.h>

using namespace velmo;

TEST(GridEntry, DigitsPointAndMinusOfBothKeyboardsTypeEverythingElseStores)
{
    // Typed into the editor whether it is open or not (a closed editor opens on them).
    for (int vk : {vkey::Back, vkey::Numpad0, vkey::Numpad9, vkey::Decimal, vkey::Subtract, vkey::Key0, vkey::Key9,
                   vkey::OemPeriod, vkey::OemMinus})
        for (bool open : {false, true}) {
            const KeyFilter f = commonKeyFilter(vk, open);
            EXPECT_FALSE(f.store || f.closeEditor || f.beep) << vk << " " << open;
        }
    // Enter, Up and Down end the entry quietly; arrows only while typing.
    for (int vk : {vkey::Return, vkey::Up, vkey::Down}) {
        const KeyFilter f = commonKeyFilter(vk, true);
        EXPECT_TRUE(f.store && f.closeEditor && !f.beep) << vk;
    }
    EXPECT_FALSE(commonKeyFilter(vkey::Up, false).store);
    EXPECT_TRUE(commonKeyFilter(vkey::Left, true).beep);
    // Keys that are not part of a number end the entry with a beep.
    for (int vk : {vkey::KeyA, vkey::OemComma, vkey::OemPlus, vkey::Add, vkey::Delete, vkey::Space, vkey::F2})
        EXPECT_TRUE(commonKeyFilter(vk, true).beep) << vk;
    // Modifier and lock keys alone do nothing.
    for (int vk : {vkey::Shift, vkey::Control, vkey::Menu, vkey::Capital, vkey::NumLock})
        EXPECT_FALSE(commonKeyFilter(vk, true).store) << vk;
}

TEST(GridEntry, EnterWrapsFromTheLastRowAndTextsBecomeValuesOrFailWhole)
{
    EXPECT_EQ(rowAfterEnter(1, 14), 2);
    EXPECT_EQ(rowAfterEnter(13, 14), 14);
    EXPECT_EQ(rowAfterEnter(14, 14), 1);
    EXPECT_EQ(rowAfterEnter(0, 14), 1); // the heading row

    EXPECT_EQ(entryValue("", false), Currency());
    EXPECT_EQ(entryValue("", true), Currency());
    EXPECT_EQ(entryValue(" 12.5 ", false).toString(), "12.5");
    EXPECT_EQ(entryValue("1,234", true).toString(), "1234");
    EXPECT_EQ(entryValue("-0.05", false).toString(), "-0.05");
    EXPECT_THROW(entryValue("1,234", false), ConversionError); // the rate grid keeps the text as it is
    for (const char *bad : {"0..5", "a", "1 2", "  ", "--1"})
        EXPECT_THROW(entryValue(bad, true), ConversionError) << bad;
}
