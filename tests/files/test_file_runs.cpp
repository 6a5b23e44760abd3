// Whole runs on files: a destination that is the source, and every way a run can fail leaving
// the destination as it was and no temporary file behind.
#include "transform/files/DxfRewrite.h"
#include "transform/files/PointFileExport.h"

#include "transform/text/NumberText.h"
#include "tests/support/child_process.h"
#include "tests/files/files_support.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

namespace {

namespace fs = std::filesystem;

class FileRuns : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::random_device random;
        folder_ = fs::temp_directory_path() / ("zelvora-files-" + std::to_string(random()));
        fs::create_directories(folder_);
    }
    void TearDown() override
    {
        std::error_code ignored;
        fs::remove_all(folder_, ignored);
    }
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
    std::size_t filesInFolder() const
    {
        return static_cast<std::size_t>(
            std::distance(fs::directory_iterator(folder_), fs::directory_iterator()));
    }

    fs::path folder_;
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
    EXPECT_THROW(ExportaDXF(folder_, file("out.dxf"), transform_.function()), FileRunError);
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

TEST_F(FileRuns, ABinaryDrawingLeavesTheDestination)
{
    write(file("bin.dxf"), std::string("AutoCAD Binary DXF\r\n\x1A\0\x00\x01", 24));
    write(file("out.dxf"), previous);
    EXPECT_THROW(ConverteDXF(file("bin.dxf"), file("out.dxf"), transform_.function()),
                 FileRunError);
    EXPECT_EQ(read(file("out.dxf")), previous);
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

TEST_F(FileRuns, AnEmptySourceGivesAnEmptyDrawing)
{
    write(file("empty.dxf"), "");
    const auto summary = ConverteDXF(file("empty.dxf"), file("out.dxf"), transform_.function());
    EXPECT_EQ(summary.lines, 0u);
    EXPECT_EQ(read(file("out.dxf")), "");
}

}  // namespace
