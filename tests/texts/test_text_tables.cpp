#include "transform/text/AngleText.h"
#include "transform/text/CoordinateKinds.h"
#include "transform/text/ResultText.h"
#include "ui/texts/TextTables.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

namespace {

TEST(TextTables, HaveThreeSlotsPerTextAndCode)
{
    EXPECT_EQ(kTextSlotCount, 192);
    EXPECT_EQ(kMessageSlotCount, 303);
    EXPECT_EQ(slotOf(16, Language::English), 49);
    EXPECT_EQ(slotOf(99, Language::Spanish), 299);
}

struct TextCase {
    const char* why;
    int number;
    int language;
    const char* expected;
};

const TextCase kTexts[] = {
    {"main window caption, Portuguese", 0, Language::Portuguese, "Transformações Geodésicas"},
    {"main window caption, English", 0, Language::English, "Geodetic Transforms"},
    {"main window caption, Spanish, misspelt", 0, Language::Spanish, "Transfomaciones Geodésicas"},
    {"file button, Spanish, with dashes", 1, Language::Spanish, "Trans---- Arquivos"},
    {"question, Spanish, with dashes", 2, Language::Spanish, "¿----- transf---?"},
    {"one coordinate, Portuguese, misspelt", 3, Language::Portuguese,
     "Transformar uma única coodenada."},
    {"one coordinate, Spanish", 3, Language::Spanish, "Transf---- una única coodenada."},
    {"DXF file, Spanish", 4, Language::Spanish, "Trans--- um arquivo DXF."},
    {"hemisphere, English", 9, Language::English, "North or South"},
    {"northing label, Portuguese", 16, Language::Portuguese, "(N)orte"},
    {"easting label, Portuguese", 17, Language::Portuguese, "l(E)ste"},
    {"easting label, Spanish", 17, Language::Spanish, "(E)ste"},
    {"latitude, Spanish", 19, Language::Spanish, "Latitud"},
    {"survey X, Portuguese", 24, Language::Portuguese, "X topográfico"},
    {"survey Y, English", 25, Language::English, "Survey Y"},
    {"collaborators, English, misspelt", 28, Language::English, "Colaborators:"},
    {"grid kind, English", 29, Language::English, "Transverse Mercator"},
    {"local kind, Spanish", 32, Language::Spanish, "Proyección Plana"},
    {"version, Spanish as given", 35, Language::Spanish, "Versão"},
    {"zone, English", 39, Language::English, "Zone"},
    {"author's disclaimer, English", 43, Language::English,
     "The author is not responsable for any results of this software"},
    {"flattening, English, misspelt", 45, Language::English, "1/(f) Flatteble"},
    {"trailing blank kept", 53, Language::Portuguese, "não pode ser: "},
    {"acute accent kept", 53, Language::English, "can´t be: "},
    {"n tilde, Spanish", 53, Language::Spanish, "ñ puedes ser: "},
    {"zone width, English", 54, Language::English, "Fuso Width"},
    {"other family, Spanish", 57, Language::Spanish, "Otro"},
    {"convergence, Portuguese, misspelt", 59, Language::Portuguese, "Covergencia Meridiana"},
    {"convergence, English, misspelt", 59, Language::English, "Meridian Convergenci"},
    {"convergence, Spanish", 59, Language::Spanish, "Covergencia de Meridianos"},
    {"example caption, Spanish", 61, Language::Spanish, "Ejemplo"},
    {"sign rule, English", 62, Language::English, "For: E or N use ( + ) and for S or W use ( - )"},
    {"adviser, English: the last text", 63, Language::English, "Adviser:"},
};

TEST(TextTables, HoldEachTextExactlyAsWritten)
{
    for (const auto& c : kTexts) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ(TextoIdioma(slotOf(c.number, c.language)), c.expected);
        EXPECT_EQ(TextoIdioma(c.number, c.language), c.expected);
    }
}

TEST(TextTables, FillEveryFixedTextInEveryLanguage)
{
    for (int number = 0; number < kTextCount; ++number) {
        for (int language = 0; language < Language::Count; ++language) {
            SCOPED_TRACE(number * 10 + language);
            EXPECT_EQ(TextoIdioma(number, language).empty(), number == kExampleText);
        }
    }
}

const TextCase kMessages[] = {
    {"success", 0, Language::English, "OK"},
    {"zone warning, Portuguese", 1, Language::Portuguese, "ATENÇÃO:Excedeu o fuso"},
    {"zone error with degree sign, English", 2, Language::English,
     "ERROR:fuse exceed more than 1°"},
    {"zone error, Spanish", 2, Language::Spanish, "ERROR:Excedeu o Huso mais de 1°"},
    {"meridian warning, English", 3, Language::English, "WARNING:no standard Central Meridian"},
    {"easting, English, misspelt", 7, Language::English, "ERROR:Invalid Easth Coordinate"},
    {"radius, Spanish", 8, Language::Spanish, "ERROR:Raio da terra invalido"},
    {"plane warning, Spanish", 9, Language::Spanish,
     "ATENÇÃO:Proyección Plana topografica excedeu 50 Km"},
    {"plane error, Portuguese", 10, Language::Portuguese, "ERRO:Plano topografico excedeu 80 Km"},
    {"flattening, English, with ERRO", 11, Language::English, "ERRO:Invalid Flattable"},
    {"value, Portuguese", 12, Language::Portuguese, "ERRO:Valor inválido"},
    {"value, English, with ERRO", 12, Language::English, "ERRO:Invalid Floating Point Value"},
    {"internal, Spanish", 99, Language::Spanish, "ERROR:Problema Interno"},
    {"outside the grid, English", 13, Language::English,
     "WARNING:point outside the datum's grid; shifted by the datum's parameters"},
};

TEST(MessageTable, HoldsEachMessageExactlyAsWritten)
{
    for (const auto& c : kMessages) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ(MensagemIdioma(slotOf(c.number, c.language)), c.expected);
        EXPECT_EQ(MensagemIdioma(c.number, c.language), c.expected);
    }
}

TEST(MessageTable, HasTextsOnlyForTheKnownCodes)
{
    for (int code = 0; code < kMessageCodeCount; ++code) {
        const bool known = code <= 13 || code == 99;
        for (int language = 0; language < Language::Count; ++language) {
            SCOPED_TRACE(code * 10 + language);
            EXPECT_EQ(MensagemIdioma(code, language).empty(), !known);
        }
    }
}

TEST(MessageTable, EnglishErrorsBeginWithErrorExceptElevenAndTwelve)
{
    const int errors[] = {2, 4, 5, 6, 7, 8, 10, 99};
    for (const int code : errors) {
        SCOPED_TRACE(code);
        EXPECT_EQ(MensagemIdioma(code, Language::English).substr(0, 6), "ERROR:");
    }
    EXPECT_EQ(MensagemIdioma(11, Language::English).substr(0, 5), "ERRO:");
    EXPECT_EQ(MensagemIdioma(12, Language::English).substr(0, 5), "ERRO:");
}

struct UnknownCase {
    const char* why;
    int number;
    int language;
};

const UnknownCase kUnknownTexts[] = {
    {"text past the table", 64, Language::Portuguese},
    {"negative text", -1, Language::English},
    {"no language", 16, -1},
    {"language past the three", 16, 3},
};

const UnknownCase kUnknownMessages[] = {
    {"code without a message", 14, Language::Portuguese},
    {"code just below the internal problem", 98, Language::Spanish},
    {"code past the table", 101, Language::English},
    {"negative code", -1, Language::English},
    {"no language", 1, -1},
    {"language past the three", 1, 3},
};

TEST(TableLookUp, GivesTheEmptyTextForUnknownNumbersAndLanguages)
{
    for (const auto& c : kUnknownTexts) {
        SCOPED_TRACE(c.why);
        EXPECT_TRUE(TextoIdioma(c.number, c.language).empty());
    }
    for (const auto& c : kUnknownMessages) {
        SCOPED_TRACE(c.why);
        EXPECT_TRUE(MensagemIdioma(c.number, c.language).empty());
    }
}

TEST(TableLookUp, GivesTheEmptyTextForSlotsOutsideTheTables)
{
    const int slots[] = {-1, 192, 303, 1000};
    for (const int slot : slots) {
        SCOPED_TRACE(slot);
        EXPECT_TRUE(TextoIdioma(slot).empty());
        EXPECT_TRUE(MensagemIdioma(slot).empty());
    }
    EXPECT_EQ(TextoIdioma(191), "Orientador:") << "the last text slot";
    EXPECT_EQ(MensagemIdioma(297), "ERRO:Problema Interno") << "code 99 in Portuguese";
    EXPECT_TRUE(MensagemIdioma(302).empty()) << "code 100 has no message";
}

struct ExampleCase {
    const char* why;
    int angleFormat;
    int language;
    char decimalSeparator;
    const char* expected;
};

const ExampleCase kExamples[] = {
    {"decimal degrees, Portuguese, comma", AngleFormat::Degrees, Language::Portuguese, ',',
     "Para 23,676454° S digite: -23,676454"},
    {"decimal degrees, English, point", AngleFormat::Degrees, Language::English, '.',
     "For 23.676454° S write: -23.676454"},
    {"minutes, Portuguese, comma", AngleFormat::DegreesMinutes, Language::Portuguese, ',',
     "Para 23°40,58724´ S digite: -23,4058724"},
    {"minutes, English, point", AngleFormat::DegreesMinutes, Language::English, '.',
     "For 23°40.58724´ S write: -23.4058724"},
    {"minutes, Spanish, comma", AngleFormat::DegreesMinutes, Language::Spanish, ',',
     "Para 23°40,58724´ S digite: -23,4058724"},
    {"seconds with a straight double quote, Portuguese", AngleFormat::DegreesMinutesSeconds,
     Language::Portuguese, ',', "Para 23°40´35,2344\" S digite: -23,40352344"},
    {"seconds, English, point", AngleFormat::DegreesMinutesSeconds, Language::English, '.',
     "For 23°40´35.2344\" S write: -23.40352344"},
};

TEST(FormatExample, JoinsItsPiecesByTheDecimalSeparator)
{
    for (const auto& c : kExamples) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ(ExemploFormato(c.angleFormat, c.language, c.decimalSeparator), c.expected);
    }
}

TEST(FormatExample, IsNotBuiltWithoutAFormat)
{
    EXPECT_FALSE(ExemploFormato(AngleFormat::None, Language::English, '.'));
    EXPECT_FALSE(ExemploFormato(3, Language::English, '.'));
    EXPECT_FALSE(ExemploFormato(AngleFormat::Degrees, 3, '.'));
}

TEST(InterfaceTexts, HoldTheBuiltExampleAsText60)
{
    InterfaceTexts texts;
    EXPECT_TRUE(texts.text(kExampleText, Language::English).empty())
        << "empty before the first build";
    EXPECT_EQ(texts.text(0, Language::English), "Geodetic Transforms");

    texts.buildExample(AngleFormat::DegreesMinutes, '.');
    EXPECT_EQ(texts.text(kExampleText, Language::English), "For 23°40.58724´ S write: -23.4058724");
    EXPECT_EQ(texts.text(slotOf(kExampleText, Language::Portuguese)),
              "Para 23°40.58724´ S digite: -23.4058724");

    texts.buildExample(AngleFormat::None, ',');
    EXPECT_EQ(texts.text(kExampleText, Language::English), "For 23°40.58724´ S write: -23.4058724")
        << "no format keeps the previous example";

    texts.buildExample(AngleFormat::Degrees, ',');
    EXPECT_EQ(texts.text(kExampleText, Language::Spanish), "Para 23,676454° S digite: -23,676454");
    EXPECT_TRUE(texts.text(kExampleText, 3).empty());
    EXPECT_TRUE(texts.text(-1).empty());
}

struct LabelCase {
    const char* why;
    int language;
    std::vector<std::string> expected;
};

// A UTM point from a geodetic source: every grid label, in each language.
const LabelCase kLabelledLines[] = {
    {"Portuguese",
     Language::Portuguese,
     {"(N)orte = 7.395.123,456789 m", "l(E)ste = 500.000,000000 m", "Zona 23 K", "h = 100,0000 m",
      "Covergencia Meridiana = 0°00'00,0000\"", "K = 0,99960000"}},
    {"English",
     Language::English,
     {"(N)orth = 7.395.123,456789 m", "(E)ast = 500.000,000000 m", "Zone 23 K", "h = 100,0000 m",
      "Meridian Convergenci = 0°00'00,0000\"", "K = 0,99960000"}},
    {"Spanish",
     Language::Spanish,
     {"(N)orte = 7.395.123,456789 m", "(E)ste = 500.000,000000 m", "Zona 23 K", "h = 100,0000 m",
      "Covergencia de Meridianos = 0°00'00,0000\"", "K = 0,99960000"}},
};

TEST(ResultLabels, ComeFromTheTablesInTheCurrentLanguage)
{
    ResultValues values;
    values.north = 7395123.456789L;
    values.east = 500000.0L;
    values.zone = 23;
    values.zoneLetter = 'K';
    values.height = 100.0L;
    values.convergence = 0.0L;
    values.scaleFactor = 0.9996L;
    const ResultLayout layout{CoordinateKind::Grid, GridFamily::Utm, CoordinateKind::Geodetic};
    for (const auto& c : kLabelledLines) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ(resultLines(layout, values, resultLabels(c.language),
                              AngleFormat::DegreesMinutesSeconds, NumberFormat{',', "."}),
                  c.expected);
    }
}

TEST(ResultLabels, OfTheOtherKindsInEnglish)
{
    const ResultLabels labels = resultLabels(Language::English);
    EXPECT_EQ(labels.latitude, "Latitude");
    EXPECT_EQ(labels.longitude, "Longitude");
    EXPECT_EQ(labels.x, "X");
    EXPECT_EQ(labels.z, "Z");
    EXPECT_EQ(labels.surveyX, "Survey X");
    EXPECT_EQ(labels.surveyY, "Survey Y");
    EXPECT_EQ(labels.height, "h");
}

}  // namespace

namespace {

TEST(DatumEditorMessages, ABoxThatIsNotANumberIsNamedOnItsOwnLine)
{
    DatumEntry entry;
    entry.code = DatumEntryCode::NotANumber;
    entry.failedTag = "1/(f) ";
    entry.failedText = "12x";
    EXPECT_EQ(datumEntryMessage(entry, Language::Portuguese),
              "ERRO:Valor inválido\n1/(f) não pode ser: 12x");
    entry.failedTag = "(Dz) ";
    EXPECT_EQ(datumEntryMessage(entry, Language::English)
                  .substr(datumEntryMessage(entry, Language::English).find('\n')),
              "\n(Dz) can´t be: 12x");
}

TEST(DatumEditorMessages, BoundsAreTheStatusMessagesAlone)
{
    DatumEntry entry;
    entry.code = DatumEntryCode::EarthRadius;
    EXPECT_EQ(datumEntryMessage(entry, Language::Portuguese), "ERRO:Raio da terra Invalido");
    entry.code = DatumEntryCode::Flattening;
    EXPECT_EQ(datumEntryMessage(entry, Language::Portuguese), "ERRO:Achatamento Invalido");
    entry.code = DatumEntryCode::Valid;
    EXPECT_EQ(datumEntryMessage(entry, Language::English), "");
}

TEST(DatumEditorMessages, RefusalsAreWordedInEachLanguage)
{
    using Reason = DatumRefused::Reason;
    for (Reason reason :
         {Reason::Comma, Reason::LineBreak, Reason::Character, Reason::Full, Reason::NoSlot}) {
        const std::string pt = datumRefusedMessage(reason, Language::Portuguese);
        const std::string en = datumRefusedMessage(reason, Language::English);
        const std::string es = datumRefusedMessage(reason, Language::Spanish);
        EXPECT_EQ(pt.rfind("ERRO:", 0), 0u) << pt;
        EXPECT_EQ(en.rfind("ERROR:", 0), 0u) << en;
        EXPECT_EQ(es.rfind("ERROR:", 0), 0u) << es;
        EXPECT_NE(en, es);
    }
    EXPECT_NE(datumRefusedMessage(Reason::Comma, Language::English).find("comma"),
              std::string::npos);
    EXPECT_NE(datumRefusedMessage(Reason::Full, Language::Spanish).find("51"), std::string::npos);
}

}  // namespace
