// The point-file export: the line grammar, the drawing it writes, and its refusals.
#include "transform/files/PointFileExport.h"

#include "transform/text/NumberText.h"
#include "tests/files/files_support.h"

#include <gtest/gtest.h>

#include <optional>

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

struct NameCase {
    const char* why;
    std::string source;  // one point line, or more
    std::string label;   // the first label as the drawing holds it
    std::size_t unwritable;
};

// DXF readers take a drawing's text as Windows-1252: names in UTF-8 are converted, others pass.
TEST(PointExport, NamesReachTheDrawingInWindows1252)
{
    const NameCase cases[] = {
        {"Windows-1252 bytes pass unchanged", "Marco C\xF3rrego \xEF\xBB\xBFN\xBA 3;1;2;3\r\n",
         "Marco C\xF3rrego \xEF\xBB\xBFN\xBA 3", 0},
        {"UTF-8 is converted", "\xC3\x81guia \xE2\x82\xAC;1;2;3\r\n", "\xC1guia \x80", 0},
        {"what Windows-1252 cannot hold is \"?\" and counted",
         "\xCE\xA9?\xE2\x86\x92;1;2;3\r\nB\xC3\xA9;1;2;3\r\n", "???", 2},
        {"a byte-order mark is no part of the first name", "\xEF\xBB\xBFP1;1;2;3\r\n", "P1", 0},
    };
    for (const NameCase& c : cases) {
        SCOPED_TRACE(c.why);
        const auto result = exportText(c.source);
        EXPECT_NE(result.text.find("\r\n  1\r\n" + c.label + "\r\n"), std::string::npos);
        EXPECT_EQ(result.summary.unwritableCharacters, c.unwritable);
    }
}

TEST(PointExport, RejectedPointsAreWrittenAndCounted)
{
    const auto result = exportText("A;1;2;3\r\nB;-1;2;3\r\nC;-4;5;6\r\n");
    EXPECT_EQ(result.summary.points, 3u);
    EXPECT_EQ(result.summary.rejected, 2u);
    EXPECT_EQ(result.summary.firstRejectedLine, 2u);
    EXPECT_NE(result.text.find("\r\n  1\r\nC\r\n"), std::string::npos);
}

// ---- written back as a point file ----

const std::string kOddName = "Marco C\xF3rrego \xEF\xBB\xBFN\xBA 3";

struct TextCase {
    const char* why;
    std::string source;
    std::optional<int> decimals;
    std::string written;   // the whole file, when the run goes through
    std::string stop;      // else the error that stops it
    std::size_t rejected;  // X below 0 is rejected, and written all the same
};

const TextCase kTextCases[] = {
    {"a line becomes its name and transformed point, ended by CR LF",
     "P1 ; 500000 ; 7400000 ; 700\r\n", std::nullopt, "P1;501000;7402000;703\r\n", "", 0},
    {"names lose their outer blanks only; LF and a last line without end read alike",
     " \tP 1 \t;1;2;3\n;4;5;6", std::nullopt, "P 1;1001;2002;6\r\n;1004;2005;9\r\n", "", 0},
    {"name bytes pass unchanged", kOddName + ";1;2;3\r\n", std::nullopt,
     kOddName + ";1001;2002;6\r\n", "", 0},
    {"a rejected point is written and counted", "A;1;2;3\r\nB;-1;2;3\r\n", std::nullopt,
     "A;1001;2002;6\r\nB;999;2002;6\r\n", "", 1},
    {"an empty source writes an empty file", "", std::nullopt, "", "", 0},
    {"fixed decimals, rounded to nearest", "A;0.5;-0.0004;1.23456\r\n", 3,
     "A;1000.500;2000.000;4.235\r\n", "", 0},
    {"no decimals", "A;1.4;2.6;0.2\r\n", 0, "A;1001;2003;3\r\n", "", 0},
    {"a value that rounds to zero loses its sign", "A;-1000.0001;1;1\r\n", 3,
     "A;0.000;2001.000;4.000\r\n", "", 1},
    {"an empty line inside stops the run as the export does", "P1;1;2;3\r\n\r\nP2;1;2;3\r\n",
     std::nullopt, "", "'' is not a valid floating point value (line 2)", 0},
    {"a fourth field stops it too", "P1;1;2;3\r\nP2;1;2;3;4\r\n", 2, "",
     "'3;4' is not a valid floating point value (line 2)", 0},
};

TEST(PointText, EachLineIsWrittenBackInThePointFilesGrammar)
{
    for (const TextCase& c : kTextCases) {
        SCOPED_TRACE(c.why);
        RecordingTransform transform;
        LineWriter out;
        try {
            const auto summary = exportPointText(c.source, out, transform.function(), c.decimals);
            EXPECT_EQ(c.stop, "");
            EXPECT_EQ(out.text(), c.written);
            EXPECT_EQ(summary.points, lineCount(c.written));
            EXPECT_EQ(summary.rejected, c.rejected);
        } catch (const ConversionError& error) {
            EXPECT_EQ(error.what(), c.stop);
        }
    }
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
