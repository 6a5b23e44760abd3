#include "ui/texts/SideCodes.h"

#include "transform/text/AngleText.h"
#include "transform/text/CoordinateKinds.h"
#include "transform/text/NumberText.h"
#include "ui/texts/WindowMessages.h"

#include <algorithm>
#include <cctype>
#include <cmath>

namespace {

// The lists and the box of one side that a code sets; the target has no hemisphere list.
struct SideFields {
    int WindowState::*kind;
    int WindowState::*datum;
    int WindowState::*family;
    std::string WindowState::*meridian;
    int WindowState::*hemisphere;
};

const SideFields& fieldsOf(WindowSide side)
{
    static const SideFields kSource{&WindowState::ComboBox7, &WindowState::ComboBox9,
                                    &WindowState::ComboBox16, &WindowState::Edit13,
                                    &WindowState::ComboBox14};
    static const SideFields kTarget{&WindowState::ComboBox8, &WindowState::ComboBox10,
                                    &WindowState::ComboBox17, &WindowState::Edit20, nullptr};
    return side == WindowSide::Source ? kSource : kTarget;
}

std::string trimmed(const std::string& text)
{
    const auto blank = [](char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; };
    const auto first = std::find_if_not(text.begin(), text.end(), blank);
    const auto last = std::find_if_not(text.rbegin(), text.rend(), blank).base();
    return first < last ? std::string(first, last) : std::string();
}

// The central meridian box in whole degrees; nothing for a box that does not read or a meridian
// between whole degrees, which no zone has.
std::optional<int> wholeDegrees(const std::string& box, int angleFormat, const NumberFormat& user)
{
    long double degrees = 0;
    try {
        degrees = LatLonCerto(readFloat(box, user), angleFormat, user);
    } catch (const ConversionError&) {
        return std::nullopt;
    }
    if (!(std::fabs(degrees) <= 180)) return std::nullopt;
    const long double whole = std::round(degrees);
    if (!(std::fabs(degrees - whole) < 1e-9L)) return std::nullopt;
    return static_cast<int>(whole);
}

bool matches(const CrsDefinition& crs, const WindowState& state, const SideFields& f,
             const std::vector<std::string>& datumNames, std::optional<int> meridian)
{
    const int datum = state.*f.datum;
    if (state.*f.kind != crs.kind) return false;
    if (datum < 0 || datum >= static_cast<int>(datumNames.size())) return false;
    if (datumNames[static_cast<std::size_t>(datum)] != crs.datum) return false;
    if (crs.kind != CoordinateKind::Grid) return true;
    if (state.*f.family != GridFamily::Utm) return false;
    if (meridian != crs.centralMeridian()) return false;
    return !f.hemisphere || state.*f.hemisphere == (crs.south ? 1 : 0);
}

}  // namespace

std::optional<int> typedEpsgCode(const std::string& text)
{
    const std::string code = trimmed(text);
    if (code.empty() || !std::isdigit(static_cast<unsigned char>(code.front())))
        return epsgCode(code);
    return epsgCode("EPSG:" + code);
}

TypedCode takeTypedCode(const std::string& typed, WindowSide side, const WindowState& state,
                        const std::vector<std::string>& datumNames, int language)
{
    const std::optional<int> code = typedEpsgCode(typed);
    if (!code) return {std::nullopt, epsgNotACodeMessage(trimmed(typed), language)};
    const std::optional<CrsDefinition> crs = crsByCode(*code);
    if (!crs) return {std::nullopt, epsgUnknownMessage(*code, language)};
    const auto at = std::find(datumNames.begin(), datumNames.end(), crs->datum);
    if (at == datumNames.end())
        return {std::nullopt, epsgDatumMissingMessage(*code, crs->name, crs->datum, language)};

    WindowState next = state;
    setSideToCode(next, side, *crs, static_cast<int>(at - datumNames.begin()));
    return {next, {}};
}

void setSideToCode(WindowState& state, WindowSide side, const CrsDefinition& crs, int datumIndex)
{
    const SideFields& f = fieldsOf(side);
    state.*f.kind = crs.kind;
    state.*f.datum = datumIndex;
    if (crs.kind != CoordinateKind::Grid) return;
    state.*f.family = GridFamily::Utm;
    state.*f.meridian = std::to_string(crs.centralMeridian());
    if (f.hemisphere) state.*f.hemisphere = crs.south ? 1 : 0;
}

std::optional<int> sideCode(const WindowState& state, WindowSide side,
                            const std::vector<std::string>& datumNames, const NumberFormat& user,
                            std::optional<int> shown)
{
    const SideFields& f = fieldsOf(side);
    if (state.*f.kind == CoordinateKind::Topographic) return std::nullopt;
    const std::optional<int> meridian = state.*f.kind == CoordinateKind::Grid
                                            ? wholeDegrees(state.*f.meridian, state.ComboBox2, user)
                                            : std::nullopt;
    if (shown)
        if (const auto crs = crsByCode(*shown);
            crs && matches(*crs, state, f, datumNames, meridian))
            return shown;
    // A target zone's two codes compute alike; the one in the source's hemisphere, where the
    // points most likely lie, comes first.
    const std::vector<CrsDefinition> codes = allCrsCodes();
    if (side == WindowSide::Target)
        for (const CrsDefinition& crs : codes)
            if (crs.south == (state.ComboBox14 == 1) &&
                matches(crs, state, f, datumNames, meridian))
                return crs.code;
    for (const CrsDefinition& crs : codes)
        if (matches(crs, state, f, datumNames, meridian)) return crs.code;
    return std::nullopt;
}
