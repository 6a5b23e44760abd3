// "->": the boxes the window holds, through the transformation, into the one message box and
// the result lines; a box that is not a number through the general error report.
#include "tests/core/ntv2_file.h"
#include "tests/ui/ui_support.h"

#include <QClipboard>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QPushButton>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QWheelEvent>

#include <cmath>
#include <functional>

namespace {

// A value line's number ("X = 4.510.094,6347"), read with the window's separators.
double valueOf(const QString& line)
{
    QString number = line.section(QStringLiteral(" = "), 1).section(QLatin1Char(' '), 0, 0);
    number.remove(QLatin1Char('.'));
    number.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double value = number.toDouble(&ok);
    if (!ok) qFatal("not a value line: %s", qPrintable(line));
    return value;
}

struct Side {
    int kind, datum;
};

struct PointCase {
    const char* why;
    Side from, to;
    int angleFormat;
    std::function<void(Tform1&)> type;           // the boxes beyond the defaults
    QString message;                             // the status box's text; empty for none
    QStringList exactLines;                      // lines that must be there as they stand
    std::vector<std::pair<int, double>> values;  // line index, value (PROJ, or exact geometry)
    int lineCount;
};

void setUp(Tform1& w, const PointCase& c)
{
    choose(w, "ComboBox7", c.from.kind);
    choose(w, "ComboBox8", c.to.kind);
    choose(w, "ComboBox9", c.from.datum);
    choose(w, "ComboBox10", c.to.datum);
    choose(w, "ComboBox2", c.angleFormat);
    if (c.type) c.type(w);
}

const auto boxes = [](std::initializer_list<std::pair<const char*, const char*>> texts) {
    return [texts = std::vector(texts)](Tform1& w) {
        for (const auto& [box, text] : texts) typeInto(w, box, QString::fromUtf8(text));
    };
};

// Codes typed into the sides' EPSG boxes ("SourceEpsg", "TargetEpsg"), each ended with Enter.
const auto codes = [](std::initializer_list<std::pair<const char*, const char*>> typed) {
    return [typed = std::vector(typed)](Tform1& w) {
        for (const auto& [box, text] : typed) typeAndEnter(w, box, QString::fromUtf8(text));
    };
};

const auto inOrder = [](std::initializer_list<std::function<void(Tform1&)>> steps) {
    return [steps = std::vector(steps)](Tform1& w) {
        for (const auto& step : steps) step(w);
    };
};

constexpr int kGrid = 0, kGeodetic = 1, kCartesian = 2, kLocal = 3;
constexpr int kWgs84 = 0, kSirgas = 1, kSad69 = 2;

}  // namespace

class PointTest : public QObject {
    Q_OBJECT
private slots:
    void transformsAcrossTheKinds();
    void aBadBoxGoesToTheGeneralReportAndClearsTheResult();
    void aBadHiddenFamilyBoxKeepsThePreviousResult();
    void messagesFollowTheLanguage();
    void enterRunsItAndTheFirstLineIsInSight();
    void listsTakeTheWheelOnlyWithTheFocus();
    void theToolkitsButtonsFollowTheLanguage();
    void copiedNumbersPasteBackIntoTheBoxes();
    void aDatumsGridServesItsPointsAndWhatItCannotServeIsSaid();
};

void PointTest::transformsAcrossTheKinds()
{
    const std::vector<PointCase> cases = {
        {"geodetic to geodetic on one datum item repeats the point in the angle format",
         {kGeodetic, kSirgas},
         {kGeodetic, kSirgas},
         2,
         boxes({{"Edit25", "-23,40352344"}, {"Edit26", "-45"}, {"Edit27", "100"}}),
         {},
         {"Latitude = -23°40'35,2344\"", "Longitude = -45°00'00,0000\"", "h = 100,0000 m"},
         {},
         3},
        {"geodetic to geocentric on WGS 84 (PROJ: 4510094.6347, -4510094.6347, 0)",
         {kGeodetic, kWgs84},
         {kCartesian, kWgs84},
         0,
         boxes({{"Edit25", "0"}, {"Edit26", "-45"}, {"Edit27", "100"}}),
         {},
         {"X = 4.510.094,6347", "Y = -4.510.094,6347", "Z = 0,0000"},
         {},
         3},
        {"geocentric to geodetic (PROJ: 0, -45, h 350.8324)",
         {kCartesian, kWgs84},
         {kGeodetic, kWgs84},
         2,
         boxes({{"Edit28", "4510272"}, {"Edit29", "-4510272"}, {"Edit30", "0"}}),
         {},
         {"Latitude = 0°00'00,0000\"", "Longitude = -45°00'00,0000\"", "h = 350,8324 m"},
         {},
         3},
        {"the south grid's origin is the equator on the central meridian",
         {kGrid, kSirgas},
         {kGeodetic, kSirgas},
         2,
         boxes({{"Edit1", "10000000"}, {"Edit2", "500000"}, {"Edit13", "-45"}, {"Edit27", "100"}}),
         {},
         {"Latitude = 0°00'00,0000\"", "Longitude = -45°00'00,0000\"", "h = 100,0000 m"},
         {},
         3},
        {"geodetic to UTM with the scale factor (PROJ EPSG:31983: N 7401039.8018, E 448949.4657)",
         {kGeodetic, kSirgas},
         {kGrid, kSirgas},
         0,
         boxes({{"Edit25", "-23,5"}, {"Edit26", "-45,5"}, {"Edit27", "100"}, {"Edit20", "-45"}}),
         {},
         {"Zone 23 K", "h = 100,0000 m"},
         {{0, 7401039.8018}, {1, 448949.4657}},
         6},
        {"typed codes set both sides: EPSG:4674 to EPSG:31983, as zelvora-convert --from "
         "EPSG:4674 --to EPSG:31983 (PROJ: N 7401039.8018, E 448949.4657)",
         {kGrid, kWgs84},
         {kLocal, kWgs84},
         0,
         inOrder({codes({{"SourceEpsg", "4674"}, {"TargetEpsg", "EPSG:31983"}}),
                  boxes({{"Edit25", "-23,5"}, {"Edit26", "-45,5"}, {"Edit27", "100"}})}),
         {},
         {"Zone 23 K", "h = 100,0000 m"},
         {{0, 7401039.8018}, {1, 448949.4657}},
         6},
        {"a source zone's code sets the family, meridian and hemisphere: 31983's origin",
         {kGeodetic, kWgs84},
         {kGeodetic, kSirgas},
         2,
         inOrder({[](Tform1& w) { choose(w, "ComboBox14", 0); },
                  boxes({{"Edit13", "-51"},
                         {"Edit1", "10000000"},
                         {"Edit2", "500000"},
                         {"Edit27", "100"}}),
                  [](Tform1& w) { choose(w, "ComboBox16", 1); }, codes({{"SourceEpsg", "31983"}})}),
         {},
         {"Latitude = 0°00'00,0000\"", "Longitude = -45°00'00,0000\"", "h = 100,0000 m"},
         {},
         3},
        {"grid to grid carries the point through geodetic, without a scale factor",
         {kGrid, kSirgas},
         {kGrid, kSirgas},
         2,
         boxes({{"Edit1", "7401039,80177"},
                {"Edit2", "448949,46569"},
                {"Edit13", "-45"},
                {"Edit20", "-45"}}),
         {},
         {"Zone 23 K"},
         {{0, 7401039.8018}, {1, 448949.4657}},
         5},
        {"half a degree beyond the target zone: the warning, then the lines",
         {kGeodetic, kSirgas},
         {kGrid, kSirgas},
         0,
         boxes({{"Edit25", "-23,5"}, {"Edit26", "-47,5"}, {"Edit20", "-51"}}),
         QStringLiteral("WARNING:exceed fuse"),
         {},
         {},
         6},
        {"more than a degree beyond: the error, then zeroed lines",
         {kGeodetic, kSirgas},
         {kGrid, kSirgas},
         0,
         boxes({{"Edit25", "-23,5"}, {"Edit26", "-45,5"}, {"Edit20", "-51"}}),
         QStringLiteral("ERROR:fuse exceed more than 1°"),
         {},
         {{0, 0}, {1, 0}},
         6},
        {"a latitude past the pole",
         {kGeodetic, kSirgas},
         {kGrid, kSirgas},
         0,
         boxes({{"Edit25", "95"}, {"Edit26", "-45"}, {"Edit20", "-45"}}),
         QStringLiteral("ERROR:Invalid LATITUD"),
         {},
         {},
         6},
        {"the local plane's origin point is the origin",
         {kLocal, kSirgas},
         {kGeodetic, kSirgas},
         2,
         boxes({{"Edit3", "150000"}, {"Edit4", "250000"}, {"Edit27", "700"}}),
         {},
         {"Latitude = -22°00'00,0000\"", "Longitude = -47°00'00,0000\"", "h = 700,0000 m"},
         {},
         3},
        {"60 km from the local origin: the 50 km warning",
         {kLocal, kSirgas},
         {kGeodetic, kSirgas},
         2,
         boxes({{"Edit3", "210000"}, {"Edit4", "250000"}}),
         QStringLiteral("WARNING:Survey Plane exceed 50 Km"),
         {},
         {},
         3},
        {"90 km from the target plane's origin: the 80 km error",
         {kGeodetic, kSirgas},
         {kLocal, kSirgas},
         0,
         boxes({{"Edit25", "-22,540077144"}, {"Edit26", "-46,2"}}),
         QStringLiteral("ERROR:Survey Plane exceed 80 Km"),
         {"Survey X = 0,0000", "Survey Y = 0,0000"},
         {},
         4},
        {"two datums: the datum stage moves the point, no message",
         {kGeodetic, kSad69},
         {kGeodetic, kSirgas},
         0,
         boxes({{"Edit25", "-23"}, {"Edit26", "-46"}, {"Edit27", "0"}}),
         {},
         {},
         {},
         3},
    };

    ProgramFolder folder;
    ModalWatcher watcher;
    RunningProgram program(kComma, folder, watcher);
    Tform1& w = program.window();
    for (const PointCase& c : cases) {
        setUp(w, c);
        watcher.clear();
        click(w, "Button1");
        const QStringList lines = resultLines(w);
        const QString context =
            QString::fromUtf8(c.why) + QStringLiteral(": ") + lines.join(QStringLiteral(" | "));
        if (c.message.isEmpty()) {
            QVERIFY2(watcher.seen.empty(), qPrintable(context + QStringLiteral(" / ") +
                                                      watcher.texts().join(QLatin1Char('/'))));
        } else {
            QVERIFY2(watcher.seen.size() == 1, qPrintable(context));
            QCOMPARE(watcher.seen[0].caption, QStringLiteral("Error"));
            QCOMPARE(watcher.seen[0].text, c.message);
        }
        QVERIFY2(lines.size() == c.lineCount, qPrintable(context));
        for (const QString& line : c.exactLines)
            QVERIFY2(lines.contains(line), qPrintable(context));
        for (const auto& [index, value] : c.values)
            QVERIFY2(std::fabs(valueOf(lines[index]) - value) < 1e-3, qPrintable(context));
    }
    // The datum stage moved the point by tens of metres: seconds differ from the typed ones.
    QVERIFY(!resultLines(w).contains(QStringLiteral("Latitude = -23,000000000000°")));
}

void PointTest::aBadBoxGoesToTheGeneralReportAndClearsTheResult()
{
    ProgramFolder folder;
    ModalWatcher watcher;
    RunningProgram program(kComma, folder, watcher);
    Tform1& w = program.window();
    click(w, "Button1");
    QCOMPARE(resultLines(w).size(), 5);  // the default point, grid to grid on one datum
    typeInto(w, "Edit1", QStringLiteral("12x"));
    watcher.clear();
    click(w, "Button1");
    QCOMPARE(watcher.seen.size(), std::size_t{1});
    QCOMPARE(watcher.seen[0].caption, QStringLiteral("Zelvora"));
    QCOMPARE(watcher.seen[0].text,
             QStringLiteral("'12x' is not a valid floating point value\nBox: From: (N)orth"));
    QVERIFY(resultLines(w).isEmpty());
    QCOMPARE(w.focusWidget(), child<QLineEdit>(w, "Edit1"));
    // The window keeps working.
    typeInto(w, "Edit1", QStringLiteral("10000000"));
    watcher.clear();
    click(w, "Button1");
    QVERIFY(watcher.seen.empty());
    QVERIFY(!resultLines(w).isEmpty());
}

void PointTest::aBadHiddenFamilyBoxKeepsThePreviousResult()
{
    ProgramFolder folder;
    ModalWatcher watcher;
    RunningProgram program(kComma, folder, watcher);
    Tform1& w = program.window();
    choose(w, "ComboBox7", kGeodetic);
    click(w, "Button1");
    const QStringList before = resultLines(w);
    QVERIFY(!before.isEmpty());
    choose(w, "ComboBox7", kGrid);
    choose(w, "ComboBox16", 3);  // the family other, then back to geodetic: Edit5 hidden
    choose(w, "ComboBox7", kGeodetic);
    QVERIFY(!shownIn(w, "Edit5"));
    typeInto(w, "Edit5", QStringLiteral("0,99.96"));
    watcher.clear();
    click(w, "Button1");
    // Named with the choice that shows it, in the window's language.
    QCOMPARE(watcher.texts(),
             QStringList{QStringLiteral("'0,99.96' is not a valid floating point value\n"
                                        "Box: From: Ko (shown with: From: Transverse Mercator)")});
    QCOMPARE(resultLines(w), before);
    choose(w, "ComboBox1", 2);
    watcher.clear();
    click(w, "Button1");
    QCOMPARE(watcher.texts(), QStringList{QStringLiteral(
                                  "'0,99.96' is not a valid floating point value\n"
                                  "Casilla: De: Ko (aparece con: De: Mercator Transversal)")});
}

void PointTest::messagesFollowTheLanguage()
{
    ProgramFolder folder;
    ModalWatcher watcher;
    RunningProgram program(kComma, folder, watcher);
    Tform1& w = program.window();
    choose(w, "ComboBox7", kGeodetic);
    typeInto(w, "Edit25", QStringLiteral("95"));
    const std::pair<int, QString> expected[] = {{0, QStringLiteral("ERRO:LATITUDE Invalida")},
                                                {2, QStringLiteral("ERROR:LATITUD Invalida")}};
    for (const auto& [language, message] : expected) {
        choose(w, "ComboBox1", language);
        watcher.clear();
        click(w, "Button1");
        QCOMPARE(watcher.texts(), QStringList{message});
    }
    // The result labels follow too: "(N)orte" in Portuguese and Spanish.
    QVERIFY(resultLines(w).first().startsWith(QStringLiteral("(N)orte = ")));
}

// Spanish, decimal degrees and a geodetic source give the longest lines: the convergence wraps
// and the box used to scroll to its end, the northing out of sight.
void PointTest::enterRunsItAndTheFirstLineIsInSight()
{
    ProgramFolder folder;
    ModalWatcher watcher;
    RunningProgram program(kComma, folder, watcher);
    Tform1& w = program.window();
    choose(w, "ComboBox1", Language::Spanish);
    setUp(w, {"",
              {kGeodetic, kSirgas},
              {kGrid, kSirgas},
              0,
              boxes({{"Edit25", "-23,5"}, {"Edit26", "-45,5"}, {"Edit20", "-45"}}),
              {},
              {},
              {},
              6});
    auto* latitude = child<QLineEdit>(w, "Edit25");
    latitude->setFocus();
    QTest::keyClick(latitude, Qt::Key_Return);
    const QStringList lines = resultLines(w);
    QCOMPARE(lines.size(), 6);
    QVERIFY2(lines.first().startsWith(QStringLiteral("(N)orte = ")), qPrintable(lines.first()));
    const auto* result = child<QPlainTextEdit>(w, "RichEdit5");
    QCOMPARE(result->verticalScrollBar()->value(), 0);
    QCOMPARE(result->cursorForPosition(QPoint(4, 4)).block().text(), lines.first());
    // In file mode Enter in a box runs nothing.
    click(w, "RadioButton2");
    w.findChild<QPlainTextEdit*>(QStringLiteral("RichEdit5"))->clear();
    QTest::keyClick(child<QLineEdit>(w, "Edit13"), Qt::Key_Return);
    QVERIFY(resultLines(w).isEmpty());
}

// A wheel passing over a closed list changed the datum with no click, and the settings kept it.
void PointTest::listsTakeTheWheelOnlyWithTheFocus()
{
    ProgramFolder folder;
    ModalWatcher watcher;
    RunningProgram program(kComma, folder, watcher);
    Tform1& w = program.window();
    auto* datum = child<QComboBox>(w, "ComboBox9");
    const auto wheel = [datum] {
        const QPointF at(datum->width() / 2.0, datum->height() / 2.0);
        QWheelEvent event(at, datum->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(datum, &event);
    };
    const int before = datum->currentIndex();
    child<QLineEdit>(w, "Edit25")->setFocus();
    wheel();
    QCOMPARE(datum->currentIndex(), before);
    QVERIFY(!datum->hasFocus());
    // Off screen no window manager moves the activation from the start-up's About window.
    QApplication::setActiveWindow(&w);
    datum->setFocus(Qt::TabFocusReason);
    QVERIFY(datum->hasFocus());
    wheel();
    QCOMPARE(datum->currentIndex(), before + 1);
}

// The standard buttons of the dialogs and message boxes come from Qt's own translations.
void PointTest::theToolkitsButtonsFollowTheLanguage()
{
    ProgramFolder folder;
    ModalWatcher watcher;
    RunningProgram program(kComma, folder, watcher);
    const std::pair<int, QString> yes[] = {{Language::Portuguese, QStringLiteral("&Sim")},
                                           {Language::Spanish, QStringLiteral("&Sí")},
                                           {Language::English, QStringLiteral("&Yes")}};
    for (const auto& [language, text] : yes) {
        choose(program.window(), "ComboBox1", language);
        const QDialogButtonBox buttons(QDialogButtonBox::Yes);
        QCOMPARE(buttons.button(QDialogButtonBox::Yes)->text(), text);
    }
}

// Ctrl+Shift+C copies the result's numbers alone; typed into the boxes of a transformation that
// changes nothing, they give the same result lines, in every angle format.
void PointTest::copiedNumbersPasteBackIntoTheBoxes()
{
    struct CopyCase {
        int kind, angleFormat;
        std::vector<const char*> boxes;  // where the copied numbers go, in their order
    };
    const CopyCase cases[] = {{kGeodetic, 0, {"Edit25", "Edit26", "Edit27"}},
                              {kGeodetic, 2, {"Edit25", "Edit26", "Edit27"}},
                              {kGrid, 2, {"Edit1", "Edit2", "Edit27"}}};
    ProgramFolder folder;
    ModalWatcher watcher;
    RunningProgram program(kComma, folder, watcher);
    Tform1& w = program.window();
    QApplication::setActiveWindow(&w);
    for (const CopyCase& c : cases) {
        setUp(w, {"",
                  {kGrid, kSirgas},
                  {c.kind, kSirgas},
                  c.angleFormat,
                  boxes({{"Edit1", "7401039,80177"},
                         {"Edit2", "448949,46569"},
                         {"Edit13", "-45"},
                         {"Edit20", "-45"},
                         {"Edit27", "100"}}),
                  {},
                  {},
                  {},
                  0});
        click(w, "Button1");
        const QStringList shown = resultLines(w);
        QTest::keyClick(&w, Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
        const QStringList numbers =
            QGuiApplication::clipboard()->text().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QVERIFY2(numbers.size() >= 3, qPrintable(numbers.join(QLatin1Char('|'))));
        QVERIFY2(!numbers[0].contains(QLatin1Char('.')), qPrintable(numbers[0]));  // no grouping
        choose(w, "ComboBox7", c.kind);
        for (std::size_t i = 0; i < c.boxes.size(); ++i)
            typeInto(w, c.boxes[i], numbers[static_cast<int>(i)]);
        click(w, "Button1");
        QCOMPARE(resultLines(w), shown);
    }
}

// The shipped "SAD 69 NTv2" finds its grid file beside the catalogue (a built grid near 47 N 8 E
// under the agency's name): a point inside goes through it, one outside by the datum's shift
// with the warning; "SAD 69(96) NTv2" finds none, which is said at its first use only.
void PointTest::aDatumsGridServesItsPointsAndWhatItCannotServeIsSaid()
{
    constexpr int kSad69Grid = 40, kSad96Grid = 41;
    ProgramFolder folder;
    const std::string bytes = ntv2_file::Make(ntv2_file::Nested());
    folder.write("SAD69_003.gsb", bytes);
    const Ntv2Grid grid(bytes, "built");
    ModalWatcher watcher;
    RunningProgram program(kComma, folder, watcher);
    Tform1& w = program.window();
    choose(w, "ComboBox2", 0);
    choose(w, "ComboBox7", kGeodetic);
    choose(w, "ComboBox8", kGeodetic);
    choose(w, "ComboBox9", kSad69Grid);
    choose(w, "ComboBox10", kSirgas);
    boxes({{"Edit25", "47,31"}, {"Edit26", "8,27"}, {"Edit27", "100"}})(w);
    watcher.clear();
    click(w, "Button1");
    QVERIFY2(watcher.seen.empty(), qPrintable(watcher.texts().join(QLatin1Char('|'))));
    const GridPoint expected = *grid.Forward(47.31L, 8.27L);
    const auto degrees = [&w](int line) {
        return valueOf(resultLines(w)[line].remove(QStringLiteral("°")));
    };
    QVERIFY(std::fabs(degrees(0) - static_cast<double>(expected.Lat)) < 1e-9);
    QVERIFY(std::fabs(degrees(1) - static_cast<double>(expected.Lon)) < 1e-9);
    QCOMPARE(resultLines(w)[2], QStringLiteral("h = 100,0000 m"));

    typeInto(w, "Edit25", QStringLiteral("-22,5"));
    typeInto(w, "Edit26", QStringLiteral("-45"));
    click(w, "Button1");
    QCOMPARE(watcher.texts(),
             QStringList{QStringLiteral(
                 "WARNING:point outside the datum's grid; shifted by the datum's parameters")});

    choose(w, "ComboBox9", kSad96Grid);
    watcher.clear();
    click(w, "Button1");
    QCOMPARE(watcher.seen.size(), std::size_t{1});
    const QString missing = QStringLiteral(
                                "WARNING: the datum 'SAD 69(96) NTv2' names the grid "
                                "'SAD96_003.gsb', which is in none of these folders: ") +
                            QString::fromStdString(folder.path().string()) + QStringLiteral(", ");
    QVERIFY2(watcher.seen[0].text.startsWith(missing), qPrintable(watcher.seen[0].text));
    watcher.clear();
    click(w, "Button1");
    QVERIFY(watcher.seen.empty());
}

ZELVORA_UI_TEST_MAIN(PointTest)
#include "test_point.moc"
