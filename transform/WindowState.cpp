#include "WindowState.h"

#include <stdexcept>

namespace {

using EditField = std::string WindowState::*;

constexpr std::array<EditField, 30> editFields{
    &WindowState::Edit1,  &WindowState::Edit2,  &WindowState::Edit3,  &WindowState::Edit4,
    &WindowState::Edit5,  &WindowState::Edit6,  &WindowState::Edit7,  &WindowState::Edit8,
    &WindowState::Edit9,  &WindowState::Edit10, &WindowState::Edit11, &WindowState::Edit12,
    &WindowState::Edit13, &WindowState::Edit14, &WindowState::Edit15, &WindowState::Edit16,
    &WindowState::Edit17, &WindowState::Edit18, &WindowState::Edit19, &WindowState::Edit20,
    &WindowState::Edit21, &WindowState::Edit22, &WindowState::Edit23, &WindowState::Edit24,
    &WindowState::Edit25, &WindowState::Edit26, &WindowState::Edit27, &WindowState::Edit28,
    &WindowState::Edit29, &WindowState::Edit30,
};

EditField editField(int n) {
    if (n < 1 || n > static_cast<int>(editFields.size()))
        throw std::out_of_range("there is no edit box " + std::to_string(n));
    return editFields[static_cast<std::size_t>(n - 1)];
}

}  // namespace

std::string& editBox(WindowState& state, int n) { return state.*editField(n); }

const std::string& editBox(const WindowState& state, int n) { return state.*editField(n); }

WindowState startupState(const NumberFormat& user) {
    const std::string decimal(1, user.decimalSeparator);
    WindowState s;
    // Source side: central meridian, local plane origin and plane, the user family.
    s.Edit13 = "-45";
    s.Edit15 = "-22";
    s.Edit16 = "-47";
    s.Edit17 = "700";
    s.Edit18 = "150000";
    s.Edit19 = "250000";
    s.Edit5 = "0" + decimal + "9996";
    s.Edit6 = "6";
    s.Edit7 = "10000000";
    s.Edit8 = "500000";
    // Target side, the same rows.
    s.Edit20 = "-45";
    s.Edit14 = "-22" + decimal + "540077144";
    s.Edit21 = "-47" + decimal + "032556624";
    s.Edit22 = "700";
    s.Edit23 = "150000";
    s.Edit24 = "250000";
    s.Edit9 = "0" + decimal + "9996";
    s.Edit10 = "6";
    s.Edit11 = "10000000";
    s.Edit12 = "500000";
    // The point: geodetic, geocentric, grid and local plane boxes.
    s.Edit25 = "-0";
    s.Edit26 = "-45";
    s.Edit27 = "100";
    s.Edit28 = "4510272";
    s.Edit29 = "-4510272";
    s.Edit30 = "0";
    s.Edit1 = "10000000";
    s.Edit2 = "500000";
    s.Edit3 = "155000";
    s.Edit4 = "255000";

    s.ComboBox1 = 0;
    s.ComboBox2 = 2;
    s.ComboBox3 = 0;
    s.ComboBox7 = 0;
    s.ComboBox8 = 0;
    s.ComboBox9 = 1;
    s.ComboBox10 = 1;
    s.ComboBox14 = 1;
    s.ComboBox16 = 0;
    s.ComboBox17 = 0;

    s.OpenDialog1FileName = "Teste.Dxf";
    s.SaveDialog1FileName = "SemNome.Dxf";
    return s;
}
