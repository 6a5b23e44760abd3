// Faults from outside the program through the real file runs and configuration files: a disk
// that fills up, a read-only folder, a folder where a file should be, a source that vanished,
// an empty, a 2 GB and a 100 MB-line source, NUL bytes and bytes that are no UTF-8. Each gives a
// clear message or a correct result, never a crash, and a failed run leaves the destination
// byte for byte as it was.
#include "transform/files/FileTransform.h"
#include "transform/text/NumberText.h"

#include "config/DatumCatalogue.h"
#include "config/Settings.h"

#include "tests/config/config_support.h"
#include "tests/support/child_process.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <sys/resource.h>

namespace {

namespace fs = std::filesystem;

const NumberFormat point = NumberFormat::file();

// UTM on SAD 69 into geodetic WGS 84, as a surveyor's run would be.
struct WindowRun {
    std::vector<TDatum> datums{TDatum("SAD 69", 6378160, 1 / 298.25L, -66.87L, 4.37L, -38.52L),
                               TDatum("WGS 84", 6378137, 1 / 298.257223563L, 0, 0, 0)};
    WindowState state = [] {
        WindowState s = startupState(NumberFormat::file());
        s.ComboBox9 = 0;
        s.ComboBox10 = 1;
        s.ComboBox8 = 1;
        return s;
    }();
    TGeo engine;

    FileRunSummary drawing(const fs::path& source, const fs::path& destination)
    {
        state.OpenDialog1FileName = source.string();
        return ConverteDXF(source, destination, state, datums, engine, point);
    }
    FileRunSummary points(const fs::path& source, const fs::path& destination)
    {
        state.OpenDialog1FileName = source.string();
        return ExportaDXF(source, destination, state, datums, engine, point);
    }
};

std::string drawingOf(int points)
{
    std::string text = crlfLines({"  0", "SECTION", "  2", "ENTITIES"});
    for (int i = 0; i < points; ++i)
        text += crlfLines(
            {"  0", "POINT", "  8", "0", " 10", "294260.069", " 20", "7510453.818", " 30", "700"});
    return text + crlfLines({"  0", "ENDSEC", "  0", "EOF"});
}

std::string pointListOf(int points)
{
    std::string text;
    for (int i = 0; i < points; ++i)
        text += "P" + std::to_string(i) + ";294260.069;7510453.818;700\r\n";
    return text;
}

// The two file runs of the window, each with a source of its kind.
struct FileRunCase {
    const char* name;
    std::string (*sourceOf)(int points);
    FileRunSummary (WindowRun::*run)(const fs::path&, const fs::path&);
};

const FileRunCase fileRuns[] = {
    {"DXF rewrite", drawingOf, &WindowRun::drawing},
    {"point-file export", pointListOf, &WindowRun::points},
};

const std::string previous = "the previous destination\r\n";

// What a child reports by its exit status.
enum ChildOutcome { Succeeded = 0, WriteError = 3, OtherError = 4, NoRightsToDrop = 5 };

int outcomeOf(const std::function<void()>& body)
{
    try {
        body();
        return Succeeded;
    } catch (const FileWriteError&) {
        return WriteError;
    } catch (...) {
        return OtherError;
    }
}

std::string messageOf(const std::function<void()>& body)
{
    try {
        body();
    } catch (const std::exception& error) {
        return error.what();
    }
    return {};
}

// A sparse file: its size without its blocks, so it takes neither time nor disk.
void makeSparse(const fs::path& file, std::uintmax_t bytes)
{
    writeBytes(file, "");
    fs::resize_file(file, bytes);
}

long peakMemoryKb()
{
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// ---- The destination's disk fills up part way ----

TEST(DiskFull, EitherFileRunLeavesTheDestinationAsItWas)
{
    for (const auto& c : fileRuns) {
        SCOPED_TRACE(c.name);
        TemporaryFolder folder;
        writeBytes(folder / "source", c.sourceOf(20000));  // several megabytes of output
        writeBytes(folder / "out.dxf", previous);
        const int outcome = child_process::exitStatusOf([&] {
            child_process::limitFileSize(64 << 10);
            WindowRun window;
            return outcomeOf([&] { (window.*c.run)(folder / "source", folder / "out.dxf"); });
        });
        EXPECT_EQ(outcome, WriteError) << "the full disk was not reported";
        EXPECT_EQ(readBytes(folder / "out.dxf"), previous);
        EXPECT_EQ(folder.fileCount(), 2u) << "a temporary file was left behind";
    }
}

TEST(DiskFull, TheCatalogueKeepsThePreviousFile)
{
    TemporaryFolder folder;
    const std::string before = "6378137,298.257223563,WGS 84,0,0,0\r\n";
    writeBytes(folder / "Datum.Cfg", before);
    DatumCatalogue catalogue = loadCatalogue(folder / "Datum.Cfg").catalogue;
    for (int slot = 1; slot < DatumCatalogue::Slots; ++slot)
        catalogue.store(slot, {"Datum " + std::to_string(slot), 6378000, 300, 1, 2, 3});
    const int outcome = child_process::exitStatusOf([&] {
        child_process::limitFileSize(100);
        return outcomeOf([&] { saveCatalogue(folder / "Datum.Cfg", catalogue); });
    });
    EXPECT_EQ(outcome, WriteError);
    EXPECT_EQ(readBytes(folder / "Datum.Cfg"), before);
    EXPECT_EQ(folder.fileCount(), 1u);
}

// ---- The destination's folder is read-only, whoever runs the tests ----

class ReadOnlyFolder : public ::testing::Test {
protected:
    void SetUp() override
    {
        writeBytes(folder_ / "source", "");
        writeBytes(folder_ / "out.dxf", previous);
        writeBytes(folder_ / "Zelvora.Cfg", previous);
        writeBytes(folder_ / "Datum.Cfg", previous);
        // Readable by anyone, writable by no one.
        fs::permissions(folder_.path(), fs::perms::owner_read | fs::perms::owner_exec |
                                            fs::perms::group_read | fs::perms::group_exec |
                                            fs::perms::others_read | fs::perms::others_exec);
    }
    void TearDown() override
    {
        EXPECT_EQ(readBytes(folder_ / "out.dxf"), previous);
        EXPECT_EQ(readBytes(folder_ / "Zelvora.Cfg"), previous);
        EXPECT_EQ(readBytes(folder_ / "Datum.Cfg"), previous);
        EXPECT_EQ(folder_.fileCount(), 4u);
    }
    int withoutRights(const std::function<void()>& body)
    {
        return child_process::exitStatusOf([&] {
            if (!child_process::withoutSuperuserRights()) return int(NoRightsToDrop);
            return outcomeOf(body);
        });
    }
    TemporaryFolder folder_;
};

TEST_F(ReadOnlyFolder, EitherFileRunIsAWriteError)
{
    for (const auto& c : fileRuns) {
        SCOPED_TRACE(c.name);
        const int outcome = withoutRights([&] {
            WindowRun window;
            (window.*c.run)(folder_ / "source", folder_ / "out.dxf");
        });
        if (outcome == NoRightsToDrop)
            GTEST_SKIP() << "the superuser's rights could not be given up";
        EXPECT_EQ(outcome, WriteError);
    }
}

TEST_F(ReadOnlyFolder, TheSettingsAndTheCatalogueAreWriteErrors)
{
    const int settings =
        withoutRights([&] { writeSettings(folder_ / "Zelvora.Cfg", startupState(point), point); });
    if (settings == NoRightsToDrop) GTEST_SKIP() << "the superuser's rights could not be given up";
    EXPECT_EQ(settings, WriteError);
    EXPECT_EQ(withoutRights([&] {
                  DatumCatalogue catalogue;
                  catalogue.store(0, {"Changed", 6378000, 300, 0, 0, 0});
                  saveCatalogue(folder_ / "Datum.Cfg", catalogue);
              }),
              WriteError);
}

// ---- A folder stands where the destination should be ----

TEST(DestinationIsAFolder, EitherFileRunIsAWriteErrorAndTheFolderStays)
{
    for (const auto& c : fileRuns) {
        SCOPED_TRACE(c.name);
        TemporaryFolder folder;
        writeBytes(folder / "source", c.sourceOf(3));
        fs::create_directory(folder / "out.dxf");
        writeBytes(folder / "out.dxf" / "inside", previous);
        WindowRun window;
        EXPECT_THROW((window.*c.run)(folder / "source", folder / "out.dxf"), FileWriteError);
        EXPECT_EQ(readBytes(folder / "out.dxf" / "inside"), previous);
        EXPECT_EQ(folder.fileCount(), 2u);
    }
}

// ---- The source vanishes, or becomes a folder, between its choice and the run ----

TEST(SourceVanishes, EitherFileRunNamesTheFileAndLeavesTheDestination)
{
    for (const auto& c : fileRuns) {
        for (const bool becomesAFolder : {false, true}) {
            SCOPED_TRACE(std::string(c.name) + (becomesAFolder ? ", now a folder" : ", removed"));
            TemporaryFolder folder;
            writeBytes(folder / "source", c.sourceOf(3));
            writeBytes(folder / "out.dxf", previous);
            WindowRun window;
            window.state.OpenDialog1FileName = (folder / "source").string();  // chosen
            fs::remove(folder / "source");
            if (becomesAFolder) fs::create_directory(folder / "source");
            const std::string message =
                messageOf([&] { (window.*c.run)(folder / "source", folder / "out.dxf"); });
            EXPECT_EQ(message.rfind("Cannot open file " + (folder / "source").string(), 0), 0u)
                << message;
            EXPECT_EQ(readBytes(folder / "out.dxf"), previous);
            EXPECT_EQ(folder.fileCount(), becomesAFolder ? 2u : 1u);
        }
    }
}

// ---- An empty source ----

TEST(EmptySource, AnEmptyPointListGivesADrawingWithoutPoints)
{
    TemporaryFolder folder;
    writeBytes(folder / "points.txt", "");
    WindowRun window;
    const auto summary = window.points(folder / "points.txt", folder / "out.dxf");
    EXPECT_EQ(summary.points, 0u);
    EXPECT_EQ(readBytes(folder / "out.dxf"),
              crlfLines({"  0", "SECTION",  "  2", "HEADER", "  9", "$PDMODE", " 70", "    33",
                         "  9", "$PDSIZE",  " 40", "1.5",    "  0", "ENDSEC",  "  0", "SECTION",
                         "  2", "ENTITIES", "  0", "ENDSEC", "  0", "EOF"}));
}

TEST(EmptySource, AnEmptyCatalogueLoadsNoDatumAndARunSaysSo)
{
    TemporaryFolder folder;
    writeBytes(folder / "Datum.Cfg", "");
    const auto reading = loadCatalogue(folder / "Datum.Cfg");
    EXPECT_EQ(reading.catalogue.QuantDatum(), -1);
    writeBytes(folder / "plan.dxf", drawingOf(1));
    writeBytes(folder / "out.dxf", previous);
    WindowRun window;
    window.datums = reading.catalogue.ListaDatum();
    window.state.ComboBox9 = window.state.ComboBox10 = -1;
    EXPECT_THROW(window.drawing(folder / "plan.dxf", folder / "out.dxf"), SelectionError);
    EXPECT_EQ(readBytes(folder / "out.dxf"), previous);
}

// ---- A 2 GB source: refused at once, unread ----

TEST(HugeSource, A2GbSourceIsRefusedUnreadAndQuickly)
{
    for (const auto& c : fileRuns) {
        SCOPED_TRACE(c.name);
        TemporaryFolder folder;
        makeSparse(folder / "huge", 2ull << 30);
        writeBytes(folder / "out.dxf", previous);
        const long memoryBefore = peakMemoryKb();
        const auto start = std::chrono::steady_clock::now();
        WindowRun window;
        const std::string message =
            messageOf([&] { (window.*c.run)(folder / "huge", folder / "out.dxf"); });
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
        EXPECT_LT(peakMemoryKb() - memoryBefore, 64 << 10) << "kilobytes taken";
        EXPECT_NE(message.find("holds 2048 MB; a file run reads at most 1024 MB"),
                  std::string::npos)
            << message;
        EXPECT_EQ(readBytes(folder / "out.dxf"), previous);
        EXPECT_EQ(folder.fileCount(), 2u);
    }
}

TEST(HugeSource, TheLimitIsTheLastByteThatReads)
{
    TemporaryFolder folder;
    writeBytes(folder / "source", "12345");
    EXPECT_EQ(readSource(folder / "source", 5), "12345");
    EXPECT_THROW(readSource(folder / "source", 4), FileRunError);
}

TEST(HugeSource, A2GbSettingsFileOrCatalogueIsReportedUnread)
{
    TemporaryFolder folder;
    makeSparse(folder / "Zelvora.Cfg", 2ull << 30);
    makeSparse(folder / "Datum.Cfg", 2ull << 30);
    const auto start = std::chrono::steady_clock::now();
    const auto settings = Le_Config(folder / "Zelvora.Cfg", startupState(point), 1, point);
    const auto catalogue = loadCatalogue(folder / "Datum.Cfg");
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
    ASSERT_TRUE(settings.problem);
    EXPECT_EQ(settings.state.Edit1, startupState(point).Edit1);
    ASSERT_TRUE(catalogue.problem);
    EXPECT_NE(catalogue.problem->find("too large"), std::string::npos) << *catalogue.problem;
    EXPECT_EQ(catalogue.catalogue.QuantDatum(), -1);
}

// ---- One line of 100 MB ----

const std::string hundredMegabytes(100u << 20, 'x');

TEST(LongLine, A100MbCommentPassesThroughTheRewriteWhole)
{
    TemporaryFolder folder;
    std::string source = drawingOf(1);
    source.insert(0, "999\r\n" + hundredMegabytes + "\r\n");
    writeBytes(folder / "plan.dxf", source);
    WindowRun window;
    const auto summary = window.drawing(folder / "plan.dxf", folder / "out.dxf");
    EXPECT_EQ(summary.points, 1u);
    const std::string copy = readBytes(folder / "out.dxf");
    EXPECT_EQ(copy.substr(0, 5 + hundredMegabytes.size() + 2),
              "999\r\n" + hundredMegabytes + "\r\n");
}

TEST(LongLine, A100MbNameBecomesTheLabel)
{
    TemporaryFolder folder;
    writeBytes(folder / "points.txt", hundredMegabytes + ";294260.069;7510453.818;700\r\n");
    WindowRun window;
    EXPECT_EQ(window.points(folder / "points.txt", folder / "out.dxf").points, 1u);
    const std::string drawing = readBytes(folder / "out.dxf");
    EXPECT_NE(drawing.find("  1\r\n" + hundredMegabytes + "\r\n"), std::string::npos);
}

TEST(LongLine, A100MbCoordinateIsRefusedWithAShortMessage)
{
    for (const auto& c : fileRuns) {
        SCOPED_TRACE(c.name);
        TemporaryFolder folder;
        const std::string digits(100u << 20, '7');
        std::string source = c.sourceOf(2);
        const auto at = source.find("294260.069");
        source.replace(at, 10, digits);
        writeBytes(folder / "source", source);
        writeBytes(folder / "out.dxf", previous);
        WindowRun window;
        const std::string message =
            messageOf([&] { (window.*c.run)(folder / "source", folder / "out.dxf"); });
        EXPECT_LT(message.size(), 200u);
        EXPECT_NE(message.find("is not a valid floating point value (line"), std::string::npos)
            << message;
        EXPECT_EQ(readBytes(folder / "out.dxf"), previous);
    }
}

// ---- NUL bytes ----

TEST(NulBytes, AreCopiedInTextAndRefusedInNumbers)
{
    TemporaryFolder folder;
    const std::string layer("la\0yer", 6);
    std::string drawing = drawingOf(1);
    drawing.replace(drawing.find("  8\r\n0\r\n") + 5, 1, layer);
    writeBytes(folder / "plan.dxf", drawing);
    WindowRun window;
    window.drawing(folder / "plan.dxf", folder / "out.dxf");
    EXPECT_NE(readBytes(folder / "out.dxf").find("  8\r\n" + layer + "\r\n"), std::string::npos);

    std::string badNumber = drawingOf(1);
    badNumber.replace(badNumber.find("700"), 3, std::string("70\0", 3));
    writeBytes(folder / "bad.dxf", badNumber);
    writeBytes(folder / "kept.dxf", previous);
    const std::string message =
        messageOf([&] { window.drawing(folder / "bad.dxf", folder / "kept.dxf"); });
    EXPECT_NE(message.find("(line 14)"), std::string::npos) << message;
    EXPECT_EQ(readBytes(folder / "kept.dxf"), previous);
}

TEST(NulBytes, InANameAreKeptInTheLabel)
{
    TemporaryFolder folder;
    const std::string name(
        "P\0"
        "1",
        3);
    writeBytes(folder / "points.txt", name + ";294260.069;7510453.818;700\r\n");
    WindowRun window;
    window.points(folder / "points.txt", folder / "out.dxf");
    EXPECT_NE(readBytes(folder / "out.dxf").find("  1\r\n" + name + "\r\n"), std::string::npos);
}

TEST(NulBytes, InTheSettingsOrTheCatalogueAreReported)
{
    TemporaryFolder folder;
    std::string settings = settingsText(startupState(point), point);
    settings.replace(0, 1, std::string(1, '\0'));
    writeBytes(folder / "Zelvora.Cfg", settings);
    const auto read = Le_Config(folder / "Zelvora.Cfg", startupState(point), 1, point);
    ASSERT_TRUE(read.problem);
    EXPECT_NE(read.problem->find("line 1:"), std::string::npos) << *read.problem;

    writeBytes(folder / "Datum.Cfg", "6378137,298.257223563,WGS 84,0,0,0\r\n6378" +
                                         std::string(1, '\0') + "160,298.25,SAD 69,0,0,0\r\n");
    const auto catalogue = loadCatalogue(folder / "Datum.Cfg");
    ASSERT_TRUE(catalogue.problem);
    EXPECT_NE(catalogue.problem->find("line 2:"), std::string::npos) << *catalogue.problem;
    EXPECT_EQ(catalogue.catalogue.names(), std::vector<std::string>{"WGS 84"});
}

// ---- Bytes that are no UTF-8: Windows-1252 and broken sequences ----

const std::string oddBytes = "Caf\xE9 \xC3\x28 \xFF\xFE \x80\x81 \xED\xA0\x80";

TEST(OddBytes, PassThroughBothFileRunsUnchanged)
{
    TemporaryFolder folder;
    std::string drawing = drawingOf(1);
    drawing.replace(drawing.find("  8\r\n0\r\n") + 5, 1, oddBytes);
    writeBytes(folder / "plan.dxf", drawing);
    writeBytes(folder / "points.txt", oddBytes + ";294260.069;7510453.818;700\r\n");
    WindowRun window;
    window.drawing(folder / "plan.dxf", folder / "plan-out.dxf");
    window.points(folder / "points.txt", folder / "points-out.dxf");
    EXPECT_NE(readBytes(folder / "plan-out.dxf").find("  8\r\n" + oddBytes + "\r\n"),
              std::string::npos);
    EXPECT_NE(readBytes(folder / "points-out.dxf").find("  1\r\n" + oddBytes + "\r\n"),
              std::string::npos);
}

TEST(OddBytes, InTheSettingsFileNamesAndCatalogueNamesWriteBackAsTheyWere)
{
    TemporaryFolder folder;
    WindowState state = startupState(point);
    std::string settings = settingsText(state, point);
    settings.replace(settings.find("Teste.Dxf"), 9, oddBytes);
    writeBytes(folder / "Zelvora.Cfg", settings);
    const auto read = Le_Config(folder / "Zelvora.Cfg", startupState(point), 1, point);
    ASSERT_FALSE(read.problem) << *read.problem;
    writeSettings(folder / "Zelvora.Cfg", read.state, point);
    EXPECT_EQ(readBytes(folder / "Zelvora.Cfg"), settings);

    const std::string catalogue = "6378137,298.257223563," + oddBytes + ",0,0,0\r\n";
    writeBytes(folder / "Datum.Cfg", catalogue);
    auto loaded = loadCatalogue(folder / "Datum.Cfg");
    ASSERT_FALSE(loaded.problem) << *loaded.problem;
    EXPECT_EQ(catalogueText(loaded.catalogue), catalogue);
}

}  // namespace
