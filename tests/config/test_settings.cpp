// The settings file: what each line sets, the defaults of short files, the close-time writing,
// round trips, and files that cannot be read or written.
#include "config/Settings.h"

#include "transform/files/AtomicFile.h"
#include "transform/text/NumberText.h"
#include "tests/support/child_process.h"
#include "tests/config/config_support.h"

#include <gtest/gtest.h>

#include <unistd.h>

namespace {

const NumberFormat comma{',', "."};
const NumberFormat point{'.', ","};

constexpr int kFiveDatums = 4;  // QuantDatum of a catalogue of five

// A file as the program writes it, every line of the table used, with a Windows-1252 name.
std::string fullFile()
{
    return crlfLines({"3",
                      "4",
                      "-51",
                      "0",
                      "-23.5",
                      "-46.625",
                      "3",
                      "760.25",
                      "150000",
                      "250000",
                      "1",
                      "2",
                      "-57",
                      "0",
                      "-22.540077144",
                      "-47.032556624",
                      "2",
                      "700",
                      "150001",
                      "250001",
                      "-23.5",
                      "-46.6",
                      "812.345",
                      "7395000.125",
                      "333000.5",
                      "4010272.5",
                      "-4510272",
                      "-2500000",
                      "155000",
                      "255000",
                      "/home/ana/Levantamentos/C\xF3rrego.dxf",
                      "/home/ana/sa\xED"
                      "da.dxf",
                      "2",
                      "0.9999",
                      "3",
                      "5000000",
                      "200000",
                      "1",
                      "1",
                      "0",
                      "400000",
                      "1",
                      "1"});
}

// The first 33 lines of a file, or fewer.
std::string firstLines(const std::string& file, int count)
{
    std::size_t end = 0;
    for (int i = 0; i < count; ++i) end = file.find("\r\n", end) + 2;
    return file.substr(0, end);
}

SettingsReading readWith(const std::string& content, const NumberFormat& user,
                         int QuantDatum = kFiveDatums)
{
    return Le_Config(std::string_view(content), startupState(user), QuantDatum, user);
}

class SettingsInBothSeparators : public ::testing::TestWithParam<NumberFormat> {
protected:
    const NumberFormat& user() const { return GetParam(); }
    // A number as the user sees it: "." replaced by the user's separator.
    std::string shown(std::string text) const
    {
        for (auto& c : text)
            if (c == '.') c = user().decimalSeparator;
        return text;
    }
};

TEST_P(SettingsInBothSeparators, EveryLineSetsItsControl)
{
    const auto reading = readWith(fullFile(), user());
    ASSERT_FALSE(reading.problem) << *reading.problem;
    const WindowState& s = reading.state;
    EXPECT_EQ(s.ComboBox7, 3);
    EXPECT_EQ(s.ComboBox9, 4);
    EXPECT_EQ(s.Edit13, "-51");
    EXPECT_EQ(s.ComboBox14, 0);
    EXPECT_EQ(s.Edit15, shown("-23.5"));
    EXPECT_EQ(s.Edit16, shown("-46.625"));
    EXPECT_EQ(s.ComboBox16, 3);
    EXPECT_EQ(s.Edit17, shown("760.25"));
    EXPECT_EQ(s.Edit18, "150000");
    EXPECT_EQ(s.Edit19, "250000");
    EXPECT_EQ(s.ComboBox8, 1);
    EXPECT_EQ(s.ComboBox10, 2);
    EXPECT_EQ(s.Edit20, "-57");
    EXPECT_EQ(s.Edit14, shown("-22.540077144"));
    EXPECT_EQ(s.Edit21, shown("-47.032556624"));
    EXPECT_EQ(s.ComboBox17, 2);
    EXPECT_EQ(s.Edit22, "700");
    EXPECT_EQ(s.Edit23, "150001");
    EXPECT_EQ(s.Edit24, "250001");
    EXPECT_EQ(s.Edit25, shown("-23.5"));
    EXPECT_EQ(s.Edit26, shown("-46.6"));
    EXPECT_EQ(s.Edit27, shown("812.345"));
    EXPECT_EQ(s.Edit1, shown("7395000.125"));
    EXPECT_EQ(s.Edit2, shown("333000.5"));
    EXPECT_EQ(s.Edit28, shown("4010272.5"));
    EXPECT_EQ(s.Edit29, "-4510272");
    EXPECT_EQ(s.Edit30, "-2500000");
    EXPECT_EQ(s.Edit3, "155000");
    EXPECT_EQ(s.Edit4, "255000");
    EXPECT_EQ(s.OpenDialog1FileName, "/home/ana/Levantamentos/C\u00F3rrego.dxf");
    EXPECT_EQ(s.SaveDialog1FileName, "/home/ana/sa\u00EDda.dxf");
    EXPECT_EQ(s.ComboBox1, 2);
    EXPECT_EQ(s.Edit5, shown("0.9999"));
    EXPECT_EQ(s.Edit6, "3");
    EXPECT_EQ(s.Edit7, "5000000");
    EXPECT_EQ(s.Edit8, "200000");
    EXPECT_EQ(s.Edit9, "1");
    EXPECT_EQ(s.Edit10, "1");
    EXPECT_EQ(s.Edit11, "0");
    EXPECT_EQ(s.Edit12, "400000");
    EXPECT_EQ(s.ComboBox2, 1);
    EXPECT_TRUE(s.CheckBox1);
    // Not in the file: the file type keeps its start-up item.
    EXPECT_EQ(s.ComboBox3, 0);
}

TEST_P(SettingsInBothSeparators, NoFileMeansEnglishAndTheStartupValues)
{
    TemporaryFolder folder;
    const auto reading =
        Le_Config(folder / "Zelvora.Cfg", startupState(user()), kFiveDatums, user());
    EXPECT_FALSE(reading.problem);
    WindowState expected = startupState(user());
    expected.ComboBox1 = 1;
    EXPECT_EQ(reading.state, expected);
    EXPECT_EQ(reading.state.Edit5, shown("0.9996"));
    EXPECT_EQ(reading.state.ComboBox9, 1);
    EXPECT_EQ(reading.state.ComboBox2, 2);
}

TEST_P(SettingsInBothSeparators, A33LineFileTakesTheUserFamilyAndFormatDefaults)
{
    const auto reading = readWith(firstLines(fullFile(), 33), user());
    ASSERT_FALSE(reading.problem);
    const WindowState& s = reading.state;
    EXPECT_EQ(s.Edit5, shown("0.9996"));
    EXPECT_EQ(s.Edit6, "6");
    EXPECT_EQ(s.Edit7, "10000000");
    EXPECT_EQ(s.Edit8, "500000");
    EXPECT_EQ(s.Edit9, shown("0.9996"));
    EXPECT_EQ(s.Edit10, "6");
    EXPECT_EQ(s.Edit11, "10000000");
    EXPECT_EQ(s.Edit12, "500000");
    EXPECT_EQ(s.ComboBox2, 2);
    EXPECT_EQ(s.ComboBox1, 2);
}

TEST_P(SettingsInBothSeparators, ALanguageThatIsNoNumberSelectsPortuguese)
{
    std::string file = fullFile();
    const auto at = firstLines(file, 32).size();
    file.replace(at, 1, "x");
    const auto reading = readWith(file, user());
    EXPECT_FALSE(reading.problem);
    EXPECT_EQ(reading.state.ComboBox1, 0);
}

TEST_P(SettingsInBothSeparators, A30LineFileHasNoFileNamesAndSelectsPortuguese)
{
    const auto reading = readWith(firstLines(fullFile(), 30), user());
    ASSERT_FALSE(reading.problem);
    EXPECT_EQ(reading.state.OpenDialog1FileName, "");
    EXPECT_EQ(reading.state.SaveDialog1FileName, "");
    EXPECT_EQ(reading.state.ComboBox1, 0);
    EXPECT_EQ(reading.state.Edit8, "500000");
    EXPECT_EQ(reading.state.ComboBox2, 2);
}

TEST_P(SettingsInBothSeparators, WritingConvertsTheUsersNumbersToPointForm)
{
    WindowState state = startupState(user());
    state.Edit25 = shown("-23.5");
    state.Edit5 = shown("0.99960");
    state.Edit1 = shown("7395000.1250");
    const std::string text = settingsText(state, user());
    EXPECT_NE(text.find("\r\n-23.5\r\n"), std::string::npos);
    EXPECT_EQ(firstLines(text, 24).substr(firstLines(text, 23).size()), "7395000.125\r\n");
    EXPECT_EQ(firstLines(text, 34).substr(firstLines(text, 33).size()), "0.9996\r\n");
}

TEST_P(SettingsInBothSeparators, WriteThenReadGivesTheSameState)
{
    // Texts in the general form already, as every box is after a read.
    WindowState state = readWith(fullFile(), user()).state;
    const auto again = readWith(settingsText(state, user()), user());
    ASSERT_FALSE(again.problem);
    EXPECT_EQ(again.state, state);
}

INSTANTIATE_TEST_SUITE_P(UserSeparators, SettingsInBothSeparators, ::testing::Values(comma, point),
                         [](const auto& info) {
                             return info.param.decimalSeparator == ',' ? "Comma" : "Point";
                         });

TEST(SettingsFile, ReadingThenWritingAnUnchangedFileGivesItsBytesBack)
{
    EXPECT_EQ(settingsText(readWith(fullFile(), comma).state, comma), fullFile());
}

TEST(SettingsFile, TheFileTypeIsNoLineOfIt)
{
    // The window starts on a drawing whatever type it closed on, so a file written on the third
    // type is, line for line, the file of the version that had two, and reads back alike.
    WindowState state = readWith(fullFile(), point).state;
    for (const int type : {FileType::Drawing, FileType::PointsToDrawing, FileType::PointsToText}) {
        state.ComboBox3 = type;
        EXPECT_EQ(settingsText(state, point), fullFile());
    }
}

TEST(SettingsFile, NumbersComeBackInTheGeneralForm)
{
    std::string file = fullFile();
    // Line 18, the target plane's altitude: "700" written by another hand as "700.0", and
    // line 29 as "1.55E5".
    const auto line18 = firstLines(file, 17).size();
    file.replace(line18, 3, "700.0");
    const auto line29 = firstLines(file, 28).size();
    file.replace(line29, 6, "1.55E5");
    EXPECT_EQ(settingsText(readWith(file, point).state, point), fullFile());
}

TEST(SettingsFile, TheReservedLineIsIgnoredAndWrittenAsZero)
{
    std::string file = fullFile();
    file.replace(firstLines(file, 13).size(), 1, "7");
    const auto reading = readWith(file, point);
    ASSERT_FALSE(reading.problem);
    EXPECT_EQ(settingsText(reading.state, point), fullFile());
}

TEST(SettingsFile, LfOnlyLinesReadLikeCrLf)
{
    std::string file = fullFile();
    std::erase(file, '\r');
    EXPECT_EQ(readWith(file, comma).state, readWith(fullFile(), comma).state);
}

TEST(SettingsFile, TheFormatIsTheLineAfterAnEmptyUserFamilyLine)
{
    // Line 34 empty: the eight values take their defaults and the next line, 35, is the format,
    // and the one after it "keep heights".
    const std::string file = firstLines(fullFile(), 33) + "\r\n0\r\n1\r\n";
    const auto reading = readWith(file, point);
    ASSERT_FALSE(reading.problem);
    EXPECT_EQ(reading.state.ComboBox2, 0);
    EXPECT_EQ(reading.state.Edit5, "0.9996");
    EXPECT_TRUE(reading.state.CheckBox1);
}

TEST(SettingsFile, TheKeepHeightsLineCostsOnlyItsOwnValueWhenBad)
{
    struct Case {
        const char* why;
        std::string line43;
        bool kept;
        std::string problem;
    };
    const Case cases[] = {
        {"a file of an earlier version ends at line 42", "", false, ""},
        {"0: heights converted", "0\r\n", false, ""},
        {"1: heights kept", "1\r\n", true, ""},
        {"the last line without its line break", "1", true, ""},
        {"a number that is no check box state", "2\r\n", false,
         "line 43: '2' is neither 0 nor 1; heights will be converted, the other settings were "
         "used"},
        {"no number", "yes\r\n", false,
         "line 43: 'yes' is not a valid integer value; heights will be converted, the other "
         "settings were used"},
    };
    const std::string earlier = firstLines(fullFile(), 42);
    const WindowState others = readWith(earlier, comma).state;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        const auto reading = readWith(earlier + c.line43, comma);
        EXPECT_EQ(reading.problem.value_or(""), c.problem);
        EXPECT_EQ(reading.state.CheckBox1, c.kept);
        WindowState rest = reading.state;
        rest.CheckBox1 = others.CheckBox1;
        EXPECT_EQ(rest, others);
    }
}

TEST(SettingsFile, WrittenFilesHave43CrLfLines)
{
    const std::string text = settingsText(startupState(point), point);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 43);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\r'), 43);
    EXPECT_EQ(text.find("\r\n\r\n"), std::string::npos);
    // The angle format, then heights converted, as at start-up.
    EXPECT_EQ(text.substr(text.size() - 6), "2\r\n0\r\n");
}

TEST(SettingsFile, ABadLineSetsTheWholeFileAsideWithOneReport)
{
    struct Case {
        int line;
        std::string text;
    };
    for (const Case& c : {Case{1, "zero"}, Case{3, "-45,5"}, Case{12, "1.0"}, Case{30, ""},
                          Case{35, "six"}, Case{42, "GMS"}}) {
        SCOPED_TRACE(c.line);
        std::string file = fullFile();
        const auto start = firstLines(file, c.line - 1).size();
        file.replace(start, file.find("\r\n", start) - start, c.text);
        const auto reading = readWith(file, comma);
        ASSERT_TRUE(reading.problem);
        EXPECT_NE(reading.problem->find("line " + std::to_string(c.line) + ":"), std::string::npos)
            << *reading.problem;
        EXPECT_NE(reading.problem->find("'" + c.text + "'"), std::string::npos) << *reading.problem;
        WindowState expected = startupState(comma);
        expected.ComboBox1 = 1;
        EXPECT_EQ(reading.state, expected);
    }
}

TEST(SettingsFile, TruncatedEmptyBinaryAndHugeFilesAreReportedNotUsed)
{
    const std::string binary(
        "\x7F"
        "ELF\x02\x01\x01\0\0\0\0\0\0\0\0\0\x03\0>\0",
        20);
    const std::string huge(10u << 20, '7');
    for (const std::string& content :
         {firstLines(fullFile(), 12), std::string(), binary, huge, std::string("\r\n\r\n")}) {
        const auto reading = readWith(content, point);
        ASSERT_TRUE(reading.problem);
        EXPECT_LT(reading.problem->size(), 300u);
        EXPECT_EQ(reading.state.Edit1, "10000000");
    }
}

TEST(SettingsFile, SelectionsOutsideTheirListsAreReportedByLineAndMadeValid)
{
    std::string file = fullFile();
    auto setLine = [&file](int line, const std::string& text) {
        const auto start = firstLines(file, line - 1).size();
        file.replace(start, file.find("\r\n", start) - start, text);
    };
    setLine(1, "4");    // kind
    setLine(2, "5");    // datum past the last
    setLine(4, "2");    // hemisphere
    setLine(7, "-1");   // family
    setLine(11, "9");   // kind
    setLine(12, "-3");  // datum
    setLine(17, "4");   // family
    setLine(33, "3");   // language
    setLine(42, "3");   // format
    const auto reading = readWith(file, point);
    const auto aside = "; that choice was set aside";
    EXPECT_EQ(reading.problem.value_or(""),
              std::string("line 1: 4 is not an index of the source coordinate systems (0 to 3)") +
                  aside + "; line 2: 5 is not an index of the datums of the catalogue (0 to 4)" +
                  aside + "; line 4: 2 is not an index of the hemispheres (0 to 1)" + aside +
                  "; line 7: -1 is not an index of the source grid families (0 to 3)" + aside +
                  "; line 11: 9 is not an index of the target coordinate systems (0 to 3)" + aside +
                  "; line 12: -3 is not an index of the datums of the catalogue (0 to 4)" + aside +
                  "; line 17: 4 is not an index of the target grid families (0 to 3)" + aside +
                  "; line 33: 3 is not an index of the languages (0 to 2)" + aside +
                  "; line 42: 3 is not an index of the angle formats (0 to 2)" + aside);
    const WindowState& s = reading.state;
    EXPECT_EQ(s.ComboBox7, 0);
    EXPECT_EQ(s.ComboBox9, 0);
    EXPECT_EQ(s.ComboBox14, 1);
    EXPECT_EQ(s.ComboBox16, 0);
    EXPECT_EQ(s.ComboBox8, 0);
    EXPECT_EQ(s.ComboBox10, 0);
    EXPECT_EQ(s.ComboBox17, 0);
    EXPECT_EQ(s.ComboBox1, 0);
    EXPECT_EQ(s.ComboBox2, 2);

    const auto noDatums = readWith(fullFile(), point, -1);
    EXPECT_FALSE(noDatums.problem) << "the catalogue's own report says why no datum is chosen";
    EXPECT_EQ(noDatums.state.ComboBox9, -1);
    EXPECT_EQ(noDatums.state.ComboBox10, -1);
    // Without a file the start-up's second datum needs two datums.
    TemporaryFolder folder;
    const auto oneDatum = Le_Config(folder / "Zelvora.Cfg", startupState(point), 0, point);
    EXPECT_EQ(oneDatum.state.ComboBox9, 0);
}

TEST(SettingsFile, AFolderInPlaceOfTheFileIsReported)
{
    TemporaryFolder folder;
    std::filesystem::create_directory(folder / "Zelvora.Cfg");
    const auto reading = Le_Config(folder / "Zelvora.Cfg", startupState(point), kFiveDatums, point);
    ASSERT_TRUE(reading.problem);
    EXPECT_EQ(reading.state.ComboBox1, 1);
}

TEST(SettingsWriting, ABoxThatIsNoNumberLeavesTheFileUntouched)
{
    TemporaryFolder folder;
    const auto file = folder / "Zelvora.Cfg";
    writeBytes(file, fullFile());
    WindowState state = startupState(comma);
    state.Edit25 = "-23.5";  // a point where the user's separator is a comma
    try {
        writeSettings(file, state, comma);
        ADD_FAILURE() << "wrote a box that is no number";
    } catch (const ConversionError& error) {
        EXPECT_STREQ(error.what(), "'-23.5' is not a valid floating point value");
    }
    EXPECT_EQ(readBytes(file), fullFile());
    EXPECT_EQ(folder.fileCount(), 1u);
}

TEST(SettingsWriting, ReplacesTheFileWhole)
{
    TemporaryFolder folder;
    const auto file = folder / "Zelvora.Cfg";
    writeBytes(file, std::string(5000, 'x'));
    const WindowState state = readWith(fullFile(), point).state;
    writeSettings(file, state, point);
    EXPECT_EQ(readBytes(file), fullFile());
    EXPECT_EQ(folder.fileCount(), 1u);
}

TEST(SettingsWriting, AFolderInThePlaceOfTheFileIsAWriteError)
{
    TemporaryFolder folder;
    std::filesystem::create_directory(folder / "Zelvora.Cfg");
    EXPECT_THROW(writeSettings(folder / "Zelvora.Cfg", startupState(point), point), FileWriteError);
    EXPECT_TRUE(std::filesystem::is_directory(folder / "Zelvora.Cfg"));
    EXPECT_EQ(folder.fileCount(), 1u);
}

TEST(SettingsWriting, AReadOnlyFolderKeepsThePreviousFile)
{
    if (::geteuid() == 0) GTEST_SKIP() << "the superuser writes into read-only folders";
    TemporaryFolder folder;
    const auto file = folder / "Zelvora.Cfg";
    writeBytes(file, fullFile());
    std::filesystem::permissions(folder.path(), std::filesystem::perms::owner_read |
                                                    std::filesystem::perms::owner_exec);
    EXPECT_THROW(writeSettings(file, startupState(point), point), FileWriteError);
    EXPECT_EQ(readBytes(file), fullFile());
}

TEST(SettingsWriting, AFullDiskKeepsThePreviousFile)
{
    // A file-size limit of 100 bytes in a child process: the write fails part way, as on a full
    // disk, whoever runs the test.
    TemporaryFolder folder;
    const auto file = folder / "Zelvora.Cfg";
    writeBytes(file, fullFile());
    const int outcome = child_process::exitStatusOf([&] {
        child_process::limitFileSize(100);
        try {
            writeSettings(file, startupState(point), point);
        } catch (const FileWriteError&) {
            return 3;
        }
        return 0;
    });
    EXPECT_EQ(outcome, 3) << "the write did not report the failure";
    EXPECT_EQ(readBytes(file), fullFile());
    EXPECT_EQ(folder.fileCount(), 1u);
}

}  // namespace
