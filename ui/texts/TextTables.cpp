#include "ui/texts/TextTables.h"

#include <array>

namespace {

// Text k in language L at slot 3k + L: Portuguese, English, Spanish. The texts are the program's
// own, misspellings included; text 60 is built at run time and has no fixed text.
// clang-format off
constexpr std::array<std::string_view, kTextSlotCount> kTextoIdioma = {
    /*  0 */ "Transformações Geodésicas", "Geodetic Transforms", "Transfomaciones Geodésicas",
    /*  1 */ "Transformar Arquivo", "File Transform", "Trans---- Arquivos",
    /*  2 */ "O que você quer transformar?", "What you want to transform?", "¿----- transf---?",
    /*  3 */ "Transformar uma única coodenada.",
             "Transform just one coordinate",
             "Transf---- una única coodenada.",
    /*  4 */ "Transformar um arquivo DXF.", "Transform a DXF file.", "Trans--- um arquivo DXF.",
    /*  5 */ "De:", "From:", "De:",
    /*  6 */ "Para:", "To:", "Para:",
    /*  7 */ "Datum", "Datum", "Datum",
    /*  8 */ "Meridiano Central", "Central Meridian", "Meridiano Central",
    /*  9 */ "Hemisfério", "North or South", "Hemisferio",
    /* 10 */ "Altitude do Plano", "Plane Height", "Altitude del Plano",
    /* 11 */ "X Origem Topográfica", "X Survey Plane Origin", "X Origen Topográfica",
    /* 12 */ "Y Origem Topográfica", "Y Survey Plane Origin", "Y Origen Topográfica",
    /* 13 */ "Sistema", "System", "Sistema",
    /* 14 */ "Lat.Origem", "Origin Lat.", "Lat.Origen",
    /* 15 */ "Lon.Origem", "Origin Long.", "Lon.Origen",
    /* 16 */ "(N)orte", "(N)orth", "(N)orte",
    /* 17 */ "l(E)ste", "(E)ast", "(E)ste",
    /* 18 */ "h", "h", "h",
    /* 19 */ "Latitude", "Latitude", "Latitud",
    /* 20 */ "Longitude", "Longitude", "Longitud",
    /* 21 */ "X", "X", "X",
    /* 22 */ "Y", "Y", "Y",
    /* 23 */ "Z", "Z", "Z",
    /* 24 */ "X topográfico", "Survey X", "X topográfico",
    /* 25 */ "Y topográfico", "Survey Y", "Y topográfico",
    /* 26 */ "Idioma:", "Language:", "Idioma:",
    /* 27 */ "Desenvolvido por:", "Designed by:", "Desenvolvido por:",
    /* 28 */ "Colaboradores:", "Colaborators:", "Colaboradores:",
    /* 29 */ "UTM/LTM/RTM...", "Transverse Mercator", "Mercator Transversal",
    /* 30 */ "Geodésica", "Geodetic", "Geodésica",
    /* 31 */ "Geod.Tridimensional", "Cartesian", "Geod.Tridimensional",
    /* 32 */ "Topográfico Local", "Local Survey", "Proyección Plana",
    /* 33 */ "Norte", "North", "Norte",
    /* 34 */ "Sul", "South", "Sur",
    /* 35 */ "Versão", "Version", "Versão",
    /* 36 */ "Zona UTM", "UTM Zone", "Zona UTM",
    /* 37 */ "Mapa do Mundo", "World Map", "Mapa del Mundo",
    /* 38 */ "Qualquer sugestão ou erro encontrado favor envie-nos um e-mail.",
             "For any suggestion or error, please send us an e-mail",
             "Qualquer sugestão ou erro encontrado favor envie-nos um e-mail.",
    /* 39 */ "Zona", "Zone", "Zona",
    /* 40 */ "Mapa", "Map", "Mapa",
    /* 41 */ "Arquivo de Origem", "Origin File", "Arquivo del Origen",
    /* 42 */ "Arquivo de Destino", "Destination File", "Arquivo del Destino",
    /* 43 */ "O Autor não se responsabiliza pelos resultados fornecidos pelo programa",
             "The author is not responsable for any results of this software",
             "O Autor não se responsabiliza pelos resultados fornecidos pelo programa",
    /* 44 */ "(a) Semi eixo Maior", "(a) Equatorial Radius", "(a) Semieje Mayor",
    /* 45 */ "1/(f) Achatamento", "1/(f) Flatteble", "1/(f) Achatamiento",
    /* 46 */ "Parametros em Relação ao WGS84",
             "Reference parameters of WGS84",
             "Parametros em Relação ao WGS84",
    /* 47 */ "Aplica", "Apply", "Aplica",
    /* 48 */ "Exclui", "Delete", "Exclui",
    /* 49 */ "Inclui", "Add", "Inclui",
    /* 50 */ "Cancela", "Cancel", "Cancela",
    /* 51 */ "Muita atenção ao editar os valores desta tabela",
             "Atention to edit the values of this table",
             "Atencion ao editar os valores desta tabela",
    /* 52 */ "Novo Datum", "New Datum", "Nuevo Datum",
    /* 53 */ "não pode ser: ", "can´t be: ", "ñ puedes ser: ",
    /* 54 */ "Largura do Fuso", "Fuso Width", "Separación del Huso",
    /* 55 */ "Origem de N", "N Origin", "Origen del N",
    /* 56 */ "Origem de E", "E Origin", "Origen del E",
    /* 57 */ "Outro", "Other", "Otro",
    /* 58 */ "Formato Lat/Lon", "Lat/Lon Format", "Formato Lat/Lon",
    /* 59 */ "Covergencia Meridiana", "Meridian Convergenci", "Covergencia de Meridianos",
    /* 60 */ "", "", "",
    /* 61 */ "Exemplo", "Example", "Ejemplo",
    /* 62 */ "Para: E ou N utilize ( + ) e para S ou W utilize ( - )",
             "For: E or N use ( + ) and for S or W use ( - )",
             "Para: E ou N utilize ( + ) e para S ou W utilize ( - )",
    /* 63 */ "Orientador:", "Adviser:", "Orientador:",
};
// clang-format on

// The message of status code c in language L at slot 3c + L; codes without a message are empty.
constexpr std::array<std::string_view, kMessageSlotCount> kMensagemIdioma = [] {
    std::array<std::string_view, kMessageSlotCount> slots{};
    const auto set = [&slots](int code, std::string_view pt, std::string_view en,
                              std::string_view es) {
        const std::size_t first = 3 * static_cast<std::size_t>(code);
        slots[first] = pt;
        slots[first + 1] = en;
        slots[first + 2] = es;
    };
    set(0, "OK", "OK", "OK");
    set(1, "ATENÇÃO:Excedeu o fuso", "WARNING:exceed fuse", "ATENÇÃO:Excedeu o Huso");
    set(2, "ERRO:Excedeu o fuso mais de 1°", "ERROR:fuse exceed more than 1°",
        "ERROR:Excedeu o Huso mais de 1°");
    set(3, "ATENÇÃO:Meridiano Central fora de Padrão", "WARNING:no standard Central Meridian",
        "ATENÇÃO:Meridiano Central fora de Padrão");
    set(4, "ERRO:LATITUDE Invalida", "ERROR:Invalid LATITUD", "ERROR:LATITUD Invalida");
    set(5, "ERRO:LONGITUDE Invalida", "ERROR:Invalid LONGITUD", "ERROR:LONGITUD Invalida");
    set(6, "ERRO:COORDENADA N Invalida", "ERROR:Invalid (N)orth Coordinate",
        "ERROR:COORDENADA N Invalida");
    set(7, "ERRO:COORDENADA E Invalida", "ERROR:Invalid Easth Coordinate",
        "ERROR:COORDENADA E Invalida");
    set(8, "ERRO:Raio da terra Invalido", "ERROR:Earth raio Invalid",
        "ERROR:Raio da terra invalido");
    set(9, "ATENÇÃO:Plano topografico excedeu 50 Km", "WARNING:Survey Plane exceed 50 Km",
        "ATENÇÃO:Proyección Plana topografica excedeu 50 Km");
    set(10, "ERRO:Plano topografico excedeu 80 Km", "ERROR:Survey Plane exceed 80 Km",
        "ERROR:Plano topografico excedeu 80 Km");
    set(11, "ERRO:Achatamento Invalido", "ERRO:Invalid Flattable", "ERROR:Achatamiento Invalido");
    set(12, "ERRO:Valor inválido", "ERRO:Invalid Floating Point Value", "ERROR:Valor inválido");
    set(13, "ATENÇÃO:Ponto fora da grade do datum; transformado pelos parâmetros",
        "WARNING:point outside the datum's grid; shifted by the datum's parameters",
        "ATENCIÓN:Punto fuera de la rejilla del datum; transformado por los parámetros");
    set(99, "ERRO:Problema Interno", "ERROR:Internal problem", "ERROR:Problema Interno");
    return slots;
}();

// The three pieces of text 60 by angle format and language; joined by the decimal separator.
// The seconds mark is a straight double quote, the minutes mark the acute accent.
struct ExamplePieces {
    std::string_view first;
    std::string_view second;
    std::string_view third;
};

constexpr std::size_t kAngleFormatCount = 3;

constexpr std::array<ExamplePieces, kAngleFormatCount* Language::Count> kExamplePieces = {{
    {"Para 23", "676454° S digite: -23", "676454"},
    {"For 23", "676454° S write: -23", "676454"},
    {"Para 23", "676454° S digite: -23", "676454"},
    {"Para 23°40", "58724´ S digite: -23", "4058724"},
    {"For 23°40", "58724´ S write: -23", "4058724"},
    {"Para 23°40", "58724´ S digite: -23", "4058724"},
    {"Para 23°40´35", "2344\" S digite: -23", "40352344"},
    {"For 23°40´35", "2344\" S write: -23", "40352344"},
    {"Para 23°40´35", "2344\" S digite: -23", "40352344"},
}};

bool isLanguage(int language) { return language >= 0 && language < Language::Count; }

std::string_view slotOrEmpty(const auto& table, int slot)
{
    if (slot < 0 || slot >= static_cast<int>(table.size())) return {};
    return table[static_cast<std::size_t>(slot)];
}

}  // namespace

std::string_view TextoIdioma(int slot) { return slotOrEmpty(kTextoIdioma, slot); }

std::string_view TextoIdioma(int number, int language)
{
    if (!isLanguage(language)) return {};
    if (number < 0 || number >= kTextCount) return {};
    return TextoIdioma(slotOf(number, language));
}

std::string_view MensagemIdioma(int slot) { return slotOrEmpty(kMensagemIdioma, slot); }

std::string_view MensagemIdioma(int code, int language)
{
    if (!isLanguage(language)) return {};
    if (code < 0 || code >= kMessageCodeCount) return {};
    return MensagemIdioma(slotOf(code, language));
}

std::optional<std::string> ExemploFormato(int angleFormat, int language, char decimalSeparator)
{
    if (angleFormat < 0 || static_cast<std::size_t>(angleFormat) >= kAngleFormatCount ||
        !isLanguage(language))
        return std::nullopt;
    const ExamplePieces& pieces =
        kExamplePieces[static_cast<std::size_t>(angleFormat) * Language::Count +
                       static_cast<std::size_t>(language)];
    std::string text(pieces.first);
    text += decimalSeparator;
    text += pieces.second;
    text += decimalSeparator;
    text += pieces.third;
    return text;
}

void InterfaceTexts::buildExample(int angleFormat, char decimalSeparator)
{
    for (int language = 0; language < Language::Count; ++language) {
        if (auto example = ExemploFormato(angleFormat, language, decimalSeparator))
            example_[static_cast<std::size_t>(language)] = std::move(*example);
    }
}

std::string_view InterfaceTexts::text(int slot) const
{
    const int exampleSlot = slotOf(kExampleText, 0);
    if (slot >= exampleSlot && slot < exampleSlot + Language::Count)
        return example_[static_cast<std::size_t>(slot - exampleSlot)];
    return TextoIdioma(slot);
}

std::string_view InterfaceTexts::text(int number, int language) const
{
    if (!isLanguage(language) || number < 0 || number >= kTextCount) return {};
    return text(slotOf(number, language));
}

ResultLabels resultLabels(int language)
{
    using namespace Text;
    const auto label = [language](Number number) {
        return std::string(TextoIdioma(number, language));
    };
    return ResultLabels{label(NorthLabel),    label(EastLabel),      label(HeightLabel),
                        label(LatitudeLabel), label(LongitudeLabel), label(XLabel),
                        label(YLabel),        label(ZLabel),         label(SurveyXLabel),
                        label(SurveyYLabel),  label(ZoneLabel),      label(ConvergenceLabel)};
}

ResultTexts interfaceResultTexts()
{
    ResultTexts texts;
    texts.labels = resultLabels;
    texts.message = [](std::int32_t code, int language) {
        return std::string(MensagemIdioma(code, language));
    };
    return texts;
}

std::string rejectedPointsMessage(std::size_t rejected, std::size_t points, std::size_t firstLine,
                                  int language)
{
    const std::string count = std::to_string(rejected), total = std::to_string(points),
                      line = std::to_string(firstLine);
    switch (language) {
    case Language::Portuguese:
        return "ATENÇÃO: " + count + " de " + total +
               " pontos não puderam ser transformados (o primeiro na linha " + line +
               "). O arquivo foi gravado com eles; confira-os.";
    case Language::Spanish:
        return "ATENCIÓN: " + count + " de " + total +
               " puntos no pudieron ser transformados (el primero en la línea " + line +
               "). El archivo se escribió con ellos; revíselos.";
    default:
        return "WARNING: " + count + " of " + total +
               " points could not be transformed (the first on line " + line +
               "). The file was written with them; check them.";
    }
}

std::string closeWithoutSavingQuestion(int language)
{
    switch (language) {
    case Language::Portuguese: return "Fechar sem gravar as configurações e os datums?";
    case Language::Spanish: return "¿Cerrar sin guardar la configuración y los datums?";
    default: return "Close without saving the settings and the datums?";
    }
}

std::string datumEntryMessage(const DatumEntry& entry, int language)
{
    if (entry.code == DatumEntryCode::Valid) return {};
    std::string message(MensagemIdioma(entry.code, language));
    if (entry.code == DatumEntryCode::NotANumber)
        message += '\n' + entry.failedTag + std::string(TextoIdioma(Text::CannotBe, language)) +
                   entry.failedText;
    return message;
}

std::string datumRefusedMessage(DatumRefused::Reason reason, int language)
{
    using Reason = DatumRefused::Reason;
    switch (reason) {
    case Reason::Comma:
        return Wording{
            "ERRO: o nome do datum não pode conter vírgula; o arquivo Datum.Cfg separa "
            "seus campos com vírgulas.",
            "ERROR: a datum name cannot hold a comma; the file Datum.Cfg separates its "
            "fields with commas.",
            "ERROR: el nombre del datum no puede contener comas; el archivo Datum.Cfg "
            "separa sus campos con comas."}
            .in(language);
    case Reason::LineBreak:
        return Wording{"ERRO: o nome do datum não pode conter quebra de linha.",
                       "ERROR: a datum name cannot hold a line break.",
                       "ERROR: el nombre del datum no puede contener saltos de línea."}
            .in(language);
    case Reason::Character:
        return Wording{
            "ERRO: o nome do datum tem um caractere que o arquivo Datum.Cfg não pode "
            "guardar.",
            "ERROR: the datum name holds a character the file Datum.Cfg cannot store.",
            "ERROR: el nombre del datum tiene un carácter que el archivo Datum.Cfg no "
            "puede guardar."}
            .in(language);
    case Reason::Full:
        return Wording{"ERRO: a lista já tem 51 datums, o máximo; altere um datum existente.",
                       "ERROR: the list already holds 51 datums, the most it can; change an "
                       "existing datum instead.",
                       "ERROR: la lista ya tiene 51 datums, el máximo; modifique un datum "
                       "existente."}
            .in(language);
    case Reason::NoSlot: break;
    }
    return Wording{"ERRO: selecione uma linha da tabela.", "ERROR: select a row of the table.",
                   "ERROR: seleccione una fila de la tabla."}
        .in(language);
}

std::string keepHeightsCaption(int language)
{
    return Wording{"Manter as altitudes", "Keep heights", "Mantener las cotas"}.in(language);
}

std::string keepHeightsHint(int language)
{
    // Tooltips do not wrap plain text: the lines are broken here.
    return Wording{
        "Grava o Z de cada ponto como está no arquivo de origem: para altitudes\n"
        "niveladas (ortométricas), que a mudança de datum não altera.\n"
        "Desmarcado, o Z é convertido como altura elipsoidal.\n"
        "Sem efeito se um dos lados é Geod.Tridimensional: lá Z não é altura.",
        "Writes each point's Z as the source file gives it: for levelled\n"
        "(orthometric) heights, which a change of datum does not alter.\n"
        "Unticked, Z is converted as an ellipsoidal height.\n"
        "No effect if either side is Cartesian: there Z is no height.",
        "Escribe la Z de cada punto tal como viene en el archivo de origen: para\n"
        "cotas niveladas (ortométricas), que el cambio de datum no altera.\n"
        "Sin marcar, la Z se convierte como altura elipsoidal.\n"
        "Sin efecto si uno de los lados es Geod.Tridimensional: allí Z no es altura."}
        .in(language);
}

std::string copyNumbersCaption(int language)
{
    return Wording{"Copiar os números", "Copy the numbers", "Copiar los números"}.in(language);
}

std::string pointTextTypeCaption(int language)
{
    return Wording{"TXT -> TXT (PONTO;X;Y;Z)", "TXT -> TXT (POINT;X;Y;Z)",
                   "TXT -> TXT (PUNTO;X;Y;Z)"}
        .in(language);
}
