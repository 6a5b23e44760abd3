// The DXF rewrite on small drawings, by entity kind: each group carried by what it is. The
// transformation turns the plane by 90 degrees and doubles it (files_support.h), so a position,
// a vector, a size and an angle each come out differently and every figure is an integer.
#include "transform/files/DxfRewrite.h"

#include "transform/text/NumberText.h"
#include "tests/files/files_support.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using Lines = std::vector<std::string>;

std::string joined(const Lines& lines)
{
    std::string text;
    for (const auto& line : lines) text += line + "\r\n";
    return text;
}

const std::string header = crlf({"  0", "SECTION", "  2", "HEADER"});
const std::string entities = crlf({"  0", "ENDSEC", "  0", "SECTION", "  2", "ENTITIES"});
const std::string ending = crlf({"  0", "ENDSEC", "  0", "EOF"});

struct Rewritten {
    std::string text;
    FileRunSummary summary;
    std::size_t calls = 0;
};

Rewritten rewrite(const std::string& source, bool similarity = true)
{
    TurningTransform transform;
    LineWriter out;
    const auto summary = rewriteDxf(source, out, transform.function(), {similarity});
    return {out.text(), summary, transform.calls.size()};
}

// An entity section holding `body`, rewritten: the body as it comes out.
Rewritten rewriteEntities(const Lines& body, bool similarity = true)
{
    Rewritten r = rewrite(entities + joined(body) + ending, similarity);
    EXPECT_EQ(r.text.substr(0, entities.size()), entities);
    EXPECT_EQ(r.text.substr(r.text.size() - ending.size()), ending);
    r.text = r.text.substr(entities.size(), r.text.size() - entities.size() - ending.size());
    return r;
}

struct KindCase {
    const char* why;
    Lines source;
    Lines expected;
};

const KindCase kKinds[] = {
    {"a LINE's ends are world positions, each with its own height; the rest is copied",
     {"  0", "LINE", "  8", "0", " 10", "1", " 20", "2", " 30", "3", " 11", "4", " 21", "5", " 31",
      "6", " 39", "2.5"},
     {"  0", "LINE", "  8", "0", " 10", "996", " 20", "2002", " 30", "6", " 11", "990", " 21",
      "2008", " 31", "9", " 39", "2.5"}},
    {"a 2D point is computed at height 0 and written without one; its angle turns",
     {"  0", "POINT", " 10", "1", " 20", "2", " 50", "30"},
     {"  0", "POINT", " 10", "996", " 20", "2002", " 50", "120"}},
    {"an X without its Y is no position",
     {"  0", "POINT", " 10", "1", " 40", "2"},
     {"  0", "POINT", " 10", "1", " 40", "2"}},
    {"a circle's radius scales",
     {"  0", "CIRCLE", " 10", "1", " 20", "2", " 30", "0", " 40", "5"},
     {"  0", "CIRCLE", " 10", "996", " 20", "2002", " 30", "3", " 40", "10"}},
    {"a mirrored circle (extrusion 0,0,-1) goes through world coordinates and back",
     {"  0", "CIRCLE", " 10", "1", " 20", "2", " 30", "0", " 40", "5", "210", "0", "220", "0",
      "230", "-1"},
     {"  0", "CIRCLE", " 10", "-996", " 20", "1998", " 30", "-3", " 40", "10", "210", "0", "220",
      "0", "230", "-1"}},
    {"an arc's angles turn with the drawing",
     {"  0", "ARC", " 10", "1", " 20", "2", " 30", "0", " 40", "5", " 50", "30", " 51", "60"},
     {"  0", "ARC", " 10", "996", " 20", "2002", " 30", "3", " 40", "10", " 50", "120", " 51",
      "150"}},
    {"a mirrored arc's angles turn the other way",
     {"  0", "ARC", " 10", "1",  " 20", "2", " 30", "0", " 40", "5",
      " 50", "30",  " 51", "60", "210", "0", "220", "0", "230", "-1"},
     {"  0", "ARC", " 10", "-996", " 20", "1998", " 30", "-3", " 40", "10",
      " 50", "-60", " 51", "-30",  "210", "0",    "220", "0",  "230", "-1"}},
    {"a text: both alignment points, the height and the rotation",
     {"  0", "TEXT", " 10", "1",  " 20", "2", " 30", "0", " 40", "2.5",
      "  1", "A",    " 50", "10", " 11", "3", " 21", "4", " 31", "0"},
     {"  0", "TEXT", " 10", "996", " 20", "2002", " 30", "3",    " 40", "5",
      "  1", "A",    " 50", "100", " 11", "992",  " 21", "2006", " 31", "3"}},
    {"an insert: X and Y scale and the rotation follow, the Z scale stays",
     {"  0", "INSERT", "  2", "B", " 10", "1", " 20", "2", " 30", "0", " 41", "1", " 42", "-1",
      " 43", "1", " 50", "0"},
     {"  0", "INSERT", "  2", "B", " 10", "996", " 20", "2002", " 30", "3", " 41", "2", " 42", "-2",
      " 43", "1", " 50", "90"}},
    {"LWPOLYLINE: 2D vertices at elevation 38, which becomes the first vertex's height",
     {"  0", "LWPOLYLINE", " 90", "2", " 38", "7", " 43", "0.5", " 10", "1", " 20", "2", " 42",
      "0.5", " 10", "3", " 20", "4"},
     {"  0", "LWPOLYLINE", " 90", "2", " 38", "10", " 43", "1", " 10", "996", " 20", "2002", " 42",
      "0.5", " 10", "992", " 20", "2006"}},
    {"an ellipse's major axis is a vector: turned and scaled",
     {"  0", "ELLIPSE", " 10", "1", " 20", "2", " 30", "0", " 11", "3", " 21", "0", " 31", "0",
      " 40", "0.5"},
     {"  0", "ELLIPSE", " 10", "996", " 20", "2002", " 30", "3", " 11", "0", " 21", "6", " 31", "0",
      " 40", "0.5"}},
    {"MTEXT's direction turns and keeps its length",
     {"  0", "MTEXT", " 10", "1", " 20", "2", " 30", "0", " 40", "2", " 11", "1", " 21", "0", " 31",
      "0"},
     {"  0", "MTEXT", " 10", "996", " 20", "2002", " 30", "3", " 40", "4", " 11", "0", " 21", "1",
      " 31", "0"}},
    {"a 2D POLYLINE: the placeholder keeps 0,0 and takes the first vertex's height",
     {"  0", "POLYLINE", " 66",    "1",   " 10", "0",   " 20", "0",   " 30", "5",     " 70",
      "0",   "  0",      "VERTEX", " 10", "1",   " 20", "2",   " 30", "5",   " 40",   "1",
      "  0", "VERTEX",   " 10",    "3",   " 20", "4",   " 30", "5",   "  0", "SEQEND"},
     {"  0", "POLYLINE", " 66",    "1",   " 10", "0",    " 20",  "0",   " 30", "8",     " 70",
      "0",   "  0",      "VERTEX", " 10", "996", " 20",  "2002", " 30", "8",   " 40",   "2",
      "  0", "VERTEX",   " 10",    "992", " 20", "2006", " 30",  "8",   "  0", "SEQEND"}},
    {"a 3D POLYLINE: the placeholder is copied, the vertices are world positions",
     {"  0",    "POLYLINE", " 10", "0",   " 20", "0",   " 30", "0",   " 70", "8",   "  0",
      "VERTEX", " 10",      "1",   " 20", "2",   " 30", "3",   " 70", "32",  "  0", "SEQEND"},
     {"  0",    "POLYLINE", " 10", "0",   " 20",  "0",   " 30", "0",   " 70", "8",   "  0",
      "VERTEX", " 10",      "996", " 20", "2002", " 30", "6",   " 70", "32",  "  0", "SEQEND"}},
    {"a polyface mesh's face record holds indexes and a 0,0,0 that means nothing",
     {"  0", "POLYLINE", " 70", "64",  "  0", "VERTEX", " 10", "1",     " 20", "2",
      " 30", "3",        " 70", "192", "  0", "VERTEX", " 10", "0",     " 20", "0",
      " 30", "0",        " 70", "128", " 71", "1",      "  0", "SEQEND"},
     {"  0", "POLYLINE", " 70", "64",  "  0", "VERTEX", " 10", "996",   " 20", "2002",
      " 30", "6",        " 70", "192", "  0", "VERTEX", " 10", "0",     " 20", "0",
      " 30", "0",        " 70", "128", " 71", "1",      "  0", "SEQEND"}},
    {"paper space (67 = 1) is copied",
     {"  0", "LINE", " 67", "1", " 10", "1", " 20", "2", " 11", "3", " 21", "4"},
     {"  0", "LINE", " 67", "1", " 10", "1", " 20", "2", " 11", "3", " 21", "4"}},
    {"extended data: 1011 a position, 1013 a direction, 1010 and 1040 stay",
     {"  0", "POINT", " 10", "1",    " 20", "2",    "1001", "APP",  "1010", "1",    "1020",
      "2",   "1011",  "1",   "1021", "2",   "1013", "1",    "1023", "0",    "1040", "5"},
     {"  0", "POINT", " 10", "996",  " 20",  "2002", "1001", "APP",  "1010", "1",    "1020",
      "2",   "1011",  "996", "1021", "2002", "1013", "0",    "1023", "1",    "1040", "5"}},
    {"a dimension's unused point holds 0,0,0 and stays; its horizontal direction (51) is the "
     "negative of an angle",
     {"  0", "DIMENSION", " 10", "1", " 20", "2", " 30", "0", " 70", "32", " 13", "3",
      " 23", "4",         " 33", "0", " 15", "0", " 25", "0", " 35", "0",  " 51", "-10"},
     {"  0", "DIMENSION", " 10", "996", " 20", "2002", " 30", "3", " 70", "32", " 13", "992",
      " 23", "2006",      " 33", "3",   " 15", "0",    " 25", "0", " 35", "0",  " 51", "-100"}},
    {"an unknown kind: every group 10 to 18 is taken as a world position",
     {"  0", "ACME_THING", " 10", "1", " 20", "2", " 30", "3", " 40", "5"},
     {"  0", "ACME_THING", " 10", "996", " 20", "2002", " 30", "6", " 40", "5"}},
    {"a hatch: the boundary is 2D at the placeholder's elevation; a clockwise arc edge's stored "
     "angles turn the other way; an ellipse edge's axis is a vector; the seed points move",
     {"  0", "HATCH", " 10", "0", " 20", "0",   " 30", "1", "210", "0", "220", "0", "230", "1",
      "  2", "SOLID", " 70", "1", " 91", "2",  //
      " 92", "2",     " 72", "0", " 73", "1",   " 93", "2", " 10", "1", " 20", "2", " 10", "3",
      " 20", "4",     " 97", "0",  //
      " 92", "1",     " 93", "2", " 72", "2",   " 10", "1", " 20", "2", " 40", "5", " 50", "30",
      " 51", "60",    " 73", "0", " 72", "3",   " 10", "1", " 20", "2", " 11", "3", " 21", "0",
      " 40", "0.5",   " 50", "0", " 51", "360", " 73", "1", " 97", "0",  //
      " 75", "0",     " 76", "1", " 52", "45",  " 41", "1", " 98", "1", " 10", "1", " 20", "2"},
     {"  0", "HATCH", " 10", "0",    " 20", "0",     " 30", "4",   "210", "0",
      "220", "0",     "230", "1",    "  2", "SOLID", " 70", "1",   " 91", "2",  //
      " 92", "2",     " 72", "0",    " 73", "1",     " 93", "2",   " 10", "996",
      " 20", "2002",  " 10", "992",  " 20", "2006",  " 97", "0",  //
      " 92", "1",     " 93", "2",    " 72", "2",     " 10", "996", " 20", "2002",
      " 40", "10",    " 50", "-60",  " 51", "-30",   " 73", "0",   " 72", "3",
      " 10", "996",   " 20", "2002", " 11", "0",     " 21", "6",   " 40", "0.5",
      " 50", "0",     " 51", "360",  " 73", "1",     " 97", "0",  //
      " 75", "0",     " 76", "1",    " 52", "45",    " 41", "1",   " 98", "1",
      " 10", "996",   " 20", "2002"}},
    {"an attribute's embedded text (after 101) has MTEXT's groups",
     {"  0", "ATTRIB", " 10", "1", " 20", "2", " 30", "0", " 40", "1", "101", "Embedded Object",
      " 10", "1",      " 20", "2", " 30", "0", " 11", "1", " 21", "0", " 31", "0",
      " 41", "3"},
     {"  0", "ATTRIB", " 10", "996",  " 20", "2002",
      " 30", "3",      " 40", "2",    "101", "Embedded Object",
      " 10", "996",    " 20", "2002", " 30", "3",
      " 11", "0",      " 21", "1",    " 31", "0",
      " 41", "6"}},
    {"a multileader: its context's points, its leaders' lines, the plane's axes",
     {"  0", "MULTILEADER",
      "300", "CONTEXT_DATA{",
      " 40", "1",
      " 10", "1",
      " 20", "2",
      " 30", "0",
      "110", "1",
      "120", "2",
      "130", "0",
      "111", "1",
      "121", "0",
      "131", "0",
      "302", "LEADER{",
      " 10", "3",
      " 20", "4",
      " 30", "0",
      "304", "LEADER_LINE{",
      " 10", "1",
      " 20", "2",
      " 30", "0",
      "305", "}",
      "303", "}",
      "301", "}",
      " 41", "2"},
     {"  0", "MULTILEADER",
      "300", "CONTEXT_DATA{",
      " 40", "2",
      " 10", "996",
      " 20", "2002",
      " 30", "3",
      "110", "996",
      "120", "2002",
      "130", "3",
      "111", "0",
      "121", "1",
      "131", "0",
      "302", "LEADER{",
      " 10", "992",
      " 20", "2006",
      " 30", "3",
      "304", "LEADER_LINE{",
      " 10", "996",
      " 20", "2002",
      " 30", "3",
      "305", "}",
      "303", "}",
      "301", "}",
      " 41", "4"}},
};

TEST(DxfRewrite, EveryKindCarriesEachGroupByWhatItIs)
{
    for (const KindCase& c : kKinds) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ(rewriteEntities(c.source).text, joined(c.expected));
    }
}

TEST(DxfRewrite, EntitiesLongerThanABlockKeepTheirContextAcrossTheCut)
{
    // A polyline of 20000 vertices and one of 10000 span several blocks of points: the widths
    // after a cut still scale, the vertices after it still lie at the polyline's elevation.
    Lines body{"  0", "LWPOLYLINE", " 38", "7", " 43", "0.5"};
    for (int i = 0; i < 20000; ++i) body.insert(body.end(), {" 10", "1", " 20", "2", " 40", "1"});
    body.insert(body.end(), {"  0", "POLYLINE", " 10", "0", " 20", "0", " 30", "5", " 70", "0"});
    for (int i = 0; i < 10000; ++i)
        body.insert(body.end(), {"  0", "VERTEX", " 10", "1", " 20", "2", " 30", "0", " 41", "3"});
    const auto r = rewriteEntities(body);
    const auto count = [&r](const std::string& lines) {
        std::size_t n = 0;
        for (auto at = r.text.find(lines); at != std::string::npos; at = r.text.find(lines, at + 1))
            ++n;
        return n;
    };
    EXPECT_EQ(count(crlf({" 10", "996", " 20", "2002", " 40", "2"})), 20000u);
    EXPECT_EQ(count(crlf({" 10", "996", " 20", "2002", " 30", "8", " 41", "6"})), 10000u);
    EXPECT_EQ(count(crlf({" 38", "10", " 43", "1"})), 1u);
    EXPECT_EQ(r.summary.points, 30000u);
}

TEST(DxfRewrite, WithADegreesSideVectorsSizesAndAnglesAreKeptAndCounted)
{
    const auto r =
        rewriteEntities({"  0", "ARC", " 10", "1",  " 20", "2",       " 30", "0", " 40", "5",
                         " 50", "30",  " 51", "60", "  0", "ELLIPSE", " 10", "1", " 20", "2",
                         " 30", "0",   " 11", "3",  " 21", "0",       " 31", "0"},
                        false);
    EXPECT_EQ(r.text,
              joined({"  0", "ARC", " 10", "996", " 20", "2002",    " 30", "3",   " 40", "5",
                      " 50", "30",  " 51", "60",  "  0", "ELLIPSE", " 10", "996", " 20", "2002",
                      " 30", "3",   " 11", "3",   " 21", "0",       " 31", "0"}));
    EXPECT_EQ(r.summary.keptInSourceUnits, 4u);
    EXPECT_EQ(r.summary.points, 2u);
    // No neighbours are transformed where no similarity is asked for.
    EXPECT_EQ(r.calls, 2u);
}

TEST(DxfRewrite, TheSummaryCountsPositionsRejectedAndUnknownKindsOnly)
{
    // The second LINE starts at X 999, which the transformation rejects; its neighbours east and
    // north are not counted, nor are the arc's.
    const auto r = rewriteEntities({"  0", "LINE", " 10", "1",   " 20", "2",   " 11", "999", " 21",
                                    "2",   "  0",  "ARC", " 10", "999", " 20", "5",   " 40", "1",
                                    "  0", "ACME", " 10", "1",   " 20", "1",   "  0", "ACME"});
    EXPECT_EQ(r.summary.points, 4u);
    EXPECT_EQ(r.summary.rejected, 2u);
    EXPECT_EQ(r.summary.firstRejectedLine, 13u);  // the 11 of the LINE, counting from line 1
    EXPECT_EQ(r.summary.unknownEntities, 2u);
    EXPECT_EQ(r.summary.keptInSourceUnits, 1u);  // the arc's radius: its centre was rejected
}

TEST(DxfRewrite, BlocksKeepTheirCoordinatesButThoseOfDimensionsInModelSpace)
{
    const std::string blocks =
        crlf({"  0", "SECTION", "  2",    "BLOCKS",                                   //
              "  0", "BLOCK",   "  2",    "MARCO",  " 10",   "1", " 20", "2",         //
              "  0", "LINE",    " 10",    "1",      " 20",   "2", " 11", "3", " 21",  //
              "4",   "  0",     "ENDBLK",                                             //
              "  0", "BLOCK",   "  2",    "*D1",    " 10",   "0", " 20", "0",         //
              "  0", "LINE",    " 10",    "1",      " 20",   "2", " 11", "3", " 21",  //
              "4",   "  0",     "ENDBLK",                                             //
              "  0", "BLOCK",   "  2",    "*D2",    " 10",   "0", " 20", "0",         //
              "  0", "LINE",    " 10",    "1",      " 20",   "2", " 11", "3", " 21",  //
              "4",   "  0",     "ENDBLK", "  0",    "ENDSEC"});
    const std::string body =
        crlf({"  0", "DIMENSION", "  2", "*D1", " 10", "1",   " 20", "2", " 53", "10",
              "  0", "DIMENSION", " 67", "1",   "  2", "*D2", " 10", "1", " 20", "2"});
    const auto r = rewrite(blocks + crlf({"  0", "SECTION", "  2", "ENTITIES"}) + body + ending);
    const std::string moved =
        crlf({"  0", "BLOCK", "  2", "*D1", " 10", "0", " 20", "0", "  0", "LINE", " 10", "996",
              " 20", "2002", " 11", "992", " 21", "2006"});
    EXPECT_NE(r.text.find(moved), std::string::npos) << r.text;
    // The block MARCO and the paper-space dimension's block are as they were.
    EXPECT_EQ(r.text.substr(0, r.text.find("*D1")), blocks.substr(0, blocks.find("*D1")));
    EXPECT_NE(r.text.find(crlf({"*D2", " 10", "0", " 20", "0", "  0", "LINE", " 10", "1", " 20",
                                "2", " 11", "3", " 21", "4"})),
              std::string::npos);
    EXPECT_NE(r.text.find(crlf(
                  {"  0", "DIMENSION", "  2", "*D1", " 10", "996", " 20", "2002", " 53", "100"})),
              std::string::npos);
}

TEST(DxfRewrite, TheHeaderBaseIsAPointTheOriginZeroAndTheExtentsEncloseTheResult)
{
    const std::string source =
        header + crlf({"  9", "$INSBASE", " 10", "100", " 20", "200", " 30", "0",  //
                       "  9", "$EXTMIN",  " 10", "1",   " 20", "2",   " 30", "0",  //
                       "  9", "$EXTMAX",  " 10", "1",   " 20", "2",   " 30", "0",  //
                       "  9", "$UCSORG",  " 10", "5",   " 20", "6",   " 30", "7",  //
                       "  9", "$LIMMIN",  " 10", "1",   " 20", "2"}) +
        entities +
        crlf({"  0",  "CIRCLE", " 10", "1",    " 20", "2",   " 30", "0",   " 40", "5",   "  0",
              "LINE", " 10",    "4",   " 20",  "5",   " 30", "1",   " 11", "0",   " 21", "0",
              " 30",  "0",      "  0", "LINE", " 67", "1",   " 10", "-50", " 20", "-50"}) +
        ending;
    const auto r = rewrite(source);
    // Circle: centre (996, 2002, 3), radius 10. Line: (990, 2008, 4) and (1000, 2000, 3). The
    // paper-space line is no part of them.
    EXPECT_EQ(r.text.substr(0, r.text.find("$LIMMIN")),
              header + crlf({"  9", "$INSBASE", " 10", "600",  " 20", "2200", " 30", "3",    //
                             "  9", "$EXTMIN",  " 10", "986",  " 20", "1992", " 30", "3",    //
                             "  9", "$EXTMAX",  " 10", "1006", " 20", "2012", " 30", "4",    //
                             "  9", "$UCSORG",  " 10", "0.0",  " 20", "0.0",  " 30", "0.0",  //
                             "  9"}));
    EXPECT_NE(r.text.find(crlf({"$LIMMIN", " 10", "1", " 20", "2"})), std::string::npos);
    // A base of 0, 0, 0 means none is set: it stays, and nothing is subtracted anywhere.
    const auto unset =
        rewrite(header + crlf({"  9", "$INSBASE", " 10", "0.0", " 20", "0", " 30", "0"}) +
                entities + ending);
    EXPECT_NE(unset.text.find(crlf({" 10", "0.0", " 20", "0", " 30", "0"})), std::string::npos);
    EXPECT_EQ(unset.calls, 0u);
}

TEST(DxfRewrite, ExtentsWithoutGeometryAndDrawingsWithoutEntitiesAreCopied)
{
    const std::string drawing = header +
                                crlf({"  9", "$EXTMIN", " 10", "1E+20", " 20", "1E+20", "  9",
                                      "$EXTMAX", " 10", "-1E+20"}) +
                                ending;
    const auto r = rewrite(drawing);
    EXPECT_EQ(r.text, drawing);
    EXPECT_EQ(r.calls, 0u);
    // An extent that is no number is no coordinate: copied, while its neighbours enclose.
    const auto damaged =
        rewrite(header + crlf({"  9", "$EXTMAX", " 10", "0eRecord", " 20", "2"}) + entities +
                crlf({"  0", "POINT", " 10", "1", " 20", "2"}) + ending);
    EXPECT_NE(damaged.text.find(crlf({"$EXTMAX", " 10", "0eRecord", " 20", "2002"})),
              std::string::npos)
        << damaged.text;
}

TEST(DxfRewrite, ObjectsAreCopiedButTheGeodataDesignPointAndNorth)
{
    const std::string objects =
        crlf({"  0", "SECTION", "  2", "OBJECTS", "  0", "LAYOUT", " 10", "1", " 20", "2",
              "  0", "GEODATA", " 10", "1",       " 20", "2",      " 30", "0", " 11", "-45",
              " 21", "-23",     " 31", "0",       " 12", "0",      " 22", "1"});
    const auto r = rewrite(objects + ending);
    EXPECT_EQ(r.text,
              crlf({"  0", "SECTION", "  2", "OBJECTS", "  0", "LAYOUT", " 10", "1", " 20", "2",
                    "  0", "GEODATA", " 10", "996",     " 20", "2002",   " 30", "3", " 11", "-45",
                    " 21", "-23",     " 31", "0",       " 12", "-1",     " 22", "0"}) +
                  ending);
}

TEST(DxfRewrite, CodeLinesAreKnownByTheirValueAndCopiedAsTheyStand)
{
    // Left-aligned codes, as most writers put them, and trailing blanks.
    const std::string drawing = crlf({"0", "SECTION", "2 ", "ENTITIES", "0", "LINE", "10", "1",
                                      "20 ", "2", "30", "3", "  11", "4", " 21", "5"});
    const auto result = rewrite(drawing);
    EXPECT_EQ(result.text, crlf({"0", "SECTION", "2 ", "ENTITIES", "0", "LINE", "10", "996", "20 ",
                                 "2002", "30", "6", "  11", "990", " 21", "2008"}));
    EXPECT_EQ(result.summary.points, 2u);
}

TEST(DxfRewrite, ACodeThatIsNoNumberIsNeverACoordinate)
{
    const Lines body{"  0", "LINE", " 1x", "5", "1 0", "6", "", "7", " 100", "8", " 1000", "text"};
    EXPECT_EQ(rewriteEntities(body).text, joined(body));
}

TEST(DxfRewrite, LfAndMixedLineEndsGiveCrLfLines)
{
    const std::string lf = "  0\nSECTION\n  2\nENTITIES\n  0\nPOINT\n 10\n1\n 20\n2\r\n";
    EXPECT_EQ(rewrite(lf).text, crlf({"  0", "SECTION", "  2", "ENTITIES", "  0", "POINT", " 10",
                                      "996", " 20", "2002"}));
}

TEST(DxfRewrite, AnOddLastLineIsPairedWithEmptyText)
{
    const auto result = rewrite(crlf({"  0", "SECTION", "  0"}));
    EXPECT_EQ(result.text, crlf({"  0", "SECTION", "  0", ""}));
}

TEST(DxfRewrite, AValueThatIsNoNumberStopsWithItsTextAndLine)
{
    for (const auto& [body, message] : std::vector<std::pair<Lines, std::string>>{
             {{"  0", "LINE", " 10", "1", " 20", "2", " 11", "abc", " 21", "4"},
              "'abc' is not a valid floating point value (line 14)"},
             {{"  0", "CIRCLE", " 10", "1", " 20", "2", " 40", "5,5"},
              "'5,5' is not a valid floating point value (line 14)"},
             {{"  0", "CIRCLE", " 10", "1", " 20", "2", "210", "0", "220", "0", "230", "x"},
              "'x' is not a valid floating point value (line 18)"},
             {{"  0", "LWPOLYLINE", " 38", "", " 10", "1", " 20", "2"},
              "'' is not a valid floating point value (line 10)"}}) {
        SCOPED_TRACE(message);
        try {
            rewriteEntities(body);
            ADD_FAILURE() << "rewrote a value that is no number";
        } catch (const ConversionError& error) {
            EXPECT_EQ(error.what(), message);
        }
    }
    EXPECT_THROW(rewrite(header + crlf({"  9", "$INSBASE", " 10", "1,5", " 20", "0"})),
                 ConversionError);
}

TEST(DxfRewrite, NumbersAreWrittenInTheGeneralForm)
{
    LineWriter out;
    const PointTransform scale = [](long double X, long double Y, long double Z) {
        return TransformedPoint{X / 3, Y * 1e12L, Z / 1e6L, false};
    };
    rewriteDxf(entities + crlf({"  0", "POINT", " 10", "1", " 20", "1e5", " 30", "50"}), out,
               scale);
    EXPECT_EQ(out.text().substr(entities.size()),
              crlf({"  0", "POINT", " 10", "0.333333333333333", " 20", "1E17", " 30", "5E-5"}));
}

TEST(DxfCheck, ListsEveryLineThatWouldStopTheRunAndEveryRejectedPoint)
{
    const std::string drawing =
        header + crlf({"  9", "$INSBASE", " 10", "x0", " 20", "0", " 30", "0"}) + entities +
        crlf({"  0", "POINT", " 10",   "1",   " 20", "2",  //
              "  0", "POINT", " 10",   "-1",  " 20", "2",  // rejected
              "  0", "POINT", " 10",   "abc", " 20", "2",  //
              "  0", "POINT", " 10",   "5",   " 20", "6",   " 30",
              "1,5", "  0",   "POINT", " 10", "3",   " 20", "4"});
    std::vector<LineProblem> problems;
    RecordingTransform transform;
    const auto summary = checkDxf(drawing, transform.function(),
                                  [&problems](const LineProblem& p) { problems.push_back(p); });
    ASSERT_EQ(problems.size(), 4u);
    EXPECT_EQ(problems[0].line, 8u);
    EXPECT_EQ(problems[0].message, "'x0' is not a valid floating point value (line 8)");
    EXPECT_EQ(problems[1].line, 27u);
    EXPECT_EQ(problems[1].rejectedBy, 6);
    EXPECT_TRUE(problems[1].message.empty());
    EXPECT_EQ(problems[1].values, "-1 2");
    EXPECT_EQ(problems[2].line, 34u);
    EXPECT_EQ(problems[3].line, 44u);
    EXPECT_EQ(problems[3].message, "'1,5' is not a valid floating point value (line 44)");
    EXPECT_EQ(summary.problems, 4u);
    // The good points around the bad ones were all seen; the bad ones were not transformed.
    EXPECT_EQ(summary.points, 3u);
    EXPECT_EQ(transform.calls.size(), 3u);
}

TEST(DxfRewrite, ABinaryDrawingIsRefused)
{
    const std::string binary = std::string("AutoCAD Binary DXF\r\n\x1A\0", 22) + "\x00\x01";
    EXPECT_THROW(rewrite(binary), FileRunError);
}

TEST(DxfRewrite, ProgressMovesForwardToTheEnd)
{
    std::string body;
    for (int i = 0; i < 5000; ++i) body += crlf({"  0", "POINT", " 10", "1", " 20", "2"});
    std::vector<std::size_t> positions;
    LineWriter out;
    RecordingTransform transform;
    rewriteDxf(entities + body, out, transform.function(), {},
               [&positions](std::size_t next, std::size_t count) {
                   EXPECT_EQ(count, 30006u);
                   positions.push_back(next);
               });
    ASSERT_GE(positions.size(), 100u);
    EXPECT_LE(positions.size(), 400u);
    EXPECT_EQ(positions.front(), 0u);
    EXPECT_EQ(positions.back(), 30006u);
    EXPECT_TRUE(std::is_sorted(positions.begin(), positions.end()));
}

}  // namespace
