// Whole runs on files: a destination that is the source, and every way a run can fail leaving
// the destination as it was and no temporary file behind.
#include "transform/files/DxfRewrite.h"
#include "transform/files/PointFileExport.h"

#include "transform/text/NumberText.h"
#include "tests/support/child_process.h"
#include "tests/support/temporary_folder.h"
#include "tests/files/files_support.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sys/stat.h>
#include <thread>

namespace {

namespace fs = std::filesystem;

class FileRuns : public ::testing::Test {
protected:
    fs::path file(const std::string& name) const { return folder_ / name; }
    static void write(const fs::path& path, const std::string& bytes)
    {
        std::ofstream(path, std::ios::binary) << bytes;
    }
    static std::string read(const fs::path& path)
    {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    std::size_t filesInFolder() const { return folder_.fileCount(); }

    TemporaryFolder folder_;
    RecordingTransform transform_;
};

std::string drawingWith(const std::string& entities)
{
    return crlf({"  0", "SECTION", "  2", "ENTITIES"}) + entities +
           crlf({"  0", "ENDSEC", "  0", "EOF"});
}
const std::string drawing = drawingWith(crlf({"  0", "POINT", " 10", "1", " 20", "2"}));
const std::string previous = "the previous destination\r\n";

TEST_F(FileRuns, ADestinationThatIsTheSourceIsReplacedByItsTransformedCopy)
{
    write(file("plan.dxf"), drawing);
    ConverteDXF(file("plan.dxf"), file("plan.dxf"), transform_.function());
    EXPECT_EQ(read(file("plan.dxf")),
              drawingWith(crlf({"  0", "POINT", " 10", "1001", " 20", "2002"})));
    EXPECT_EQ(filesInFolder(), 1u);
}

TEST_F(FileRuns, ABadNumberLeavesTheDestinationAndTheSourceAsTheyWere)
{
    const std::string bad = drawingWith(
        crlf({"  0", "POINT", " 10", "1", " 20", "2", "  0", "POINT", " 10", "abc", " 20", "2"}));
    write(file("plan.dxf"), bad);
    write(file("out.dxf"), previous);
    EXPECT_THROW(ConverteDXF(file("plan.dxf"), file("out.dxf"), transform_.function()),
                 ConversionError);
    EXPECT_EQ(read(file("out.dxf")), previous);
    EXPECT_THROW(ConverteDXF(file("plan.dxf"), file("plan.dxf"), transform_.function()),
                 ConversionError);
    EXPECT_EQ(read(file("plan.dxf")), bad);
    EXPECT_EQ(filesInFolder(), 2u);
}

TEST_F(FileRuns, AnErrorInTheTransformationLeavesTheDestination)
{
    write(file("points.txt"), "P1;1;2;3\r\n");
    write(file("out.dxf"), previous);
    const PointTransform failing = [](long double, long double, long double) -> TransformedPoint {
        throw ConversionError("'1x' is not a valid floating point value");
    };
    EXPECT_THROW(ExportaDXF(file("points.txt"), file("out.dxf"), failing), ConversionError);
    EXPECT_EQ(read(file("out.dxf")), previous);
    EXPECT_EQ(filesInFolder(), 2u);
}

TEST_F(FileRuns, AMissingSourceIsReportedAndNothingIsCreated)
{
    try {
        ConverteDXF(file("none.dxf"), file("out.dxf"), transform_.function());
        ADD_FAILURE() << "ran without a source";
    } catch (const FileRunError& error) {
        EXPECT_EQ(
            std::string(error.what()).rfind("Cannot open file " + file("none.dxf").string(), 0), 0u)
            << error.what();
    }
    EXPECT_THROW(ExportaDXF(folder_.path(), file("out.dxf"), transform_.function()), FileRunError);
    EXPECT_EQ(filesInFolder(), 0u);
}

TEST_F(FileRuns, ADestinationThatCannotBeWrittenIsAWriteError)
{
    write(file("plan.dxf"), drawing);
    fs::create_directory(file("out.dxf"));
    EXPECT_THROW(ConverteDXF(file("plan.dxf"), file("out.dxf"), transform_.function()),
                 FileWriteError);
    EXPECT_THROW(ConverteDXF(file("plan.dxf"), folder_ / "no folder" / "out.dxf",
                             transform_.function()),
                 FileWriteError);
    EXPECT_TRUE(fs::is_directory(file("out.dxf")));
    EXPECT_EQ(filesInFolder(), 2u);
}

struct SourceCase {
    const char* why;
    std::string bytes;
    bool isDrawing;
};

// Only a drawing replaces the destination: anything else would leave a corrupt or empty copy.
TEST_F(FileRuns, ASourceThatIsNoDrawingLeavesTheDestination)
{
    const std::string header = crlf({"  0", "SECTION", "  2", "HEADER", "  0", "ENDSEC"});
    const SourceCase cases[] = {
        {"a binary drawing", std::string("AutoCAD Binary DXF\r\n\x1A\0\x00\x01", 24), false},
        {"an empty file", "", false},
        {"blank lines only", "\r\n  \r\n", false},
        {"a point file", "P1;1;2;3\r\nP2;4;5;6\r\n", false},
        {"random bytes", std::string("\x8F\x02\xFF 0\nSECTIO\x00N\n\x13", 14), false},
        {"a drawing whose lines end in CR alone", "  0\rSECTION\r  2\rENTITIES\r  0\rEOF\r", false},
        {"a drawing without entities, copied as written", header + crlf({"  0", "EOF"}), true},
        {"a drawing of its end alone", crlf({"  0", "EOF"}), true},
        {"comments before the first section", crlf({"999", "made by hand"}) + drawing, true},
    };
    for (const SourceCase& c : cases) {
        SCOPED_TRACE(c.why);
        write(file("source.dxf"), c.bytes);
        write(file("out.dxf"), previous);
        if (c.isDrawing) {
            ConverteDXF(file("source.dxf"), file("out.dxf"), transform_.function());
            EXPECT_NE(read(file("out.dxf")), previous);
        } else {
            EXPECT_THROW(ConverteDXF(file("source.dxf"), file("out.dxf"), transform_.function()),
                         FileRunError);
            EXPECT_EQ(read(file("out.dxf")), previous);
        }
        EXPECT_EQ(filesInFolder(), 2u);
    }
}

TEST_F(FileRuns, ALinkedDestinationReplacesTheFileItLeadsToAndStaysALink)
{
    write(file("plan.dxf"), drawing);
    write(file("target.dxf"), previous);
    fs::create_symlink("target.dxf", file("link.dxf"));
    fs::create_symlink("new.dxf", file("dangling.dxf"));
    ConverteDXF(file("plan.dxf"), file("link.dxf"), transform_.function());
    ConverteDXF(file("plan.dxf"), file("dangling.dxf"), transform_.function());
    for (const char* link : {"link.dxf", "dangling.dxf"}) EXPECT_TRUE(fs::is_symlink(file(link)));
    const std::string transformed = read(file("target.dxf"));
    EXPECT_EQ(transformed, drawingWith(crlf({"  0", "POINT", " 10", "1001", " 20", "2002"})));
    EXPECT_EQ(read(file("new.dxf")), transformed);
    EXPECT_EQ(filesInFolder(), 5u);
}

TEST_F(FileRuns, APipeIsWrittenStraightThrough)
{
    write(file("plan.dxf"), drawing);
    ASSERT_EQ(::mkfifo(file("pipe").c_str(), 0600), 0);
    std::string received;
    std::thread reader([&] { received = read(file("pipe")); });
    ConverteDXF(file("plan.dxf"), file("pipe"), transform_.function());
    reader.join();
    EXPECT_EQ(received, drawingWith(crlf({"  0", "POINT", " 10", "1001", " 20", "2002"})));
    EXPECT_TRUE(fs::is_fifo(file("pipe")));
    EXPECT_EQ(filesInFolder(), 2u);
}

// A file the user may write in a folder the user may not: written in place once the text is
// whole; a disk too full for it leaves it as it was.
TEST_F(FileRuns, AWritableFileInAClosedFolderIsWrittenInPlace)
{
    write(file("plan.dxf"), drawing);
    fs::create_directory(file("closed"));
    const fs::path out = file("closed") / "out.dxf";
    write(out, previous);
    fs::permissions(out, fs::perms::all);
    fs::permissions(file("closed"), fs::perms::owner_all | fs::perms::group_read |
                                        fs::perms::group_exec | fs::perms::others_read |
                                        fs::perms::others_exec);
    const auto runAsUser = [&](rlim_t limit) {
        return child_process::exitStatusOf([&] {
            if (!child_process::withoutSuperuserRights()) return 4;
            child_process::limitFileSize(limit);
            try {
                ConverteDXF(file("plan.dxf"), out, transform_.function());
            } catch (const FileWriteError&) {
                return 3;
            }
            return 0;
        });
    };
    EXPECT_EQ(runAsUser(previous.size()), 3) << "the full disk was not reported";
    EXPECT_EQ(read(out), previous);
    EXPECT_EQ(runAsUser(RLIM_INFINITY), 0);
    EXPECT_EQ(read(out), drawingWith(crlf({"  0", "POINT", " 10", "1001", " 20", "2002"})));
    EXPECT_EQ(std::distance(fs::directory_iterator(file("closed")), fs::directory_iterator()), 1);
}

TEST_F(FileRuns, AFullDiskPartWayLeavesTheDestination)
{
    // Three megabytes of output against a one-megabyte file-size limit in a child process: the
    // flushes past the limit fail as on a full disk.
    std::string big = crlf({"  0", "SECTION", "  2", "ENTITIES"});
    for (int i = 0; i < 100000; ++i)
        big += crlf({"  0", "POINT", " 10", "123456.789", " 20", "7654321.123", " 30", "700"});
    write(file("big.dxf"), big);
    write(file("out.dxf"), previous);
    const int outcome = child_process::exitStatusOf([&] {
        child_process::limitFileSize(1u << 20);
        try {
            ConverteDXF(file("big.dxf"), file("out.dxf"), transform_.function());
        } catch (const FileWriteError&) {
            return 3;
        }
        return 0;
    });
    EXPECT_EQ(outcome, 3) << "the full disk was not reported";
    EXPECT_EQ(read(file("out.dxf")), previous);
    EXPECT_EQ(filesInFolder(), 2u);
}

}  // namespace
