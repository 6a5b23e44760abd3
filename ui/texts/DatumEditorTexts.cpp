#include "ui/texts/DatumEditorTexts.h"

#include "ui/texts/TextTables.h"

namespace {

// Each refusal's two lines: what is wrong, then the box and what it needs. A refusal that
// quotes its box's text ends its second line with it.
struct Refusal {
    int code;
    Wording first, second;
};

const Refusal kRefusals[] = {
    {DatumEntryCode::RotationBound,
     {"ERRO:Rotação inválida", "ERROR:Invalid rotation", "ERROR:Rotación inválida"},
     {"não pode passar de 60 segundos de arco: ", "cannot exceed 60 arc-seconds: ",
      "no puede superar 60 segundos de arco: "}},
    {DatumEntryCode::ScaleBound,
     {"ERRO:Escala inválida", "ERROR:Invalid scale", "ERROR:Escala inválida"},
     {"não pode passar de 100 ppm: ", "cannot exceed 100 ppm: ", "no puede superar 100 ppm: "}},
    {DatumEntryCode::NoConvention,
     {"ERRO:Falta a convenção das rotações", "ERROR:The rotations' convention is missing",
      "ERROR:Falta la convención de las rotaciones"},
     {"Rotações ou escala pedem uma convenção: escolha 9606 ou 9607 em Convenção.",
      "Rotations or a scale need a convention: choose 9606 or 9607 in Convention.",
      "Rotaciones o escala necesitan una convención: elija 9606 o 9607 en Convención."}},
    {DatumEntryCode::ConventionAlone,
     {"ERRO:Convenção sem rotações", "ERROR:A convention without rotations",
      "ERROR:Convención sin rotaciones"},
     {"Com rotações e escala zero, deixe Convenção vazia.",
      "With rotations and scale zero, leave Convention empty.",
      "Con rotaciones y escala cero, deje Convención vacía."}},
    {DatumEntryCode::GridWithoutTarget,
     {"ERRO:Falta o datum da grade", "ERROR:The grid's datum is missing",
      "ERROR:Falta el datum de la rejilla"},
     {"A grade NTv2 pede o datum para onde leva os pontos: escolha-o em Grade leva a.",
      "An NTv2 grid needs the datum it carries the points to: choose it in Grid carries to.",
      "La rejilla NTv2 necesita el datum al que lleva los puntos: elíjalo en Rejilla lleva a."}},
    {DatumEntryCode::TargetWithoutGrid,
     {"ERRO:Falta a grade", "ERROR:The grid file is missing", "ERROR:Falta la rejilla"},
     {"Grade leva a pede o arquivo da grade: escreva-o em Grade NTv2 ou deixe as duas vazias.",
      "Grid carries to needs the grid file: write it in NTv2 grid, or leave both empty.",
      "Rejilla lleva a necesita el archivo de la rejilla: escríbalo en Rejilla NTv2 o deje "
      "las dos vacías."}},
    {DatumEntryCode::GridTargetUnknown,
     {"ERRO:Datum da grade inválido", "ERROR:Invalid grid datum",
      "ERROR:Datum de la rejilla inválido"},
     {"Grade leva a precisa ser outro datum da tabela: ",
      "Grid carries to must be another datum of the table: ",
      "Rejilla lleva a debe ser otro datum de la tabla: "}},
    {DatumEntryCode::GridFileUnwritable,
     {"ERRO:Nome da grade inválido", "ERROR:Invalid grid file name",
      "ERROR:Nombre de la rejilla inválido"},
     {"Grade NTv2 não pode ter vírgula, quebra de linha nem caractere que o arquivo Datum.Cfg "
      "não guarda: ",
      "NTv2 grid cannot hold a comma, a line break or a character the file Datum.Cfg cannot "
      "store: ",
      "Rejilla NTv2 no puede tener comas, saltos de línea ni caracteres que el archivo "
      "Datum.Cfg no guarda: "}},
};

}  // namespace

std::string datumEditorCaption(EditorCaption caption, int language)
{
    switch (caption) {
    case EditorCaption::Rotations:
        return Wording{"Rotações (segundos de arco)", "Rotations (arc-seconds)",
                       "Rotaciones (segundos de arco)"}
            .in(language);
    case EditorCaption::Scale:
        return Wording{"Escala (ppm)", "Scale (ppm)", "Escala (ppm)"}.in(language);
    case EditorCaption::Convention:
        return Wording{"Convenção", "Convention", "Convención"}.in(language);
    case EditorCaption::GridFile:
        return Wording{"Grade NTv2", "NTv2 grid", "Rejilla NTv2"}.in(language);
    case EditorCaption::GridTarget:
        return Wording{"Grade leva a", "Grid carries to", "Rejilla lleva a"}.in(language);
    case EditorCaption::PositionVector:
        return Wording{"9606 vetor posição", "9606 position vector", "9606 vector de posición"}.in(
            language);
    case EditorCaption::CoordinateFrame: break;
    }
    return Wording{"9607 referencial", "9607 coordinate frame", "9607 marco de referencia"}.in(
        language);
}

std::string datumEditorMessage(const DatumEntry& entry, int language)
{
    for (const Refusal& refusal : kRefusals) {
        if (refusal.code != entry.code) continue;
        std::string message = refusal.first.in(language);
        message.append("\n")
            .append(entry.failedTag)
            .append(refusal.second.in(language))
            .append(entry.failedText);
        return message;
    }
    return datumEntryMessage(entry, language);
}
