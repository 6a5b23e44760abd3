// The interface texts in Portuguese, English and Spanish, and the status messages, as constant
// UTF-8 data without any toolkit, so that the windows and the command-line tool share them.
#pragma once

#include "config/DatumCatalogue.h"
#include "config/DatumEntry.h"
#include "transform/pipeline/Pipeline.h"
#include "transform/text/ResultText.h"

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// The language index, as the language list numbers its items.
namespace Language {
inline constexpr int Portuguese = 0;
inline constexpr int English = 1;
inline constexpr int Spanish = 2;
inline constexpr int Count = 3;
}  // namespace Language

// The interface texts by number: each value is the text's row in the table, so the numbers the
// settings, tests and tables share stay as they are.
namespace Text {
enum Number : int {
    NoText = -1,  // a label given no text is hidden
    WindowTitle = 0,
    FileRunButton = 1,
    WhatToTransform = 2,
    OnePointChoice = 3,
    FileChoice = 4,
    FromSide = 5,
    ToSide = 6,
    DatumCaption = 7,
    CentralMeridianCaption = 8,
    HemisphereCaption = 9,
    PlaneHeightCaption = 10,
    PlaneOriginXCaption = 11,
    PlaneOriginYCaption = 12,
    SystemCaption = 13,
    OriginLatitudeCaption = 14,
    OriginLongitudeCaption = 15,
    NorthLabel = 16,
    EastLabel = 17,
    HeightLabel = 18,
    LatitudeLabel = 19,
    LongitudeLabel = 20,
    XLabel = 21,
    YLabel = 22,
    ZLabel = 23,
    SurveyXLabel = 24,
    SurveyYLabel = 25,
    LanguageCaption = 26,
    DesignedBy = 27,
    Collaborators = 28,
    GridKind = 29,
    GeodeticKind = 30,
    CartesianKind = 31,
    LocalKind = 32,
    NorthHemisphere = 33,
    SouthHemisphere = 34,
    VersionCaption = 35,
    ZoneMapTitle = 36,
    WorldMapTitle = 37,
    SuggestionInvitation = 38,
    ZoneLabel = 39,
    MapButton = 40,
    SourceFileButton = 41,
    DestinationFileButton = 42,
    Disclaimer = 43,
    EquatorialRadiusCaption = 44,
    FlatteningCaption = 45,
    ShiftHeading = 46,
    ApplyButton = 47,
    DeleteButton = 48,
    AddButton = 49,
    CancelButton = 50,
    EditorWarning = 51,
    NewDatumName = 52,
    CannotBe = 53,
    ZoneWidthCaption = 54,
    NorthOriginCaption = 55,
    EastOriginCaption = 56,
    OtherFamily = 57,
    AngleFormatCaption = 58,
    ConvergenceLabel = 59,
    AngleFormatExample = 60,
    ExampleCaption = 61,
    SignRule = 62,
    Adviser = 63,
};
}  // namespace Text

inline constexpr int kTextCount = 64;
inline constexpr int kMessageCodeCount = 101;
inline constexpr int kTextSlotCount = kTextCount * Language::Count;
inline constexpr int kMessageSlotCount = kMessageCodeCount * Language::Count;
// The worked example of the angle format, built from pieces rather than stored.
inline constexpr int kExampleText = Text::AngleFormatExample;

// Slot of text (or status code) number in language: 3 x number + language.
constexpr int slotOf(int number, int language) { return Language::Count * number + language; }

// The fixed text at a slot of the 192; empty for an unknown slot and for text 60.
std::string_view TextoIdioma(int slot);
// Text number in language; empty for an unknown number or language (never another text).
std::string_view TextoIdioma(int number, int language);

// The message at a slot of the 303; empty for an unknown slot and for codes without a message.
std::string_view MensagemIdioma(int slot);
// The message of a status code in language; empty for an unknown code or language.
std::string_view MensagemIdioma(int code, int language);

// Text 60 in one language for one angle format: its three pieces joined by the decimal
// separator. No value when no format (or an unknown one) is chosen, or for an unknown language.
std::optional<std::string> ExemploFormato(int angleFormat, int language, char decimalSeparator);

// The texts as one window holds them: the fixed tables plus text 60, which the language switch
// rebuilds and which keeps its previous value when no angle format is chosen.
class InterfaceTexts {
public:
    void buildExample(int angleFormat, char decimalSeparator);
    std::string_view text(int slot) const;
    std::string_view text(int number, int language) const;

private:
    std::array<std::string, Language::Count> example_;
};

// One message in the three languages; an unknown language reads English.
struct Wording {
    const char* portuguese;
    const char* english;
    const char* spanish;

    std::string in(int language) const
    {
        return language == Language::Portuguese ? portuguese
               : language == Language::Spanish  ? spanish
                                                : english;
    }
};

// The labels of the result lines (texts 16 to 25, 39 and 59) in one language.
ResultLabels resultLabels(int language);

// The result labels and the status messages, as the single-point transformation asks for them.
ResultTexts interfaceResultTexts();

// The one message after a file run in which a stage rejected some points: how many of how many
// and the source line of the first, in a language (English for an unknown one). The file was
// still written point for point, so the message says the rejected points need checking.
std::string rejectedPointsMessage(std::size_t rejected, std::size_t points, std::size_t firstLine,
                                  int language);

// Asked when the settings or the catalogue cannot be written at close: closing anyway loses
// what the window holds since the start, so the user decides.
std::string closeWithoutSavingQuestion(int language);

// The datum editor's message for boxes it cannot store: the status message of the entry's code,
// then, for a box that is not a number, a line naming the last such box by its tag, text 53 and
// the box's text ("ERRO:Valor inválido", a line break, "1/(f) não pode ser: 12x"). Empty for a
// valid entry.
std::string datumEntryMessage(const DatumEntry& entry, int language);

// Why the catalogue refused a datum, in a language (English for an unknown one).
std::string datumRefusedMessage(DatumRefused::Reason reason, int language);

// File mode's "keep heights" check box: its caption and its tooltip, in a language (English for
// an unknown one). Portuguese and Spanish name the levelled value as surveyors there do
// ("altitude", "cota"): their "altura" is as often the ellipsoidal height, which is not kept.
std::string keepHeightsCaption(int language);
std::string keepHeightsHint(int language);

// The file type list's third item, the point file written back as a point file, in a language
// (English for an unknown one). The first two items keep their Portuguese in every language.
std::string pointTextTypeCaption(int language);
// The result box's action that copies its numbers alone (Ctrl+Shift+C).
std::string copyNumbersCaption(int language);
