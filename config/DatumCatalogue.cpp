#include "config/DatumCatalogue.h"

#include "transform/files/AtomicFile.h"
#include "config/ConfigFile.h"
#include "transform/text/NumberText.h"
#include "transform/text/TextLines.h"
#include "transform/text/Trim.h"
#include "transform/text/Windows1252.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

struct DatumLine {
    TDatum datum;
    DatumCitation citation;
};

long double boundedValue(std::string_view key, std::string_view text, long double largest)
{
    const long double value = readFloat(text, NumberFormat::file());
    if (!(std::fabs(value) <= largest))
        throw ConversionError(std::string(key) + "=" + std::string(text) + " is beyond " +
                              formatGeneral(largest, NumberFormat::file()) +
                              (key == "ppm" ? " ppm" : " arc-seconds"));
    return value;
}

std::optional<int> positiveCode(std::string_view text)
{
    int code = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), code);
    if (error != std::errc() || end != text.data() + text.size() || code < 1) return std::nullopt;
    return code;
}

// The key=value fields after Dz, into the datum's rotation and the line's citation.
void readFurtherFields(std::string_view rest, DatumLine& line)
{
    std::vector<std::string> seen;
    bool framed = false;
    HelmertRotation& rotation = line.datum.Rotation;
    while (!rest.empty()) {
        const auto comma = rest.find(',');
        const std::string_view field = trimBlanks(rest.substr(0, comma));
        rest = comma == std::string_view::npos ? std::string_view{} : rest.substr(comma + 1);
        const auto equals = field.find('=');
        const std::string key(trimBlanks(field.substr(0, equals)));
        const std::string_view value = equals == std::string_view::npos
                                           ? std::string_view{}
                                           : trimBlanks(field.substr(equals + 1));
        if (std::find(seen.begin(), seen.end(), key) != seen.end())
            throw ConversionError(key + "= is given twice");
        seen.push_back(key);
        if (key == "rx")
            rotation.Rx = boundedValue(key, value, kLargestRotation);
        else if (key == "ry")
            rotation.Ry = boundedValue(key, value, kLargestRotation);
        else if (key == "rz")
            rotation.Rz = boundedValue(key, value, kLargestRotation);
        else if (key == "ppm")
            rotation.Scale = boundedValue(key, value, kLargestScale);
        else if (key == "frame" && (value == "9606" || value == "9607")) {
            framed = true;
            rotation.convention = value == "9606" ? RotationConvention::PositionVector
                                                  : RotationConvention::CoordinateFrame;
        } else if ((key == "grid" || key == "gridto") && !value.empty()) {
            (key == "grid" ? line.datum.GridFile : line.datum.GridTarget) =
                windows1252ToUtf8(value);
        } else if (const auto code = key == "epsg" ? positiveCode(value) : std::nullopt)
            line.citation.epsg = *code;
        else if (key == "accuracy" && readFloat(value, NumberFormat::file()) >= 0)
            line.citation.accuracy = std::string(value);
        else
            throw ConversionError(quotedForMessage(field) +
                                  " is not one of rx=, ry=, rz=, ppm= (numbers), frame=9606 or "
                                  "frame=9607, grid= (a file), gridto= (a datum), epsg= (a "
                                  "code), accuracy= (metres)");
    }
    if (!rotation.none() && !framed)
        throw ConversionError(
            "rotations or a scale need frame=9606 (position vector) or "
            "frame=9607 (coordinate frame)");
    if (rotation.none() && framed)
        throw ConversionError("frame= is given without rotations or a scale");
    if (line.datum.GridFile.empty() != line.datum.GridTarget.empty())
        throw ConversionError(
            "grid= and gridto= go together: the grid file and the datum it "
            "carries the points to");
}

// a,1/f,name,Dx,Dy,Dz: cut at the first five commas; the first five fields lose their blanks,
// the sixth runs to the next comma, and key=value fields may follow.
DatumLine datumOfLine(std::string_view line)
{
    std::array<std::string_view, 6> fields;
    std::string_view rest = line;
    for (std::size_t i = 0; i < 5; ++i) {
        const auto comma = rest.find(',');
        if (comma == std::string_view::npos)
            throw ConversionError(quotedForMessage(line) +
                                  " is not a datum: it needs six fields separated by commas");
        fields[i] = trimBlanks(rest.substr(0, comma));
        rest.remove_prefix(comma + 1);
    }
    const auto comma = rest.find(',');
    fields[5] = rest.substr(0, comma);
    rest = comma == std::string_view::npos ? std::string_view{} : rest.substr(comma + 1);
    const auto file = NumberFormat::file();
    const long double A = readFloat(fields[0], file);
    const long double InvF = readFloat(fields[1], file);
    const long double Dx = readFloat(fields[3], file);
    const long double Dy = readFloat(fields[4], file);
    const long double Dz = readFloat(fields[5], file);
    DatumLine read{TDatum(windows1252ToUtf8(fields[2]), A, 1.0L / InvF, Dx, Dy, Dz), {}};
    readFurtherFields(rest, read);
    return read;
}

// The key=value fields of a datum, in the order the file writes them.
std::string furtherFields(const TDatum& datum, const DatumCitation& citation)
{
    const auto file = NumberFormat::file();
    std::string text;
    const HelmertRotation& r = datum.Rotation;
    if (!r.none())
        text +=
            ",rx=" + formatGeneral(r.Rx, file) + ",ry=" + formatGeneral(r.Ry, file) +
            ",rz=" + formatGeneral(r.Rz, file) + ",ppm=" + formatGeneral(r.Scale, file) +
            (r.convention == RotationConvention::PositionVector ? ",frame=9606" : ",frame=9607");
    if (!datum.GridFile.empty())
        text.append(",grid=")
            .append(utf8ToWindows1252(datum.GridFile))
            .append(",gridto=")
            .append(utf8ToWindows1252(datum.GridTarget));
    if (citation.epsg != 0) text += ",epsg=" + std::to_string(citation.epsg);
    if (!citation.accuracy.empty()) text += ",accuracy=" + citation.accuracy;
    return text;
}

int linesBeforeFirstEmpty(TextLines& lines)
{
    int count = 0;
    while (!lines.next().empty()) ++count;
    return count;
}

// What the file can hold, so that the name reads back as it was stored.
std::optional<DatumRefused> nameProblem(const std::string& name)
{
    using Reason = DatumRefused::Reason;
    if (name.find(',') != std::string::npos)
        return DatumRefused(Reason::Comma, "a datum name cannot hold a comma");
    if (name.find_first_of("\r\n") != std::string::npos)
        return DatumRefused(Reason::LineBreak, "a datum name cannot hold a line break");
    if (!catalogueFieldHolds(name))
        return DatumRefused(Reason::Character,
                            "the datum name holds a character the catalogue file cannot store");
    return std::nullopt;
}

// The figures the file reading would refuse, so that a stored datum never makes the next start
// lose it and every datum after it.
std::optional<std::string> figuresProblem(const TDatum& datum)
{
    const HelmertRotation& r = datum.Rotation;
    for (const long double rotation : {r.Rx, r.Ry, r.Rz})
        if (!(std::fabs(rotation) <= kLargestRotation))
            return "a rotation is beyond 60 arc-seconds";
    if (!(std::fabs(r.Scale) <= kLargestScale)) return "the scale is beyond 100 ppm";
    if (datum.GridFile.empty() != datum.GridTarget.empty())
        return "a grid file and its target datum go together";
    if (!catalogueFieldHolds(datum.GridFile) || !catalogueFieldHolds(datum.GridTarget))
        return "the grid file or its target holds what the catalogue file cannot store";
    return std::nullopt;
}

TDatum datumOf(const DatumValues& values)
{
    TDatum datum(std::string(trimBlanks(values.Name)), values.A, 1.0L / values.InvF, values.Dx,
                 values.Dy, values.Dz);
    datum.Rotation = values.Rotation;
    // Without rotations the convention is not written, so it reads back as the default.
    if (datum.Rotation.none()) datum.Rotation.convention = RotationConvention{};
    datum.GridFile = trimBlanks(values.GridFile);
    datum.GridTarget = trimBlanks(values.GridTarget);
    return datum;
}

bool sameRotation(const HelmertRotation& a, const HelmertRotation& b)
{
    return a.Rx == b.Rx && a.Ry == b.Ry && a.Rz == b.Rz && a.Scale == b.Scale &&
           a.convention == b.convention;
}

// Every figure a citation vouches for; the name is not one.
bool sameFigures(const TDatum& a, const TDatum& b)
{
    return a.A == b.A && a.F == b.F && a.Dx == b.Dx && a.Dy == b.Dy && a.Dz == b.Dz &&
           sameRotation(a.Rotation, b.Rotation) && a.GridFile == b.GridFile &&
           a.GridTarget == b.GridTarget;
}

int validSelection(int index, int QuantDatum)
{
    if (QuantDatum < 0) return -1;
    return index < 0 || index > QuantDatum ? 0 : index;
}

}  // namespace

DatumValues datumValues(const TDatum& datum)
{
    return {datum.Name, datum.A,        1.0L / datum.F, datum.Dx,        datum.Dy,
            datum.Dz,   datum.Rotation, datum.GridFile, datum.GridTarget};
}

bool catalogueFieldHolds(std::string_view text)
{
    return text.find_first_of(",\r\n") == std::string_view::npos &&
           windows1252ToUtf8(utf8ToWindows1252(text)) == text;
}

const TDatum* DatumCatalogue::datumAt(int index) const
{
    if (index < 0 || index > QuantDatum()) return nullptr;
    return &datums_[static_cast<std::size_t>(index)];
}

std::vector<std::string> DatumCatalogue::names() const
{
    std::vector<std::string> result;
    result.reserve(datums_.size());
    for (const auto& datum : datums_) result.push_back(datum.Name);
    return result;
}

void DatumCatalogue::store(int slot, const DatumValues& values)
{
    TDatum datum = datumOf(values);
    if (const auto problem = nameProblem(datum.Name)) throw *problem;
    if (const auto problem = figuresProblem(datum)) throw std::invalid_argument(*problem);
    if (slot == QuantDatum() + 1 && slot == Slots)
        throw DatumRefused(DatumRefused::Reason::Full, "the catalogue is full: it holds at most " +
                                                           std::to_string(Slots) + " datums");
    if (slot < 0 || slot > QuantDatum() + 1)
        throw DatumRefused(DatumRefused::Reason::NoSlot,
                           "there is no datum " + std::to_string(slot) + " to store");
    if (slot == QuantDatum() + 1) {
        append(std::move(datum));
    } else {
        const auto at = static_cast<std::size_t>(slot);
        const TDatum& was = datums_[at];
        if (datum.GridFile == was.GridFile) datum.Grid = was.Grid;
        if (!sameFigures(was, datum)) citations_[at] = {};
        datums_[at] = std::move(datum);
    }
    changed_ = true;
}

bool DatumCatalogue::append(TDatum datum, DatumCitation citation)
{
    if (QuantDatum() + 1 == Slots) return false;
    datums_.push_back(std::move(datum));
    citations_.push_back(std::move(citation));
    return true;
}

void DatumCatalogue::setGrid(int index, std::shared_ptr<const Ntv2Grid> grid)
{
    if (index >= 0 && index <= QuantDatum())
        datums_[static_cast<std::size_t>(index)].Grid = std::move(grid);
}

DatumCitation DatumCatalogue::citationAt(int index) const
{
    if (index < 0 || index > QuantDatum()) return {};
    return citations_[static_cast<std::size_t>(index)];
}

DatumSelection AtualizaDatum(DatumCatalogue& catalogue, int slot, const DatumValues& values,
                             DatumSelection remembered)
{
    catalogue.store(slot, values);
    const int last = catalogue.QuantDatum();
    return {validSelection(remembered.source, last), validSelection(remembered.target, last)};
}

CatalogueReading readCatalogue(std::string_view content)
{
    CatalogueReading reading;
    TextLines lines(content);
    for (int number = 1;; ++number) {
        const std::string_view line = lines.next();
        if (line.empty()) break;
        if (reading.catalogue.QuantDatum() + 1 == DatumCatalogue::Slots) {
            const int unread = 1 + linesBeforeFirstEmpty(lines);
            reading.problem = "only the first " + std::to_string(DatumCatalogue::Slots) +
                              " datums were loaded; the " + std::to_string(unread) + " from line " +
                              std::to_string(number) + " on were not";
            break;
        }
        try {
            DatumLine read = datumOfLine(line);
            reading.catalogue.append(std::move(read.datum), std::move(read.citation));
        } catch (const ConversionError& error) {
            reading.problem = "line " + std::to_string(number) + ": " + error.what() +
                              "; the datums of the lines before it were loaded";
            break;
        }
    }
    return reading;
}

CatalogueReading loadCatalogue(const std::filesystem::path& file)
{
    const auto content = readConfigFile(file);
    if (!content.exists)
        return {DatumCatalogue{}, "The datum catalogue \"" + file.string() +
                                      "\" does not exist; no datums were loaded"};
    if (content.problem) return {DatumCatalogue{}, *content.problem + "; no datums were loaded"};
    auto reading = readCatalogue(content.bytes);
    if (reading.problem)
        reading.problem = "The datum catalogue \"" + file.string() + "\", " + *reading.problem;
    return reading;
}

std::string catalogueText(const DatumCatalogue& catalogue)
{
    const auto file = NumberFormat::file();
    std::string text;
    for (int i = 0; i <= catalogue.QuantDatum(); ++i) {
        const TDatum& datum = *catalogue.datumAt(i);
        text += formatGeneral(datum.A, file) + ',' + formatGeneral(1.0L / datum.F, file) + ',' +
                utf8ToWindows1252(datum.Name) + ',' + formatGeneral(datum.Dx, file) + ',' +
                formatGeneral(datum.Dy, file) + ',' + formatGeneral(datum.Dz, file) +
                furtherFields(datum, catalogue.citationAt(i)) + "\r\n";
    }
    return text;
}

bool saveCatalogue(const std::filesystem::path& file, const DatumCatalogue& catalogue)
{
    if (!catalogue.DatumAlterado()) return false;
    writeFileAtomically(file, catalogueText(catalogue));
    return true;
}
