// The map window from "Map" and "Grid": the picture loaded from the program's folder, the point
// marked in red at the pixels the geometry names, the labels written, and a picture that cannot
// be loaded reported without showing the window.
#include "tests/ui/ui_support.h"

#include <QImage>
#include <QLabel>
#include <QPushButton>

namespace {

constexpr int kGeodetic = 1;
constexpr int kGrid = 0;

struct MapProgram {
    ProgramFolder folder;
    ModalWatcher watcher;
    std::unique_ptr<RunningProgram> program;

    explicit MapProgram(const NumberFormat& user = kComma)
    {
        folder.copyShipped("ZonasUTM.bmp");
        folder.copyShipped("UTMzone.bmp");
        program = std::make_unique<RunningProgram>(user, folder, watcher);
        watcher.clear();
    }
    Tform1& window() const { return program->window(); }
    TGraficosGeo& map() const { return *program->windows->GraficosGeo; }
    QImage shown() const { return child<QLabel>(map(), "Image1")->pixmap().toImage(); }
    QImage fresh(const char* name) const
    {
        return QImage(QString::fromStdString(folder.file(name).string()))
            .convertToFormat(QImage::Format_RGB32);
    }
    bool mapWasShown() const
    {
        for (const SeenModal& modal : watcher.seen)
            if (modal.window == QLatin1String("GraficosGeo")) return true;
        return false;
    }
    void showWorld(const char* latitude, const char* longitude)
    {
        choose(window(), "ComboBox7", kGeodetic);
        typeInto(window(), "Edit25", QString::fromUtf8(latitude));
        typeInto(window(), "Edit26", QString::fromUtf8(longitude));
        click(window(), "Button3");
    }
    void showZone(const char* north, const char* east, const char* centralMeridian, int hemisphere)
    {
        choose(window(), "ComboBox7", kGrid);
        choose(window(), "ComboBox16", 0);
        choose(window(), "ComboBox14", hemisphere);
        typeInto(window(), "Edit1", QString::fromLatin1(north));
        typeInto(window(), "Edit2", QString::fromLatin1(east));
        typeInto(window(), "Edit13", QString::fromLatin1(centralMeridian));
        click(window(), "Button4");
    }
};

bool red(const QImage& picture, int x, int y) { return picture.pixel(x, y) == qRgb(255, 0, 0); }

int countRed(const QImage& picture)
{
    int n = 0;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) n += red(picture, x, y);
    return n;
}

// Pixels in a rectangle that differ from the fresh picture and are not the red marks: the text.
int written(const QImage& drawn, const QImage& fresh, const QRect& where)
{
    int n = 0;
    for (int y = where.top(); y <= where.bottom(); ++y)
        for (int x = where.left(); x <= where.right(); ++x)
            n += drawn.pixel(x, y) != fresh.pixel(x, y) && !red(drawn, x, y);
    return n;
}

// The crossing at (x, y): the lines through it and the circle of radius 5 around it.
void verifyCrossing(const QImage& picture, int x, int y)
{
    QVERIFY(red(picture, x, y));
    QVERIFY(red(picture, x + 5, y + 1) && red(picture, x - 5, y + 1));
    QVERIFY(red(picture, x + 1, y - 5) && red(picture, x + 1, y + 5));
    QVERIFY(!red(picture, x + 6, y + 1) && !red(picture, x - 6, y + 1));
    QVERIFY(!red(picture, x + 1, y + 6) && !red(picture, x + 1, y - 6));
    QVERIFY(!red(picture, x + 2, y + 2));  // outline only
}

}  // namespace

class MapsTest : public QObject {
    Q_OBJECT
private slots:
    void theWorldMapMarksCampinas();
    void theOriginAndTheSecondShowing();
    void mapReadsPlainNumbersWhateverTheAngleFormat();
    void theZonePictureMarksTheSouthernPoint();
    void theNorthernHalfAndTheMeridianLabels();
    void aMissingOrBrokenPictureIsReportedAndNotShown();
    void aBoxThatIsNotANumberIsReportedAndNothingShown();
    void pointsFarOffThePictureAreDrawnWhereTheyFall();
};

void MapsTest::theWorldMapMarksCampinas()
{
    MapProgram p;
    choose(p.window(), "ComboBox1", Language::Portuguese);
    p.showWorld("-22,9", "-47,06");
    QVERIFY(p.mapWasShown());
    QCOMPARE(p.watcher.seen.back().caption, QStringLiteral("Mapa do Mundo"));
    const QImage picture = p.shown();
    QCOMPARE(picture.size(), QSize(567, 284));
    verifyCrossing(picture, 209, 179);
    // The lines run across and down the whole picture.
    QVERIFY(red(picture, 0, 179) && red(picture, 566, 179));
    QVERIFY(red(picture, 209, 0) && red(picture, 209, 283));
    QVERIFY(!red(picture, 100, 178) && !red(picture, 208, 50));
    // Nothing else is red: two lines, the circle and nothing of the picture itself.
    QVERIFY(countRed(picture) < 567 + 284 + 40);
    // The label is written 8 pixels right of and 13 above the crossing, and nowhere else.
    const QImage fresh = p.fresh("ZonasUTM.bmp");
    QVERIFY(written(picture, fresh, QRect(217, 166, 60, 12)) > 20);
    QCOMPARE(written(picture, fresh, QRect(150, 140, 40, 20)), 0);
    QCOMPARE(written(picture, fresh, QRect(217, 185, 60, 12)), 0);

    // The window's layout for the world map.
    const QWidget& map = p.map();
    QCOMPARE(child<QLabel>(map, "Image1")->geometry(), QRect(1, 2, 567, 284));
    QCOMPARE(child<QPushButton>(map, "Button1")->pos(), QPoint(488, 261));
    QCOMPARE(child<QPushButton>(map, "Button1")->text(), QStringLiteral("Ok"));
    QVERIFY(map.width() >= 569 && map.height() >= 287);
    QVERIFY(!(map.windowFlags() & Qt::WindowCloseButtonHint));
}

void MapsTest::theOriginAndTheSecondShowing()
{
    MapProgram p;
    p.showWorld("-22,9", "-47,06");
    p.showWorld("0", "0");
    const QImage picture = p.shown();
    verifyCrossing(picture, 283, 144);
    // The first mark is gone: the picture was loaded again.
    QVERIFY(!red(picture, 209, 100));
    QVERIFY(!red(picture, 100, 179));
    QCOMPARE(written(picture, p.fresh("ZonasUTM.bmp"), QRect(217, 166, 60, 12)), 0);
}

void MapsTest::mapReadsPlainNumbersWhateverTheAngleFormat()
{
    for (const int format : {0, 2}) {
        MapProgram p;
        choose(p.window(), "ComboBox2", format);
        p.showWorld("-23,5", "-46,6");
        // -23.5 and -46.6 as plain degrees, not degrees and minutes.
        verifyCrossing(p.shown(), 210, 180);
    }
}

void MapsTest::theZonePictureMarksTheSouthernPoint()
{
    MapProgram p;
    choose(p.window(), "ComboBox1", Language::English);
    p.showZone("7400000", "500000", "-45", 1);
    QVERIFY(p.mapWasShown());
    QCOMPARE(p.watcher.seen.back().caption, QStringLiteral("UTM Zone"));
    const QImage picture = p.shown();
    QCOMPARE(picture.size(), QSize(240, 344));
    verifyCrossing(picture, 138, 313 - 111);
    // The vertical line from row 13 to row 315, the horizontal one from column 78 to 200.
    QVERIFY(red(picture, 138, 13) && red(picture, 138, 315));
    QVERIFY(!red(picture, 138, 12) && !red(picture, 138, 316));
    QVERIFY(red(picture, 78, 202) && red(picture, 200, 202));
    QVERIFY(!red(picture, 77, 202) && !red(picture, 201, 202));
    const QWidget& map = p.map();
    QCOMPARE(child<QLabel>(map, "Image1")->geometry(), QRect(1, 2, 240, 344));
    QCOMPARE(child<QPushButton>(map, "Button1")->pos(), QPoint(162, 322));
}

void MapsTest::theNorthernHalfAndTheMeridianLabels()
{
    MapProgram p;
    p.showZone("7400000", "300000", "-45", 0);
    const QImage north = p.shown();
    verifyCrossing(north, 108, 163 - 111);  // trunc(300 000 / 800 000 x 123) + 62
    // The central meridian and the two edges are written at their places, and differ with the
    // meridian.
    const QImage fresh = p.fresh("UTMzone.bmp");
    const QRect places[] = {{110, 113, 26, 12}, {67, 148, 26, 12}, {192, 148, 26, 12}};
    for (const QRect& place : places) QVERIFY(written(north, fresh, place) > 10);
    p.showZone("7400000", "300000", "-51", 0);
    const QImage other = p.shown();
    for (const QRect& place : places) QVERIFY(other.copy(place) != north.copy(place));
    // Nothing is written where no label stands.
    QCOMPARE(written(other, fresh, QRect(150, 60, 30, 30)), 0);
}

void MapsTest::aMissingOrBrokenPictureIsReportedAndNotShown()
{
    {
        MapProgram p;
        std::filesystem::remove(p.folder.file("ZonasUTM.bmp"));
        p.showWorld("-22,9", "-47,06");
        QVERIFY(!p.mapWasShown());
        QCOMPARE(p.watcher.seen.size(), std::size_t{1});
        QCOMPARE(p.watcher.seen[0].caption, QStringLiteral("Zelvora"));
        QCOMPARE(p.watcher.seen[0].text,
                 QStringLiteral("Cannot open file ") +
                     QString::fromStdString(p.folder.file("ZonasUTM.bmp").string()));
    }
    MapProgram p;
    p.folder.write("UTMzone.bmp", "BM this is not a bitmap");
    p.showZone("7400000", "500000", "-45", 1);
    QVERIFY(!p.mapWasShown());
    QCOMPARE(p.watcher.texts(), QStringList{QStringLiteral("Bitmap image is not valid")});
}

void MapsTest::aBoxThatIsNotANumberIsReportedAndNothingShown()
{
    MapProgram p;
    p.showWorld("-22,9", "47°W");
    QVERIFY(!p.mapWasShown());
    QCOMPARE(p.watcher.texts(),
             QStringList{QStringLiteral("'47°W' is not a valid floating point value\n"
                                        "Box: From: Longitude")});
    p.watcher.clear();
    p.showZone("7400000", "500000", "-45.5", 1);  // "." is not this user's separator
    QVERIFY(!p.mapWasShown());
    QCOMPARE(p.watcher.texts(),
             QStringList{QStringLiteral("'-45.5' is not a valid floating point value\n"
                                        "Box: From: Central Meridian")});
}

void MapsTest::pointsFarOffThePictureAreDrawnWhereTheyFall()
{
    MapProgram p;
    // Latitude 100 lies above the picture: only the vertical line shows.
    p.showWorld("100", "10");
    QVERIFY(p.mapWasShown());
    const QImage above = p.shown();
    const int x = static_cast<int>(10.0 / 360 * 567 + 283.5);
    QVERIFY(red(above, x, 0) && red(above, x, 283));
    QCOMPARE(countRed(above), 284);
    // Beyond any picture, even beyond the range of the numbers the window computes in.
    p.showWorld("1E400", "-1E400");
    QCOMPARE(countRed(p.shown()), 0);
}

ZELVORA_UI_TEST_MAIN(MapsTest)
#include "test_maps.moc"
