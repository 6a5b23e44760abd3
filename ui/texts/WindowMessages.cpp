#include "ui/texts/WindowMessages.h"

#include "transform/text/CoordinateKinds.h"
#include "transform/text/NumberText.h"
#include "ui/texts/TextTables.h"

#include <array>

namespace {

using namespace CoordinateKind;

constexpr unsigned kindBit(int kind) { return 1u << kind; }
constexpr unsigned kAnyKindButCartesian = kindBit(Grid) | kindBit(Geodetic) | kindBit(Topographic);

// Where a box sits: its side, the label of its row (NoText for "Ko", which no table holds), the
// source or target kinds that show it, whether it needs the family "Outro", and whether it is one
// of the point's boxes, shown in single-point mode alone.
struct BoxPlace {
    Text::Number side;
    Text::Number label;
    unsigned kinds;
    bool otherFamily = false;
    bool point = false;
};

// clang-format off
constexpr std::array<BoxPlace, kEditBoxes + 1> kBoxes = {{
    {},
    /*  1 */ {Text::FromSide, Text::NorthLabel, kindBit(Grid), false, true},
    /*  2 */ {Text::FromSide, Text::EastLabel, kindBit(Grid), false, true},
    /*  3 */ {Text::FromSide, Text::SurveyXLabel, kindBit(Topographic), false, true},
    /*  4 */ {Text::FromSide, Text::SurveyYLabel, kindBit(Topographic), false, true},
    /*  5 */ {Text::FromSide, Text::NoText, kindBit(Grid), true},
    /*  6 */ {Text::FromSide, Text::ZoneWidthCaption, kindBit(Grid), true},
    /*  7 */ {Text::FromSide, Text::NorthOriginCaption, kindBit(Grid), true},
    /*  8 */ {Text::FromSide, Text::EastOriginCaption, kindBit(Grid), true},
    /*  9 */ {Text::ToSide, Text::NoText, kindBit(Grid), true},
    /* 10 */ {Text::ToSide, Text::ZoneWidthCaption, kindBit(Grid), true},
    /* 11 */ {Text::ToSide, Text::NorthOriginCaption, kindBit(Grid), true},
    /* 12 */ {Text::ToSide, Text::EastOriginCaption, kindBit(Grid), true},
    /* 13 */ {Text::FromSide, Text::CentralMeridianCaption, kindBit(Grid)},
    /* 14 */ {Text::ToSide, Text::OriginLatitudeCaption, kindBit(Topographic)},
    /* 15 */ {Text::FromSide, Text::OriginLatitudeCaption, kindBit(Topographic)},
    /* 16 */ {Text::FromSide, Text::OriginLongitudeCaption, kindBit(Topographic)},
    /* 17 */ {Text::FromSide, Text::PlaneHeightCaption, kindBit(Topographic)},
    /* 18 */ {Text::FromSide, Text::PlaneOriginXCaption, kindBit(Topographic)},
    /* 19 */ {Text::FromSide, Text::PlaneOriginYCaption, kindBit(Topographic)},
    /* 20 */ {Text::ToSide, Text::CentralMeridianCaption, kindBit(Grid)},
    /* 21 */ {Text::ToSide, Text::OriginLongitudeCaption, kindBit(Topographic)},
    /* 22 */ {Text::ToSide, Text::PlaneHeightCaption, kindBit(Topographic)},
    /* 23 */ {Text::ToSide, Text::PlaneOriginXCaption, kindBit(Topographic)},
    /* 24 */ {Text::ToSide, Text::PlaneOriginYCaption, kindBit(Topographic)},
    /* 25 */ {Text::FromSide, Text::LatitudeLabel, kindBit(Geodetic), false, true},
    /* 26 */ {Text::FromSide, Text::LongitudeLabel, kindBit(Geodetic), false, true},
    /* 27 */ {Text::FromSide, Text::HeightLabel, kAnyKindButCartesian, false, true},
    /* 28 */ {Text::FromSide, Text::XLabel, kindBit(Cartesian), false, true},
    /* 29 */ {Text::FromSide, Text::YLabel, kindBit(Cartesian), false, true},
    /* 30 */ {Text::FromSide, Text::ZLabel, kindBit(Cartesian), false, true},
}};
// clang-format on

const BoxPlace* placeOf(int box)
{
    return box >= 1 && box <= kEditBoxes ? &kBoxes[static_cast<std::size_t>(box)] : nullptr;
}

int kindOf(const BoxPlace& place, const WindowState& state)
{
    return place.side == Text::FromSide ? state.ComboBox7 : state.ComboBox8;
}

int familyOf(const BoxPlace& place, const WindowState& state)
{
    return place.side == Text::FromSide ? state.ComboBox16 : state.ComboBox17;
}

bool kindShows(const BoxPlace& place, int kind)
{
    return kind >= Grid && kind <= Topographic && (place.kinds & kindBit(kind)) != 0;
}

std::string text(Text::Number number, int language)
{
    return std::string(TextoIdioma(number, language));
}

std::string labelOf(const BoxPlace& place, int language)
{
    return place.label == Text::NoText ? std::string("Ko") : text(place.label, language);
}

int firstKindOf(unsigned kinds)
{
    int kind = Grid;
    while (kind < Topographic && (kinds & kindBit(kind)) == 0) ++kind;
    return kind;
}

// The choices, as the lists and the mode buttons word them, that would bring the box on screen.
std::string choicesThatShow(const BoxPlace& place, const WindowState& state, WindowMode mode,
                            int language)
{
    std::string choices;
    const auto add = [&choices](const std::string& choice) {
        choices += (choices.empty() ? "" : ", ") + choice;
    };
    if (place.point && mode != WindowMode::SinglePoint) {
        std::string onePoint = text(Text::OnePointChoice, language);
        if (!onePoint.empty() && onePoint.back() == '.') onePoint.pop_back();
        add(onePoint);
    }
    const std::string side = text(place.side, language) + ' ';
    if (!kindShows(place, kindOf(place, state)))
        add(side +
            text(static_cast<Text::Number>(Text::GridKind + firstKindOf(place.kinds)), language));
    if (place.otherFamily && familyOf(place, state) != GridFamily::UserDefined)
        add(side + text(Text::SystemCaption, language) + ' ' + text(Text::OtherFamily, language));
    return choices;
}

}  // namespace

bool boxShown(int box, const WindowState& state, WindowMode mode)
{
    const BoxPlace* place = placeOf(box);
    if (!place) return false;
    if (place->point && mode != WindowMode::SinglePoint) return false;
    if (!kindShows(*place, kindOf(*place, state))) return false;
    return !place->otherFamily || familyOf(*place, state) == GridFamily::UserDefined;
}

std::string boxName(int box, const WindowState& state, WindowMode mode, int language)
{
    const BoxPlace* place = placeOf(box);
    if (!place) return {};
    std::string name = Wording{"Caixa: ", "Box: ", "Casilla: "}.in(language) +
                       text(place->side, language) + ' ' + labelOf(*place, language);
    if (!boxShown(box, state, mode))
        name += Wording{" (aparece com: ", " (shown with: ", " (aparece con: "}.in(language) +
                choicesThatShow(*place, state, mode, language) + ')';
    return name;
}

std::string fileRunLine(const FileRunSummary& summary, double seconds, char decimalSeparator,
                        const std::string& destination, int language)
{
    const std::string lines = std::to_string(summary.lines),
                      points = std::to_string(summary.points),
                      rejected = std::to_string(summary.rejected),
                      time = formatFixed(seconds, {1, 2}, NumberFormat{decimalSeparator, ""});
    std::string outside;
    if (summary.outsideGrid > 0)
        outside = std::to_string(summary.outsideGrid) +
                  Wording{" fora da grade do datum (pelos parâmetros), ",
                          " outside the datum's grid (by its parameters), ",
                          " fuera de la rejilla del datum (por sus parámetros), "}
                      .in(language);
    switch (language) {
    case Language::Portuguese:
        return lines + " linhas, " + points + " pontos transformados, " + rejected +
               " rejeitados, " + outside + "em " + time + " s; gravado: " + destination;
    case Language::Spanish:
        return lines + " líneas, " + points + " puntos transformados, " + rejected +
               " rechazados, " + outside + "en " + time + " s; grabado: " + destination;
    default:
        return lines + " lines, " + points + " points transformed, " + rejected + " rejected, " +
               outside + "in " + time + " s; written: " + destination;
    }
}

namespace {

std::string folderList(const std::vector<std::filesystem::path>& folders)
{
    std::string list;
    for (const auto& folder : folders)
        list.append(list.empty() ? "" : ", ").append(folder.string());
    return list;
}

}  // namespace

std::string gridProblemMessage(const GridProblem& problem, int language)
{
    const std::string datum = "'" + problem.datum + "'", file = "'" + problem.file + "'";
    std::string why;
    switch (problem.kind) {
    case GridProblem::Kind::Missing:
        why = Wording{", que não está em nenhuma destas pastas: ",
                      ", which is in none of these folders: ",
                      ", que no está en ninguna de estas carpetas: "}
                  .in(language) +
              folderList(problem.searched);
        break;
    case GridProblem::Kind::Unreadable:
        why = Wording{", que não pode ser usada: ", ", which cannot be used: ",
                      ", que no puede usarse: "}
                  .in(language) +
              problem.detail;
        break;
    case GridProblem::Kind::NoTarget:
        why = Wording{" para o datum '", " to the datum '", " hacia el datum '"}.in(language) +
              problem.detail +
              Wording{"', que não é outro datum do catálogo",
                      "', which is no other datum of the "
                      "catalogue",
                      "', que no es otro datum del catálogo"}
                  .in(language);
        break;
    }
    return Wording{"ATENÇÃO: o datum ", "WARNING: the datum ", "ATENCIÓN: el datum "}.in(language) +
           datum + Wording{" usa a grade ", " names the grid ", " usa la rejilla "}.in(language) +
           file + why +
           Wording{". Seus pontos são transformados pelos parâmetros do datum.",
                   ". Its points are shifted by the datum's parameters.",
                   ". Sus puntos se transforman con los parámetros del datum."}
               .in(language);
}

std::string refusedRunLine(const std::string& reason, int language)
{
    return Wording{"Nada foi gravado: ", "Nothing was written: ", "No se grabó nada: "}.in(
               language) +
           reason;
}
