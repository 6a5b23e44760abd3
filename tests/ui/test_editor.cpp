// The datum editor: the grid the start-up fills, a row copied into the boxes, "Aplica" with its
// checks and messages, "Inclui", and the main window's datum lists and catalogue file after it.
#include "tests/ui/ui_support.h"

#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

namespace {

constexpr int kShippedDatums = 43;

// A program run with the editor at hand, on the shipped catalogue or on one given.
struct Editing {
    ProgramFolder folder;
    ModalWatcher watcher;
    std::unique_ptr<RunningProgram> program;

    explicit Editing(const NumberFormat& user = kComma, const char* catalogue = nullptr)
    {
        if (catalogue) folder.write("Datum.Cfg", catalogue);
        program = std::make_unique<RunningProgram>(user, folder, watcher);
    }
    Tform1& window() const { return program->window(); }
    const QWidget& editor() const { return *program->windows->Form3; }
    QTableWidget& grid() const { return *child<QTableWidget>(editor(), "StringGrid1"); }
    // "Aplica", and the messages it showed.
    QStringList apply()
    {
        watcher.clear();
        click(editor(), "Button3");
        return watcher.texts();
    }
};

QStringList rowOf(const QTableWidget& grid, int row)
{
    QStringList cells;
    for (int column = 0; column < grid.columnCount(); ++column)
        cells << (grid.item(row, column) ? grid.item(row, column)->text() : QString());
    return cells;
}

QStringList boxesOf(const QWidget& editor)
{
    QStringList texts;
    for (const char* box : {"Edit1", "Edit2", "Edit3", "Edit4", "Edit5", "Edit6"})
        texts << child<QLineEdit>(editor, box)->text();
    return texts;
}

void typeBoxes(const QWidget& editor, const QStringList& texts)
{
    const char* boxes[] = {"Edit1", "Edit2", "Edit3", "Edit4", "Edit5", "Edit6"};
    for (int i = 0; i < texts.size(); ++i) typeInto(editor, boxes[i], texts[i]);
}

// The user's click on a row of the grid.
void selectRow(QTableWidget& grid, int row)
{
    grid.setCurrentCell(row, 0);
    emit grid.cellClicked(row, 0);
}

QStringList items(const QWidget& w, const char* list)
{
    auto* box = child<QComboBox>(w, list);
    QStringList texts;
    for (int i = 0; i < box->count(); ++i) texts << box->itemText(i);
    return texts;
}

std::string catalogueLines(int count)
{
    std::string text;
    for (int i = 0; i < count; ++i)
        text += "6378137,298.257223563,Datum " + std::to_string(i) + ",0,0,0\r\n";
    return text;
}

}  // namespace

class EditorTest : public QObject {
    Q_OBJECT
private slots:
    void theStartUpFillsTheGridAndTheBoxes();
    void aRowChosenIsCopiedIntoTheBoxes();
    void theDatumButtonShowsTheEditorModally();
    void aplicaChecksTheBoxesAndChangesNothingWhenTheyFail_data();
    void aplicaChecksTheBoxesAndChangesNothingWhenTheyFail();
    void aplicaStoresTheRowAndRefreshesTheListsKeepingTheirSelections();
    void incluiThenAplicaAddsTheLastItemOfBothLists();
    void aRowAddedAndNeverAppliedIsNeitherListedNorSaved();
    void theFiftySecondDatumIsRefused();
    void aNameWithACommaIsRefused();
    void aBlankNameIsStoredEmpty();
    void anEmptyCatalogueStartsWithItsFirstInclui();
    void languageChangesLabelsButNotHeadings();
};

void EditorTest::theStartUpFillsTheGridAndTheBoxes()
{
    Editing e(kComma);
    const QWidget& editor = e.editor();
    QTableWidget& grid = e.grid();
    QCOMPARE(editor.windowTitle(), QStringLiteral("Datum"));
    QCOMPARE(editor.size(), QSize(573, 322));
    QCOMPARE(grid.rowCount(), kShippedDatums);
    QCOMPARE(grid.columnCount(), 6);
    QStringList headings;
    for (int column = 0; column < 6; ++column)
        headings << grid.horizontalHeaderItem(column)->text();
    QCOMPARE(headings, (QStringList{"Datum", "(a)", "1/(f)", "(Dx)", "(Dy)", "(Dz)"}));
    QCOMPARE(grid.columnWidth(0), 180);
    QCOMPARE(grid.columnWidth(1), 60);
    QCOMPARE(grid.columnWidth(2), 100);
    QCOMPARE(grid.columnWidth(5), 60);
    QCOMPARE(grid.rowHeight(3), 19);
    QCOMPARE(grid.editTriggers(), QAbstractItemView::NoEditTriggers);
    QCOMPARE(grid.selectionBehavior(), QAbstractItemView::SelectRows);
    // Numbers in the general form with the user's separator, names as the file gives them.
    QCOMPARE(rowOf(grid, 2),
             (QStringList{"SAD 69", "6378160", "298,25", "-66,87", "4,37", "-38,52"}));
    QCOMPARE(rowOf(grid, 4).first(), QStringLiteral("Córrego Alegre 1970-72"));
    QCOMPARE(rowOf(grid, 10),
             (QStringList{"NAD27", "6378206,4", "294,978698213898", "-10", "158", "187"}));
    // The first datum's row is selected and in the boxes.
    QCOMPARE(grid.currentRow(), 0);
    QCOMPARE(boxesOf(editor), (QStringList{"WGS 84", "6378137", "298,257223563", "0", "0", "0"}));
    QVERIFY(!child<QPushButton>(editor, "Button2")->isEnabled());
    QVERIFY(!shownIn(editor, "Button4"));
    QVERIFY(shownIn(editor, "Button1"));
    QCOMPARE(child<QPushButton>(editor, "Button5")->text(), QStringLiteral("OK"));
}

void EditorTest::aRowChosenIsCopiedIntoTheBoxes()
{
    Editing e(kPoint);
    const QWidget& editor = e.editor();
    QTableWidget& grid = e.grid();
    selectRow(grid, 16);
    QCOMPARE(boxesOf(editor), (QStringList{"Tokyo", "6377397.155", "299.1528128", "-146.414",
                                           "507.337", "680.507"}));
    // A click on the selected row brings its values back over what was typed.
    typeInto(editor, "Edit4", QStringLiteral("1"));
    selectRow(grid, 16);
    QCOMPARE(child<QLineEdit>(editor, "Edit4")->text(), QStringLiteral("-146.414"));
}

void EditorTest::theDatumButtonShowsTheEditorModally()
{
    Editing e(kComma);
    bool modal = false;
    e.watcher.onShown = [&](QWidget* shown) {
        if (shown == e.program->windows->Form3.get()) modal = shown->isModal();
    };
    e.watcher.clear();
    click(e.window(), "Button5");
    QCOMPARE(e.watcher.seen.size(), std::size_t{1});
    QCOMPARE(e.watcher.seen[0].window, QStringLiteral("Form3"));
    QVERIFY(modal);
    QVERIFY(!e.program->windows->Form3->isVisible());
}

void EditorTest::aplicaChecksTheBoxesAndChangesNothingWhenTheyFail_data()
{
    QTest::addColumn<QStringList>("boxes");  // Edit2 to Edit6
    QTest::addColumn<QString>("message");
    const QString invalid = QStringLiteral("ERRO:Valor inválido\n");
    QTest::newRow("1/f 12x") << QStringList{"6378137", "12x", "0", "0", "0"}
                             << invalid + QStringLiteral("1/(f) não pode ser: 12x");
    QTest::newRow("a and Dz not numbers: only Dz named")
        << QStringList{"abc", "298,25", "0", "0", "1.5"}
        << invalid + QStringLiteral("(Dz) não pode ser: 1.5");
    QTest::newRow("a below") << QStringList{"6376999,99", "298,25", "0", "0", "0"}
                             << QStringLiteral("ERRO:Raio da terra Invalido");
    QTest::newRow("1/f above") << QStringList{"6378137", "350,01", "0", "0", "0"}
                               << QStringLiteral("ERRO:Achatamento Invalido");
    QTest::newRow("both out: flattening only") << QStringList{"7000000", "400", "0", "0", "0"}
                                               << QStringLiteral("ERRO:Achatamento Invalido");
}

void EditorTest::aplicaChecksTheBoxesAndChangesNothingWhenTheyFail()
{
    QFETCH(QStringList, boxes);
    QFETCH(QString, message);
    Editing e(kComma);
    Tform1& w = e.window();
    choose(w, "ComboBox1", Language::Portuguese);
    const QWidget& editor = e.editor();
    QTableWidget& grid = e.grid();
    selectRow(grid, 2);
    const QStringList before = rowOf(grid, 2);
    typeBoxes(editor, QStringList{QStringLiteral("Renamed")} + boxes);
    QCOMPARE(e.apply(), QStringList{message});
    QCOMPARE(e.watcher.seen[0].caption, QStringLiteral("Error"));
    QCOMPARE(rowOf(grid, 2), before);
    QCOMPARE(w.catalogue().ListaDatum()[2].Name, std::string("SAD 69"));
    QVERIFY(!w.catalogue().DatumAlterado());
    QCOMPARE(items(w, "ComboBox9")[2], QStringLiteral("SAD 69"));
}

void EditorTest::aplicaStoresTheRowAndRefreshesTheListsKeepingTheirSelections()
{
    Editing e(kComma);
    Tform1& w = e.window();
    choose(w, "ComboBox9", 2);
    choose(w, "ComboBox10", 5);
    const QWidget& editor = e.editor();
    QTableWidget& grid = e.grid();
    selectRow(grid, 2);
    // The bounds themselves are valid; the name loses its outer blanks.
    typeBoxes(editor, {"  SAD 69 (edited)  ", "6377000", "250", "-66,5", "4", "-38,25"});
    QCOMPARE(e.apply(), QStringList{});
    QCOMPARE(rowOf(grid, 2),
             (QStringList{"SAD 69 (edited)", "6377000", "250", "-66,5", "4", "-38,25"}));
    QCOMPARE(items(w, "ComboBox9")[2], QStringLiteral("SAD 69 (edited)"));
    QCOMPARE(items(w, "ComboBox10")[2], QStringLiteral("SAD 69 (edited)"));
    QCOMPARE(items(w, "ComboBox9").size(), kShippedDatums);
    QCOMPARE(child<QComboBox>(w, "ComboBox9")->currentIndex(), 2);
    QCOMPARE(child<QComboBox>(w, "ComboBox10")->currentIndex(), 5);
    const TDatum& stored = w.catalogue().ListaDatum()[2];
    QCOMPARE(static_cast<double>(stored.A), 6377000.0);
    QCOMPARE(static_cast<double>(1 / stored.F), 250.0);
    QCOMPARE(static_cast<double>(stored.Dx), -66.5);
    QVERIFY(w.catalogue().DatumAlterado());
    // Enter in a box stores the row as "Aplica" does.
    typeBoxes(editor, {"SAD 69 (entered)", "6377000", "250", "-66,5", "4", "-38,25"});
    QTest::keyClick(child<QLineEdit>(editor, "Edit4"), Qt::Key_Return);
    QCOMPARE(items(w, "ComboBox9")[2], QStringLiteral("SAD 69 (entered)"));
    typeBoxes(editor, {"SAD 69 (edited)", "6377000", "250", "-66,5", "4", "-38,25"});
    QCOMPARE(e.apply(), QStringList{});

    // Closing writes the catalogue with the changed line and every other line as it was.
    w.close();
    QVERIFY(!w.isVisible());
    const std::string saved = e.folder.read("Datum.Cfg");
    QVERIFY(saved.find("\r\n6377000,250,SAD 69 (edited),-66.5,4,-38.25\r\n") != std::string::npos);
    QVERIFY(saved.find("6378160,298.25,SAD 69(96),-67.35,3.88,-38.22,epsg=6195,accuracy=5\r\n") !=
            std::string::npos);
    QCOMPARE(std::count(saved.begin(), saved.end(), '\n'), static_cast<long>(kShippedDatums));
}

void EditorTest::incluiThenAplicaAddsTheLastItemOfBothLists()
{
    Editing e(kComma);
    Tform1& w = e.window();
    choose(w, "ComboBox9", 3);
    choose(w, "ComboBox10", 1);
    const QWidget& editor = e.editor();
    QTableWidget& grid = e.grid();
    click(editor, "Button1");
    QCOMPARE(grid.rowCount(), kShippedDatums + 1);
    QCOMPARE(grid.currentRow(), kShippedDatums);
    QCOMPARE(rowOf(grid, kShippedDatums), (QStringList{"New Datum", "0", "0", "0", "0", "0"}));
    QCOMPARE(boxesOf(editor), (QStringList{"New Datum", "0", "0", "0", "0", "0"}));
    // A second "Inclui" before the row is applied brings the same row back.
    selectRow(grid, 0);
    click(editor, "Button1");
    QCOMPARE(grid.rowCount(), kShippedDatums + 1);
    QCOMPARE(grid.currentRow(), kShippedDatums);
    QCOMPARE(items(w, "ComboBox9").size(), kShippedDatums);

    typeBoxes(editor, {"Datum of 1954", "6378388", "297", "-100,25", "20", "3"});
    QCOMPARE(e.apply(), QStringList{});
    QCOMPARE(items(w, "ComboBox9").last(), QStringLiteral("Datum of 1954"));
    QCOMPARE(items(w, "ComboBox10").last(), QStringLiteral("Datum of 1954"));
    QCOMPARE(items(w, "ComboBox10").size(), kShippedDatums + 1);
    QCOMPARE(child<QComboBox>(w, "ComboBox9")->currentIndex(), 3);
    QCOMPARE(child<QComboBox>(w, "ComboBox10")->currentIndex(), 1);
    // Applied, the row is a datum: the next "Inclui" adds another row.
    click(editor, "Button1");
    QCOMPARE(grid.rowCount(), kShippedDatums + 2);

    // The new datum takes part in a transformation: its shift moves the geocentric point.
    choose(w, "ComboBox7", 2);
    choose(w, "ComboBox8", 2);
    choose(w, "ComboBox9", 0);
    choose(w, "ComboBox10", 0);
    click(w, "Button1");
    const QStringList unshifted = resultLines(w);
    choose(w, "ComboBox10", kShippedDatums);
    click(w, "Button1");
    QCOMPARE(resultLines(w).size(), unshifted.size());
    QVERIFY(resultLines(w) != unshifted);
}

void EditorTest::aRowAddedAndNeverAppliedIsNeitherListedNorSaved()
{
    {
        Editing e(kComma);
        const std::string shipped = e.folder.read("Datum.Cfg");
        click(e.editor(), "Button1");
        QCOMPARE(e.window().catalogue().QuantDatum(), kShippedDatums - 1);
        QVERIFY(!e.window().catalogue().DatumAlterado());
        e.window().close();
        QCOMPARE(e.folder.read("Datum.Cfg"), shipped);  // nothing stored, nothing written
    }

    // Another datum changed: the file is written, without the added row.
    Editing again(kComma);
    click(again.editor(), "Button1");
    selectRow(again.grid(), 0);
    typeInto(again.editor(), "Edit1", QStringLiteral("WGS 1984"));
    QCOMPARE(again.apply(), QStringList{});
    again.window().close();
    const std::string saved = again.folder.read("Datum.Cfg");
    QCOMPARE(std::count(saved.begin(), saved.end(), '\n'), static_cast<long>(kShippedDatums));
    QVERIFY(saved.rfind("6378137,298.257223563,WGS 1984,0,0,0\r\n", 0) == 0);
    QVERIFY(saved.find("New Datum") == std::string::npos);
}

void EditorTest::theFiftySecondDatumIsRefused()
{
    Editing e(kComma, catalogueLines(51).c_str());
    QCOMPARE(e.grid().rowCount(), 51);
    e.watcher.clear();
    click(e.editor(), "Button1");
    QCOMPARE(e.grid().rowCount(), 51);
    QCOMPARE(e.watcher.texts(),
             QStringList{QString::fromStdString(
                 datumRefusedMessage(DatumRefused::Reason::Full, Language::English))});
    QVERIFY(e.watcher.seen[0].text.contains(QStringLiteral("51")));
    QCOMPARE(e.window().catalogue().QuantDatum(), 50);
}

void EditorTest::aNameWithACommaIsRefused()
{
    Editing e(kComma);
    Tform1& w = e.window();
    choose(w, "ComboBox1", Language::Spanish);
    const QWidget& editor = e.editor();
    QTableWidget& grid = e.grid();
    selectRow(grid, 2);
    const QStringList before = rowOf(grid, 2);
    typeInto(editor, "Edit1", QStringLiteral("SAD 69, IBGE"));
    QCOMPARE(e.apply(), QStringList{QString::fromStdString(
                            datumRefusedMessage(DatumRefused::Reason::Comma, Language::Spanish))});
    QCOMPARE(rowOf(grid, 2), before);
    QCOMPARE(items(w, "ComboBox9")[2], QStringLiteral("SAD 69"));
    QVERIFY(!w.catalogue().DatumAlterado());
}

void EditorTest::aBlankNameIsStoredEmpty()
{
    Editing e(kComma);
    Tform1& w = e.window();
    const QWidget& editor = e.editor();
    QTableWidget& grid = e.grid();
    selectRow(grid, 5);
    typeInto(editor, "Edit1", QStringLiteral("   "));
    QCOMPARE(e.apply(), QStringList{});
    QCOMPARE(rowOf(grid, 5).first(), QString());
    QCOMPARE(items(w, "ComboBox9")[5], QString());
    QCOMPARE(w.catalogue().ListaDatum()[5].Name, std::string());
}

void EditorTest::anEmptyCatalogueStartsWithItsFirstInclui()
{
    Editing e(kComma, "\r\n");
    Tform1& w = e.window();
    const QWidget& editor = e.editor();
    QTableWidget& grid = e.grid();
    QCOMPARE(grid.rowCount(), 0);
    QCOMPARE(boxesOf(editor), (QStringList{"", "", "", "", "", ""}));
    // No row, no slot: "Aplica" says so and stores nothing.
    typeBoxes(editor, {"First", "6378137", "298,257223563", "0", "0", "0"});
    QCOMPARE(e.apply(), QStringList{QString::fromStdString(
                            datumRefusedMessage(DatumRefused::Reason::NoSlot, Language::English))});
    QCOMPARE(w.catalogue().QuantDatum(), -1);

    click(editor, "Button1");
    typeBoxes(editor, {"First", "6378137", "298,257223563", "0", "0", "0"});
    QCOMPARE(e.apply(), QStringList{});
    QCOMPARE(items(w, "ComboBox9"), QStringList{"First"});
    QCOMPARE(child<QComboBox>(w, "ComboBox9")->currentIndex(), 0);
    QCOMPARE(child<QComboBox>(w, "ComboBox10")->currentIndex(), 0);
}

void EditorTest::languageChangesLabelsButNotHeadings()
{
    Editing e(kComma);
    Tform1& w = e.window();
    const QWidget& editor = e.editor();
    QTableWidget& grid = e.grid();
    choose(w, "ComboBox1", Language::Portuguese);
    QCOMPARE(child<QLabel>(editor, "Label1")->text(),
             QStringLiteral("Muita atenção ao editar os valores desta tabela"));
    QCOMPARE(child<QLabel>(editor, "Label5")->text(), QStringLiteral("1/(f) Achatamento"));
    QCOMPARE(child<QLabel>(editor, "Label9")->text(),
             QStringLiteral("Parametros em Relação ao WGS84"));
    QCOMPARE(child<QPushButton>(editor, "Button3")->text(), QStringLiteral("Aplica"));
    QCOMPARE(child<QPushButton>(editor, "Button2")->text(), QStringLiteral("Exclui"));
    QCOMPARE(child<QPushButton>(editor, "Button4")->text(), QStringLiteral("Cancela"));
    choose(w, "ComboBox1", Language::Spanish);
    QCOMPARE(child<QPushButton>(editor, "Button1")->text(),
             QString::fromUtf8(std::string(TextoIdioma(49, Language::Spanish)).c_str()));
    QCOMPARE(grid.horizontalHeaderItem(1)->text(), QStringLiteral("(a)"));
    QCOMPARE(child<QLabel>(editor, "Label3")->text(), QStringLiteral("Datum"));
    QCOMPARE(child<QLabel>(editor, "Label6")->text(), QStringLiteral("Dx"));
    // "Inclui" names the new row in the language of the moment.
    click(editor, "Button1");
    QCOMPARE(rowOf(grid, kShippedDatums).first(), QStringLiteral("Nuevo Datum"));
}

ZELVORA_UI_TEST_MAIN(EditorTest)
#include "test_editor.moc"
