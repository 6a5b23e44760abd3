// The datum catalogue: reading the file's lines, storing datums from the editor, the lists'
// selections after a store, writing the file back, and files that cannot be read.
#include "config/DatumCatalogue.h"
#include "config/DatumGrids.h"

#include "transform/files/AtomicFile.h"
#include "tests/config/config_support.h"
#include "tests/core/ntv2_file.h"
#include "tests/support/temporary_folder.h"

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>

namespace {

const std::string datumA = "6378000,300.5,Datum A,-10.5,20,-3.25";

std::string lines(int count)
{
    std::string text;
    for (int i = 0; i < count; ++i)
        text += "6378137,298.257223563,Datum " + std::to_string(i) + ",0,0," + std::to_string(i) +
                "\r\n";
    return text;
}

DatumCatalogue catalogueOf(const std::string& text)
{
    auto reading = readCatalogue(text);
    EXPECT_FALSE(reading.problem) << *reading.problem;
    return reading.catalogue;
}

TEST(CatalogueReading, ALineIsASemiAxisAnInverseFlatteningANameAndThreeShifts)
{
    const auto catalogue = catalogueOf(datumA + "\r\n");
    ASSERT_EQ(catalogue.QuantDatum(), 0);
    const TDatum& d = catalogue.ListaDatum()[0];
    EXPECT_EQ(d.Name, "Datum A");
    EXPECT_EQ(d.A, 6378000.0L);
    EXPECT_EQ(d.F, 1.0L / 300.5L);
    EXPECT_EQ(d.Dx, -10.5L);
    EXPECT_EQ(d.Dy, 20.0L);
    EXPECT_EQ(d.Dz, -3.25L);
    EXPECT_FALSE(catalogue.DatumAlterado());
    EXPECT_EQ(catalogueText(catalogue), datumA + "\r\n");
}

TEST(CatalogueReading, BlanksAroundTheFirstFiveFieldsAreDropped)
{
    const auto catalogue = catalogueOf(" 6378000 ,\t300.5 ,  Datum A  , -10.5,20 , -3.25 \r\n");
    ASSERT_EQ(catalogue.QuantDatum(), 0);
    EXPECT_EQ(catalogue.ListaDatum()[0].Name, "Datum A");
    EXPECT_EQ(catalogue.ListaDatum()[0].Dz, -3.25L);
    EXPECT_EQ(catalogueText(catalogue), datumA + "\r\n");
}

TEST(CatalogueReading, TheFirstEmptyLineEndsTheCatalogue)
{
    const auto empty = catalogueOf("\r\n" + lines(3));
    EXPECT_EQ(empty.QuantDatum(), -1);
    EXPECT_TRUE(empty.names().empty());
    EXPECT_EQ(catalogueOf("").QuantDatum(), -1);

    const auto three = catalogueOf(lines(3) + "\r\n" + lines(4));
    EXPECT_EQ(three.QuantDatum(), 2);
    EXPECT_EQ(three.names(), (std::vector<std::string>{"Datum 0", "Datum 1", "Datum 2"}));
}

TEST(CatalogueReading, ALastLineWithoutLineEndAndLfOnlyFilesRead)
{
    EXPECT_EQ(catalogueOf(datumA).QuantDatum(), 0);
    std::string lf = lines(5);
    std::erase(lf, '\r');
    EXPECT_EQ(catalogueOf(lf).names(), catalogueOf(lines(5)).names());
}

TEST(CatalogueReading, NamesAreWindows1252InTheFileAndUtf8Inside)
{
    const std::string line = "6378388,297,C\xF3rrego Alegre 1970-72,-205.57,168.77,-4.12";
    const auto catalogue = catalogueOf(line + "\r\n");
    EXPECT_EQ(catalogue.ListaDatum()[0].Name, "C\u00F3rrego Alegre 1970-72");
    EXPECT_EQ(catalogueText(catalogue), line + "\r\n");
}

TEST(CatalogueReading, ABadLineIsReportedAndTheLinesBeforeItStay)
{
    struct Case {
        std::string line;
        std::string quoted;
    };
    for (const Case& c :
         {Case{"6378000,300.5,Datum A,-10.5,20", "'6378000,300.5,Datum A,-10.5,20'"},
          Case{"6378000,300,5,Datum A,-10.5,20,-3.25", "'Datum A'"},
          Case{"6378000,300.5,Datum A,-10.5,20,-3.25x", "'-3.25x'"},
          Case{"six fields, here,,,,", "'six fields'"}, Case{"   ", "'   '"},
          // The further fields: unknown, twice, out of bounds, a rotation without its frame.
          Case{"6378000,300.5,A,1,2,3,extra", "'extra' is not one of rx="},
          Case{"6378000,300.5,A,1,2,3,rx=1,rx=1,frame=9607", "rx= is given twice"},
          Case{"6378000,300.5,A,1,2,3,rx=61,frame=9607", "rx=61 is beyond 60 arc-seconds"},
          Case{"6378000,300.5,A,1,2,3,ppm=1", "need frame=9606"},
          Case{"6378000,300.5,A,1,2,3,frame=9606", "without rotations"},
          Case{"6378000,300.5,A,1,2,3,frame=9608,rx=1", "'frame=9608'"},
          Case{"6378000,300.5,A,1,2,3,epsg=99999999999", "'epsg=99999999999'"},
          Case{"6378000,300.5,A,1,2,3,grid=a.gsb", "grid= and gridto= go together"},
          Case{"6378000,300.5,A,1,2,3,gridto=Datum 0", "grid= and gridto= go together"},
          Case{"6378000,300.5,A,1,2,3,grid=,gridto=B", "'grid='"}}) {
        SCOPED_TRACE(c.line);
        const auto reading = readCatalogue(lines(2) + c.line + "\r\n" + lines(2));
        ASSERT_TRUE(reading.problem);
        EXPECT_NE(reading.problem->find("line 3:"), std::string::npos) << *reading.problem;
        EXPECT_NE(reading.problem->find(c.quoted), std::string::npos) << *reading.problem;
        EXPECT_EQ(reading.catalogue.QuantDatum(), 1);
    }
}

TEST(CatalogueReading, DatumsBeyondThe51stAreReportedNotDroppedSilently)
{
    const auto full = readCatalogue(lines(51));
    EXPECT_FALSE(full.problem);
    EXPECT_EQ(full.catalogue.QuantDatum(), 50);

    const auto over = readCatalogue(lines(60) + "\r\n" + lines(3));
    ASSERT_TRUE(over.problem);
    EXPECT_EQ(over.catalogue.QuantDatum(), 50);
    EXPECT_EQ(over.catalogue.names().back(), "Datum 50");
    EXPECT_NE(over.problem->find("the 9 from line 52 on"), std::string::npos) << *over.problem;
}

TEST(CatalogueFile, MissingFolderBinaryAndHugeFilesAreReportedWithAnEmptyCatalogue)
{
    TemporaryFolder folder;
    const auto missing = loadCatalogue(folder / "Datum.Cfg");
    ASSERT_TRUE(missing.problem);
    EXPECT_NE(missing.problem->find("Datum.Cfg"), std::string::npos);
    EXPECT_EQ(missing.catalogue.QuantDatum(), -1);

    std::filesystem::create_directory(folder / "folder");
    EXPECT_TRUE(loadCatalogue(folder / "folder").problem);

    writeBytes(folder / "binary", std::string("\x89PNG\r\n\x1A\n\0\0\0\rIHDR", 16));
    const auto binary = loadCatalogue(folder / "binary");
    ASSERT_TRUE(binary.problem);
    EXPECT_EQ(binary.catalogue.QuantDatum(), -1);

    writeBytes(folder / "huge", lines(1) + std::string(10u << 20, ','));
    const auto huge = loadCatalogue(folder / "huge");
    ASSERT_TRUE(huge.problem);
    EXPECT_LT(huge.problem->size(), 400u);
    EXPECT_EQ(huge.catalogue.QuantDatum(), 0);

    writeBytes(folder / "enormous", std::string(17u << 20, '\n'));
    const auto enormous = loadCatalogue(folder / "enormous");
    ASSERT_TRUE(enormous.problem);
    EXPECT_NE(enormous.problem->find("too large"), std::string::npos);
}

TEST(CatalogueIndexes, NoDatumForMinusOneAnEmptyListOrAnIndexPastTheLast)
{
    const DatumCatalogue empty;
    EXPECT_EQ(empty.datumAt(-1), nullptr);
    EXPECT_EQ(empty.datumAt(0), nullptr);
    const auto two = catalogueOf(lines(2));
    EXPECT_EQ(two.datumAt(-1), nullptr);
    EXPECT_EQ(two.datumAt(2), nullptr);
    ASSERT_NE(two.datumAt(1), nullptr);
    EXPECT_EQ(two.datumAt(1)->Name, "Datum 1");
}

TEST(CatalogueReading, SevenParametersAndCitationsReadAndWriteBackAsTheyStand)
{
    const std::string sevenParameters =
        "6377397.155,299.1528128,DHDN,598.1,73.7,418.2,rx=0.202,ry=0.045,rz=-2.455,ppm=6.7,"
        "frame=9607,epsg=1777,accuracy=3\r\n"
        "6378160,298.25,SAD 69,-66.87,4.37,-38.52,epsg=1877,accuracy=5\r\n";
    auto catalogue = catalogueOf(lines(2) + sevenParameters);
    EXPECT_EQ(catalogueText(catalogue), lines(2) + sevenParameters);
    const TDatum& dhdn = catalogue.ListaDatum()[2];
    EXPECT_EQ(dhdn.Rotation.Rz, -2.455L);
    EXPECT_EQ(dhdn.Rotation.Scale, 6.7L);
    EXPECT_EQ(dhdn.Rotation.convention, RotationConvention::CoordinateFrame);
    EXPECT_EQ(catalogue.citationAt(2), (DatumCitation{1777, "3"}));
    EXPECT_TRUE(catalogue.ListaDatum()[3].Rotation.none());
    // Stored again as the editor shows it, the datum writes back as it was read.
    catalogue.store(2, datumValues(dhdn));
    EXPECT_EQ(catalogueText(catalogue), lines(2) + sevenParameters);
}

// What the editor stores, changed one figure at a time from DHDN as its line cites it: the
// citation stays only while every figure does.
TEST(CatalogueStore, ACitationStaysOnlyWhileEveryFigureDoes)
{
    const std::string dhdn =
        "6377397.155,299.1528128,DHDN,598.1,73.7,418.2,rx=0.202,ry=0.045,rz=-2.455,ppm=6.7,"
        "frame=9607,grid=BETA2007.gsb,gridto=Datum 0,epsg=1777,accuracy=3\r\n";
    struct Change {
        const char* why;
        void (*change)(DatumValues&);
        bool kept;
    };
    const Change changes[] = {
        {"nothing", [](DatumValues&) {}, true},
        {"the name alone", [](DatumValues& v) { v.Name = "DHDN (Rauenberg)"; }, true},
        {"a", [](DatumValues& v) { v.A = 6377397.156L; }, false},
        {"1/f", [](DatumValues& v) { v.InvF = 299.15281L; }, false},
        {"Dx", [](DatumValues& v) { v.Dx = 598.2L; }, false},
        {"Dy", [](DatumValues& v) { v.Dy = 73.8L; }, false},
        {"Dz", [](DatumValues& v) { v.Dz = 418.3L; }, false},
        {"rx", [](DatumValues& v) { v.Rotation.Rx = 0.203L; }, false},
        {"ry", [](DatumValues& v) { v.Rotation.Ry = -0.045L; }, false},
        {"rz", [](DatumValues& v) { v.Rotation.Rz = -2.456L; }, false},
        {"the scale", [](DatumValues& v) { v.Rotation.Scale = 6.8L; }, false},
        {"the convention",
         [](DatumValues& v) { v.Rotation.convention = RotationConvention::PositionVector; }, false},
        {"the grid file", [](DatumValues& v) { v.GridFile = "BETA2007b.gsb"; }, false},
        {"the grid's target", [](DatumValues& v) { v.GridTarget = "Datum 1"; }, false},
    };
    for (const Change& c : changes) {
        SCOPED_TRACE(c.why);
        auto catalogue = catalogueOf(lines(2) + dhdn);
        DatumValues values = datumValues(catalogue.ListaDatum()[2]);
        c.change(values);
        catalogue.store(2, values);
        EXPECT_EQ(catalogue.citationAt(2), c.kept ? (DatumCitation{1777, "3"}) : DatumCitation{});
        EXPECT_EQ(catalogueText(catalogue).find("epsg=1777,accuracy=3") != std::string::npos,
                  c.kept);
    }
}

TEST(CatalogueStore, SevenParametersAndAGridWriteTheirLinesAndReadBackTheSame)
{
    auto catalogue = catalogueOf(lines(2));
    DatumValues helmert{"S-JTSK", 6377397.155L, 299.1528128L, 589, 76, 480};
    helmert.Rotation = {7.4L, -1.75L, 4.75L, -3.5L, RotationConvention::CoordinateFrame};
    catalogue.store(2, helmert);
    // Outer blanks go as the name's do; a convention without rotations is not written.
    DatumValues grid{"SAD 69", 6378160, 298.25L, -67.35L, 3.88L, -38.22L};
    grid.Rotation.convention = RotationConvention::CoordinateFrame;
    grid.GridFile = " SAD69_003.gsb ";
    grid.GridTarget = "Datum 1 ";
    catalogue.store(3, grid);
    const std::string written = lines(2) +
                                "6377397.155,299.1528128,S-JTSK,589,76,480,rx=7.4,ry=-1.75,"
                                "rz=4.75,ppm=-3.5,frame=9607\r\n"
                                "6378160,298.25,SAD 69,-67.35,3.88,-38.22,grid=SAD69_003.gsb,"
                                "gridto=Datum 1\r\n";
    EXPECT_EQ(catalogueText(catalogue), written);
    const auto again = catalogueOf(written);
    EXPECT_EQ(catalogueText(again), written);
    const TDatum& read = again.ListaDatum()[2];
    EXPECT_EQ(read.Rotation.Rx, 7.4L);
    EXPECT_EQ(read.Rotation.Scale, -3.5L);
    EXPECT_EQ(read.Rotation.convention, RotationConvention::CoordinateFrame);
    EXPECT_EQ(again.ListaDatum()[3].GridFile, "SAD69_003.gsb");
    EXPECT_EQ(again.ListaDatum()[3].GridTarget, "Datum 1");
    EXPECT_TRUE(again.ListaDatum()[3].Rotation.none());
}

TEST(CatalogueStore, ALoadedGridStaysWhileItsFileDoes)
{
    auto catalogue = catalogueOf(lines(1));
    TDatum withGrid("SAD 69", 6378160, 1 / 298.25L, -67.35L, 3.88L, -38.22L);
    withGrid.GridFile = "nested.gsb";
    withGrid.GridTarget = "Datum 0";
    withGrid.Grid =
        std::make_shared<const Ntv2Grid>(ntv2_file::Make(ntv2_file::Nested()), "nested.gsb");
    const auto loaded = withGrid.Grid;
    ASSERT_TRUE(catalogue.append(withGrid));
    DatumValues values = datumValues(withGrid);
    values.Dx = -67;
    values.GridTarget = "SAD 69 (other)";  // not the grid: the target is only a name
    catalogue.store(1, values);
    EXPECT_EQ(catalogue.ListaDatum()[1].Grid, loaded);
    values.GridFile = "other.gsb";
    catalogue.store(1, values);
    EXPECT_EQ(catalogue.ListaDatum()[1].Grid, nullptr);
}

TEST(CatalogueStore, ReplacesOrAddsAndMarksTheCatalogueChanged)
{
    auto catalogue = catalogueOf(lines(3));
    catalogue.store(1, {"  Aratu  ", 6378388, 297, -151.99, 287.04, -147.45});
    EXPECT_TRUE(catalogue.DatumAlterado());
    EXPECT_EQ(catalogue.QuantDatum(), 2);
    EXPECT_EQ(catalogue.ListaDatum()[1].Name, "Aratu");
    EXPECT_EQ(catalogue.ListaDatum()[1].F, 1.0L / 297);
    catalogue.store(3, {"Chu\u00E1", 6378388, 297, -144.35, 242.88, -33.2});
    EXPECT_EQ(catalogue.QuantDatum(), 3);
    EXPECT_EQ(catalogueText(catalogue).substr(catalogueText(catalogue).rfind(",Chu")),
              ",Chu\xE1,-144.35,242.88,-33.2\r\n");
}

TEST(CatalogueStore, RefusesWhatTheFileCouldNotReadBackAndChangesNothing)
{
    auto catalogue = catalogueOf(lines(3));
    const auto before = catalogueText(catalogue);
    for (const std::string& name : {std::string("SAD 69, IBGE"), std::string("two\nlines"),
                                    std::string("\u0141\u00F3d\u017A")}) {
        SCOPED_TRACE(name);
        EXPECT_THROW(catalogue.store(0, {name, 6378160, 298.25, 1, 2, 3}), DatumRefused);
    }
    EXPECT_THROW(catalogue.store(5, {"Gap", 6378160, 298.25, 1, 2, 3}), DatumRefused);
    EXPECT_THROW(catalogue.store(-1, {"Before", 6378160, 298.25, 1, 2, 3}), DatumRefused);
    EXPECT_FALSE(catalogue.DatumAlterado());
    EXPECT_EQ(catalogueText(catalogue), before);

    auto full = catalogueOf(lines(51));
    EXPECT_THROW(full.store(51, {"The 52nd", 6378160, 298.25, 1, 2, 3}), DatumRefused);
    EXPECT_EQ(full.QuantDatum(), 50);
    EXPECT_FALSE(full.append(TDatum("The 52nd", 6378160, 1 / 298.25L, 0, 0, 0)));
}

// Figures the file would refuse at the next start, which would lose the datum and every one
// after it: the editor refuses them first, the catalogue never writes them.
TEST(CatalogueStore, RefusesFiguresTheFileWouldNotReadBack)
{
    const DatumValues base{"Datum X", 6378160, 298.25L, 1, 2, 3};
    struct Case {
        const char* why;
        void (*change)(DatumValues&);
    };
    const Case cases[] = {
        {"a rotation beyond 60 arc-seconds", [](DatumValues& v) { v.Rotation.Ry = -60.001L; }},
        {"a scale beyond 100 ppm", [](DatumValues& v) { v.Rotation.Scale = 100.01L; }},
        {"a grid file without its target", [](DatumValues& v) { v.GridFile = "a.gsb"; }},
        {"a target without a grid file", [](DatumValues& v) { v.GridTarget = "Datum 0"; }},
        {"a comma in the grid file",
         [](DatumValues& v) {
             v.GridFile = "a,b.gsb";
             v.GridTarget = "Datum 0";
         }},
        {"a character outside Windows-1252",
         [](DatumValues& v) {
             v.GridFile = "\u0141\u00F3d\u017A.gsb";
             v.GridTarget = "Datum 0";
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        auto catalogue = catalogueOf(lines(2));
        DatumValues values = base;
        c.change(values);
        EXPECT_THROW(catalogue.store(1, values), std::invalid_argument);
        EXPECT_FALSE(catalogue.DatumAlterado());
        EXPECT_EQ(catalogueText(catalogue), lines(2));
    }
}

TEST(CatalogueStore, TheListsKeepTheirSelectionsAfterAnUpdate)
{
    auto catalogue = catalogueOf(lines(4));
    const auto kept =
        AtualizaDatum(catalogue, 2, {"Renamed", 6378137, 298.257223563, 0, 0, 0}, {3, 1});
    EXPECT_EQ(kept.source, 3);
    EXPECT_EQ(kept.target, 1);
    EXPECT_EQ(catalogue.names()[2], "Renamed");
    const auto repaired =
        AtualizaDatum(catalogue, 4, {"Added", 6378137, 298.257223563, 0, 0, 0}, {-1, 9});
    EXPECT_EQ(repaired.source, 0);
    EXPECT_EQ(repaired.target, 0);

    DatumCatalogue empty;
    const auto first =
        AtualizaDatum(empty, 0, {"First", 6378137, 298.257223563, 0, 0, 0}, {-1, -1});
    EXPECT_EQ(first.source, 0);
    EXPECT_EQ(first.target, 0);
}

TEST(CatalogueSave, AnUnchangedCatalogueLeavesTheFileAlone)
{
    TemporaryFolder folder;
    const auto file = folder / "Datum.Cfg";
    const std::string handWritten = " 6378000 , 300.50 ,Datum A,-10.5,20,-3.25\r\n\r\nnotes\r\n";
    writeBytes(file, handWritten);
    const auto reading = loadCatalogue(file);
    ASSERT_FALSE(reading.problem);
    EXPECT_FALSE(saveCatalogue(file, reading.catalogue));
    EXPECT_EQ(readBytes(file), handWritten);
}

TEST(CatalogueSave, AChangedCatalogueIsWrittenAndReadsBackTheSame)
{
    TemporaryFolder folder;
    const auto file = folder / "Datum.Cfg";
    writeBytes(file, lines(3));
    auto catalogue = loadCatalogue(file).catalogue;
    catalogue.store(3, {"Datum A", 6378000, 300.5, -10.5, 20, -3.25});
    EXPECT_TRUE(saveCatalogue(file, catalogue));
    EXPECT_EQ(readBytes(file), lines(3) + datumA + "\r\n");
    EXPECT_EQ(folder.fileCount(), 1u);
    const auto again = loadCatalogue(file);
    ASSERT_FALSE(again.problem);
    EXPECT_EQ(catalogueText(again.catalogue), catalogueText(catalogue));
}

TEST(CatalogueSave, AFailedWriteKeepsThePreviousFile)
{
    TemporaryFolder folder;
    auto catalogue = catalogueOf(lines(2));
    catalogue.store(0, {"Changed", 6378000, 300.5, 0, 0, 0});
    std::filesystem::create_directory(folder / "Datum.Cfg");
    EXPECT_THROW(saveCatalogue(folder / "Datum.Cfg", catalogue), FileWriteError);
    EXPECT_TRUE(std::filesystem::is_directory(folder / "Datum.Cfg"));
    EXPECT_THROW(saveCatalogue(folder / "no such folder" / "Datum.Cfg", catalogue), FileWriteError);
    EXPECT_EQ(folder.fileCount(), 1u);
}

// Grids are found in the folders in their order, read once, and a grid that cannot serve is said
// the first time only; its datum keeps its shift. The lines read and write back as they stand.
TEST(DatumGrids, EachGridIsFoundInTheFoldersInOrderAndAProblemIsSaidOnce)
{
    const TemporaryFolder beside, user;
    const std::string grid = ntv2_file::Make(ntv2_file::Nested());
    writeBytes(beside / "near.gsb", grid);
    writeBytes(user / "far.gsb", grid);
    writeBytes(user / "broken.gsb", grid.substr(0, 300));
    const std::string gridLines = crlfLines({
        "6378160,298.25,Near,1,2,3,grid=near.gsb,gridto=Datum 0,epsg=5528,accuracy=1",
        "6378160,298.25,Far,1,2,3,grid=far.gsb,gridto=Datum 1",
        "6378160,298.25,Gone,1,2,3,grid=gone.gsb,gridto=Datum 0",
        "6378160,298.25,Broken,1,2,3,grid=broken.gsb,gridto=Datum 0",
        "6378160,298.25,Lost,1,2,3,grid=near.gsb,gridto=Nobody",
        "6378160,298.25,Self,1,2,3,grid=near.gsb,gridto=Self",
    });
    auto catalogue = catalogueOf(lines(2) + gridLines);
    EXPECT_EQ(catalogueText(catalogue), lines(2) + gridLines);
    GridShelf shelf({beside.path(), user.path(), beside / "nowhere"});
    using Kind = GridProblem::Kind;
    struct Said {
        std::string datum;
        Kind kind;
    };
    const std::vector<Said> expected{{"Gone", Kind::Missing},
                                     {"Broken", Kind::Unreadable},
                                     {"Lost", Kind::NoTarget},
                                     {"Self", Kind::NoTarget}};
    const auto problems = shelf.attach(catalogue, {0, 2, 3, 4, 5, 6, 7});
    ASSERT_EQ(problems.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(problems[i].datum, expected[i].datum);
        EXPECT_EQ(problems[i].kind, expected[i].kind) << expected[i].datum;
    }
    EXPECT_EQ(problems[0].searched, shelf.folders());
    EXPECT_NE(problems[1].detail.find("broken.gsb"), std::string::npos) << problems[1].detail;
    EXPECT_EQ(problems[2].detail, "Nobody");
    const auto& datums = catalogue.ListaDatum();
    ASSERT_TRUE(datums[2].Grid && datums[3].Grid);
    EXPECT_EQ(datums[2].Grid->Name(), (beside / "near.gsb").string());
    EXPECT_EQ(datums[3].Grid->Name(), (user / "far.gsb").string());
    for (const std::size_t unserved : {4, 5, 6, 7}) EXPECT_FALSE(datums[unserved].Grid);
    EXPECT_TRUE(shelf.attach(catalogue, {2, 3, 4, 5, 6, 7}).empty());
    EXPECT_TRUE(datums[3].Grid);
    EXPECT_FALSE(catalogue.DatumAlterado());
}

}  // namespace
