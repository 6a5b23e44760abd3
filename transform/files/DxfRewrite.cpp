#include "transform/files/DxfRewrite.h"

#include "transform/files/DrawingOutput.h"
#include "transform/files/DxfGeometry.h"
#include "transform/files/DxfGroups.h"
#include "transform/text/NumberText.h"
#include "transform/text/TextLines.h"
#include "transform/text/Trim.h"

#include <algorithm>
#include <cctype>
#include <array>
#include <cmath>
#include <limits>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace {

// A group code line's value, blanks around it ignored (writers align codes to the right or to
// the left); nothing for a line that holds no integer of at most four digits.
std::optional<int> groupCode(std::string_view line)
{
    const std::string_view digits = trimSpaces(line);
    if (digits.empty() || digits.size() > 4) return std::nullopt;
    int code = 0;
    for (const char c : digits) {
        if (c < '0' || c > '9') return std::nullopt;
        code = code * 10 + (c - '0');
    }
    return code;
}

// A value the rewrite only looks at to know what follows (flags, a mode's switch, a
// look-ahead): read quietly, nothing when it is no number. Values the rewrite writes are read
// through the run's ValueReader, which reports them.
std::optional<long double> quietNumber(std::string_view text)
{
    try {
        return readFloat(text, NumberFormat::file());
    } catch (const ConversionError&) {
        return std::nullopt;
    }
}

int quietInteger(std::string_view text)
{
    const auto value = quietNumber(text);
    return value && std::fabs(*value) < 1e9L ? static_cast<int>(*value) : 0;
}

// The drawing's lines with a few lines of look-ahead, taken from the buffer as views; reading
// beyond the last line gives empty text.
class PairCursor {
public:
    explicit PairCursor(std::string_view text) : lines_(text) {}

    std::string_view line(std::size_t ahead)
    {
        while (filled_ <= ahead) {
            window_[(first_ + filled_) % window_.size()] = lines_.next();
            ++filled_;
        }
        return window_[(first_ + ahead) % window_.size()];
    }
    std::optional<int> code(std::size_t pair) { return groupCode(line(2 * pair)); }
    // The index of line(0) in the drawing, from 0.
    std::size_t index() const { return position_; }
    void advance(std::size_t count)
    {
        for (std::size_t i = 0; i < count; ++i) {
            if (filled_ > 0) {
                first_ = (first_ + 1) % window_.size();
                --filled_;
            } else {
                lines_.next();
            }
        }
        position_ += count;
    }

private:
    TextLines lines_;
    std::array<std::string_view, 8> window_{};
    std::size_t first_ = 0;
    std::size_t filled_ = 0;
    std::size_t position_ = 0;
};

// The binary form opens with a fixed sentinel line that ends "Binary DXF", CR LF, SUB, NUL.
bool isBinaryDrawing(std::string_view source)
{
    constexpr std::string_view kTail{"Binary DXF\r\n\x1A\0", 14};
    const auto head = source.substr(0, 22);
    return head.size() == 22 && head.substr(8) == kTail;
}

constexpr std::string_view kBinaryDrawing =
    "The drawing is a binary DXF file; only ASCII DXF drawings can be transformed. Save it as "
    "ASCII DXF and try again.";

// Writers put at most a few comment pairs (999) before the first section.
constexpr int kLinesBeforeTheFirstSection = 200;

// Why a text cannot be an ASCII drawing, or nothing when it may be one: every drawing opens a
// section (or ends at once) within its first lines, after comments at most.
std::optional<std::string> whyNoDrawing(std::string_view source)
{
    if (isBinaryDrawing(source)) return std::string(kBinaryDrawing);
    if (trimSpaces(source).empty()) return "it is empty";
    TextLines lines(source);
    std::string_view previous = lines.next();
    for (int n = 2; n <= kLinesBeforeTheFirstSection && !lines.pastEnd(); ++n) {
        const std::string_view line = trimSpaces(lines.next());
        if (groupCode(previous) == 0 && (line == "SECTION" || line == "EOF")) return std::nullopt;
        previous = line;
    }
    return "no \"0\" line followed by \"SECTION\" begins it, as it begins every DXF drawing";
}

std::string fileNumber(long double value) { return formatGeneral(value, NumberFormat::file()); }

bool sameName(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::toupper(static_cast<unsigned char>(x)) ==
                      std::toupper(static_cast<unsigned char>(y));
           });
}

// ---------------------------------------------------------------- the blocks that move

// The anonymous blocks that a model-space DIMENSION or ACAD_TABLE draws itself with: their
// contents are in world coordinates and move with the drawing. They are named in the entity's
// group 2; the BLOCKS section comes first, so the names are gathered before the walk.
std::vector<std::string> blocksDrawnInWorld(std::string_view source)
{
    std::vector<std::string> names;
    if (source.find("DIMENSION") == std::string_view::npos &&
        source.find("ACAD_TABLE") == std::string_view::npos)
        return names;
    PairCursor pairs(source);
    const std::size_t count = lineCount(source);
    bool inEntities = false;
    while (pairs.index() < count) {
        const auto code = pairs.code(0);
        const std::string_view value = trimSpaces(pairs.line(1));
        pairs.advance(2);
        if (code != 0) continue;
        if (value == "SECTION")
            inEntities = pairs.code(0) == 2 && trimSpaces(pairs.line(1)) == "ENTITIES";
        else if (value == "ENDSEC")
            inEntities = false;
        if (!inEntities || (value != "DIMENSION" && value != "ACAD_TABLE")) continue;
        std::string_view name;
        bool paper = false;
        for (PairCursor groups = pairs; groups.index() < count && groups.code(0) != 0;
             groups.advance(2)) {
            if (groups.code(0) == 2 && name.empty())
                name = trimSpaces(groups.line(1));
            else if (groups.code(0) == 67)
                paper = quietInteger(groups.line(1)) == 1;
        }
        if (!paper && !name.empty()) names.emplace_back(name);
    }
    return names;
}

// ---------------------------------------------------------------- what a block of the walk holds

enum class Section { None, Header, Blocks, Entities, Objects, Other };

// What an entity's groups are read against: its OCS, the elevation of its 2D positions, and
// its first position, which is transformed first (with its neighbours east and north when the
// entity has vectors, sizes or angles) so that its elevation and local similarity are known
// before any of its groups is written.
struct EntityContext {
    ObjectCoordinates ocs;
    long double elevation = 0;
    bool flat = false;       // 2D polyline vertices: at the elevation whatever their own Z
    bool inExtents = false;  // drawing geometry, which $EXTMIN and $EXTMAX enclose
    std::ptrdiff_t firstJob = -1;
    bool probes = false;
    // Known once the block that holds the first position is transformed.
    bool settled = false;
    std::optional<Vector3> first;  // the first position transformed, in world coordinates
    std::optional<LocalSimilarity> similarity;

    // A context in the same plane, for an entity of its own (a polyline's vertex).
    EntityContext samePlane() const
    {
        EntityContext c;
        c.ocs = ocs;
        c.elevation = elevation;
        c.flat = flat;
        c.inExtents = inExtents;
        return c;
    }
};

// A group whose value lines the walk changes.
struct Group {
    GroupMeaning meaning = GroupMeaning::Copy;
    std::size_t context = 0;
    std::size_t job = 0;       // a position's point among the block's
    std::size_t codeLine = 0;  // its first code line, from 0
    Vector3 value;             // a vector's, size's or angle's value (sizes and angles in x)
    bool clockwise = false;    // a hatch arc edge's angles run clockwise
    std::array<std::string_view, 3> texts{};  // a position's value texts, for a check
};

enum class EditKind : std::uint8_t { Group, Elevation, Zero, ExtentsMin, ExtentsMax };

// One value line to replace: its index, and what replaces it.
struct LineEdit {
    std::size_t line;
    EditKind kind;
    std::size_t index;       // the group, or the context of an elevation
    std::uint8_t component;  // X, Y or Z of a group or of the extents
};

// ---------------------------------------------------------------- the walk

// An entity's first position as its texts stand, read only when the entity needs it.
struct FirstPosition {
    std::string_view x, y, z;
    GroupMeaning meaning;
};

// What an entity's groups say about the entity as a whole, gathered before they are walked:
// the space, the extrusion, the elevation, the flags, and the first position.
struct EntityScan {
    bool paper = false;
    Vector3 extrusion{0, 0, 1};
    std::optional<long double> elevation;
    int flags = 0;
    std::string_view name;  // group 2: a block's name
    std::optional<FirstPosition> first;
    bool needsSimilarity = false;
};

// The mode an entity's reading goes on in after a group.
std::uint8_t nextMode(const KindTable& table, std::uint8_t mode, int code, std::string_view value)
{
    for (const ModeSwitch& s : table.switches) {
        if (s.code != code || (s.from & (1u << mode)) == 0) continue;
        const int v = s.test == ModeSwitch::Test::Always || s.test == ModeSwitch::Test::Text
                          ? 0
                          : quietInteger(value);
        const bool applies = (s.test == ModeSwitch::Test::Always) ||
                             (s.test == ModeSwitch::Test::Equals && v == s.value) ||
                             (s.test == ModeSwitch::Test::BitSet && (v & s.value) != 0) ||
                             (s.test == ModeSwitch::Test::BitClear && (v & s.value) == 0) ||
                             (s.test == ModeSwitch::Test::Text && trimSpaces(value) == s.text);
        if (applies) return s.to;
    }
    return mode;
}

// The meaning of a group of an entity read so far in `mode`; an unknown kind (no table) takes
// every group 10 to 18 as a world position.
GroupMeaning meaningOf(const KindTable* table, std::uint8_t mode, int code)
{
    if (table == nullptr)
        return code >= 10 && code <= 18 ? GroupMeaning::World : GroupMeaning::Copy;
    return table->meaning(mode, code);
}

class DrawingWalk : public BlockSource {
public:
    DrawingWalk(std::string_view source, DrawingOutput& output, FileRunSummary& summary,
                ProgressReport& progress, const ProblemReport& check,
                const DxfRewriteOptions& options)
        : lines_(source),
          writer_(source),
          output_(output),
          summary_(summary),
          progress_(progress),
          check_(check),
          options_(options),
          number_(summary, check),
          movingBlocks_(blocksDrawnInWorld(source))
    {
    }

    bool read(std::vector<PointIn>& in, std::size_t blockSize) override;
    void write(const std::vector<TransformedPoint>& out) override;
    bool readsAhead() const override { return !check_; }
    const Box& extents() const { return box_; }

private:
    // A block read and waiting to be written: its lines, the contexts, groups and edits its
    // reading found, and where the header ended as the reading knew it then.
    struct Block {
        std::size_t end = 0;  // the line after its last
        std::size_t headEnd = 0;
        std::vector<EntityContext> contexts;
        std::vector<Group> groups;
        std::vector<LineEdit> edits;
        // The contexts taken over from the block before (index here, index there): the copies
        // were made before that block was written, so they take its settling when it is.
        std::vector<std::pair<std::size_t, std::size_t>> carried;
    };

    // Reading: the walk through the drawing's groups.
    void structure(std::string_view kind, std::vector<PointIn>& in);
    void startEntity(std::string_view kind, const KindTable* table, std::vector<PointIn>& in);
    void headerGroup(int code, std::vector<PointIn>& in);
    void entityGroup(int code, std::vector<PointIn>& in);
    EntityScan scan(const KindTable* table);
    std::size_t addContext(EntityContext c, const EntityScan& scan, bool always,
                           std::vector<PointIn>& in);
    std::size_t position(GroupMeaning meaning, std::vector<PointIn>& in);
    std::size_t similar(GroupMeaning meaning, std::size_t pairs);
    std::size_t pairsOfTriple(int code);
    bool isZeroPoint(int code);
    void keepCarriedContexts(const Block* previous);

    // Writing.
    void settle(EntityContext& context, const std::vector<TransformedPoint>& out);
    std::string replacement(const LineEdit& edit, std::string_view original,
                            const std::vector<TransformedPoint>& out);
    std::string groupValue(const Group& group, int component, std::string_view original,
                           const std::vector<TransformedPoint>& out);
    void countPosition(const Group& group, const TransformedPoint& result, Vector3 world);

    PairCursor lines_;
    TextLines writer_;
    std::size_t writerLine_ = 0;
    DrawingOutput& output_;
    FileRunSummary& summary_;
    ProgressReport& progress_;
    const ProblemReport& check_;
    DxfRewriteOptions options_;
    ValueReader number_;
    std::vector<std::string> movingBlocks_;

    Section section_ = Section::None;
    bool blockMoves_ = false;
    static constexpr std::size_t kNoHead = std::numeric_limits<std::size_t>::max();
    std::size_t headEnd_ = kNoHead;  // the first line after the header
    enum class Variable { Other, InsertionBase, UcsOrigin, ExtentsMin, ExtentsMax } variable_{};

    // The entity being read: its table, mode, whether its groups change, its context.
    const KindTable* table_ = nullptr;
    std::uint8_t mode_ = 0;
    bool extended_ = false;
    bool active_ = false;
    std::size_t context_ = 0;
    // A polyline's vertices follow it as entities of their own until SEQEND.
    bool inPolyline_ = false, polylineActive_ = false, polyline3d_ = false;
    std::size_t polylineContext_ = 0;

    // The block being read: its contexts, groups and edits, and the contexts it took over.
    std::vector<EntityContext> contexts_;
    std::vector<Group> groups_;
    std::vector<LineEdit> edits_;
    std::vector<std::pair<std::size_t, std::size_t>> carried_;
    // The blocks read and not yet written, two at most: one under way, the next read meanwhile.
    std::array<Block, 2> blocks_;
    std::size_t reads_ = 0, writes_ = 0;
    const Block* written_ = nullptr;  // the block being written
    Box box_;
};

// The contexts of the block before that the next block may still use (a polyline's, the
// current entity's) are copied to the front; the others are done with.
void DrawingWalk::keepCarriedContexts(const Block* previous)
{
    contexts_.clear();
    carried_.clear();
    const std::size_t before = previous != nullptr ? previous->contexts.size() : 0;
    const auto keep = [&](std::size_t index) {
        carried_.emplace_back(contexts_.size(), index);
        contexts_.push_back(previous->contexts[index]);
    };
    const bool polylineKept = inPolyline_ && polylineContext_ < before;
    if (polylineKept) keep(polylineContext_);
    if (active_ && context_ < before) {
        if (polylineKept && context_ == polylineContext_) {
            context_ = 0;
        } else {
            keep(context_);
            context_ = contexts_.size() - 1;
        }
    }
    if (polylineKept) polylineContext_ = 0;
}

bool DrawingWalk::read(std::vector<PointIn>& in, std::size_t blockSize)
{
    keepCarriedContexts(reads_ > 0 ? &blocks_[(reads_ - 1) % blocks_.size()] : nullptr);
    groups_.clear();
    edits_.clear();
    const std::size_t blockStart = lines_.index();
    const std::size_t count = summary_.lines;
    // A block ends at a pair, never inside the header, whose extents the output needs whole.
    constexpr std::size_t kMostLines = std::size_t{1} << 20;
    while (lines_.index() < count) {
        if (section_ != Section::Header &&
            (in.size() >= blockSize || lines_.index() - blockStart >= kMostLines))
            break;
        const auto code = groupCode(lines_.line(0));
        if (code == 0)
            structure(trimSpaces(lines_.line(1)), in);
        else if (code && section_ == Section::Header)
            headerGroup(*code, in);
        else if (code && active_)
            entityGroup(*code, in);
        else
            lines_.advance(2);
    }
    const std::size_t blockEnd = lines_.index();
    // Lines before a header (or all of them, without one) need not wait for the extents.
    if (headEnd_ == kNoHead && (section_ != Section::Header || blockEnd >= count))
        headEnd_ = section_ == Section::Header ? blockEnd : blockStart;
    Block& block = blocks_[reads_++ % blocks_.size()];
    block.end = blockEnd;
    block.headEnd = headEnd_;
    std::swap(block.contexts, contexts_);
    std::swap(block.groups, groups_);
    std::swap(block.edits, edits_);
    std::swap(block.carried, carried_);
    return blockEnd > blockStart;
}

// A group 0: a section's start or end, or an entity's or object's start.
void DrawingWalk::structure(std::string_view kind, std::vector<PointIn>& in)
{
    active_ = extended_ = false;
    mode_ = 0;
    table_ = nullptr;
    if (kind == "SECTION") {
        const std::string_view name = lines_.code(1) == 2 ? trimSpaces(lines_.line(3)) : "";
        section_ = name == "HEADER"     ? Section::Header
                   : name == "BLOCKS"   ? Section::Blocks
                   : name == "ENTITIES" ? Section::Entities
                   : name == "OBJECTS"  ? Section::Objects
                                        : Section::Other;
        lines_.advance(2);
        return;
    }
    if (kind == "ENDSEC" || kind == "EOF") {
        if (section_ == Section::Header) headEnd_ = lines_.index() + 2;
        section_ = Section::None;
        inPolyline_ = false;
        lines_.advance(2);
        return;
    }
    switch (section_) {
    case Section::Entities: startEntity(kind, entityTable(kind), in); return;
    case Section::Blocks:
        if (kind == "BLOCK") {
            const std::string_view name = scan(nullptr).name;
            blockMoves_ = sameName(name, "*Model_Space") ||
                          std::any_of(movingBlocks_.begin(), movingBlocks_.end(),
                                      [name](const std::string& m) { return sameName(m, name); });
            inPolyline_ = false;
        } else if (kind == "ENDBLK") {
            blockMoves_ = inPolyline_ = false;
        } else if (blockMoves_) {
            startEntity(kind, entityTable(kind), in);
            return;
        }
        break;
    case Section::Objects:
        if (const KindTable* object = objectTable(kind)) {
            startEntity(kind, object, in);
            return;
        }
        break;
    default: break;
    }
    lines_.advance(2);
}

void DrawingWalk::startEntity(std::string_view kind, const KindTable* kindTable,
                              std::vector<PointIn>& in)
{
    if (kind == "VERTEX" && inPolyline_) {
        // A vertex reads its flags from its own groups and lies in its polyline's OCS at its
        // elevation; its widths and tangent turn and scale by the similarity at the vertex.
        const EntityScan vertex = scan(&vertexTable(polyline3d_, 0));
        table_ = &vertexTable(polyline3d_, vertex.flags);
        active_ = polylineActive_;
        if (active_)
            context_ = addContext(contexts_[polylineContext_].samePlane(), vertex, false, in);
        lines_.advance(2);
        return;
    }
    const bool polyline = kind == "POLYLINE";
    inPolyline_ = polyline;
    if (kind == "SEQEND") {
        lines_.advance(2);
        return;
    }
    EntityScan whole = scan(polyline ? &polylineTable(false) : kindTable);
    if (polyline) {
        polyline3d_ = isPolyline3d(whole.flags);
        kindTable = &polylineTable(polyline3d_);
        if (polyline3d_) whole = scan(kindTable);
    }
    table_ = kindTable;
    active_ = !whole.paper;
    if (active_) {
        const bool isObject = section_ == Section::Objects;
        if (table_ == nullptr && !isObject) ++summary_.unknownEntities;
        EntityContext base;
        base.ocs = ObjectCoordinates(whole.extrusion);
        base.elevation = whole.elevation.value_or(0);
        base.flat = polyline && !polyline3d_;
        base.inExtents = !isObject;
        context_ = addContext(base, whole, polyline, in);
    }
    if (polyline) {
        polylineActive_ = active_;
        polylineContext_ = context_;
    }
    lines_.advance(2);
}

// The entity at the cursor (its group 0), read ahead to its end; a 2D polyline's first
// position is its first vertex's.
EntityScan DrawingWalk::scan(const KindTable* kindTable)
{
    EntityScan result;
    const std::size_t count = summary_.lines;
    PairCursor groups = lines_;
    groups.advance(2);
    std::uint8_t scanMode = 0;
    const KindTable* current = kindTable;
    bool inExtendedData = false;
    bool flagsSeen = false;
    const bool vertexFirst = kindTable == &polylineTable(false);
    while (groups.index() < count) {
        auto code = groups.code(0);
        const std::string_view value = groups.line(1);
        if (code == 0) {
            // A 2D polyline takes its first vertex's position, at the polyline's elevation.
            if (!vertexFirst || result.first || trimSpaces(value) != "VERTEX") break;
            for (groups.advance(2); groups.index() < count && groups.code(0) != 0;
                 groups.advance(2))
                if (groups.code(0) == 10 && groups.code(1) == 20) {
                    result.first =
                        FirstPosition{groups.line(1), groups.line(3), {}, GroupMeaning::Object};
                    break;
                }
            break;
        }
        if (!code) {
            groups.advance(2);
            continue;
        }
        if (*code == kExtendedDataStart) {
            inExtendedData = true;
            current = &extendedDataTable();
            scanMode = 0;
        } else if (!inExtendedData && current != nullptr) {
            scanMode = nextMode(*current, scanMode, *code, value);
        }
        if (!inExtendedData) {
            if (*code == 67)
                result.paper = quietInteger(value) == 1;
            else if (*code == 210 || *code == 220 || *code == 230) {
                if (const auto v = quietNumber(value))
                    (*code == 210   ? result.extrusion.x
                     : *code == 220 ? result.extrusion.y
                                    : result.extrusion.z) = *v;
            } else if (*code == 70 && !flagsSeen && scanMode == 0) {
                flagsSeen = true;
                result.flags = quietInteger(value);
            } else if (*code == 2 && result.name.empty()) {
                result.name = trimSpaces(value);
            }
        }
        const GroupMeaning meaning = meaningOf(current, scanMode, *code);
        if (meaning == GroupMeaning::Elevation) {
            result.elevation = quietNumber(value);
        } else if (meaning == GroupMeaning::Placeholder && groups.code(1) == *code + 10 &&
                   groups.code(2) == *code + 20) {
            result.elevation = quietNumber(groups.line(5));
        } else if ((meaning == GroupMeaning::World || meaning == GroupMeaning::Object) &&
                   !result.first && !inExtendedData && groups.code(1) == *code + 10) {
            result.first =
                FirstPosition{value, groups.line(3),
                              groups.code(2) == *code + 20 ? groups.line(5) : "", meaning};
        }
        result.needsSimilarity = result.needsSimilarity || followsSimilarity(meaning);
        groups.advance(2);
    }
    return result;
}

// An entity's context: `c` with its first position added to the block (and its neighbours east
// and north) when its elevation or its vectors, sizes and angles need it, or `always` (a 2D
// polyline, whose vertices follow).
std::size_t DrawingWalk::addContext(EntityContext c, const EntityScan& scan, bool always,
                                    std::vector<PointIn>& in)
{
    const bool similarity = options_.similarity && (scan.needsSimilarity || always);
    const auto first = [&scan, &c]() -> std::optional<Vector3> {
        const auto x = quietNumber(scan.first->x), y = quietNumber(scan.first->y);
        const auto z = scan.first->z.empty() ? c.elevation : quietNumber(scan.first->z);
        if (!x || !y || !z) return std::nullopt;
        return Vector3{*x, *y, c.flat ? c.elevation : *z};
    };
    std::optional<Vector3> at;
    if (scan.first && (similarity || scan.elevation || always)) at = first();
    if (at) {
        const Vector3 p = scan.first->meaning == GroupMeaning::Object ? c.ocs.toWorld(*at) : *at;
        c.firstJob = static_cast<std::ptrdiff_t>(in.size());
        in.push_back({p.x, p.y, p.z});
        if (similarity) {
            c.probes = true;
            in.push_back({p.x + 1, p.y, p.z});
            in.push_back({p.x, p.y + 1, p.z});
        }
    }
    contexts_.push_back(c);
    return contexts_.size() - 1;
}

// The number of pairs a group of three (X at the cursor) spans: 1 when its Y does not follow,
// which makes it no position; 2 without Z; 3 with it.
std::size_t DrawingWalk::pairsOfTriple(int code)
{
    if (lines_.code(1) != code + 10) return 1;
    return lines_.code(2) == code + 20 ? 3 : 2;
}

// The group of three at the cursor holds 0, 0, 0: no point, where a point may be missing.
bool DrawingWalk::isZeroPoint(int code)
{
    PairCursor ahead = lines_;
    const std::size_t pairs = pairsOfTriple(code);
    bool zero = true;
    for (std::size_t k = 0; k < pairs; ++k, ahead.advance(2))
        zero = zero && quietNumber(ahead.line(1)) == 0.0L;
    return zero;
}

void DrawingWalk::headerGroup(int code, std::vector<PointIn>& in)
{
    if (code == 9) {
        const std::string_view name = trimSpaces(lines_.line(1));
        variable_ = name == "$INSBASE"  ? Variable::InsertionBase
                    : name == "$UCSORG" ? Variable::UcsOrigin
                    : name == "$EXTMIN" ? Variable::ExtentsMin
                    : name == "$EXTMAX" ? Variable::ExtentsMax
                                        : Variable::Other;
        lines_.advance(2);
        return;
    }
    const int axis = code / 10 - 1;
    const bool coordinate = code == 10 || code == 20 || code == 30;
    if (variable_ == Variable::InsertionBase && code == 10) {
        // The insertion base is a point of the drawing; 0, 0, 0 (no base set) stays as it is.
        if (!isZeroPoint(code)) {
            contexts_.push_back({});
            context_ = contexts_.size() - 1;
            lines_.advance(2 * position(GroupMeaning::World, in));
            return;
        }
    } else if (variable_ == Variable::UcsOrigin && coordinate) {
        edits_.push_back({lines_.index() + 1, EditKind::Zero, 0, 0});
    } else if ((variable_ == Variable::ExtentsMin || variable_ == Variable::ExtentsMax) &&
               coordinate) {
        edits_.push_back(
            {lines_.index() + 1,
             variable_ == Variable::ExtentsMin ? EditKind::ExtentsMin : EditKind::ExtentsMax, 0,
             static_cast<std::uint8_t>(axis)});
    }
    lines_.advance(2);
}

void DrawingWalk::entityGroup(int code, std::vector<PointIn>& in)
{
    if (code == kExtendedDataStart && !extended_) {
        extended_ = true;
        mode_ = 0;
    }
    const KindTable* current = extended_ ? &extendedDataTable() : table_;
    if (!extended_ && current != nullptr) mode_ = nextMode(*current, mode_, code, lines_.line(1));
    const GroupMeaning meaning = meaningOf(current, mode_, code);
    std::size_t pairs = 1;
    switch (meaning) {
    case GroupMeaning::World:
    case GroupMeaning::Object: pairs = position(meaning, in); break;
    case GroupMeaning::OptionalWorld:
    case GroupMeaning::OptionalObject:
        pairs = isZeroPoint(code)
                    ? pairsOfTriple(code)
                    : position(meaning == GroupMeaning::OptionalWorld ? GroupMeaning::World
                                                                      : GroupMeaning::Object,
                               in);
        break;
    case GroupMeaning::Elevation:
        number_.failed = false;
        number_(lines_.line(1), lines_.index() + 2);
        if (!number_.failed && contexts_[context_].firstJob >= 0)
            edits_.push_back({lines_.index() + 1, EditKind::Elevation, context_, 2});
        break;
    case GroupMeaning::Placeholder:
        pairs = pairsOfTriple(code);
        if (pairs == 3 && contexts_[context_].firstJob >= 0) {
            number_.failed = false;
            number_(lines_.line(5), lines_.index() + 6);
            if (!number_.failed)
                edits_.push_back({lines_.index() + 5, EditKind::Elevation, context_, 2});
        }
        break;
    case GroupMeaning::Copy:
        if (!extended_ && (code == 210 || code == 220 || code == 230)) {
            number_.failed = false;
            number_(lines_.line(1), lines_.index() + 2);  // a broken extrusion stops the run
        }
        break;
    default: pairs = similar(meaning, isTriple(meaning) ? pairsOfTriple(code) : 1); break;
    }
    lines_.advance(2 * pairs);
}

// A position: read, its point added to the block, its value lines to be replaced. A value that
// is no number throws, or in a check is reported and leaves the group as it is.
std::size_t DrawingWalk::position(GroupMeaning meaning, std::vector<PointIn>& in)
{
    const int code = *lines_.code(0);
    const std::size_t pairs = pairsOfTriple(code);
    if (pairs == 1) return 1;
    const std::size_t first = lines_.index();
    Group g;
    g.meaning = meaning;
    g.context = context_;
    g.codeLine = first;
    number_.failed = false;
    Vector3 p;
    p.x = number_(lines_.line(1), first + 2);
    p.y = number_(lines_.line(3), first + 4);
    const EntityContext& c = contexts_[context_];
    p.z = pairs == 3 ? number_(lines_.line(5), first + 6) : c.elevation;
    if (number_.failed) return pairs;
    if (c.flat) p.z = c.elevation;
    if (meaning == GroupMeaning::Object) p = c.ocs.toWorld(p);
    for (std::size_t k = 0; k < pairs; ++k) g.texts[k] = trimSpaces(lines_.line(2 * k + 1));
    g.job = in.size();
    in.push_back({p.x, p.y, p.z});
    groups_.push_back(g);
    for (std::size_t k = 0; k < pairs; ++k)
        edits_.push_back(
            {first + 2 * k + 1, EditKind::Group, groups_.size() - 1, static_cast<std::uint8_t>(k)});
    return pairs;
}

// A vector, direction, size or angle of `pairs` pairs: changed by the similarity where both
// sides are planes of metres and the entity has a first position to take it from, kept and
// counted otherwise.
std::size_t DrawingWalk::similar(GroupMeaning meaning, std::size_t pairs)
{
    if (isTriple(meaning) && pairs == 1) return 1;
    if (!options_.similarity || !contexts_[context_].probes) {
        ++summary_.keptInSourceUnits;
        return pairs;
    }
    const std::size_t first = lines_.index();
    Group g;
    g.meaning = meaning;
    g.context = context_;
    g.codeLine = first;
    number_.failed = false;
    g.value.x = number_(lines_.line(1), first + 2);
    if (pairs > 1) g.value.y = number_(lines_.line(3), first + 4);
    if (pairs > 2) g.value.z = number_(lines_.line(5), first + 6);
    if (number_.failed) return pairs;
    if (meaning == GroupMeaning::ArcEdgeAngle)
        for (std::size_t k = 1; k <= 2; ++k)
            if (lines_.code(k) == 73) g.clockwise = quietInteger(lines_.line(2 * k + 1)) == 0;
    groups_.push_back(g);
    for (std::size_t k = 0; k < pairs; ++k)
        edits_.push_back(
            {first + 2 * k + 1, EditKind::Group, groups_.size() - 1, static_cast<std::uint8_t>(k)});
    return pairs;
}

// ---------------------------------------------------------------- writing a block

Vector3 asVector(const TransformedPoint& p) { return {p.X, p.Y, p.Z}; }

void DrawingWalk::settle(EntityContext& c, const std::vector<TransformedPoint>& out)
{
    c.settled = true;
    if (c.firstJob < 0) return;
    const auto at = static_cast<std::size_t>(c.firstJob);
    if (out[at].rejected()) return;
    c.first = asVector(out[at]);
    if (c.probes && !out[at + 1].rejected() && !out[at + 2].rejected())
        c.similarity =
            LocalSimilarity::fromNeighbours(*c.first, asVector(out[at + 1]), asVector(out[at + 2]));
}

void DrawingWalk::write(const std::vector<TransformedPoint>& out)
{
    Block& block = blocks_[writes_++ % blocks_.size()];
    written_ = &block;
    for (EntityContext& c : block.contexts)
        if (!c.settled) settle(c, out);
    // The next block, when it was read already, took over copies of contexts not settled then.
    if (reads_ > writes_) {
        Block& next = blocks_[writes_ % blocks_.size()];
        for (const auto& [here, there] : next.carried) next.contexts[here] = block.contexts[there];
    }
    const std::vector<LineEdit>& edits = block.edits;
    auto edit = edits.begin();
    for (; writerLine_ < block.end; ++writerLine_) {
        if (writerLine_ == block.headEnd) output_.endHead();
        const std::string_view text = writer_.next();
        while (edit != edits.end() && edit->line < writerLine_) ++edit;
        if (edit != edits.end() && edit->line == writerLine_) {
            if (edit->kind == EditKind::ExtentsMin || edit->kind == EditKind::ExtentsMax)
                output_.extents(edit->kind == EditKind::ExtentsMax, edit->component, text);
            else
                output_.line(replacement(*edit, text, out));
            ++edit;
        } else {
            output_.line(text);
        }
        progress_.at(writerLine_ + 1);
    }
}

std::string DrawingWalk::replacement(const LineEdit& edit, std::string_view original,
                                     const std::vector<TransformedPoint>& out)
{
    switch (edit.kind) {
    case EditKind::Zero: return "0.0";
    case EditKind::Elevation: {
        const EntityContext& c = written_->contexts[edit.index];
        return c.first ? fileNumber(c.ocs.toObject(*c.first).z) : std::string(original);
    }
    default: return groupValue(written_->groups[edit.index], edit.component, original, out);
    }
}

void DrawingWalk::countPosition(const Group& group, const TransformedPoint& result, Vector3 world)
{
    summary_.count(result, group.codeLine + 1, check_, [&group] {
        std::string values(group.texts[0]);
        for (std::size_t k = 1; k < 3 && !group.texts[k].empty(); ++k)
            values += " " + std::string(group.texts[k]);
        return values;
    });
    if (!result.rejected() && written_->contexts[group.context].inExtents) box_.add(world);
}

std::string DrawingWalk::groupValue(const Group& group, int component, std::string_view original,
                                    const std::vector<TransformedPoint>& out)
{
    const EntityContext& c = written_->contexts[group.context];
    const auto pick = [component](Vector3 v) {
        return component == 0 ? v.x : component == 1 ? v.y : v.z;
    };
    if (group.meaning == GroupMeaning::World || group.meaning == GroupMeaning::Object) {
        const TransformedPoint& result = out[group.job];
        const Vector3 world = asVector(result);
        if (component == 0) countPosition(group, result, world);
        return fileNumber(
            pick(group.meaning == GroupMeaning::Object ? c.ocs.toObject(world) : world));
    }
    if (!c.similarity) {
        if (component == 0) ++summary_.keptInSourceUnits;
        return std::string(original);
    }
    const LocalSimilarity& s = *c.similarity;
    if (s.isIdentity()) return std::string(original);
    constexpr long double kRadian = 180 / 3.14159265358979323846264338327950288L;
    switch (group.meaning) {
    case GroupMeaning::Vector: return fileNumber(pick(s.turnAndScale(group.value)));
    case GroupMeaning::Direction: return fileNumber(pick(s.turn(group.value)));
    case GroupMeaning::ObjectVector:
        return fileNumber(pick(c.ocs.toObject(s.turnAndScale(c.ocs.toWorld(group.value)))));
    case GroupMeaning::ObjectDirection:
        return fileNumber(pick(c.ocs.toObject(s.turn(c.ocs.toWorld(group.value)))));
    case GroupMeaning::Radius:
        if (c.first) {
            const long double r = std::fabs(s.size(group.value.x));
            box_.add({c.first->x - r, c.first->y - r, c.first->z});
            box_.add({c.first->x + r, c.first->y + r, c.first->z});
        }
        return fileNumber(s.size(group.value.x));
    case GroupMeaning::Size: return fileNumber(s.size(group.value.x));
    case GroupMeaning::Angle: return fileNumber(s.angle(group.value.x, c.ocs));
    case GroupMeaning::NegatedAngle: return fileNumber(-s.angle(-group.value.x, c.ocs));
    case GroupMeaning::AngleRadians:
        return fileNumber(s.angle(group.value.x * kRadian, c.ocs) / kRadian);
    case GroupMeaning::ArcEdgeAngle:
        // A clockwise edge stores 360 - angle: the angle turns one way, the stored value the other.
        return fileNumber(group.clockwise ? 360 - s.angle(360 - group.value.x, c.ocs)
                                          : s.angle(group.value.x, c.ocs));
    default: return std::string(original);
    }
}

FileRunSummary walkDrawing(std::string_view source, LineWriter& out, const PointBatch& batch,
                           std::size_t blockSize, const DxfRewriteOptions& options,
                           const Progress& progress, const ProblemReport& check,
                           DrawingOutput::Body body,
                           const std::filesystem::path& scratchFolder = {})
{
    if (isBinaryDrawing(source)) throw FileRunError(std::string(kBinaryDrawing));
    FileRunSummary summary;
    summary.lines = lineCount(source);
    ProgressReport report(progress, summary.lines);
    report.at(0);
    DrawingOutput output(out, body, scratchFolder);
    DrawingWalk walk(source, output, summary, report, check, options);
    walkInBlocks(walk, batch, blockSize);
    output.finish(walk.extents());
    report.finish();
    return summary;
}

}  // namespace

void requireAsciiDrawing(std::string_view source, const std::filesystem::path& name)
{
    if (const auto why = whyNoDrawing(source)) {
        if (isBinaryDrawing(source)) throw FileRunError(*why);
        throw FileRunError("\"" + name.string() + "\" is no DXF drawing: " + *why +
                           ". Nothing was written.");
    }
}

FileRunSummary rewriteDxf(std::string_view source, LineWriter& out, const PointBatch& batch,
                          const DxfRewriteOptions& options, const Progress& progress)
{
    return walkDrawing(source, out, batch, kPointBlock, options, progress, {},
                       DrawingOutput::Body::InMemory);
}

FileRunSummary rewriteDxf(std::string_view source, LineWriter& out, const PointTransform& transform,
                          const DxfRewriteOptions& options, const Progress& progress)
{
    return rewriteDxf(source, out, oneByOne(transform), options, progress);
}

// One point a block, so that the problems are reported in the order of the lines.
FileRunSummary checkDxf(std::string_view source, const PointTransform& transform,
                        const ProblemReport& check, const DxfRewriteOptions& options,
                        const Progress& progress)
{
    LineWriter nowhere = LineWriter::discarding();
    return walkDrawing(source, nowhere, oneByOne(transform), 1, options, progress, check,
                       DrawingOutput::Body::Direct);
}

FileRunSummary ConverteDXF(const std::filesystem::path& source,
                           const std::filesystem::path& destination, const PointBatch& batch,
                           const DxfRewriteOptions& options, const Progress& progress)
{
    return runOnFiles(source, destination, [&](std::string_view text, LineWriter& out) {
        requireAsciiDrawing(text, source);
        return walkDrawing(text, out, batch, kPointBlock, options, progress, {},
                           DrawingOutput::Body::Scratch, scratchFolderFor(destination));
    });
}

FileRunSummary ConverteDXF(const std::filesystem::path& source,
                           const std::filesystem::path& destination,
                           const PointTransform& transform, const DxfRewriteOptions& options,
                           const Progress& progress)
{
    return ConverteDXF(source, destination, oneByOne(transform), options, progress);
}
