#include "tools/ToolState.h"

#include "config/CrsCodes.h"
#include "transform/text/AngleText.h"
#include "transform/text/CoordinateKinds.h"
#include "transform/text/KeyFilter.h"
#include "transform/text/NumberText.h"
#include "ui/texts/SideCodes.h"

#include <langinfo.h>
#include <locale.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <cstring>
#include <string_view>
#include <system_error>

namespace {

std::string lowered(std::string_view text)
{
    std::string out(text);
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

// The index of a word among the list's items, as the window's lists number them.
template <std::size_t N>
int indexOf(const std::string& word, const std::array<const char*, N>& items, const char* what)
{
    const std::string wanted = lowered(word);
    for (std::size_t i = 0; i < N; ++i)
        if (wanted == items[i]) return static_cast<int>(i);
    std::string known;
    for (const char* item : items) known += std::string(known.empty() ? "" : ", ") + item;
    throw UsageError(std::string(what) + " '" + word + "' is not one of " + known);
}

constexpr std::array<const char*, 4> kKinds{"grid", "geodetic", "cartesian", "local"};
constexpr std::array<const char*, 4> kFamilies{"utm", "ltm", "rtm", "other"};
constexpr std::array<const char*, 3> kLanguages{"pt", "en", "es"};

std::optional<int> wholeNumber(std::string_view text)
{
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

// A datum by its name (letter case aside) or by its position in the catalogue.
int datumIndex(const std::string& wanted, const DatumCatalogue& catalogue, const char* side)
{
    const auto& datums = catalogue.ListaDatum();
    for (std::size_t i = 0; i < datums.size(); ++i)
        if (lowered(datums[i].Name) == lowered(wanted)) return static_cast<int>(i);
    if (const auto index = wholeNumber(wanted); index && catalogue.datumAt(*index)) return *index;
    throw UsageError(std::string("the catalogue holds no datum '") + wanted + "' for the " + side +
                     " system (--list-datums shows its " + std::to_string(datums.size()) +
                     " datums)");
}

// LAT,LON,H,X,Y: five fields split at ";" when there is one, else at ",".
std::array<std::string, 5> originFields(const std::string& text, const char* option,
                                        char decimalSeparator)
{
    const char separator = text.find(';') != std::string::npos ? ';' : ',';
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = text.find(separator, start);
        fields.push_back(text.substr(start, end - start));
        if (end == std::string::npos) break;
        start = end + 1;
    }
    if (fields.size() != 5) {
        std::string message =
            std::string(option) + " needs five values LAT,LON,H,X,Y; got '" + text + "'";
        if (decimalSeparator == ',') message += " (separate them with ';' where ',' is decimal)";
        throw UsageError(message);
    }
    std::array<std::string, 5> out;
    std::copy(fields.begin(), fields.end(), out.begin());
    return out;
}

struct SideBoxes {
    WindowSide side;
    int WindowState::*kind;
    int WindowState::*datum;
    int WindowState::*family;
    std::string WindowState::*meridian;
    std::string WindowState::*k0;
    std::string WindowState::*zoneWidth;
    std::string WindowState::*falseNorthing;
    std::string WindowState::*falseEasting;
    std::array<std::string WindowState::*, 5> origin;  // latitude, longitude, altitude, X, Y
};

using S = WindowState;
const SideBoxes kSource{
    WindowSide::Source, &S::ComboBox7,
    &S::ComboBox9,      &S::ComboBox16,
    &S::Edit13,         &S::Edit5,
    &S::Edit6,          &S::Edit7,
    &S::Edit8,          {&S::Edit15, &S::Edit16, &S::Edit17, &S::Edit18, &S::Edit19}};
const SideBoxes kTarget{
    WindowSide::Target, &S::ComboBox8,
    &S::ComboBox10,     &S::ComboBox17,
    &S::Edit20,         &S::Edit9,
    &S::Edit10,         &S::Edit11,
    &S::Edit12,         {&S::Edit14, &S::Edit21, &S::Edit22, &S::Edit23, &S::Edit24}};

// A value typed into a box, read at once as the transformation will read it, so that a value that
// is no number is reported with the option (or argument) it came from.
void typeChecked(WindowState& state, std::string WindowState::*field, const std::string& value,
                 const std::string& from, bool isAngle, const NumberFormat& user)
{
    state.*field = typedInBox(value, user.decimalSeparator);
    try {
        const long double number = readFloat(state.*field, user);
        if (isAngle) LatLonCerto(number, state.ComboBox2, user);
    } catch (const ConversionError& error) {
        throw UsageError(from + ": " + error.what());
    }
}

// An EPSG code as the kind, datum, family and central meridian of a side; the other options of
// the side may not set them again. The UTM zone's hemisphere is returned for the source's
// hemisphere: a target grid follows each point's own.
std::optional<bool> applyCrs(WindowState& state, int code, const SideOptions& o,
                             const SideBoxes& boxes, const char* side, const std::string& prefix,
                             const DatumCatalogue& catalogue)
{
    const std::optional<CrsDefinition> crs = crsByCode(code);
    const std::string epsg = "EPSG:" + std::to_string(code);
    if (!crs)
        throw UsageError(prefix + ": " + epsg +
                         " is not a system this program sets up (--list-crs lists those it does)");
    const std::pair<const char*, bool> overlaps[] = {{"-datum", o.datum.has_value()},
                                                     {"-family", o.family.has_value()},
                                                     {"-cm", o.centralMeridian.has_value()}};
    for (const auto& [option, given] : overlaps) {
        if (!given) continue;
        std::string message = prefix + option;
        message.append(": ").append(prefix).append(" ").append(epsg);
        message.append(" sets it already (").append(crs->name).append(")");
        throw UsageError(message);
    }
    const auto& names = catalogue.names();
    const auto at = std::find(names.begin(), names.end(), crs->datum);
    if (at == names.end())
        throw UsageError(prefix + ": " + epsg + " (" + crs->name + ") is on the datum '" +
                         crs->datum + "', which the catalogue does not hold for the " + side +
                         " system (--list-datums shows its datums)");
    setSideToCode(state, boxes.side, *crs, static_cast<int>(at - names.begin()));
    if (crs->kind != CoordinateKind::Grid) return std::nullopt;
    return crs->south;
}

std::optional<bool> applySide(WindowState& state, const SideOptions& o, const SideBoxes& boxes,
                              const char* side, const std::string& prefix,
                              const DatumCatalogue& catalogue, const NumberFormat& user)
{
    const auto box = [&](std::string WindowState::*field, const std::optional<std::string>& v,
                         const char* option, bool isAngle = false) {
        if (v) typeChecked(state, field, *v, prefix + option, isAngle, user);
    };
    std::optional<bool> south;
    if (const auto code = o.kind ? epsgCode(*o.kind) : std::nullopt)
        south = applyCrs(state, *code, o, boxes, side, prefix, catalogue);
    else if (o.kind)
        state.*boxes.kind = indexOf(*o.kind, kKinds, "the coordinate system");
    if (o.datum) state.*boxes.datum = datumIndex(*o.datum, catalogue, side);
    if (o.family) state.*boxes.family = indexOf(*o.family, kFamilies, "the grid family");
    box(boxes.meridian, o.centralMeridian, "-cm", true);
    box(boxes.k0, o.k0, "-k0");
    box(boxes.zoneWidth, o.zoneWidth, "-zone-width");
    box(boxes.falseNorthing, o.falseNorthing, "-false-northing");
    box(boxes.falseEasting, o.falseEasting, "-false-easting");
    if (o.origin) {
        const std::string option = prefix + "-origin";
        const auto fields = originFields(*o.origin, option.c_str(), user.decimalSeparator);
        static constexpr std::array<const char*, 5> kNames{"LAT", "LON", "H", "X", "Y"};
        for (std::size_t i = 0; i < fields.size(); ++i)
            typeChecked(state, boxes.origin[i], fields[i], option + " " + kNames[i], i < 2, user);
    }
    return south;
}

}  // namespace

NumberFormat userNumberFormat(const std::optional<std::string>& decimal,
                              const std::optional<std::string>& thousands)
{
    NumberFormat format{'.', ""};
    if (const locale_t numeric = newlocale(LC_NUMERIC_MASK, "", locale_t{})) {
        const char* point = nl_langinfo_l(RADIXCHAR, numeric);
        if (point && std::strlen(point) == 1) format.decimalSeparator = point[0];
        if (const char* grouping = nl_langinfo_l(THOUSEP, numeric))
            format.thousandsSeparator = grouping;
        freelocale(numeric);
    }
    if (decimal) {
        const bool usable =
            decimal->size() == 1 &&
            std::string_view("0123456789+-eE \t").find((*decimal)[0]) == std::string_view::npos;
        if (!usable)
            throw UsageError(
                "--decimal needs one character that is not a digit, a sign, E or a "
                "blank; got '" +
                *decimal + "'");
        format.decimalSeparator = (*decimal)[0];
    }
    if (thousands) {
        if (thousands->find_first_of("0123456789") != std::string::npos)
            throw UsageError("--thousands cannot hold a digit; got '" + *thousands + "'");
        format.thousandsSeparator = *thousands;
    }
    if (format.thousandsSeparator == std::string(1, format.decimalSeparator))
        throw UsageError("the decimal and thousands separators are both '" +
                         format.thousandsSeparator + "'; set one with --decimal or --thousands");
    return format;
}

std::string typedInBox(std::string text, char decimalSeparator)
{
    for (char& c : text)
        if (c == '.' || c == ',')
            if (const auto typed = filterNumericKey(static_cast<char32_t>(c), decimalSeparator))
                c = static_cast<char>(*typed);
    return text;
}

void applyOptions(WindowState& state, const StateOptions& options, const DatumCatalogue& catalogue,
                  const NumberFormat& user)
{
    // The angle format first: the angles among the options are read by it.
    if (options.angleFormat) {
        if (*options.angleFormat < 0 || *options.angleFormat >= ListSize::AngleFormats)
            throw UsageError("--angle-format is 0, 1 or 2; got " +
                             std::to_string(*options.angleFormat));
        state.ComboBox2 = *options.angleFormat;
    }
    const std::optional<bool> crsSouth =
        applySide(state, options.from, kSource, "source", "--from", catalogue, user);
    applySide(state, options.to, kTarget, "target", "--to", catalogue, user);
    if (options.south && options.north) throw UsageError("--south and --north exclude each other");
    if (crsSouth && (options.south || options.north) && options.south != *crsSouth)
        throw UsageError(std::string(options.south ? "--south" : "--north") + ": --from " +
                         *options.from.kind + " is a zone of the " +
                         (*crsSouth ? "south" : "north"));
    if (crsSouth) state.ComboBox14 = *crsSouth ? 1 : 0;
    if (options.south) state.ComboBox14 = 1;
    if (options.north) state.ComboBox14 = 0;
    if (options.keepHeights && options.convertHeights)
        throw UsageError("--keep-heights and --convert-heights exclude each other");
    if (options.keepHeights) state.CheckBox1 = true;
    if (options.convertHeights) state.CheckBox1 = false;
    if (options.language) state.ComboBox1 = indexOf(*options.language, kLanguages, "the language");
}

std::string crsListing()
{
    std::string text;
    for (const CrsDefinition& crs : allCrsCodes()) {
        text += "EPSG:" + std::to_string(crs.code) + '\t' + crs.name + '\t' +
                kKinds[static_cast<std::size_t>(crs.kind)] + ", " + crs.datum;
        if (crs.kind == CoordinateKind::Grid)
            text += ", UTM, central meridian " + std::to_string(crs.centralMeridian()) +
                    (crs.south ? ", south" : ", north");
        text += '\n';
    }
    return text;
}

void typePoint(WindowState& state, const std::vector<std::string>& values, const NumberFormat& user)
{
    using Boxes = std::array<std::string WindowState::*, 3>;
    static const std::array<Boxes, 4> kPointBoxes{{
        {&S::Edit1, &S::Edit2, &S::Edit27},
        {&S::Edit25, &S::Edit26, &S::Edit27},
        {&S::Edit28, &S::Edit29, &S::Edit30},
        {&S::Edit3, &S::Edit4, &S::Edit27},
    }};
    static const std::array<std::array<const char*, 3>, 4> kValueNames{{
        {"N", "E", "h"},
        {"latitude", "longitude", "h"},
        {"X", "Y", "Z"},
        {"X", "Y", "h"},
    }};
    const int kind = state.ComboBox7;
    if (kind < 0 || kind >= ListSize::CoordinateKinds)
        throw UsageError("no source coordinate system is selected; choose one with --from");
    const auto k = static_cast<std::size_t>(kind);
    if (values.size() != 3)
        throw UsageError(std::string("a ") + kKinds[k] + " point is three values, " +
                         kValueNames[k][0] + " " + kValueNames[k][1] + " " + kValueNames[k][2] +
                         "; got " + std::to_string(values.size()));
    for (std::size_t i = 0; i < 3; ++i)
        typeChecked(state, kPointBoxes[k][i], values[i],
                    std::string("the point's ") + kValueNames[k][i], k == 1 && i < 2, user);
}

std::string datumListing(const DatumCatalogue& catalogue, const NumberFormat& user)
{
    const NumberFormat plain{user.decimalSeparator, ""};
    std::string text;
    int index = 0;
    for (const TDatum& d : catalogue.ListaDatum()) {
        text += std::to_string(index++) + ' ' + d.Name + "\ta=" + formatGeneral(d.A, plain) +
                " 1/f=" + formatGeneral(1 / d.F, plain) + " dx=" + formatGeneral(d.Dx, plain) +
                " dy=" + formatGeneral(d.Dy, plain) + " dz=" + formatGeneral(d.Dz, plain);
        if (const HelmertRotation& r = d.Rotation; !r.none())
            text += " rx=" + formatGeneral(r.Rx, plain) + " ry=" + formatGeneral(r.Ry, plain) +
                    " rz=" + formatGeneral(r.Rz, plain) + " ppm=" + formatGeneral(r.Scale, plain) +
                    (r.convention == RotationConvention::PositionVector ? " frame=9606"
                                                                        : " frame=9607");
        if (!d.GridFile.empty())
            text.append(" grid=").append(d.GridFile).append(" gridto=").append(d.GridTarget);
        text += '\n';
    }
    return text;
}

namespace {

// An angle box as typed and as the angle format reads it, in degrees, minutes and seconds.
std::string angleInWords(const std::string& typed, int angleFormat, const NumberFormat& user)
{
    try {
        const long double degrees = LatLonCerto(readFloat(typed, user), angleFormat, user);
        return typed + " (read as " + TextGMS(degrees, user) + ")";
    } catch (const ConversionError&) {
        return typed + " (not a number)";
    }
}

std::string listItem(int index, const auto& items)
{
    return index >= 0 && index < static_cast<int>(items.size())
               ? std::string(items[static_cast<std::size_t>(index)])
               : "none";
}

std::string sideInWords(const WindowState& state, const SideBoxes& boxes, const char* title,
                        const DatumCatalogue& catalogue, const NumberFormat& user)
{
    const int datum = state.*boxes.datum;
    const TDatum* chosen = catalogue.datumAt(datum);
    const auto& origin = boxes.origin;
    std::string text = std::string(title) + ": " + listItem(state.*boxes.kind, kKinds) + "\n";
    text += "  datum: " + (chosen ? std::to_string(datum) + " " + chosen->Name : "none") + "\n";
    text += "  grid family: " + listItem(state.*boxes.family, kFamilies) + "\n";
    text +=
        "  central meridian: " + angleInWords(state.*boxes.meridian, state.ComboBox2, user) + "\n";
    text += "  family other: k0 " + state.*boxes.k0 + ", zone width " + state.*boxes.zoneWidth +
            ", false northing " + state.*boxes.falseNorthing + ", false easting " +
            state.*boxes.falseEasting + "\n";
    text += "  plane origin: latitude " + angleInWords(state.*origin[0], state.ComboBox2, user) +
            ", longitude " + angleInWords(state.*origin[1], state.ComboBox2, user) + ", altitude " +
            state.*origin[2] + ", X " + state.*origin[3] + ", Y " + state.*origin[4] + "\n";
    return text;
}

}  // namespace

std::string settingsInWords(const WindowState& state, const DatumCatalogue& catalogue,
                            const NumberFormat& user, const std::string& from)
{
    static constexpr std::array<const char*, 3> kFormats{
        "0, degrees (±GGG.GGGGGG)", "1, degrees and minutes (±GGG.MMMMM)",
        "2, degrees, minutes and seconds (±GGG.MMSSSS: -23.3251 is -23°32'51\")"};
    std::string text = "settings: " + from + "\n";
    text += "angle format: " + listItem(state.ComboBox2, kFormats) + "\n";
    text += "language: " + listItem(state.ComboBox1, kLanguages) + "\n";
    text += std::string("separators: decimal \"") + user.decimalSeparator + "\", thousands \"" +
            user.thousandsSeparator + "\"\n";
    text += sideInWords(state, kSource, "source (De:)", catalogue, user);
    text += std::string("  hemisphere: ") +
            (state.ComboBox14 == 0   ? "north"
             : state.ComboBox14 == 1 ? "south"
                                     : "none") +
            "\n";
    text += sideInWords(state, kTarget, "target (Para:)", catalogue, user);
    return text;
}
