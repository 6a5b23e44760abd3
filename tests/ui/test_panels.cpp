// The rows of both sides and of the point input follow the chosen kind and family, labelled in
// the current language; the language and angle-format switches recaption every window.
#include "tests/ui/ui_support.h"
#include "ui/texts/WindowMessages.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionFrame>

#include <array>
#include <functional>
#include <map>

namespace {

constexpr int kGrid = 0, kGeodetic = 1, kCartesian = 2, kLocal = 3;
constexpr int kUtm = 0, kLtm = 1, kRtm = 2, kOther = 3;
constexpr int kPortuguese = 0, kEnglish = 1, kSpanish = 2;

// The row and input labels a reader sees, in Portuguese and English.
struct RowTexts {
    QString meridian, hemisphere, system, planeHeight, surveyX, surveyY, originLat, originLon;
    QString north, east, h, latitude, longitude, x, y, z, localX, localY, zoneWidth, nOrigin,
        eOrigin;
};

const std::map<int, RowTexts> kRowTexts = {
    {kPortuguese,
     {"Meridiano Central",
      "Hemisfério",
      "Sistema",
      "Altitude do Plano",
      "X Origem Topográfica",
      "Y Origem Topográfica",
      "Lat.Origem",
      "Lon.Origem",
      "(N)orte",
      "l(E)ste",
      "h",
      "Latitude",
      "Longitude",
      "X",
      "Y",
      "Z",
      "X topográfico",
      "Y topográfico",
      "Largura do Fuso",
      "Origem de N",
      "Origem de E"}},
    {kEnglish,
     {"Central Meridian",
      "North or South",
      "System",
      "Plane Height",
      "X Survey Plane Origin",
      "Y Survey Plane Origin",
      "Origin Lat.",
      "Origin Long.",
      "(N)orth",
      "(E)ast",
      "h",
      "Latitude",
      "Longitude",
      "X",
      "Y",
      "Z",
      "Survey X",
      "Survey Y",
      "Fuso Width",
      "N Origin",
      "E Origin"}},
};

void expectLabel(const Tform1& w, const char* name, const QString& text)
{
    QVERIFY2(shownIn(w, name), name);
    QCOMPARE(child<QLabel>(w, name)->text(), text);
}

void expectShown(const Tform1& w, std::initializer_list<const char*> names, bool shown)
{
    for (const char* name : names)
        QVERIFY2(shownIn(w, name) == shown,
                 qPrintable(QString::fromLatin1(name) + (shown ? " hidden" : " shown")));
}

void expectSource(const Tform1& w, int kind, int family, const RowTexts& t)
{
    const bool grid = kind == kGrid, local = kind == kLocal, other = grid && family == kOther;
    if (grid) {
        expectLabel(w, "Label28", t.meridian);
        expectLabel(w, "Label29", t.hemisphere);
        expectLabel(w, "Label34", t.system);
    } else if (local) {
        expectLabel(w, "Label28", t.originLat);
        expectLabel(w, "Label29", t.originLon);
        expectLabel(w, "Label34", t.planeHeight);
        expectLabel(w, "Label35", t.surveyX);
        expectLabel(w, "Label36", t.surveyY);
    } else {
        expectShown(w, {"Label28", "Label29", "Label34", "Label35", "Label36"}, false);
    }
    if (other) {
        expectLabel(w, "Label35", QStringLiteral("Ko"));
        expectLabel(w, "Label36", t.zoneWidth);
        expectLabel(w, "Label2", t.nOrigin);
        expectLabel(w, "Label3", t.eOrigin);
    } else {
        expectShown(w, {"Label2", "Label3"}, false);
        if (grid) expectShown(w, {"Label35", "Label36"}, false);
    }
    expectShown(w, {"Edit5", "Edit6", "Edit7", "Edit8"}, other);
    expectShown(w, {"Edit13", "ComboBox14", "ComboBox16"}, grid);
    expectShown(w, {"Edit15", "Edit16", "Edit17", "Edit18", "Edit19"}, local);
    expectShown(w, {"Button3"}, kind == kGeodetic);
    expectShown(w, {"Button4"}, grid && family == kUtm);

    const QString inputs[4][3] = {{t.north, t.east, t.h},
                                  {t.latitude, t.longitude, t.h},
                                  {t.x, t.y, t.z},
                                  {t.localX, t.localY, t.h}};
    expectLabel(w, "Label40", inputs[kind][0]);
    expectLabel(w, "Label39", inputs[kind][1]);
    expectLabel(w, "Label38", inputs[kind][2]);
    expectShown(w, {"Edit1", "Edit2"}, grid);
    expectShown(w, {"Edit25", "Edit26"}, kind == kGeodetic);
    expectShown(w, {"Edit28", "Edit29", "Edit30"}, kind == kCartesian);
    expectShown(w, {"Edit3", "Edit4"}, local);
    expectShown(w, {"Edit27"}, kind != kCartesian);
}

void expectTarget(const Tform1& w, int kind, int family, const RowTexts& t)
{
    const bool grid = kind == kGrid, local = kind == kLocal, other = grid && family == kOther;
    if (grid) {
        expectLabel(w, "Label30", t.meridian);
        expectShown(w, {"Label31"}, false);  // no hemisphere on the target side
        expectLabel(w, "Label32", t.system);
    } else if (local) {
        expectLabel(w, "Label30", t.originLat);
        expectLabel(w, "Label31", t.originLon);
        expectLabel(w, "Label32", t.planeHeight);
        expectLabel(w, "Label33", t.surveyX);
        expectLabel(w, "Label37", t.surveyY);
    } else {
        expectShown(w, {"Label30", "Label31", "Label32", "Label33", "Label37"}, false);
    }
    if (other) {
        expectLabel(w, "Label33", QStringLiteral("Ko"));
        expectLabel(w, "Label37", t.zoneWidth);
        expectLabel(w, "Label4", t.nOrigin);
        expectLabel(w, "Label5", t.eOrigin);
    } else {
        expectShown(w, {"Label4", "Label5"}, false);
        if (grid) expectShown(w, {"Label33", "Label37"}, false);
    }
    expectShown(w, {"Edit9", "Edit10", "Edit11", "Edit12"}, other);
    expectShown(w, {"Edit20", "ComboBox17"}, grid);
    expectShown(w, {"Edit14", "Edit21", "Edit22", "Edit23", "Edit24"}, local);
}

QStringList items(const Tform1& w, const char* list)
{
    QStringList out;
    auto* box = child<QComboBox>(w, list);
    for (int i = 0; i < box->count(); ++i) out << box->itemText(i);
    return out;
}

}  // namespace

class PanelsTest : public QObject {
    Q_OBJECT
private slots:
    void everyKindAndFamilyOnBothSides();
    void targetKindLeavesThePointInputAlone();
    void languageSwitchRecaptionsEveryWindowAndKeepsSelections();
    void spanishTextsAsTheyStand();
    void angleFormatRebuildsTheExample();
    void captionsNoLanguageChanges();
    void keepHeightsIsCaptionedInEveryLanguageAndFits();
    void epsgBoxesSetTheirSideAndFollowItsChoices();
    void epsgBoxesRefuseWhatTheyCannotSetAndChangeNothing();
    void epsgBoxesFitBesideTheKindInEveryLanguage();
};

void PanelsTest::everyKindAndFamilyOnBothSides()
{
    ProgramFolder folder;
    ModalWatcher watcher;
    RunningProgram program(kComma, folder, watcher);
    Tform1& w = program.window();
    for (const int language : {kPortuguese, kEnglish}) {
        choose(w, "ComboBox1", language);
        const RowTexts& texts = kRowTexts.at(language);
        for (int kind = kGrid; kind <= kLocal; ++kind) {
            for (const int family : {kUtm, kLtm, kRtm, kOther}) {
                const QString where = QStringLiteral("language %1, kind %2, family %3")
                                          .arg(language)
                                          .arg(kind)
                                          .arg(family);
                // The family is chosen while its list is shown, then the kind: both orders of use.
                choose(w, "ComboBox7", kGrid);
                choose(w, "ComboBox16", family);
                choose(w, "ComboBox7", kind);
                choose(w, "ComboBox8", kGrid);
                choose(w, "ComboBox17", family);
                choose(w, "ComboBox8", kind);
                expectSource(w, kind, family, texts);
                if (QTest::currentTestFailed()) qWarning("%s", qPrintable(where));
                expectTarget(w, kind, family, texts);
                // The error messages' table of where each box shows agrees with the window.
                for (int box = 1; box <= kEditBoxes; ++box)
                    QVERIFY(boxShown(box, w.snapshot(), WindowMode::SinglePoint) ==
                            shownIn(w, qPrintable(QStringLiteral("Edit%1").arg(box))));
                if (QTest::currentTestFailed()) qWarning("%s", qPrintable(where));
                QVERIFY(!QTest::currentTestFailed());
            }
        }
    }
}

void PanelsTest::targetKindLeavesThePointInputAlone()
{
    ProgramFolder folder;
    ModalWatcher watcher;
    RunningProgram program(kComma, folder, watcher);
    Tform1& w = program.window();
    choose(w, "ComboBox7", kCartesian);
    for (int kind = kGrid; kind <= kLocal; ++kind) {
        choose(w, "ComboBox8", kind);
        expectSource(w, kCartesian, kUtm, kRowTexts.at(kEnglish));
    }
    // Switching the family back from other to LTM hides rows 4 to 7 and "Grid".
    choose(w, "ComboBox7", kGrid);
    choose(w, "ComboBox16", kOther);
    expectShown(w, {"Label2", "Edit8"}, true);
    expectShown(w, {"Button4"}, false);
    choose(w, "ComboBox16", kLtm);
    expectShown(w, {"Label2", "Label3", "Label35", "Label36", "Edit5", "Edit8", "Button4"}, false);
    choose(w, "ComboBox16", kUtm);
    expectShown(w, {"Button4"}, true);
}

void PanelsTest::languageSwitchRecaptionsEveryWindowAndKeepsSelections()
{
    ProgramFolder folder;
    ModalWatcher watcher;
    RunningProgram program(kComma, folder, watcher);
    Tform1& w = program.window();
    choose(w, "ComboBox1", kPortuguese);
    choose(w, "ComboBox14", 0);
    choose(w, "ComboBox16", kRtm);
    choose(w, "ComboBox17", kOther);
    choose(w, "ComboBox7", kLocal);
    choose(w, "ComboBox8", kCartesian);
    QCOMPARE(w.windowTitle(), QStringLiteral("Transformações Geodésicas"));
    expectSource(w, kLocal, kRtm, kRowTexts.at(kPortuguese));

    choose(w, "ComboBox1", kEnglish);
    QCOMPARE(w.windowTitle(), QStringLiteral("Geodetic Transforms"));
    QCOMPARE(items(w, "ComboBox7"),
             (QStringList{"Transverse Mercator", "Geodetic", "Cartesian", "Local Survey"}));
    QCOMPARE(items(w, "ComboBox8"), items(w, "ComboBox7"));
    QCOMPARE(items(w, "ComboBox14"), (QStringList{"North", "South"}));
    QCOMPARE(items(w, "ComboBox16"), (QStringList{"UTM", "LTM", "RTM", "Other"}));
    const WindowState state = w.snapshot();
    QCOMPARE(state.ComboBox7, kLocal);
    QCOMPARE(state.ComboBox8, kCartesian);
    QCOMPARE(state.ComboBox14, 0);
    QCOMPARE(state.ComboBox16, kRtm);
    QCOMPARE(state.ComboBox17, kOther);
    expectSource(w, kLocal, kRtm, kRowTexts.at(kEnglish));  // five rows relabelled, kind kept

    QCOMPARE(child<QGroupBox>(w, "RadioGroup1")->title(),
             QStringLiteral("What you want to transform?"));
    QCOMPARE(child<QAbstractButton>(w, "RadioButton1")->text(),
             QStringLiteral("Transform just one coordinate"));
    QCOMPARE(child<QAbstractButton>(w, "Button9")->text(), QStringLiteral("Origin File"));
    QCOMPARE(child<QAbstractButton>(w, "Button3")->text(), QStringLiteral("Map"));
    QCOMPARE(child<QLabel>(w, "Label24")->text(), QStringLiteral("From:"));
    QCOMPARE(child<QLabel>(w, "Label1")->text(), QStringLiteral("Language:"));
    QCOMPARE(child<QLabel>(w, "Label9")->text(),
             QStringLiteral("For: E or N use ( + ) and for S or W use ( - )"));
    // The windows not shown follow too.
    const QWidget& about = *program.windows->Form2;
    QCOMPARE(child<QLabel>(about, "Label2")->text(), QStringLiteral("Version"));
    QCOMPARE(child<QLabel>(about, "Label20")->text(), QStringLiteral("Adviser:"));
    const QWidget& editor = *program.windows->Form3;
    QCOMPARE(child<QLabel>(editor, "Label4")->text(), QStringLiteral("(a) Equatorial Radius"));
    QCOMPARE(child<QAbstractButton>(editor, "Button1")->text(), QStringLiteral("Add"));
    QCOMPARE(child<QAbstractButton>(editor, "Button3")->text(), QStringLiteral("Apply"));
}

void PanelsTest::spanishTextsAsTheyStand()
{
    ProgramFolder folder;
    ModalWatcher watcher;
    RunningProgram program(kComma, folder, watcher);
    Tform1& w = program.window();
    choose(w, "ComboBox1", kSpanish);
    QCOMPARE(child<QAbstractButton>(w, "Button2")->text(), QStringLiteral("Trans---- Arquivos"));
    QCOMPARE(child<QGroupBox>(w, "RadioGroup1")->title(), QStringLiteral("¿----- transf---?"));
    QCOMPARE(child<QAbstractButton>(w, "RadioButton1")->text(),
             QStringLiteral("Transf---- una única coodenada."));
    QCOMPARE(child<QAbstractButton>(w, "RadioButton2")->text(),
             QStringLiteral("Trans--- um arquivo DXF."));
    QCOMPARE(items(w, "ComboBox7").last(), QStringLiteral("Proyección Plana"));
    QCOMPARE(items(w, "ComboBox14"), (QStringList{"Norte", "Sur"}));
}

void PanelsTest::angleFormatRebuildsTheExample()
{
    ProgramFolder folder;
    ModalWatcher watcher;
    {
        RunningProgram program(kPoint, folder, watcher);
        Tform1& w = program.window();
        QCOMPARE(child<QLabel>(w, "Label8")->text(),
                 QStringLiteral("For 23°40´35.2344\" S write: -23.40352344"));
        choose(w, "ComboBox2", 1);
        QCOMPARE(child<QLabel>(w, "Label8")->text(),
                 QStringLiteral("For 23°40.58724´ S write: -23.4058724"));
        QCOMPARE(child<QLabel>(w, "Label6")->text(), QStringLiteral("Lat/Lon Format"));
    }
    RunningProgram program(kComma, folder, watcher);
    Tform1& w = program.window();
    choose(w, "ComboBox1", kPortuguese);
    choose(w, "ComboBox2", 0);
    QCOMPARE(child<QLabel>(w, "Label8")->text(),
             QStringLiteral("Para 23,676454° S digite: -23,676454"));
    QCOMPARE(child<QLabel>(w, "Label7")->text(), QStringLiteral("Exemplo"));
}

void PanelsTest::captionsNoLanguageChanges()
{
    ProgramFolder folder;
    ModalWatcher watcher;
    RunningProgram program(kComma, folder, watcher);
    Tform1& w = program.window();
    for (const int language : {kPortuguese, kSpanish, kEnglish}) {
        choose(w, "ComboBox1", language);
        QCOMPARE(child<QAbstractButton>(w, "Button1")->text(), QStringLiteral("->"));
        QCOMPARE(child<QAbstractButton>(w, "Button4")->text(), QStringLiteral("Grid"));
        QCOMPARE(child<QAbstractButton>(w, "Button5")->text(), QStringLiteral("Datum"));
        QCOMPARE(child<QLabel>(w, "Label10")->text(), QStringLiteral("Tipo do arquivo de origem"));
        QCOMPARE(child<QLabel>(w, "Label20")->text(), QStringLiteral("0%"));
        QCOMPARE(child<QLabel>(w, "Label21")->text(), QStringLiteral("100%"));
        // The third file type speaks the language (tests/ui/test_files.cpp).
        QCOMPARE(items(w, "ComboBox3").first(2), (QStringList{"DXF", "TXT (PONTO,X,Y,Z)"}));
        QCOMPARE(program.windows->Form3->windowTitle(), QStringLiteral("Datum"));
    }
}

void PanelsTest::keepHeightsIsCaptionedInEveryLanguageAndFits()
{
    struct Wording {
        int language;
        QString caption, hintStart;
    };
    const Wording wordings[] = {
        {kPortuguese, "Manter as altitudes", "Grava o Z de cada ponto como está no arquivo"},
        {kEnglish, "Keep heights", "Writes each point's Z as the source file gives it"},
        {kSpanish, "Mantener las cotas", "Escribe la Z de cada punto tal como viene"},
    };
    ProgramFolder folder;
    ModalWatcher watcher;
    RunningProgram program(kComma, folder, watcher);
    Tform1& w = program.window();
    click(w, "RadioButton2");
    QVERIFY(shownIn(w, "CheckBox1"));
    auto* box = child<QCheckBox>(w, "CheckBox1");
    QCOMPARE(box->parentWidget(), child(w, "Panel1"));
    const QRect panel = child(w, "Panel1")->rect();
    for (const Wording& wording : wordings) {
        choose(w, "ComboBox1", wording.language);
        QCOMPARE(box->text(), wording.caption);
        QVERIFY2(box->toolTip().startsWith(wording.hintStart), qPrintable(box->toolTip()));
        // The whole caption shows, inside the panel and clear of the file type beside it.
        QVERIFY2(box->sizeHint().width() <= box->width(), qPrintable(wording.caption));
        QVERIFY(panel.contains(box->geometry()));
        QVERIFY(!box->geometry().intersects(child(w, "ComboBox3")->geometry()));
        QVERIFY(!box->geometry().intersects(child(w, "Label11")->geometry()));
    }
}

void PanelsTest::epsgBoxesSetTheirSideAndFollowItsChoices()
{
    // A step of use and what the two boxes show after it: the code the side's choices stand
    // for, or nothing (the shipped catalogue: 0 WGS 84, 1 SIRGAS 2000, 2 SAD 69).
    struct CodeStep {
        const char* why;
        std::function<void(Tform1&)> act;
        QString source, target;
    };
    const auto pick = [](const char* list, int index) {
        return [=](Tform1& w) { choose(w, list, index); };
    };
    const auto type = [](const char* box, const char* text) {
        return [=](Tform1& w) { typeInto(w, box, QString::fromUtf8(text)); };
    };
    const auto enter = [](const char* box, const char* text) {
        return [=](Tform1& w) { typeAndEnter(w, box, QString::fromUtf8(text)); };
    };
    const CodeStep steps[] = {
        {"the start: SIRGAS 2000, UTM -45 south; the target's zone in the source's hemisphere",
         [](Tform1&) {}, "31983", "31983"},
        {"the source's hemisphere north; the target's code holds, its hemisphere is each point's",
         pick("ComboBox14", 0), "6210", "31983"},
        {"a family other than UTM", pick("ComboBox16", kLtm), "", "31983"},
        {"UTM again", pick("ComboBox16", kUtm), "6210", "31983"},
        {"a meridian between whole degrees", type("Edit13", "-45,5"), "", "31983"},
        {"zone 22's meridian", type("Edit13", "-51"), "31976", "31983"},
        {"a local plane has no code", pick("ComboBox7", kLocal), "", "31983"},
        {"geodetic on SIRGAS 2000: the 2D code", pick("ComboBox7", kGeodetic), "4674", "31983"},
        {"geodetic on WGS 84", pick("ComboBox9", 0), "4326", "31983"},
        {"the 3D code typed stays", enter("SourceEpsg", "4979"), "4979", "31983"},
        {"a language switch keeps it", pick("ComboBox1", kPortuguese), "4979", "31983"},
        {"geocentric", pick("ComboBox7", kCartesian), "4978", "31983"},
        {"SAD 69 has no northern zone 23: its southern code", pick("ComboBox10", 2), "4978",
         "29193"},
        {"the target geodetic on SAD 69", pick("ComboBox8", kGeodetic), "4978", "4618"},
        {"a target zone typed", enter("TargetEpsg", " epsg:31983 "), "4978", "31983"},
        {"a source zone typed", enter("SourceEpsg", "EPSG:29193"), "29193", "31983"},
    };
    ProgramFolder folder;
    ModalWatcher watcher;
    RunningProgram program(kComma, folder, watcher);
    Tform1& w = program.window();
    choose(w, "ComboBox1", kEnglish);
    watcher.clear();
    for (const CodeStep& step : steps) {
        step.act(w);
        QVERIFY2(child<QLineEdit>(w, "SourceEpsg")->text() == step.source, step.why);
        QVERIFY2(child<QLineEdit>(w, "TargetEpsg")->text() == step.target, step.why);
    }
    QVERIFY2(watcher.seen.empty(), qPrintable(watcher.texts().join(QLatin1Char('/'))));
    // 31983 on the target: the kind, datum, family and meridian, its hemisphere left to each
    // point; 29193 on the source sets its hemisphere too, and the rows follow the kinds.
    const WindowState state = w.snapshot();
    QCOMPARE(state.ComboBox8, kGrid);
    QCOMPARE(state.ComboBox10, 1);
    QCOMPARE(state.ComboBox17, kUtm);
    QCOMPARE(state.Edit20, std::string("-45"));
    QCOMPARE(state.ComboBox7, kGrid);
    QCOMPARE(state.ComboBox9, 2);
    QCOMPARE(state.ComboBox16, kUtm);
    QCOMPARE(state.Edit13, std::string("-45"));
    QCOMPARE(state.ComboBox14, 1);
    expectShown(w, {"Edit13", "ComboBox14", "ComboBox16", "Edit20", "ComboBox17", "Edit1"}, true);
}

void PanelsTest::epsgBoxesRefuseWhatTheyCannotSetAndChangeNothing()
{
    struct Refusal {
        int language;
        const char* box;
        const char* typed;
        QString message;
    };
    const Refusal refusals[] = {
        {kEnglish, "SourceEpsg", "12345",
         "EPSG:12345 is not a system this program sets up: it knows the geographic, geocentric "
         "and UTM systems of the datums it ships with."},
        {kEnglish, "TargetEpsg", "UTM 23S",
         "'UTM 23S' is not an EPSG code: type its number, as 31983 or EPSG:31983."},
        {kEnglish, "SourceEpsg", "29193",
         "EPSG:29193 (SAD69 / UTM zone 23S) is on the datum 'SAD 69', which the datum list does "
         "not hold; add it with the Datum button."},
        {kPortuguese, "TargetEpsg", "EPSG:-4326",
         "'EPSG:-4326' não é um código EPSG: digite o número, como 31983 ou EPSG:31983."},
        {kSpanish, "TargetEpsg", "4267",
         "EPSG:4267 (NAD27) está en el datum 'NAD27', que la lista de datums no tiene; agréguelo "
         "con el botón Datum."},
    };
    ProgramFolder folder;
    // A catalogue of two datums.
    folder.write("Datum.Cfg",
                 "6378137,298.257223563,WGS 84,0,0,0\r\n"
                 "6378137,298.257222101,SIRGAS 2000,0,0,0\r\n");
    ModalWatcher watcher;
    RunningProgram program(kComma, folder, watcher);
    Tform1& w = program.window();
    for (const Refusal& refusal : refusals) {
        choose(w, "ComboBox1", refusal.language);
        const WindowState before = w.snapshot();
        const QStringList shown = {child<QLineEdit>(w, "SourceEpsg")->text(),
                                   child<QLineEdit>(w, "TargetEpsg")->text()};
        watcher.clear();
        typeAndEnter(w, refusal.box, QString::fromUtf8(refusal.typed));
        QVERIFY2(watcher.seen.size() == 1, refusal.typed);
        QCOMPARE(watcher.seen[0].caption, QStringLiteral("Error"));
        QCOMPARE(watcher.seen[0].text, refusal.message);
        QVERIFY2(w.snapshot() == before, refusal.typed);
        QCOMPARE(child<QLineEdit>(w, "SourceEpsg")->text(), shown[0]);
        QCOMPARE(child<QLineEdit>(w, "TargetEpsg")->text(), shown[1]);
    }
    QCOMPARE(child<QLineEdit>(w, "SourceEpsg")->text(), QStringLiteral("31983"));
}

void PanelsTest::epsgBoxesFitBesideTheKindInEveryLanguage()
{
    const std::pair<int, QString> hints[] = {
        {kPortuguese, "Digite um código EPSG"},
        {kEnglish, "Type an EPSG code"},
        {kSpanish, "Escriba un código EPSG"},
    };
    ProgramFolder folder;
    ModalWatcher watcher;
    RunningProgram program(kComma, folder, watcher);
    Tform1& w = program.window();
    const QRect panel = child(w, "Panel2")->rect();
    for (const auto& [language, hint] : hints) {
        choose(w, "ComboBox1", language);
        for (const auto& side :
             {std::array{"Label24", "ComboBox7", "SourceEpsgLabel", "SourceEpsg", "ComboBox9"},
              std::array{"Label25", "ComboBox8", "TargetEpsgLabel", "TargetEpsg", "ComboBox10"}}) {
            auto* box = child<QLineEdit>(w, side[3]);
            QVERIFY2(box->toolTip().startsWith(hint), qPrintable(box->toolTip()));
            QVERIFY(shownIn(w, side[2]) && shownIn(w, side[3]));
            QCOMPARE(child<QLabel>(w, side[2])->text(), QStringLiteral("EPSG:"));
            // Every kind of every language, the captions and five digits show whole, and nothing
            // of the side's head overlaps.
            for (const char* name : {side[0], side[1], side[2]})
                QVERIFY2(child(w, name)->sizeHint().width() <= child(w, name)->width(), name);
            QStyleOptionFrame frame;
            frame.initFrom(box);
            frame.lineWidth = box->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &frame, box);
            const QRect text =
                box->style()->subElementRect(QStyle::SE_LineEditContents, &frame, box);
            QVERIFY(box->fontMetrics().horizontalAdvance(QStringLiteral("32760")) <=
                    text.width() - 4);  // QLineEdit's own margin of 2 a side
            for (const char* name : side) {
                QVERIFY2(panel.contains(child(w, name)->geometry()), name);
                for (const char* other : side)
                    QVERIFY2(name == other || !child(w, name)->geometry().intersects(
                                                  child(w, other)->geometry()),
                             name);
            }
        }
    }
}

ZELVORA_UI_TEST_MAIN(PanelsTest)
#include "test_panels.moc"
