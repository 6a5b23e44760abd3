// Real drawings and point files written by other programs, rewritten and then checked by an
// independent reader: nothing may change but coordinate values, every line ends with CR LF.
#include "transform/files/DxfRewrite.h"
#include "transform/files/PointFileExport.h"

#include "transform/text/NumberText.h"
#include "tests/files/files_support.h"
#include "tests/support/temporary_folder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

namespace fs = std::filesystem;

const fs::path samples = ZELVORA_SAMPLES;

std::string read(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The checker's verdict: its exit status, 0 when the two files agree.
int dxfCheck(const std::string& options, const fs::path& source, const fs::path& rewritten)
{
    const std::string command = std::string("/usr/bin/python3 '") + ZELVORA_DXF_CHECK + "' -q " +
                                options + " '" + source.string() + "' '" + rewritten.string() + "'";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

class DrawingSample : public ::testing::TestWithParam<std::string> {};

TEST_P(DrawingSample, OnlyCoordinatesChange)
{
    const fs::path source = samples / "dxf" / GetParam();
    const TemporaryFolder folder;
    const fs::path out = folder / GetParam();
    RecordingTransform transform;
    const auto summary = ConverteDXF(source, out, transform.function());
    EXPECT_GT(summary.points, 0u);
    EXPECT_EQ(dxfCheck("--require-crlf", source, out), 0);
    // Every position went through the transformation, with the first positions and their
    // neighbours of the entities that have vectors, sizes or angles.
    EXPECT_GE(transform.calls.size(), summary.points);
}

INSTANTIATE_TEST_SUITE_P(
    Samples, DrawingSample,
    ::testing::Values(
        "dxsamples_x29_crlf_insbase.dxf", "ezdxf_r12_utm.dxf", "ezdxf_r12writer_entities_only.dxf",
        "ezdxf_r2000_cp1252_layers.dxf", "ezdxf_r2000_utm.dxf", "ezdxf_r2007_utm_insbase.dxf",
        "ezdxf_r2013_utm_geodata.dxf", "ezdxf_r2018_utm_corridor.dxf", "freecad_square_r14.dxf",
        "gdal_ogr2ogr_utm.dxf", "librecad_lib_complete-lib-v.dxf", "librecad_lib_evd22_crlf.dxf",
        "librecad_lib_misc_a3.dxf", "librecad_pattern_arcs.dxf", "librecad_saved_r2007.dxf",
        "librecad_sheet_a4h.dxf", "openscad_dim-all.dxf", "variant_bad_group_code.dxf",
        "variant_crlf.dxf", "variant_no_header.dxf", "variant_trailing_blank_codes.dxf",
        "wx_penguin_mixed_eol.dxf", "z88_b16_n_r12.dxf", "z88_b16step5_r14.dxf"),
    [](const auto& info) {
        std::string name = info.param.substr(0, info.param.size() - 4);
        for (auto& c : name)
            if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
        return name;
    });

TEST(DrawingSamples, LeftAlignedCodesAreTransformedToo)
{
    // Without the codes known by value, these would pass through with no point transformed.
    for (const char* name : {"librecad_lib_evd22_crlf.dxf", "ezdxf_r12writer_entities_only.dxf",
                             "wx_penguin_mixed_eol.dxf"}) {
        SCOPED_TRACE(name);
        RecordingTransform transform;
        LineWriter out;
        const auto summary = rewriteDxf(read(samples / "dxf" / name), out, transform.function());
        EXPECT_GT(summary.points, 10u);
    }
}

TEST(DrawingSamples, TheInsertionBaseOfARealDrawingIsOneOfItsPoints)
{
    RecordingTransform transform;
    LineWriter out;
    rewriteDxf(read(samples / "dxf" / "ezdxf_r2007_utm_insbase.dxf"), out, transform.function());
    EXPECT_NE(out.text().find("$INSBASE\r\n 10\r\n1100\r\n 20\r\n2200\r\n 30\r\n3\r\n"),
              std::string::npos);
    // The site lies around E 512080 N 7800415: nothing is taken off its coordinates.
    ASSERT_GT(transform.calls.size(), 1u);
    EXPECT_EQ(transform.calls[0].X, 100);
    EXPECT_NEAR(static_cast<double>(transform.calls[1].X), 512080, 2000);
    EXPECT_NEAR(static_cast<double>(transform.calls[1].Y), 7800415, 2000);
}

TEST(DrawingSamples, TheRefusedOnesStopWithAClearMessage)
{
    RecordingTransform transform;
    LineWriter out;
    EXPECT_THROW(rewriteDxf(read(samples / "dxf" / "ezdxf_r2000_binary.dxf"), out,
                            transform.function()),
                 FileRunError);
    try {
        rewriteDxf(read(samples / "dxf" / "openscad_decimal-comma.dxf"), out, transform.function());
        ADD_FAILURE() << "read decimal commas";
    } catch (const ConversionError& error) {
        // The first decimal comma of a coordinate; one in the header is copied, not read.
        EXPECT_STREQ(error.what(), "'0,1' is not a valid floating point value (line 72)");
    }
}

TEST(DrawingSamples, AnOddLineCountGainsOneEmptyLine)
{
    const std::string source = read(samples / "dxf" / "variant_truncated_odd_lines.dxf");
    RecordingTransform transform;
    LineWriter out;
    const auto summary = rewriteDxf(source, out, transform.function());
    EXPECT_EQ(summary.lines % 2, 1u);
    EXPECT_EQ(lineCount(out.text()), summary.lines + 1);
    EXPECT_EQ(out.text().substr(out.text().size() - 9), "\r\n  8\r\n\r\n");
}

class PointSample : public ::testing::TestWithParam<std::string> {};

TEST_P(PointSample, OnePointAndOneLabelForEveryLine)
{
    const fs::path source = samples / "points" / GetParam();
    const TemporaryFolder folder;
    const fs::path out = folder / (GetParam() + ".dxf");
    RecordingTransform transform;
    const auto summary = ExportaDXF(source, out, transform.function());
    EXPECT_EQ(summary.points, lineCount(read(source)));
    EXPECT_EQ(dxfCheck("--points --require-crlf --label-offset 1.5", source, out), 0);
}

// The point file written back, read again: the same names and values, so the drawing of either
// file is the same, and writing it back once more changes nothing.
TEST_P(PointSample, WrittenBackItReadsAsTheSamePoints)
{
    const std::string source = read(samples / "points" / GetParam());
    const PointTransform unchanged = [](long double X, long double Y, long double Z) {
        return TransformedPoint{X, Y, Z, 0};
    };
    LineWriter text, again, drawing, drawingOfText;
    const auto summary = exportPointText(source, text, unchanged);
    EXPECT_EQ(summary.points, lineCount(source));
    // One line a point, each ended by CR LF.
    std::size_t lineEnds = 0;
    for (auto at = text.text().find("\r\n"); at != std::string::npos;
         at = text.text().find("\r\n", at + 2))
        ++lineEnds;
    EXPECT_EQ(lineEnds, summary.points);
    EXPECT_EQ(lineCount(text.text()), summary.points);
    exportPointText(text.text(), again, unchanged);
    EXPECT_EQ(again.text(), text.text());
    exportPoints(source, drawing, unchanged);
    exportPoints(text.text(), drawingOfText, unchanged);
    EXPECT_TRUE(drawingOfText.text() == drawing.text());
}

INSTANTIATE_TEST_SUITE_P(
    Samples, PointSample,
    ::testing::Values("plain_crlf.txt", "plain_lf.txt", "no_final_line_end.txt", "empty.txt",
                      "blanks_and_tabs.txt", "exponents.txt", "geodetic_lonlat.txt",
                      "empty_name.txt", "duplicate_names.txt", "cp1252_names.txt",
                      "utf8_bom_names.txt", "long_lines.txt", "points_100k.txt"),
    [](const auto& info) {
        std::string name = info.param.substr(0, info.param.size() - 4);
        for (auto& c : name)
            if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
        return name;
    });

TEST(PointSamples, EachBadFileStopsAtItsLine)
{
    struct Case {
        const char* file;
        std::size_t line;
    };
    for (const Case& c : {Case{"missing_z.txt", 3}, Case{"empty_z.txt", 3},
                          Case{"tab_after_z.txt", 3}, Case{"comma_decimals.txt", 2},
                          Case{"name_with_semicolon.txt", 2}, Case{"five_fields.txt", 2},
                          Case{"empty_line_inside.txt", 4}, Case{"empty_lines_at_end.txt", 7}}) {
        SCOPED_TRACE(c.file);
        RecordingTransform transform;
        LineWriter out;
        try {
            exportPoints(read(samples / "points" / c.file), out, transform.function());
            ADD_FAILURE() << "read the whole file";
        } catch (const ConversionError& error) {
            const std::string message = error.what();
            EXPECT_NE(message.find("(line " + std::to_string(c.line) + ")"), std::string::npos)
                << message;
        }
        EXPECT_EQ(transform.calls.size(), c.line - 1);
    }
}

}  // namespace
