// What each coordinate group of a drawing is, by the entity or object that holds it.
//
// The DXF reference stores several kinds of numbers in the same group codes: a LINE's 11 is its
// end point, an ELLIPSE's 11 its major axis relative to the centre, an MTEXT's 11 its direction.
// The tables in DxfGroups.cpp give, for every entity kind the rewrite knows (and the objects
// that hold positions), the meaning of each group, in the order of the reference's entity
// pages, so that they can be read against it. A group code not listed for a kind is copied.
//
// Some kinds change the meaning of their groups part way (a hatch's boundary edges, a
// multileader's context data, an attribute's embedded text): a table then has modes, and
// switches that a group (its code, sometimes its value) sets.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

enum class GroupMeaning : std::uint8_t {
    Copy,             // no coordinate, or one that stays as it is
    World,            // a position in world coordinates: X in group n, Y in n + 10, Z in n + 20
    Object,           // a position in the entity's object coordinate system (OCS)
    OptionalWorld,    // a World or Object position that holds 0, 0, 0 where the entity does
    OptionalObject,   // not use it: then it is no position and stays as it is
    Elevation,        // one value: the OCS height of the entity's 2D positions
    Placeholder,      // a base point that holds 0, 0: X and Y copied, Z the elevation
    Vector,           // a world vector: turned and scaled, its Z kept
    Direction,        // a world direction: turned, its length and Z kept
    ObjectVector,     // an OCS vector
    ObjectDirection,  // an OCS direction
    Size,             // one value: a length, scaled
    Radius,           // a size that is the radius of a circle about the entity's first position
    Angle,            // one value: degrees in the OCS plane, from its X axis
    AngleRadians,     // one value: radians in the OCS plane
    NegatedAngle,     // one value: the negative of an angle in degrees in the OCS plane
    ArcEdgeAngle,     // a hatch arc edge's angle: degrees, stored as 360 - angle when the edge
                      // runs clockwise (its group 73 is 0)
};

// A meaning that spans three groups (X, Y and Z) rather than one value.
constexpr bool isTriple(GroupMeaning m)
{
    return m == GroupMeaning::World || m == GroupMeaning::Object ||
           m == GroupMeaning::OptionalWorld || m == GroupMeaning::OptionalObject ||
           m == GroupMeaning::Placeholder || m == GroupMeaning::Vector ||
           m == GroupMeaning::Direction || m == GroupMeaning::ObjectVector ||
           m == GroupMeaning::ObjectDirection;
}

// A meaning that the transformation's local similarity changes.
constexpr bool followsSimilarity(GroupMeaning m)
{
    return m == GroupMeaning::Vector || m == GroupMeaning::Direction ||
           m == GroupMeaning::ObjectVector || m == GroupMeaning::ObjectDirection ||
           m == GroupMeaning::Size || m == GroupMeaning::Radius || m == GroupMeaning::Angle ||
           m == GroupMeaning::AngleRadians || m == GroupMeaning::NegatedAngle ||
           m == GroupMeaning::ArcEdgeAngle;
}

struct GroupRule {
    std::uint8_t mode;
    std::int16_t code;
    GroupMeaning meaning;
};

// A group that moves the reading of an entity into another mode.
struct ModeSwitch {
    enum class Test : std::uint8_t { Always, Equals, BitSet, BitClear, Text };
    std::uint16_t from;  // the modes it applies in, one bit each
    std::int16_t code;
    Test test;
    std::int32_t value;     // for Equals, BitSet, BitClear
    std::string_view text;  // for Text
    std::uint8_t to;
};

struct KindTable {
    std::string_view kind;
    std::span<const GroupRule> groups;
    std::span<const ModeSwitch> switches = {};

    GroupMeaning meaning(std::uint8_t mode, int code) const
    {
        for (const GroupRule& rule : groups)
            if (rule.code == code && rule.mode == mode) return rule.meaning;
        return GroupMeaning::Copy;
    }
};

// The table of an entity kind (the value of its group 0), or nothing for a kind the rewrite
// does not know. POLYLINE and VERTEX have tables of their own below, chosen by their flags.
const KindTable* entityTable(std::string_view kind);
// The table of an object of the OBJECTS section that holds positions, or nothing.
const KindTable* objectTable(std::string_view kind);

// A POLYLINE by its flags (group 70): a 2D polyline lies in its OCS at the elevation of its
// placeholder; 3D polylines (8), polygon meshes (16) and polyface meshes (64) are in world
// coordinates and their placeholder means nothing.
bool isPolyline3d(int flags);
const KindTable& polylineTable(bool is3d);
// A VERTEX by its polyline and its own flags: a polyface mesh's face record (128 without 64)
// holds indexes and a 0, 0, 0 that means nothing.
const KindTable& vertexTable(bool polylineIs3d, int vertexFlags);

// Extended data, which follows an entity's own groups from its first group 1001 on: 1011 is a
// world position, 1012 a displacement, 1013 a direction, 1041 a distance and 1042 a scale
// factor; a 1010 point stays where it is when the entity moves.
const KindTable& extendedDataTable();
inline constexpr int kExtendedDataStart = 1001;
