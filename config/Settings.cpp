#include "config/Settings.h"

#include "transform/files/AtomicFile.h"
#include "config/ConfigFile.h"
#include "transform/pipeline/Pipeline.h"
#include "transform/text/NumberText.h"
#include "transform/text/TextLines.h"
#include "transform/text/Windows1252.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace {

// One line of the file: a list's index, a box's number, a file name, a check box (0 or 1), or
// the reserved line 14.
struct SettingsLine {
    enum Kind { Index, Number, Name, Flag, Reserved } kind;
    int WindowState::*index = nullptr;
    std::string WindowState::*text = nullptr;
    bool WindowState::*flag = nullptr;
};

constexpr SettingsLine index(int WindowState::*field) { return {SettingsLine::Index, field}; }
constexpr SettingsLine number(std::string WindowState::*field)
{
    return {SettingsLine::Number, nullptr, field};
}
constexpr SettingsLine name(std::string WindowState::*field)
{
    return {SettingsLine::Name, nullptr, field};
}
constexpr SettingsLine flag(bool WindowState::*field)
{
    return {SettingsLine::Flag, nullptr, nullptr, field};
}

using S = WindowState;

// Line n of the file is entry n - 1.
constexpr std::array<SettingsLine, 43> kSettingsLines{
    index(&S::ComboBox7),
    index(&S::ComboBox9),
    number(&S::Edit13),
    index(&S::ComboBox14),
    number(&S::Edit15),
    number(&S::Edit16),
    index(&S::ComboBox16),
    number(&S::Edit17),
    number(&S::Edit18),
    number(&S::Edit19),
    index(&S::ComboBox8),
    index(&S::ComboBox10),
    number(&S::Edit20),
    SettingsLine{SettingsLine::Reserved},
    number(&S::Edit14),
    number(&S::Edit21),
    index(&S::ComboBox17),
    number(&S::Edit22),
    number(&S::Edit23),
    number(&S::Edit24),
    number(&S::Edit25),
    number(&S::Edit26),
    number(&S::Edit27),
    number(&S::Edit1),
    number(&S::Edit2),
    number(&S::Edit28),
    number(&S::Edit29),
    number(&S::Edit30),
    number(&S::Edit3),
    number(&S::Edit4),
    name(&S::OpenDialog1FileName),
    name(&S::SaveDialog1FileName),
    index(&S::ComboBox1),
    number(&S::Edit5),
    number(&S::Edit6),
    number(&S::Edit7),
    number(&S::Edit8),
    number(&S::Edit9),
    number(&S::Edit10),
    number(&S::Edit11),
    number(&S::Edit12),
    index(&S::ComboBox2),
    flag(&S::CheckBox1),
};

constexpr int kLanguageLine = 33;
constexpr int kFirstUserFamilyLine = 34;
constexpr int kLastUserFamilyLine = 41;
constexpr int kAngleFormatLine = 42;
constexpr int kKeepHeightsLine = 43;
constexpr int kEnglish = 1;

const SettingsLine& lineAt(int n) { return kSettingsLines[static_cast<std::size_t>(n - 1)]; }

// A line that does not read; the whole file is then set aside.
struct BadLine {
    int number;
    std::string reason;
    std::string where() const { return "line " + std::to_string(number) + ": " + reason; }
};

// Adds a report: what is wrong, for a caller that stops on it, and with what the window does
// about it, for a caller that goes on.
void addProblem(SettingsReading& reading, const std::string& fault, const std::string& consequence)
{
    const auto joined = [](const std::optional<std::string>& before, const std::string& text) {
        return before ? *before + "; " + text : text;
    };
    reading.fault = joined(reading.fault, fault);
    reading.problem = joined(reading.problem, fault + "; " + consequence);
}

// Reads line `n`'s text into the state by the line's kind, numbers shown in the user's form.
void readLine(WindowState& state, int n, std::string_view text, const NumberFormat& user)
{
    const SettingsLine& line = lineAt(n);
    try {
        switch (line.kind) {
        case SettingsLine::Index: state.*line.index = readInteger(text); break;
        case SettingsLine::Number:
            state.*line.text = formatGeneral(readFloat(text, NumberFormat::file()), user);
            break;
        case SettingsLine::Name: state.*line.text = windows1252ToUtf8(text); break;
        case SettingsLine::Flag: {
            const int value = readInteger(text);
            if (value != 0 && value != 1)
                throw BadLine{n, quotedForMessage(text) + " is neither 0 nor 1"};
            state.*line.flag = value == 1;
            break;
        }
        case SettingsLine::Reserved: break;
        }
    } catch (const ConversionError& error) {
        throw BadLine{n, error.what()};
    }
}

// The eight values of the user-defined families when the file has none: on both sides a UTM
// zone's figures.
void defaultUserFamilies(WindowState& state, const NumberFormat& user)
{
    static constexpr std::array<long double, 4> kUtm{0.9996L, 6, 10000000, 500000};
    for (int n = kFirstUserFamilyLine; n <= kLastUserFamilyLine; ++n)
        state.*lineAt(n).text = formatGeneral(kUtm[static_cast<std::size_t>((n - 34) % 4)], user);
}

// The file's values over the start-up state, in the order and with the rules of the format:
// lines 1 to 32 as the table says, the language read leniently, then the optional block of the
// user families, the optional angle format and the optional "keep heights", each taken from the
// next line there is. Throws BadLine for a line that sets the whole file aside.
SettingsReading readState(std::string_view content, WindowState state, const NumberFormat& user)
{
    TextLines lines(content);
    for (int n = 1; n < kLanguageLine; ++n) readLine(state, n, lines.next(), user);

    // A language that is not a number selects the first language rather than failing.
    try {
        state.ComboBox1 = readInteger(lines.next());
    } catch (const ConversionError&) {
        state.ComboBox1 = 0;
    }

    const std::string_view familyStart = lines.next();
    if (familyStart.empty()) {
        defaultUserFamilies(state, user);
    } else {
        readLine(state, kFirstUserFamilyLine, familyStart, user);
        for (int n = kFirstUserFamilyLine + 1; n <= kLastUserFamilyLine; ++n)
            readLine(state, n, lines.next(), user);
    }

    const std::string_view format = lines.next();
    state.ComboBox2 = 2;
    if (!format.empty()) readLine(state, kAngleFormatLine, format, user);

    // Files written before "keep heights" end above: heights are converted, as they always were.
    // A damaged value costs that one choice, not every setting: it is reported and heights are
    // converted, the behaviour that was there before the choice.
    SettingsReading reading{state, {}, {}};
    if (const std::string_view heights = lines.next(); !heights.empty()) {
        try {
            readLine(reading.state, kKeepHeightsLine, heights, user);
        } catch (const BadLine& bad) {
            addProblem(reading, bad.where(),
                       "heights will be converted, the other settings were used");
        }
    }
    return reading;
}

// The lists a settings line selects from, each with its size and its name in a report.
struct ListLine {
    int WindowState::*index;
    int size;
    const char* list;
};

int lineOf(int WindowState::*index)
{
    for (std::size_t i = 0; i < kSettingsLines.size(); ++i)
        if (kSettingsLines[i].index == index) return static_cast<int>(i) + 1;
    return 0;
}

// Every selection the file made outside its list, by line: the window falls back to the start-up
// selection and says so once; the command-line tool stops on it.
std::vector<std::string> selectionsOutsideTheirLists(const WindowState& state, int QuantDatum)
{
    const std::array<ListLine, 9> lists{{
        {&S::ComboBox7, ListSize::CoordinateKinds, "the source coordinate systems"},
        {&S::ComboBox9, QuantDatum + 1, "the datums of the catalogue"},
        {&S::ComboBox14, ListSize::Hemispheres, "the hemispheres"},
        {&S::ComboBox16, ListSize::GridFamilies, "the source grid families"},
        {&S::ComboBox8, ListSize::CoordinateKinds, "the target coordinate systems"},
        {&S::ComboBox10, QuantDatum + 1, "the datums of the catalogue"},
        {&S::ComboBox17, ListSize::GridFamilies, "the target grid families"},
        {&S::ComboBox1, ListSize::Languages, "the languages"},
        {&S::ComboBox2, ListSize::AngleFormats, "the angle formats"},
    }};
    std::vector<std::string> reports;
    for (const ListLine& list : lists) {
        const int selected = state.*list.index;
        // Without a catalogue no datum can be chosen; the catalogue's own report says why.
        if (list.size <= 0 || (selected >= 0 && selected < list.size)) continue;
        reports.push_back("line " + std::to_string(lineOf(list.index)) + ": " +
                          std::to_string(selected) + " is not an index of " + list.list +
                          " (0 to " + std::to_string(list.size - 1) + ")");
    }
    return reports;
}

int withinList(int index, int size, int fallback)
{
    return index >= 0 && index < size ? index : fallback;
}

void makeSelectionsValid(WindowState& state, const WindowState& startup, int QuantDatum)
{
    state.ComboBox1 = withinList(state.ComboBox1, ListSize::Languages, startup.ComboBox1);
    state.ComboBox2 = withinList(state.ComboBox2, ListSize::AngleFormats, startup.ComboBox2);
    state.ComboBox3 = withinList(state.ComboBox3, ListSize::FileTypes, startup.ComboBox3);
    state.ComboBox7 = withinList(state.ComboBox7, ListSize::CoordinateKinds, startup.ComboBox7);
    state.ComboBox8 = withinList(state.ComboBox8, ListSize::CoordinateKinds, startup.ComboBox8);
    state.ComboBox14 = withinList(state.ComboBox14, ListSize::Hemispheres, startup.ComboBox14);
    state.ComboBox16 = withinList(state.ComboBox16, ListSize::GridFamilies, startup.ComboBox16);
    state.ComboBox17 = withinList(state.ComboBox17, ListSize::GridFamilies, startup.ComboBox17);
    const int noDatum = QuantDatum < 0 ? -1 : 0;
    state.ComboBox9 = withinList(state.ComboBox9, QuantDatum + 1, noDatum);
    state.ComboBox10 = withinList(state.ComboBox10, QuantDatum + 1, noDatum);
}

SettingsReading validated(SettingsReading reading, const WindowState& startup, int QuantDatum)
{
    makeSelectionsValid(reading.state, startup, QuantDatum);
    return reading;
}

}  // namespace

SettingsReading Le_Config(std::string_view content, const WindowState& startup, int QuantDatum,
                          const NumberFormat& user)
{
    WindowState english = startup;
    english.ComboBox1 = kEnglish;
    try {
        SettingsReading reading = readState(content, english, user);
        for (const std::string& report : selectionsOutsideTheirLists(reading.state, QuantDatum))
            addProblem(reading, report, "that choice was set aside");
        return validated(std::move(reading), startup, QuantDatum);
    } catch (const BadLine& bad) {
        SettingsReading reading{english, {}, {}};
        addProblem(reading, bad.where(), "the settings were not used");
        return validated(std::move(reading), startup, QuantDatum);
    }
}

SettingsReading Le_Config(const std::filesystem::path& file, const WindowState& startup,
                          int QuantDatum, const NumberFormat& user)
{
    const auto content = readConfigFile(file);
    if (!content.exists || content.problem) {
        return {settingsWithoutFile(startup, QuantDatum), content.problem, content.problem};
    }
    auto reading = Le_Config(std::string_view(content.bytes), startup, QuantDatum, user);
    const std::string named = "The settings file \"" + file.string() + "\", ";
    if (reading.problem) reading.problem = named + *reading.problem;
    if (reading.fault) reading.fault = named + *reading.fault;
    return reading;
}

namespace {

// A number box's value; one that does not read throws BoxConversionError with the box.
long double boxNumber(const WindowState& state, std::string WindowState::*field,
                      const NumberFormat& user)
{
    try {
        return readFloat(state.*field, user);
    } catch (const ConversionError& error) {
        throw BoxConversionError(error.what(), editBoxNumber(state, state.*field));
    }
}

}  // namespace

int settingsLineOfBox(int box)
{
    const WindowState probe;
    for (std::size_t i = 0; i < kSettingsLines.size(); ++i) {
        const auto field = kSettingsLines[i].text;
        if (field && box >= 1 && box <= kEditBoxes && &(probe.*field) == &editBox(probe, box))
            return static_cast<int>(i) + 1;
    }
    return 0;
}

WindowState settingsWithoutFile(const WindowState& startup, int QuantDatum)
{
    WindowState english = startup;
    english.ComboBox1 = kEnglish;
    makeSelectionsValid(english, startup, QuantDatum);
    return english;
}

std::string settingsText(const WindowState& state, const NumberFormat& user)
{
    std::string text;
    for (int n = 1; n <= static_cast<int>(kSettingsLines.size()); ++n) {
        const SettingsLine& line = lineAt(n);
        switch (line.kind) {
        case SettingsLine::Index: text += std::to_string(state.*line.index); break;
        case SettingsLine::Number:
            text += formatGeneral(boxNumber(state, line.text, user), NumberFormat::file());
            break;
        case SettingsLine::Name: text += utf8ToWindows1252(state.*line.text); break;
        case SettingsLine::Flag: text += state.*line.flag ? '1' : '0'; break;
        case SettingsLine::Reserved: text += '0'; break;
        }
        text += "\r\n";
    }
    return text;
}

void writeSettings(const std::filesystem::path& file, const WindowState& state,
                   const NumberFormat& user)
{
    writeFileAtomically(file, settingsText(state, user));
}
