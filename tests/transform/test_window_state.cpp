// The window-state value: the boxes by number, and a start-up state every box of which reads.
#include "transform/pipeline/WindowState.h"

#include "transform/text/NumberText.h"

#include <gtest/gtest.h>

namespace {

TEST(WindowState, EditBoxNIsTheFieldEditN)
{
    WindowState state;
    for (int n = 1; n <= 30; ++n) editBox(state, n) = "box " + std::to_string(n);
    EXPECT_EQ(state.Edit1, "box 1");
    EXPECT_EQ(state.Edit13, "box 13");
    EXPECT_EQ(state.Edit14, "box 14");
    EXPECT_EQ(state.Edit30, "box 30");
    const WindowState& read = state;
    EXPECT_EQ(editBox(read, 21), "box 21");
    EXPECT_THROW(editBox(state, 0), std::out_of_range);
    EXPECT_THROW(editBox(state, 31), std::out_of_range);
}

TEST(WindowState, EveryStartupBoxReadsWithTheUsersSeparator)
{
    // The target plane's origin has a fraction: with a fixed "," it would not read where the
    // separator is ".", and the window could not save its settings at close.
    for (const NumberFormat& user : {NumberFormat{',', "."}, NumberFormat{'.', ","}}) {
        const WindowState state = startupState(user);
        for (int n = 1; n <= 30; ++n) {
            SCOPED_TRACE("Edit" + std::to_string(n));
            EXPECT_NO_THROW(readFloat(editBox(state, n), user));
        }
        EXPECT_EQ(readFloat(state.Edit14, user), readFloat("-22.540077144", NumberFormat::file()));
        EXPECT_EQ(readFloat(state.Edit21, user), readFloat("-47.032556624", NumberFormat::file()));
        EXPECT_EQ(readFloat(state.Edit5, user), readFloat("0.9996", NumberFormat::file()));
    }
}

TEST(WindowState, StartsOnUtmSouthBothSidesOnTheSecondDatum)
{
    const WindowState state = startupState(NumberFormat::file());
    EXPECT_EQ(state.ComboBox7, 0);
    EXPECT_EQ(state.ComboBox8, 0);
    EXPECT_EQ(state.ComboBox14, 1);
    EXPECT_EQ(state.ComboBox16, 0);
    EXPECT_EQ(state.ComboBox17, 0);
    EXPECT_EQ(state.ComboBox9, 1);
    EXPECT_EQ(state.ComboBox10, 1);
    EXPECT_EQ(state.ComboBox2, 2);
    EXPECT_EQ(state.ComboBox3, 0);
    EXPECT_FALSE(state.CheckBox1);  // heights converted, the behaviour before the choice
    EXPECT_EQ(state.SaveDialog1FileName, "SemNome.Dxf");
}

}  // namespace
