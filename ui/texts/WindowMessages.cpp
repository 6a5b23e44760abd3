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

std::string epsgBoxHint(bool source, int language)
{
    const Wording start{
        "Digite um código EPSG (31983 ou EPSG:31983) e tecle Enter: ele define as coordenadas, o "
        "datum e, para um fuso UTM, o sistema, ",
        "Type an EPSG code (31983 or EPSG:31983) and press Enter: it sets this side's coordinates, "
        "datum and, for a UTM zone, the system, ",
        "Escriba un código EPSG (31983 o EPSG:31983) y pulse Enter: define las coordenadas, el "
        "datum y, para un huso UTM, el sistema, "};
    const Wording zone = source ? Wording{"o meridiano central e o hemisfério deste lado. ",
                                          "the central meridian and the hemisphere. ",
                                          "el meridiano central y el hemisferio de este lado. "}
                                : Wording{
                                      "e o meridiano central deste lado (o hemisfério segue "
                                      "cada ponto). ",
                                      "and the central meridian (the hemisphere follows each "
                                      "point). ",
                                      "y el meridiano central de este lado (el hemisferio "
                                      "sigue a cada punto). "};
    const Wording shows{
        "Mostra o código que as escolhas deste lado representam, e fica vazio quando não "
        "representam nenhum.",
        "It shows the code this side's choices stand for, and stays empty when they stand for "
        "none.",
        "Muestra el código que representan las elecciones de este lado, y queda vacío cuando no "
        "representan ninguno."};
    return start.in(language) + zone.in(language) + shows.in(language);
}

std::string epsgNotACodeMessage(const std::string& typed, int language)
{
    return "'" + typed +
           Wording{"' não é um código EPSG: digite o número, como 31983 ou EPSG:31983.",
                   "' is not an EPSG code: type its number, as 31983 or EPSG:31983.",
                   "' no es un código EPSG: escriba el número, como 31983 o EPSG:31983."}
               .in(language);
}

std::string epsgUnknownMessage(int code, int language)
{
    return "EPSG:" + std::to_string(code) +
           Wording{
               " não é um sistema que o programa configura: ele conhece os sistemas "
               "geográficos, geocêntricos e UTM dos datums que o acompanham.",
               " is not a system this program sets up: it knows the geographic, geocentric "
               "and UTM systems of the datums it ships with.",
               " no es un sistema que el programa configure: conoce los sistemas "
               "geográficos, geocéntricos y UTM de los datums que lo acompañan."}
               .in(language);
}

std::string epsgDatumMissingMessage(int code, const std::string& name, const std::string& datum,
                                    int language)
{
    const Wording on{" está no datum '", " is on the datum '", " está en el datum '"};
    const Wording missing{"', que a lista de datums não tem; inclua-o com o botão Datum.",
                          "', which the datum list does not hold; add it with the Datum button.",
                          "', que la lista de datums no tiene; agréguelo con el botón Datum."};
    return "EPSG:" + std::to_string(code) + " (" + name + ")" + on.in(language) + datum +
           missing.in(language);
}
