// The datum editor's reading of its boxes: the nine numbers, their bounds, the convention and
// the grid.
#include "config/DatumEntry.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

const NumberFormat kComma{',', "."};
constexpr auto kPositionVector = RotationConvention::PositionVector;
constexpr auto kCoordinateFrame = RotationConvention::CoordinateFrame;

// The datum in the editor is slot 2, "SAD 69", of this catalogue.
DatumCatalogue catalogue()
{
    DatumCatalogue list;
    for (const char* name : {"WGS 84", "SIRGAS 2000", "SAD 69", "C\u00F3rrego Alegre"})
        list.append(TDatum(name, 6378137, 1 / 298.257223563L, 0, 0, 0));
    return list;
}

DatumEntry entryOf(const char* a, const char* invF, const char* dx = "0", const char* dy = "0",
                   const char* dz = "0")
{
    return readDatumEntry({"SAD 69", {a, invF, dx, dy, dz, "0", "0", "0", "0"}}, kComma,
                          catalogue(), 2);
}

TEST(DatumEntry, ReadsTheBoxesWithTheUsersSeparator)
{
    const DatumEntry entry = entryOf("6378160", "298,25", "-67,35", "3,88", "-38,22");
    EXPECT_EQ(entry.code, DatumEntryCode::Valid);
    EXPECT_EQ(entry.values.Name, "SAD 69");
    EXPECT_EQ(entry.values.A, 6378160);
    EXPECT_EQ(entry.values.InvF, 298.25L);
    EXPECT_EQ(entry.values.Dx, -67.35L);
    EXPECT_EQ(entry.values.Dy, 3.88L);
    EXPECT_EQ(entry.values.Dz, -38.22L);
    EXPECT_TRUE(entry.values.Rotation.none());

    const DatumEntry seven = readDatumEntry({"DHDN",
                                             {"6377397,155", "299,1528128", "598,1", "73,7",
                                              "418,2", "0,202", "0,045", "-2,455", "6,7"},
                                             kCoordinateFrame,
                                             " BETA2007.gsb ",
                                             " C\u00F3rrego Alegre "},
                                            kComma, catalogue(), 4);
    ASSERT_EQ(seven.code, DatumEntryCode::Valid);
    const HelmertRotation& r = seven.values.Rotation;
    EXPECT_EQ(r.Rx, 0.202L);
    EXPECT_EQ(r.Ry, 0.045L);
    EXPECT_EQ(r.Rz, -2.455L);
    EXPECT_EQ(r.Scale, 6.7L);
    EXPECT_EQ(r.convention, kCoordinateFrame);
    EXPECT_EQ(seven.values.GridFile, "BETA2007.gsb");
    EXPECT_EQ(seven.values.GridTarget, "C\u00F3rrego Alegre");
}

TEST(DatumEntry, TheBoundsThemselvesAreValid)
{
    EXPECT_EQ(entryOf("6377000", "250").code, DatumEntryCode::Valid);
    EXPECT_EQ(entryOf("6379000", "350").code, DatumEntryCode::Valid);
    EXPECT_EQ(entryOf("6376999,99", "298").code, DatumEntryCode::EarthRadius);
    EXPECT_EQ(entryOf("6379000,01", "298").code, DatumEntryCode::EarthRadius);
    EXPECT_EQ(entryOf("6378137", "350,01").code, DatumEntryCode::Flattening);
    EXPECT_EQ(entryOf("6378137", "249,99").code, DatumEntryCode::Flattening);
}

TEST(DatumEntry, AFlatteningOutOfBoundsIsReportedInPlaceOfTheAxis)
{
    EXPECT_EQ(entryOf("7000000", "400").code, DatumEntryCode::Flattening);
}

TEST(DatumEntry, TheLastBoxThatIsNotANumberIsTheOneNamed)
{
    const DatumEntry both = entryOf("abc", "298,25", "0", "0", "1.5");
    EXPECT_EQ(both.code, DatumEntryCode::NotANumber);
    EXPECT_EQ(both.failedTag, "(Dz) ");
    EXPECT_EQ(both.failedText, "1.5");  // "." is not the user's decimal separator
    const DatumEntry flattening = entryOf("6378137", "12x");
    EXPECT_EQ(flattening.failedTag, "1/(f) ");
    EXPECT_EQ(flattening.failedText, "12x");
    // A number that is not a number wins over bounds, which are not checked then.
    EXPECT_EQ(entryOf("1", "1", "", "0", "0").code, DatumEntryCode::NotANumber);
    EXPECT_EQ(entryOf("6.378.137", "298").failedTag, "(a) ");
}

struct FurtherCase {
    const char* why;
    std::array<const char*, 4> rotation;  // rx, ry, rz, ppm as typed
    std::optional<RotationConvention> convention;
    const char* gridFile;
    const char* gridTarget;
    int code;
    const char* tag;   // the box named
    const char* text;  // its text as quoted
    const char* invF = "298,25";
};

const FurtherCase kFurther[] = {
    {"the bounds themselves are valid",
     {"60", "-60", "0,5", "-100"},
     kPositionVector,
     "",
     "",
     DatumEntryCode::Valid,
     "",
     ""},
    {"rx just beyond 60 arc-seconds",
     {"60,001", "0", "0", "0"},
     kCoordinateFrame,
     "",
     "",
     DatumEntryCode::RotationBound,
     "(rx) ",
     "60,001"},
    {"rz beyond, negative",
     {"0", "0", "-61", "0"},
     kCoordinateFrame,
     "",
     "",
     DatumEntryCode::RotationBound,
     "(rz) ",
     "-61"},
    {"the scale beyond 100 ppm",
     {"0", "0", "0", "-100,5"},
     kCoordinateFrame,
     "",
     "",
     DatumEntryCode::ScaleBound,
     "(ppm) ",
     "-100,5"},
    {"the first out of bounds is named",
     {"1", "75", "0", "200"},
     kPositionVector,
     "",
     "",
     DatumEntryCode::RotationBound,
     "(ry) ",
     "75"},
    {"a bound before the convention",
     {"75", "0", "0", "0"},
     std::nullopt,
     "",
     "",
     DatumEntryCode::RotationBound,
     "(rx) ",
     "75"},
    {"a scale alone needs a convention",
     {"0", "0", "0", "6,7"},
     std::nullopt,
     "",
     "",
     DatumEntryCode::NoConvention,
     "",
     ""},
    {"a convention without rotations",
     {"0", "0", "-0", "0"},
     kPositionVector,
     "",
     "",
     DatumEntryCode::ConventionAlone,
     "",
     ""},
    {"a rotation not a number, with the user's separator",
     {"1.5", "0", "0", "0"},
     kPositionVector,
     "",
     "",
     DatumEntryCode::NotANumber,
     "(rx) ",
     "1.5"},
    {"the flattening before a rotation",
     {"75", "0", "0", "0"},
     std::nullopt,
     "",
     "",
     DatumEntryCode::Flattening,
     "",
     "",
     "400"},
    {"a grid file without its target",
     {"0", "0", "0", "0"},
     std::nullopt,
     "SAD69_003.gsb",
     " ",
     DatumEntryCode::GridWithoutTarget,
     "",
     ""},
    {"a target without a grid file",
     {"0", "0", "0", "0"},
     std::nullopt,
     "",
     "SIRGAS 2000",
     DatumEntryCode::TargetWithoutGrid,
     "",
     ""},
    {"blanks alone are no grid",
     {"0", "0", "0", "0"},
     std::nullopt,
     "  ",
     "\t",
     DatumEntryCode::Valid,
     "",
     ""},
    {"a target not in the catalogue",
     {"0", "0", "0", "0"},
     std::nullopt,
     "a.gsb",
     "SIRGAS2000",
     DatumEntryCode::GridTargetUnknown,
     "",
     "SIRGAS2000"},
    {"names match exactly",
     {"0", "0", "0", "0"},
     std::nullopt,
     "a.gsb",
     "sirgas 2000",
     DatumEntryCode::GridTargetUnknown,
     "",
     "sirgas 2000"},
    {"a grid to the datum itself",
     {"0", "0", "0", "0"},
     std::nullopt,
     "a.gsb",
     "SAD 69",
     DatumEntryCode::GridTargetUnknown,
     "",
     "SAD 69"},
    {"a comma in the grid file",
     {"0", "0", "0", "0"},
     std::nullopt,
     "SAD69,003.gsb",
     "SIRGAS 2000",
     DatumEntryCode::GridFileUnwritable,
     "",
     "SAD69,003.gsb"},
    {"a line break in the grid file",
     {"0", "0", "0", "0"},
     std::nullopt,
     "a\nb.gsb",
     "SIRGAS 2000",
     DatumEntryCode::GridFileUnwritable,
     "",
     "a\nb.gsb"},
    {"a character outside Windows-1252",
     {"0", "0", "0", "0"},
     std::nullopt,
     "\u0141\u00F3d\u017A.gsb",
     "SIRGAS 2000",
     DatumEntryCode::GridFileUnwritable,
     "",
     "\u0141\u00F3d\u017A.gsb"},
    {"Windows-1252 letters and a seven-parameter grid datum",
     {"0,1", "0", "0", "0"},
     kPositionVector,
     "S\u00E3o Paulo.gsb",
     "C\u00F3rrego Alegre",
     DatumEntryCode::Valid,
     "",
     ""},
};

TEST(DatumEntry, RotationsScaleConventionAndGridAreCheckedAfterTheFiveFigures)
{
    for (const FurtherCase& c : kFurther) {
        SCOPED_TRACE(c.why);
        const auto& r = c.rotation;
        const DatumEntry entry =
            readDatumEntry({"SAD 69",
                            {"6378160", c.invF, "-67,35", "3,88", "-38,22", r[0], r[1], r[2], r[3]},
                            c.convention,
                            c.gridFile,
                            c.gridTarget},
                           kComma, catalogue(), 2);
        EXPECT_EQ(entry.code, c.code);
        EXPECT_EQ(entry.failedTag, c.tag);
        EXPECT_EQ(entry.failedText, c.text);
    }
}

// "SAD 69" renamed in the editor is still the datum of slot 2: a grid cannot carry it to its
// own old name, but another datum may carry to it.
TEST(DatumEntry, TheGridTargetIsAnotherDatumBySlotNotByName)
{
    const auto entry = [](const char* name, const char* target, int slot) {
        return readDatumEntry({name,
                               {"6378160", "298,25", "0", "0", "0", "0", "0", "0", "0"},
                               std::nullopt,
                               "a.gsb",
                               target},
                              kComma, catalogue(), slot);
    };
    EXPECT_EQ(entry("SAD 69 (IBGE)", "SAD 69", 2).code, DatumEntryCode::GridTargetUnknown);
    EXPECT_EQ(entry("New", "SAD 69", 4).code, DatumEntryCode::Valid);
    EXPECT_EQ(entry("New", "New", 4).code, DatumEntryCode::GridTargetUnknown);
}

}  // namespace
