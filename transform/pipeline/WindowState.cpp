#include "transform/pipeline/WindowState.h"

#include <stdexcept>

namespace {

using EditField = std::string WindowState::*;

constexpr std::array<EditField, kEditBoxes> kEditFields{
    &WindowState::Edit1,  &WindowState::Edit2,  &WindowState::Edit3,  &WindowState::Edit4,
    &WindowState::Edit5,  &WindowState::Edit6,  &WindowState::Edit7,  &WindowState::Edit8,
    &WindowState::Edit9,  &WindowState::Edit10, &WindowState::Edit11, &WindowState::Edit12,
    &WindowState::Edit13, &WindowState::Edit14, &WindowState::Edit15, &WindowState::Edit16,
    &WindowState::Edit17, &WindowState::Edit18, &WindowState::Edit19, &WindowState::Edit20,
    &WindowState::Edit21, &WindowState::Edit22, &WindowState::Edit23, &WindowState::Edit24,
    &WindowState::Edit25, &WindowState::Edit26, &WindowState::Edit27, &WindowState::Edit28,
    &WindowState::Edit29, &WindowState::Edit30,
};

EditField editField(int n)
{
    if (n < 1 || n > static_cast<int>(kEditFields.size()))
        throw std::out_of_range("there is no edit box " + std::to_string(n));
    return kEditFields[static_cast<std::size_t>(n - 1)];
}

}  // namespace

std::string& editBox(WindowState& state, int n) { return state.*editField(n); }

const std::string& editBox(const WindowState& state, int n) { return state.*editField(n); }

int editBoxNumber(const WindowState& state, const std::string& field)
{
    int n = kEditBoxes;
    while (n > 0 && &editBox(state, n) != &field) --n;
    return n;
}

WindowState startupState(const NumberFormat& user)
{
    // The texts as the window's resource gives them, and the values start-up sets; the few
    // with a fraction take the user's separator.
    const std::string decimal(1, user.decimalSeparator);
    return WindowState{
        .Edit1 = "10000000",
        .Edit2 = "500000",
        .Edit3 = "155000",
        .Edit4 = "255000",
        .Edit5 = "0" + decimal + "9996",
        .Edit6 = "6",
        .Edit7 = "10000000",
        .Edit8 = "500000",
        .Edit9 = "0" + decimal + "9996",
        .Edit10 = "6",
        .Edit11 = "10000000",
        .Edit12 = "500000",
        .Edit13 = "-45",
        .Edit14 = "-22" + decimal + "540077144",
        .Edit15 = "-22",
        .Edit16 = "-47",
        .Edit17 = "700",
        .Edit18 = "150000",
        .Edit19 = "250000",
        .Edit20 = "-45",
        .Edit21 = "-47" + decimal + "032556624",
        .Edit22 = "700",
        .Edit23 = "150000",
        .Edit24 = "250000",
        .Edit25 = "-0",
        .Edit26 = "-45",
        .Edit27 = "100",
        .Edit28 = "4510272",
        .Edit29 = "-4510272",
        .Edit30 = "0",
        .ComboBox1 = 0,
        .ComboBox2 = 2,
        .ComboBox3 = 0,
        .ComboBox7 = 0,
        .ComboBox8 = 0,
        .ComboBox9 = 1,
        .ComboBox10 = 1,
        .ComboBox14 = 1,
        .ComboBox16 = 0,
        .ComboBox17 = 0,
        .CheckBox1 = false,
        .OpenDialog1FileName = "Teste.Dxf",
        .SaveDialog1FileName = "SemNome.Dxf",
    };
}
