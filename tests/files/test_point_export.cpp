// The point-file export: the line grammar, the drawing it writes, and its refusals.
#include "transform/files/PointFileExport.h"

#include "transform/text/NumberText.h"
#include "tests/files/files_support.h"

#include <gtest/gtest.h>

namespace {

const std::string opening =
    crlf({"  0", "SECTION", "  2", "HEADER", "  9", "$PDMODE", " 70", "    33", "  9", "$PDSIZE",
          " 40", "1.5", "  0", "ENDSEC", "  0", "SECTION", "  2", "ENTITIES"});
const std::string closing = crlf({"  0", "ENDSEC", "  0", "EOF"});

std::string pointLines(const std::string& name, const std::string& X, const std::string& Y,
                       const std::string& Z, const std::string& labelX)
{
    return crlf({"  0", "POINT", "  5", "2B",   "  8", "0",   " 10", X,   " 20", Y,
                 " 30", Z,       "  0", "TEXT", "  5", "2C",  "  8", "0", " 10", labelX,
                 " 20", Y,       " 30", "0.0",  " 40", "1.5", "  1", name});
}

struct Exported {
    std::string text;
    FileRunSummary summary;
    std::vector<RecordingTransform::Call> calls;
};

Exported exportText(const std::string& source)
{
    RecordingTransform transform;
    LineWriter out;
    const auto summary = exportPoints(source, out, transform.function());
    return {out.text(), summary, transform.calls};
}

std::string refusal(const std::string& source)
{
    try {
        exportText(source);
    } catch (const ConversionError& error) {
        return error.what();
    }
    return "accepted";
}

TEST(PointExport, OneLineBecomesAPointAndItsLabel)
{
    const auto result = exportText("P1 ; 500000 ; 7400000 ; 700\r\n");
    EXPECT_EQ(result.text,
              opening + pointLines("P1", "501000", "7402000", "703", "501001.5") + closing);
    ASSERT_EQ(result.calls.size(), 1u);
    EXPECT_EQ(result.calls[0].X, 500000);
    EXPECT_EQ(result.calls[0].Y, 7400000);
    EXPECT_EQ(result.calls[0].Z, 700);
}

TEST(PointExport, NamesLoseTheirOuterBlanksOnly)
{
    const auto result = exportText(" \tP 1 \t;1;2;3\r\n;4;5;6\r\n");
    EXPECT_EQ(result.text, opening + pointLines("P 1", "1001", "2002", "6", "1002.5") +
                               pointLines("", "1004", "2005", "9", "1005.5") + closing);
}

TEST(PointExport, TabsAroundXAndYAreBlanksButNotAfterZ)
{
    EXPECT_EQ(exportText("P;\t1\t;\t2 ; 3 \r\n").calls.size(), 1u);
    EXPECT_EQ(refusal("P;1;2;3\t\r\n"), "'3\t' is not a valid floating point value (line 1)");
}

TEST(PointExport, FieldsThatAreNoNumbersStopTheRunWithTheFieldsText)
{
    EXPECT_EQ(refusal("P1;1;2;3\r\nP2;1;2;3;4\r\n"),
              "'3;4' is not a valid floating point value (line 2)");
    EXPECT_EQ(refusal("P1;1,5;2;3\r\n"), "'1,5' is not a valid floating point value (line 1)");
    EXPECT_EQ(refusal("P1;1;2\r\n"), "'' is not a valid floating point value (line 1)");
    EXPECT_EQ(refusal("P1;1\r\n"), "'' is not a valid floating point value (line 1)");
    EXPECT_EQ(refusal("P1\r\n"), "'' is not a valid floating point value (line 1)");
    EXPECT_EQ(refusal("P1; x ;2;3\r\n"), "'x' is not a valid floating point value (line 1)");
}

TEST(PointExport, AnEmptyLineInsideFailsButAFinalLineBreakOpensNoLine)
{
    EXPECT_EQ(refusal("P1;1;2;3\r\n\r\nP2;1;2;3\r\n"),
              "'' is not a valid floating point value (line 2)");
    EXPECT_EQ(exportText("P1;1;2;3\r\nP2;1;2;3\r\n").summary.points, 2u);
    EXPECT_EQ(exportText("P1;1;2;3\r\nP2;1;2;3").summary.points, 2u);
    EXPECT_EQ(exportText("P1;1;2;3\nP2;1;2;3\n").summary.lines, 2u);
}

TEST(PointExport, AnEmptySourceGivesTheOpeningAndClosingBlocks)
{
    EXPECT_EQ(exportText("").text, opening + closing);
}

TEST(PointExport, EveryPointAndEveryLabelTakesTheSameHandle)
{
    const auto result = exportText("A;1;2;3\r\nA;4;5;6\r\n");
    EXPECT_EQ(result.text, opening + pointLines("A", "1001", "2002", "6", "1002.5") +
                               pointLines("A", "1004", "2005", "9", "1005.5") + closing);
}

TEST(PointExport, NameBytesPassThroughUnchanged)
{
    const std::string name = "Marco C\xF3rrego \xEF\xBB\xBFN\xBA 3";
    const auto result = exportText(name + ";1;2;3\r\n");
    EXPECT_NE(result.text.find("\r\n  1\r\n" + name + "\r\n"), std::string::npos);
}

TEST(PointExport, RejectedPointsAreWrittenAndCounted)
{
    const auto result = exportText("A;1;2;3\r\nB;-1;2;3\r\nC;-4;5;6\r\n");
    EXPECT_EQ(result.summary.points, 3u);
    EXPECT_EQ(result.summary.rejected, 2u);
    EXPECT_EQ(result.summary.firstRejectedLine, 2u);
    EXPECT_NE(result.text.find("\r\n  1\r\nC\r\n"), std::string::npos);
}

TEST(PointCheck, ListsEveryBadLineAndRejectedPointInOrder)
{
    std::vector<LineProblem> problems;
    RecordingTransform transform;
    const auto summary =
        checkPoints("A;1;2;3\r\nB;x;2;3\r\nC;-1;2;3\r\n\r\nE;1;2;3;4\r\nF;1;2;3\r\n",
                    transform.function(),
                    [&problems](const LineProblem& p) { problems.push_back(p); });
    ASSERT_EQ(problems.size(), 4u);
    EXPECT_EQ(problems[0].message, "'x' is not a valid floating point value (line 2)");
    EXPECT_EQ(problems[1].line, 3u);
    EXPECT_EQ(problems[1].rejectedBy, 6);
    EXPECT_EQ(problems[1].values, "C;-1;2;3");
    EXPECT_EQ(problems[2].line, 4u);
    EXPECT_EQ(problems[3].message, "'3;4' is not a valid floating point value (line 5)");
    EXPECT_EQ(summary.points, 3u);
    EXPECT_EQ(summary.rejected, 1u);
}

}  // namespace
