// The DXF rewrite's pair rules, on small drawings with a transformation that marks its output.
#include "DxfRewrite.h"

#include "NumberText.h"
#include "files_support.h"

#include <gtest/gtest.h>

namespace {

struct Rewritten {
    std::string text;
    FileRunSummary summary;
    std::vector<RecordingTransform::Call> calls;
};

Rewritten rewrite(const std::string& source) {
    RecordingTransform transform;
    LineWriter out;
    const auto summary = rewriteDxf(source, out, transform.function());
    return {out.text(), summary, transform.calls};
}

const std::string header = crlf({"  0", "SECTION", "  2", "HEADER"});
const std::string entities = crlf({"  0", "ENDSEC", "  0", "SECTION", "  2", "ENTITIES"});
const std::string ending = crlf({"  0", "ENDSEC", "  0", "EOF"});

TEST(DxfRewrite, APointWithThreeCoordinatesIsTransformedAndTheRestCopied) {
    const std::string body = crlf({"  0", "POINT", "  8", "0", " 10", "500000.5", " 20",
                                   "7400000.25", " 30", "700", " 39", "2.5"});
    const auto result = rewrite(header + entities + body + ending);
    EXPECT_EQ(result.text, header + entities +
                               crlf({"  0", "POINT", "  8", "0", " 10", "501000.5", " 20",
                                     "7402000.25", " 30", "703", " 39", "2.5"}) +
                               ending);
    EXPECT_EQ(result.summary.points, 1u);
    EXPECT_EQ(result.summary.lines, 26u);
}

TEST(DxfRewrite, TwoDimensionalVerticesTakeZeroAndLeaveTheNextPairToTheLoop) {
    const std::string body = crlf({"  0", "LWPOLYLINE", " 10", "1", " 20", "2", " 42", "0.5",
                                   " 10", "3", " 20", "4", " 10", "5", " 20", "6"});
    const auto result = rewrite(entities + body);
    EXPECT_EQ(result.text, entities + crlf({"  0", "LWPOLYLINE", " 10", "1001", " 20", "2002",
                                            " 42", "0.5", " 10", "1003", " 20", "2004", " 10",
                                            "1005", " 20", "2006"}));
    ASSERT_EQ(result.calls.size(), 3u);
    EXPECT_EQ(result.calls[0].Z, 0);
    EXPECT_EQ(result.calls[2].X, 5);
}

TEST(DxfRewrite, EveryCoordinateCodeFrom10To19ButZOnlyFrom30And31) {
    const std::string body = crlf({" 11", "1", " 21", "2", " 31", "3",  //
                                   " 12", "4", " 22", "5", " 32", "6",  //
                                   " 19", "7", " 29", "8"});
    const auto result = rewrite(entities + body);
    EXPECT_EQ(result.text, entities + crlf({" 11", "1001", " 21", "2002", " 31", "6",  //
                                            " 12", "1004", " 22", "2005", " 32", "6",  //
                                            " 19", "1007", " 29", "2008"}));
}

TEST(DxfRewrite, TheYPairIsTakenWhateverItsCode) {
    const auto result = rewrite(entities + crlf({" 10", "1", " 40", "2", "  0", "LINE"}));
    EXPECT_EQ(result.text, entities + crlf({" 10", "1001", " 40", "2002", "  0", "LINE"}));
}

TEST(DxfRewrite, TheInsertionBaseIsTakenOffAndWrittenAsZero) {
    const std::string base = crlf({"  9", "$INSBASE", " 10", "100", " 20", "200", " 30", "0"});
    const std::string origin = crlf({"  9", "$UCSORG", " 10", "5", " 20", "6", " 30", "7"});
    const auto result = rewrite(header + base + origin + entities +
                                crlf({" 10", "150", " 20", "250", " 30", "10"}));
    const std::string zero = crlf({" 10", "0.0", " 20", "0.0", " 30", "0.0"});
    EXPECT_EQ(result.text, header + crlf({"  9", "$INSBASE"}) + zero + crlf({"  9", "$UCSORG"}) +
                               zero + entities + crlf({" 10", "1050", " 20", "2050", " 30", "13"}));
    ASSERT_EQ(result.calls.size(), 1u);
    EXPECT_EQ(result.calls[0].X, 50);
    EXPECT_EQ(result.calls[0].Y, 50);
}

TEST(DxfRewrite, TheInsertionBaseValuesAreTheNextThreeValueLinesWhateverTheirCodes) {
    const auto result = rewrite(crlf({"  9", "$INSBASE", " 70", "1", " 71", "2", " 72", "3"}) +
                                entities + crlf({" 10", "10", " 20", "20", " 30", "30"}));
    ASSERT_EQ(result.calls.size(), 1u);
    EXPECT_EQ(result.calls[0].X, 9);
    EXPECT_EQ(result.calls[0].Y, 18);
    EXPECT_EQ(result.calls[0].Z, 27);
}

TEST(DxfRewrite, BlocksBeforeTheEntitiesKeepTheirCoordinates) {
    const std::string blocks =
        crlf({"  0", "SECTION", "  2", "BLOCKS", "  0", "BLOCK", " 10", "1.50", " 20", "2", " 30",
              "0", "  0", "ENDSEC"});
    const std::string insert = crlf({"  0", "INSERT", "  2", "MARCO", " 10", "7", " 20", "8"});
    const auto result = rewrite(blocks + entities + insert);
    EXPECT_EQ(result.text, blocks + entities +
                               crlf({"  0", "INSERT", "  2", "MARCO", " 10", "1007", " 20", "2008"}));
}

TEST(DxfRewrite, ADrawingWithoutEntitiesIsCopiedButForTheHeaderVariables) {
    const std::string drawing = header + crlf({"  9", "$EXTMIN", " 10", "1", " 20", "2"}) + ending;
    const auto result = rewrite(drawing);
    EXPECT_EQ(result.text, drawing);
    EXPECT_TRUE(result.calls.empty());
}

TEST(DxfRewrite, CodeLinesAreKnownByTheirValueWhateverTheirAlignment) {
    // Left-aligned codes, as most writers put them, and trailing blanks.
    const std::string drawing = crlf({"0", "SECTION", "2 ", "ENTITIES", "10", "1", "20 ", "2",
                                      "30", "3", "  10", "4", " 20", "5", "10 ", "6", "20", "7"});
    const auto result = rewrite(drawing);
    EXPECT_EQ(result.text, crlf({"0", "SECTION", "2 ", "ENTITIES", "10", "1001", "20", "2002",
                                 "30", "6", "  10", "1004", " 20", "2005", "10", "1006", "20",
                                 "2007"}));
    EXPECT_EQ(result.summary.points, 3u);
}

TEST(DxfRewrite, ACodeThatIsNoNumberIsNeverACoordinate) {
    const std::string body = crlf({" 1x", "5", "1 0", "6", "", "7", " 100", "8", " 1000", "text"});
    const auto result = rewrite(entities + body);
    EXPECT_EQ(result.text, entities + body);
}

TEST(DxfRewrite, LfAndMixedLineEndsGiveCrLfLines) {
    const std::string lf = "  2\nENTITIES\n 10\n1\n 20\n2\r\n";
    EXPECT_EQ(rewrite(lf).text, crlf({"  2", "ENTITIES", " 10", "1001", " 20", "2002"}));
}

TEST(DxfRewrite, AnOddLastLineIsPairedWithEmptyText) {
    const auto result = rewrite(crlf({"  0", "SECTION", "  0"}));
    EXPECT_EQ(result.text, crlf({"  0", "SECTION", "  0", ""}));
    // A coordinate on the last line: its Y, read past the end, is empty text and no number.
    try {
        rewrite(entities + " 10\r\n5");
        ADD_FAILURE() << "rewrote a point without Y";
    } catch (const ConversionError& error) {
        EXPECT_STREQ(error.what(), "'' is not a valid floating point value (line 10)");
    }
}

TEST(DxfRewrite, AValueThatIsNoNumberStopsWithItsTextAndLine) {
    try {
        rewrite(entities + crlf({" 10", "1", " 20", "2", " 10", "abc", " 20", "4"}));
        ADD_FAILURE() << "rewrote a coordinate that is no number";
    } catch (const ConversionError& error) {
        EXPECT_STREQ(error.what(), "'abc' is not a valid floating point value (line 12)");
    }
    EXPECT_THROW(rewrite(crlf({"  9", "$INSBASE", " 10", "1,5"})), ConversionError);
}

TEST(DxfRewrite, NumbersAreWrittenInTheGeneralForm) {
    RecordingTransform transform;
    LineWriter out;
    const PointTransform scale = [](long double X, long double Y, long double Z) {
        return TransformedPoint{X / 3, Y * 1e12L, Z / 1e6L, false};
    };
    rewriteDxf(entities + crlf({" 10", "1", " 20", "1e5", " 30", "50"}), out, scale);
    EXPECT_EQ(out.text().substr(entities.size()),
              crlf({" 10", "0.333333333333333", " 20", "1E17", " 30", "5E-5"}));
}

TEST(DxfRewrite, RejectedPointsAreCountedWithTheFirstLine) {
    const auto result = rewrite(entities + crlf({" 10", "1", " 20", "1", " 10", "-1", " 20", "1",
                                                 " 10", "-2", " 20", "1"}));
    EXPECT_EQ(result.summary.points, 3u);
    EXPECT_EQ(result.summary.rejected, 2u);
    EXPECT_EQ(result.summary.firstRejectedLine, 11u);
}

TEST(DxfCheck, ListsEveryLineThatWouldStopTheRunAndEveryRejectedPoint) {
    const std::string drawing =
        crlf({"  9", "$INSBASE", " 10", "x0", " 20", "0", " 30", "0"}) + entities +
        crlf({" 10", "1", " 20", "2", " 10", "-1", " 20", "2", " 10", "abc", " 20", "2", " 10",
              "5", " 20", "6", " 30", "1,5", " 10", "3", " 20", "4"});
    std::vector<LineProblem> problems;
    RecordingTransform transform;
    const auto summary = checkDxf(drawing, transform.function(),
                                  [&problems](const LineProblem& p) { problems.push_back(p); });
    ASSERT_EQ(problems.size(), 4u);
    EXPECT_EQ(problems[0].line, 4u);
    EXPECT_EQ(problems[0].message, "'x0' is not a valid floating point value (line 4)");
    EXPECT_EQ(problems[1].line, 19u);
    EXPECT_EQ(problems[1].rejectedBy, 6);
    EXPECT_TRUE(problems[1].message.empty());
    EXPECT_EQ(problems[1].values, "-1 2");
    EXPECT_EQ(problems[2].line, 24u);
    EXPECT_EQ(problems[3].line, 32u);
    EXPECT_EQ(problems[3].message, "'1,5' is not a valid floating point value (line 32)");
    EXPECT_EQ(summary.problems, 4u);
    // The good points around the bad ones were all seen; the bad point was not transformed.
    EXPECT_EQ(summary.points, 3u);
    EXPECT_EQ(transform.calls.size(), 3u);
}

TEST(DxfRewrite, ABinaryDrawingIsRefused) {
    const std::string binary = std::string("AutoCAD Binary DXF\r\n\x1A\0", 22) + "\x00\x01";
    EXPECT_THROW(rewrite(binary), FileRunError);
}

TEST(DxfRewrite, ProgressMovesForwardToTheEnd) {
    std::string body;
    for (int i = 0; i < 5000; ++i)
        body += crlf({" 10", "1", " 20", "2"});
    std::vector<std::size_t> positions;
    LineWriter out;
    RecordingTransform transform;
    rewriteDxf(entities + body, out, transform.function(), {},
               [&positions](std::size_t next, std::size_t count) {
                   EXPECT_EQ(count, 20006u);
                   positions.push_back(next);
               });
    ASSERT_GE(positions.size(), 100u);
    EXPECT_LE(positions.size(), 400u);
    EXPECT_EQ(positions.front(), 0u);
    EXPECT_EQ(positions.back(), 20006u);
    EXPECT_TRUE(std::is_sorted(positions.begin(), positions.end()));
}

}  // namespace
