#include "transform/files/DxfGroups.h"

#include <algorithm>
#include <array>
#include <iterator>

namespace {

using M = GroupMeaning;
using T = ModeSwitch::Test;

constexpr std::uint16_t kInEveryMode = 0xFFFF;
constexpr std::uint16_t modes(std::initializer_list<int> list)
{
    std::uint16_t bits = 0;
    for (const int m : list) bits = static_cast<std::uint16_t>(bits | (1u << m));
    return bits;
}

// Entities, in the order of the reference's pages. Mode 0 unless a switch says otherwise.

constexpr GroupRule kLine[] = {{0, 10, M::World}, {0, 11, M::World}};
constexpr GroupRule kPoint[] = {{0, 10, M::World}, {0, 50, M::Angle}};  // 50: its OCS X axis
constexpr GroupRule kFace[] = {{0, 10, M::World},
                               {0, 11, M::World},
                               {0, 12, M::World},
                               {0, 13, M::World}};
constexpr GroupRule kSolid[] = {{0, 10, M::Object},
                                {0, 11, M::Object},
                                {0, 12, M::Object},
                                {0, 13, M::Object},
                                {0, 38, M::Elevation}};
constexpr GroupRule kCircle[] = {{0, 10, M::Object}, {0, 40, M::Radius}, {0, 38, M::Elevation}};
constexpr GroupRule kArc[] = {{0, 10, M::Object},
                              {0, 40, M::Radius},
                              {0, 50, M::Angle},
                              {0, 51, M::Angle},
                              {0, 38, M::Elevation}};
constexpr GroupRule kEllipse[] = {{0, 10, M::World}, {0, 11, M::Vector}};  // 11: the major axis

// TEXT and the attributes: first and second alignment points, height, rotation. An attribute of
// a newer drawing may carry an embedded MTEXT after its group 101, with the MTEXT's groups.
constexpr GroupRule kText[] = {{0, 10, M::Object},
                               {0, 11, M::Object},
                               {0, 40, M::Size},
                               {0, 50, M::Angle},
                               {0, 38, M::Elevation}};
constexpr GroupRule kAttribute[] = {{0, 10, M::Object},    {0, 11, M::Object},    {0, 40, M::Size},
                                    {0, 50, M::Angle},     {0, 38, M::Elevation}, {1, 10, M::World},
                                    {1, 11, M::Direction}, {1, 40, M::Size},      {1, 41, M::Size},
                                    {1, 46, M::Size},      {1, 50, M::Angle}};
constexpr ModeSwitch kAttributeSwitches[] = {{kInEveryMode, 101, T::Always, 0, {}, 1}};

// SHAPE: the insertion point is in world coordinates, the rotation in the OCS plane.
constexpr GroupRule kShape[] = {{0, 10, M::World}, {0, 40, M::Size}, {0, 50, M::Angle}};
// 41, 42: X and Y scale; 44, 45: column and row spacing. The Z scale (43) scales heights, which
// the similarity of the plane leaves alone.
constexpr GroupRule kInsert[] = {{0, 10, M::Object},   {0, 41, M::Size}, {0, 42, M::Size},
                                 {0, 44, M::Size},     {0, 45, M::Size}, {0, 50, M::Angle},
                                 {0, 38, M::Elevation}};

// MTEXT: insertion point and direction in world coordinates; character height, reference
// width, the computed width and height, the defined height, the rotation (degrees, as writers
// write it, whatever the reference says). From group 75 on come columns, whose 50 is a count or
// a height and no more the rotation: copied, like the columns kept in extended data. A newer
// drawing keeps its columns in an embedded object after group 101: direction, insertion point,
// widths and heights.
constexpr GroupRule kMText[] = {{0, 10, M::World}, {0, 11, M::Direction}, {0, 40, M::Size},
                                {0, 41, M::Size},  {0, 42, M::Size},      {0, 43, M::Size},
                                {0, 46, M::Size},  {0, 50, M::Angle},     {2, 10, M::Direction},
                                {2, 11, M::World}, {2, 40, M::Size},      {2, 41, M::Size},
                                {2, 42, M::Size},  {2, 43, M::Size},      {2, 44, M::Size},
                                {2, 45, M::Size},  {2, 46, M::Size}};
constexpr ModeSwitch kMTextSwitches[] = {{modes({0}), 75, T::Always, 0, {}, 1},
                                         {modes({0, 1}), 101, T::Always, 0, {}, 2}};

// LWPOLYLINE: 2D vertices in the OCS at elevation 38; start, end and constant widths.
constexpr GroupRule kLwPolyline[] = {{0, 10, M::Object},
                                     {0, 38, M::Elevation},
                                     {0, 40, M::Size},
                                     {0, 41, M::Size},
                                     {0, 43, M::Size}};
constexpr GroupRule kPolyline2d[] = {{0, 10, M::Placeholder}, {0, 40, M::Size}, {0, 41, M::Size}};
// The vertex of a 2D polyline: its widths and its curve-fit tangent direction.
constexpr GroupRule kVertex2d[] = {{0, 10, M::Object},
                                   {0, 40, M::Size},
                                   {0, 41, M::Size},
                                   {0, 50, M::Angle}};
constexpr GroupRule kVertex3d[] = {{0, 10, M::World}};

// SPLINE: control points, fit points, start and end tangents.
constexpr GroupRule kSpline[] = {{0, 10, M::World},
                                 {0, 11, M::World},
                                 {0, 12, M::Direction},
                                 {0, 13, M::Direction}};
constexpr GroupRule kRay[] = {{0, 10, M::World}, {0, 11, M::Direction}};
// MLINE: start point, vertices, segment and miter directions; scale, element and fill
// parameters (lengths along the segment).
constexpr GroupRule kMLine[] = {{0, 10, M::World},     {0, 11, M::World}, {0, 12, M::Direction},
                                {0, 13, M::Direction}, {0, 40, M::Size},  {0, 41, M::Size},
                                {0, 42, M::Size}};
// LEADER: vertices; horizontal direction, offsets of the block and of the annotation; text
// height and width.
constexpr GroupRule kLeader[] = {{0, 10, M::World},   {0, 211, M::Direction}, {0, 212, M::Vector},
                                 {0, 213, M::Vector}, {0, 40, M::Size},       {0, 41, M::Size}};
constexpr GroupRule kTolerance[] = {{0, 10, M::World}, {0, 11, M::Direction}};
// IMAGE, WIPEOUT: the insertion point and the U and V pixel vectors. The size (13) and the clip
// boundary (14) are in pixels.
constexpr GroupRule kImage[] = {{0, 10, M::World}, {0, 11, M::Vector}, {0, 12, M::Vector}};
// DIMENSION: definition points in world coordinates, the text's middle point, the clones'
// insertion point and the angular arc point in the OCS; leader length; rotation and text
// rotation; the horizontal direction, which the reference stores as the negative of the UCS X
// axis's angle. A dimension uses some of the points 13 to 16 by its type; writers fill the
// others with 0, 0, 0 (or with a copy of a used one), and 0, 0, 0 is no point of the drawing.
constexpr GroupRule kDimension[] = {{0, 10, M::World},          {0, 11, M::Object},
                                    {0, 12, M::Object},         {0, 13, M::OptionalWorld},
                                    {0, 14, M::OptionalWorld},  {0, 15, M::OptionalWorld},
                                    {0, 16, M::OptionalObject}, {0, 40, M::Size},
                                    {0, 50, M::Angle},          {0, 51, M::NegatedAngle},
                                    {0, 53, M::Angle}};
constexpr GroupRule kTable[] = {{0, 10, M::World}, {0, 11, M::Direction}};

// MULTILEADER: the context data (groups 300 to 301) holds the base point, the text's and the
// block's placement and the leader plane; each leader (302 to 303) its last point, dogleg and
// breaks; each leader line (304 to 305) its vertices and breaks. After the context data come
// the entity's own sizes and the block's rotation.
constexpr GroupRule kMultiLeader[] = {
    {0, 41, M::Size},         {0, 42, M::Size},       {0, 45, M::Size},
    {0, 43, M::AngleRadians}, {1, 10, M::World},      {1, 12, M::World},
    {1, 15, M::World},        {1, 110, M::World},     {1, 13, M::Direction},
    {1, 111, M::Direction},   {1, 112, M::Direction}, {1, 40, M::Size},
    {1, 41, M::Size},         {1, 43, M::Size},       {1, 44, M::Size},
    {1, 140, M::Size},        {1, 142, M::Size},      {1, 143, M::Size},
    {1, 144, M::Size},        {1, 145, M::Size},      {1, 42, M::AngleRadians},
    {1, 46, M::AngleRadians}, {2, 10, M::World},      {2, 12, M::World},
    {2, 13, M::World},        {2, 11, M::Direction},  {2, 40, M::Size},
    {3, 10, M::World},        {3, 11, M::World},      {3, 12, M::World}};
constexpr ModeSwitch kMultiLeaderSwitches[] = {{modes({0}), 300, T::Always, 0, {}, 1},
                                               {modes({1}), 302, T::Always, 0, {}, 2},
                                               {modes({2}), 304, T::Text, 0, "LEADER_LINE{", 3},
                                               {modes({3}), 305, T::Always, 0, {}, 2},
                                               {modes({2}), 303, T::Always, 0, {}, 1},
                                               {modes({1}), 301, T::Always, 0, {}, 0}};

// HATCH: modes 0 before the boundary (10 the placeholder), 1 a polyline boundary, 2 an edge
// boundary before its first edge, 3 to 6 a line, arc, ellipse and spline edge, 7 the pattern,
// 8 the seed points. A path's type flag (92) tells polyline (bit 2) from edges, an edge's type
// (72) its kind. Every boundary position is 2D, in the OCS at the placeholder's elevation.
constexpr GroupRule kHatch[] = {{0, 10, M::Placeholder},     {1, 10, M::Object},
                                {3, 10, M::Object},          {3, 11, M::Object},
                                {4, 10, M::Object},          {4, 40, M::Size},
                                {4, 50, M::ArcEdgeAngle},    {4, 51, M::ArcEdgeAngle},
                                {5, 10, M::Object},          {5, 11, M::ObjectVector},
                                {6, 10, M::Object},          {6, 11, M::Object},
                                {6, 12, M::ObjectDirection}, {6, 13, M::ObjectDirection},
                                {8, 10, M::Object}};
constexpr std::uint16_t kBoundary = modes({0, 1, 2, 3, 4, 5, 6});
constexpr std::uint16_t kEdges = modes({2, 3, 4, 5, 6});
constexpr ModeSwitch kHatchSwitches[] = {
    {kBoundary, 92, T::BitSet, 2, {}, 1}, {kBoundary, 92, T::BitClear, 2, {}, 2},
    {kEdges, 72, T::Equals, 1, {}, 3},    {kEdges, 72, T::Equals, 2, {}, 4},
    {kEdges, 72, T::Equals, 3, {}, 5},    {kEdges, 72, T::Equals, 4, {}, 6},
    {kBoundary, 75, T::Always, 0, {}, 7}, {modes({7}), 98, T::Always, 0, {}, 8}};

constexpr GroupRule kMesh[] = {{0, 10, M::World}};
constexpr GroupRule kLight[] = {{0, 10, M::World}, {0, 11, M::World}};     // location, target
constexpr GroupRule kOleFrame[] = {{0, 10, M::World}, {0, 11, M::World}};  // two corners
// Underlays: insertion point, X and Y scale, rotation; the clip boundary (11) is the
// underlay's own.
constexpr GroupRule kUnderlay[] = {{0, 10, M::World},
                                   {0, 41, M::Size},
                                   {0, 42, M::Size},
                                   {0, 50, M::Angle}};
// Kinds that hold no coordinate of the drawing.
constexpr std::span<const GroupRule> kNothing{};

// Sorted by kind for the look-up.
constexpr KindTable kEntities[] = {
    {"3DFACE", kFace},
    {"ACAD_TABLE", kTable},
    {"ARC", kArc},
    {"ATTDEF", kAttribute, kAttributeSwitches},
    {"ATTRIB", kAttribute, kAttributeSwitches},
    {"BLOCK", kNothing},
    {"CIRCLE", kCircle},
    {"DGNUNDERLAY", kUnderlay},
    {"DIMENSION", kDimension},
    {"DWFUNDERLAY", kUnderlay},
    {"ELLIPSE", kEllipse},
    {"ENDBLK", kNothing},
    {"HATCH", kHatch, kHatchSwitches},
    {"IMAGE", kImage},
    {"INSERT", kInsert},
    {"LEADER", kLeader},
    {"LIGHT", kLight},
    {"LINE", kLine},
    {"LWPOLYLINE", kLwPolyline},
    {"MESH", kMesh},
    {"MLEADER", kMultiLeader, kMultiLeaderSwitches},
    {"MLINE", kMLine},
    {"MTEXT", kMText, kMTextSwitches},
    {"MULTILEADER", kMultiLeader, kMultiLeaderSwitches},
    {"OLE2FRAME", kOleFrame},
    {"PDFUNDERLAY", kUnderlay},
    {"POINT", kPoint},
    {"RAY", kRay},
    {"SEQEND", kNothing},
    {"SHAPE", kShape},
    {"SOLID", kSolid},
    {"SPLINE", kSpline},
    {"TEXT", kText},
    {"TOLERANCE", kTolerance},
    {"TRACE", kSolid},
    {"VIEWPORT", kNothing},
    {"WIPEOUT", kImage},
    {"XLINE", kRay},
};

// GEODATA: the design point and the design points of its mesh move with the drawing; the north
// direction turns; the geographic reference point (11) and mesh points (14) stay.
constexpr GroupRule kGeoData[] = {{0, 10, M::World}, {0, 12, M::Direction}, {0, 13, M::World}};
constexpr KindTable kObjects[] = {{"GEODATA", kGeoData}};

constexpr GroupRule kExtendedData[] = {{0, 1011, M::World},
                                       {0, 1012, M::Vector},
                                       {0, 1013, M::Direction},
                                       {0, 1041, M::Size},
                                       {0, 1042, M::Size}};

constexpr KindTable kPolyline2dTable{"POLYLINE", kPolyline2d};
constexpr KindTable kPolyline3dTable{"POLYLINE", kNothing};
constexpr KindTable kVertex2dTable{"VERTEX", kVertex2d};
constexpr KindTable kVertex3dTable{"VERTEX", kVertex3d};
constexpr KindTable kFaceRecordTable{"VERTEX", kNothing};
constexpr KindTable kExtendedDataTable{"", kExtendedData};

template <std::size_t N>
constexpr bool sortedByKind(const KindTable (&tables)[N])
{
    for (std::size_t i = 1; i < N; ++i)
        if (!(tables[i - 1].kind < tables[i].kind)) return false;
    return true;
}
static_assert(sortedByKind(kEntities), "the look-up needs the kinds in order");

template <std::size_t N>
const KindTable* find(const KindTable (&tables)[N], std::string_view kind)
{
    const auto* at =
        std::lower_bound(std::begin(tables), std::end(tables), kind,
                         [](const KindTable& t, std::string_view k) { return t.kind < k; });
    return at != std::end(tables) && at->kind == kind ? at : nullptr;
}

}  // namespace

const KindTable* entityTable(std::string_view kind) { return find(kEntities, kind); }

const KindTable* objectTable(std::string_view kind) { return find(kObjects, kind); }

bool isPolyline3d(int flags) { return (flags & (8 | 16 | 64)) != 0; }

const KindTable& polylineTable(bool is3d) { return is3d ? kPolyline3dTable : kPolyline2dTable; }

const KindTable& vertexTable(bool polylineIs3d, int vertexFlags)
{
    if ((vertexFlags & 128) != 0 && (vertexFlags & 64) == 0) return kFaceRecordTable;
    return polylineIs3d ? kVertex3dTable : kVertex2dTable;
}

const KindTable& extendedDataTable() { return kExtendedDataTable; }
