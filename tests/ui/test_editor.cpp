// The datum editor: the grid the start-up fills, a row copied into the boxes, "Aplica" with its
// checks and messages, "Inclui", the main window's datum lists and catalogue file after it, and
// the window's captions in each language.
#include "tests/ui/ui_support.h"

#include <QComboBox>
#include <QHeaderView>
#include <QScrollBar>
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

// The boxes in the order of the grid's columns; the convention by its code.
QStringList boxesOf(const QWidget& editor)
{
    QStringList texts;
    for (const char* box : {"Edit1", "Edit2", "Edit3", "Edit4", "Edit5", "Edit6", "Edit7", "Edit8",
                            "Edit9", "Edit10"})
        texts << child<QLineEdit>(editor, box)->text();
    const int convention = child<QComboBox>(editor, "ComboBox1")->currentIndex();
    texts << (convention == 0 ? QString() : QStringLiteral("960%1").arg(convention + 5));
    texts << child<QLineEdit>(editor, "Edit11")->text();
    texts << child<QComboBox>(editor, "ComboBox2")->currentText();
    return texts;
}

// Types as many boxes as texts are given, in the order of boxesOf; the others keep their texts.
void typeBoxes(const QWidget& editor, const QStringList& texts)
{
    const char* boxes[] = {"Edit1", "Edit2", "Edit3", "Edit4",  "Edit5", "Edit6",
                           "Edit7", "Edit8", "Edit9", "Edit10", nullptr, "Edit11"};
    for (int i = 0; i < texts.size() && i < 10; ++i) typeInto(editor, boxes[i], texts[i]);
    if (texts.size() > 10)
        choose(editor, "ComboBox1",
               texts[10].isEmpty() ? 0 : (texts[10] == QLatin1String("9606") ? 1 : 2));
    if (texts.size() > 11) typeInto(editor, "Edit11", texts[11]);
    if (texts.size() > 12) child<QComboBox>(editor, "ComboBox2")->setEditText(texts[12]);
}

// A datum with neither rotations nor a grid, as the grid and the boxes show it.
QStringList shiftOnly(const QStringList& six)
{
    return six + QStringList{"0", "0", "0", "0", "", "", ""};
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
    void sevenParametersAndAGridGoThroughTheFileAndBack();
    void everythingShowsAtTheDefaultSizeInEveryLanguage();
};

void EditorTest::theStartUpFillsTheGridAndTheBoxes()
{
    Editing e(kComma);
    const QWidget& editor = e.editor();
    QTableWidget& grid = e.grid();
    QCOMPARE(editor.windowTitle(), QStringLiteral("Datum"));
    QCOMPARE(editor.size(), QSize(1180, 330));
    QCOMPARE(grid.rowCount(), kShippedDatums);
    QCOMPARE(grid.columnCount(), 13);
    QStringList headings;
    for (int column = 0; column < 10; ++column)
        headings << grid.horizontalHeaderItem(column)->text();
    QCOMPARE(headings, (QStringList{"Datum", "(a)", "1/(f)", "(Dx)", "(Dy)", "(Dz)", "(rx)", "(ry)",
                                    "(rz)", "(ppm)"}));
    QCOMPARE(grid.columnWidth(0), 180);
    QCOMPARE(grid.columnWidth(1), 75);
    QCOMPARE(grid.columnWidth(2), 105);
    QCOMPARE(grid.columnWidth(5), 60);
    QCOMPARE(grid.rowHeight(3), 19);
    QCOMPARE(grid.editTriggers(), QAbstractItemView::NoEditTriggers);
    QCOMPARE(grid.selectionBehavior(), QAbstractItemView::SelectRows);
    // Numbers in the general form with the user's separator, names as the file gives them.
    QCOMPARE(rowOf(grid, 2),
             shiftOnly({"SAD 69", "6378160", "298,25", "-66,87", "4,37", "-38,52"}));
    QCOMPARE(rowOf(grid, 4).first(), QStringLiteral("Córrego Alegre 1970-72"));
    QCOMPARE(rowOf(grid, 10),
             shiftOnly({"NAD27", "6378206,4", "294,978698213898", "-10", "158", "187"}));
    // Rotations and scale as the file gives them, the convention by its EPSG code.
    QCOMPARE(rowOf(grid, 37),
             (QStringList{"Amersfoort", "6377397,155", "299,1528128", "565,2369", "50,0087",
                          "465,658", "0,406857330322", "-0,350732676543", "1,87034738361", "4,0812",
                          "9607", "", ""}));
    // The first datum's row is selected and in the boxes.
    QCOMPARE(grid.currentRow(), 0);
    QCOMPARE(boxesOf(editor), shiftOnly({"WGS 84", "6378137", "298,257223563", "0", "0", "0"}));
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
    QCOMPARE(boxesOf(editor),
             shiftOnly({"Tokyo", "6377397.155", "299.1528128", "-146.414", "507.337", "680.507"}));
    selectRow(grid, 36);
    QCOMPARE(boxesOf(editor), rowOf(grid, 36));
    QCOMPARE(child<QComboBox>(editor, "ComboBox1")->currentText(),
             QStringLiteral("9606 position vector"));
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
    QTest::addColumn<QStringList>("boxes");  // from Edit2 on, in the order of boxesOf
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
    // Rotations, scale, convention and grid: what the catalogue file could not hold.
    const QStringList sad69{"6378160", "298,25", "-66,87", "4,37", "-38,52"};
    QTest::newRow("rx not a number") << sad69 + QStringList{"0.5", "0", "0", "0", "9606", "", ""}
                                     << invalid + QStringLiteral("(rx) não pode ser: 0.5");
    QTest::newRow("ry beyond 60 arc-seconds")
        << sad69 + QStringList{"0", "-60,5", "0", "0", "9607", "", ""}
        << QStringLiteral(
               "ERRO:Rotação inválida\n(ry) não pode passar de 60 segundos de arco: "
               "-60,5");
    QTest::newRow("ppm beyond 100")
        << sad69 + QStringList{"0", "0", "0", "100,01", "9606", "", ""}
        << QStringLiteral("ERRO:Escala inválida\n(ppm) não pode passar de 100 ppm: 100,01");
    QTest::newRow("a rotation without a convention")
        << sad69 + QStringList{"0", "0", "0,3", "0", "", "", ""}
        << QStringLiteral(
               "ERRO:Falta a convenção das rotações\nRotações ou escala pedem uma "
               "convenção: escolha 9606 ou 9607 em Convenção.");
    QTest::newRow("a convention without rotations")
        << sad69 + QStringList{"0", "0", "0", "0", "9607", "", ""}
        << QStringLiteral(
               "ERRO:Convenção sem rotações\nCom rotações e escala zero, deixe "
               "Convenção vazia.");
    QTest::newRow("a grid without its datum")
        << sad69 + QStringList{"0", "0", "0", "0", "", "SAD69_003.gsb", ""}
        << QStringLiteral(
               "ERRO:Falta o datum da grade\nA grade NTv2 pede o datum para onde "
               "leva os pontos: escolha-o em Grade leva a.");
    QTest::newRow("a datum without its grid")
        << sad69 + QStringList{"0", "0", "0", "0", "", "", "SIRGAS 2000"}
        << QStringLiteral(
               "ERRO:Falta a grade\nGrade leva a pede o arquivo da grade: escreva-o "
               "em Grade NTv2 ou deixe as duas vazias.");
    QTest::newRow("a grid to a datum not in the table")
        << sad69 + QStringList{"0", "0", "0", "0", "", "SAD69_003.gsb", "SIRGAS 2001"}
        << QStringLiteral(
               "ERRO:Datum da grade inválido\nGrade leva a precisa ser outro datum "
               "da tabela: SIRGAS 2001");
    QTest::newRow("a grid file with a comma")
        << sad69 + QStringList{"0", "0", "0", "0", "", "SAD69,003.gsb", "SIRGAS 2000"}
        << QStringLiteral(
               "ERRO:Nome da grade inválido\nGrade NTv2 não pode ter vírgula, "
               "quebra de linha nem caractere que o arquivo Datum.Cfg não guarda: "
               "SAD69,003.gsb");
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
             shiftOnly({"SAD 69 (edited)", "6377000", "250", "-66,5", "4", "-38,25"}));
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
    QCOMPARE(rowOf(grid, kShippedDatums), shiftOnly({"New Datum", "0", "0", "0", "0", "0"}));
    QCOMPARE(boxesOf(editor), shiftOnly({"New Datum", "0", "0", "0", "0", "0"}));
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
    QCOMPARE(boxesOf(editor), (QStringList{"", "", "", "", "", "", "", "", "", "", "", "", ""}));
    // No row, no slot: "Aplica" says so and stores nothing.
    typeBoxes(editor, shiftOnly({"First", "6378137", "298,257223563", "0", "0", "0"}));
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

    // The rotations, scale, convention and grid are worded in each language; the symbols not.
    struct Worded {
        int language;
        QStringList headings;  // convention, grid file, grid target
        QString rotations, scale, frame;
    };
    const Worded worded[] = {
        {Language::Portuguese,
         {"Convenção", "Grade NTv2", "Grade leva a"},
         "Rotações (segundos de arco)",
         "Escala (ppm)",
         "9607 referencial"},
        {Language::English,
         {"Convention", "NTv2 grid", "Grid carries to"},
         "Rotations (arc-seconds)",
         "Scale (ppm)",
         "9607 coordinate frame"},
        {Language::Spanish,
         {"Convención", "Rejilla NTv2", "Rejilla lleva a"},
         "Rotaciones (segundos de arco)",
         "Escala (ppm)",
         "9607 marco de referencia"},
    };
    for (const Worded& words : worded) {
        choose(w, "ComboBox1", words.language);
        QStringList headings;
        for (int column = 10; column < 13; ++column)
            headings << grid.horizontalHeaderItem(column)->text();
        QCOMPARE(headings, words.headings);
        QCOMPARE(grid.horizontalHeaderItem(6)->text(), QStringLiteral("(rx)"));
        QCOMPARE(grid.horizontalHeaderItem(9)->text(), QStringLiteral("(ppm)"));
        QCOMPARE(child<QLabel>(editor, "Label10")->text(), words.rotations);
        QCOMPARE(child<QLabel>(editor, "Label14")->text(), words.scale);
        QCOMPARE(child<QLabel>(editor, "Label15")->text(), words.headings[0]);
        QCOMPARE(child<QLabel>(editor, "Label16")->text(), words.headings[1]);
        QCOMPARE(child<QLabel>(editor, "Label17")->text(), words.headings[2]);
        QCOMPARE(child<QComboBox>(editor, "ComboBox1")->itemText(2), words.frame);
    }
    // A refusal in Spanish names its box as the Portuguese ones do.
    selectRow(grid, 36);
    typeInto(editor, "Edit7", QStringLiteral("75"));
    QCOMPARE(e.apply(),
             QStringList{"ERROR:Rotación inválida\n(rx) no puede superar 60 segundos de arco: 75"});
    typeInto(editor, "Edit7", QStringLiteral("0,202"));
    typeInto(editor, "Edit11", QStringLiteral("BETA2007.gsb"));
    QCOMPARE(e.apply(),
             QStringList{"ERROR:Falta el datum de la rejilla\nLa rejilla NTv2 necesita el datum "
                         "al que lleva los puntos: elíjalo en Rejilla lleva a."});
    QVERIFY(!w.catalogue().DatumAlterado());
}

// What the editor shows is what is stored, written and read back at the next start; a datum
// applied as it stands keeps its citation, one with any figure changed loses it.
void EditorTest::sevenParametersAndAGridGoThroughTheFileAndBack()
{
    const QStringList helmert =
        QStringList{"SAD 69 (7p)", "6378160", "298,25", "-67,35", "3,88", "-38,22"} +
        QStringList{"0,1", "-0,25", "1,5", "-2,75", "9607", "", ""};
    QStringList gridded = shiftOnly({"SAD 69", "6378160", "298,25", "-66,87", "4,37", "-38,52"});
    gridded[11] = QStringLiteral("SAD69_003.gsb");
    gridded[12] = QStringLiteral("SIRGAS 2000");
    std::string saved;
    {
        Editing e(kComma);
        QTableWidget& grid = e.grid();
        const QWidget& editor = e.editor();
        selectRow(grid, 3);
        typeBoxes(editor, helmert);
        QCOMPARE(e.apply(), QStringList{});
        QCOMPARE(rowOf(grid, 3), helmert);
        const TDatum& stored = e.window().catalogue().ListaDatum()[3];
        QCOMPARE(static_cast<double>(stored.Rotation.Ry), -0.25);
        QCOMPARE(static_cast<double>(stored.Rotation.Scale), -2.75);
        QVERIFY(stored.Rotation.convention == RotationConvention::CoordinateFrame);

        // The grid's datum chosen from the list: the empty entry, then the datums in order.
        selectRow(grid, 2);
        typeInto(editor, "Edit11", QStringLiteral(" SAD69_003.gsb "));
        choose(editor, "ComboBox2", 2);
        QCOMPARE(child<QComboBox>(editor, "ComboBox2")->currentText(),
                 QStringLiteral("SIRGAS 2000"));
        QCOMPARE(e.apply(), QStringList{});
        QCOMPARE(rowOf(grid, 2), gridded);
        // A datum renamed is a target the list offers at once.
        QCOMPARE(items(editor, "ComboBox2")[4], QStringLiteral("SAD 69 (7p)"));

        selectRow(grid, 36);
        QCOMPARE(e.apply(), QStringList{});
        selectRow(grid, 37);
        choose(editor, "ComboBox1", 1);
        QCOMPARE(e.apply(), QStringList{});

        e.window().close();
        saved = e.folder.read("Datum.Cfg");
    }
    for (const char* line :
         {"\r\n6378160,298.25,SAD 69,-66.87,4.37,-38.52,grid=SAD69_003.gsb,gridto=SIRGAS 2000\r\n",
          "\r\n6378160,298.25,SAD 69 (7p),-67.35,3.88,-38.22,rx=0.1,ry=-0.25,rz=1.5,ppm=-2.75,"
          "frame=9607\r\n",
          "\r\n6377397.155,299.1528128,DHDN,598.1,73.7,418.2,rx=0.202,ry=0.045,rz=-2.455,ppm=6.7,"
          "frame=9606,epsg=1777,accuracy=3\r\n",
          "\r\n6377397.155,299.1528128,Amersfoort,565.2369,50.0087,465.658,rx=0.406857330322,"
          "ry=-0.350732676543,rz=1.87034738361,ppm=4.0812,frame=9606\r\n"})
        QVERIFY2(saved.find(line) != std::string::npos, line);

    Editing next(kComma, saved.c_str());
    QCOMPARE(next.window().catalogue().QuantDatum(), kShippedDatums - 1);
    QCOMPARE(rowOf(next.grid(), 3), helmert);
    QCOMPARE(rowOf(next.grid(), 2), gridded);
    QCOMPARE(rowOf(next.grid(), 37).at(10), QStringLiteral("9606"));
}

// The window's own size shows every caption whole, every column of the grid with the shipped
// datums' figures, and no two widgets over each other.
void EditorTest::everythingShowsAtTheDefaultSizeInEveryLanguage()
{
    Editing e(kComma);
    Tform1& w = e.window();
    const QWidget& editor = e.editor();
    QTableWidget& grid = e.grid();
    const QFontMetrics cells(grid.font());
    int columns = 0;
    for (int column = 0; column < grid.columnCount(); ++column) {
        columns += grid.columnWidth(column);
        for (int row = 0; row < grid.rowCount(); ++row)
            QVERIFY2(cells.horizontalAdvance(grid.item(row, column)->text()) + 8 <=
                         grid.columnWidth(column),
                     qPrintable(grid.item(row, column)->text()));
    }
    QVERIFY(columns + grid.verticalScrollBar()->sizeHint().width() + 2 * grid.frameWidth() <=
            grid.width());
    for (const int language : {Language::Portuguese, Language::English, Language::Spanish}) {
        choose(w, "ComboBox1", language);
        const QFontMetrics heading(grid.horizontalHeader()->font());
        for (int column = 0; column < grid.columnCount(); ++column) {
            const QString text = grid.horizontalHeaderItem(column)->text();
            QVERIFY2(heading.horizontalAdvance(text) + 8 <= grid.columnWidth(column),
                     qPrintable(text));
        }
        auto* frames = child<QComboBox>(editor, "ComboBox1");
        QVERIFY2(frames->sizeHint().width() <= frames->width(), qPrintable(frames->itemText(2)));
        const QList<QWidget*> widgets = editor.findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
        for (const QWidget* widget : widgets) {
            if (!widget->isVisibleTo(&editor)) continue;
            QVERIFY2(editor.rect().contains(widget->geometry()), qPrintable(widget->objectName()));
            if (const auto* label = qobject_cast<const QLabel*>(widget))
                QVERIFY2(label->sizeHint().width() <= label->width(), qPrintable(label->text()));
            for (const QWidget* other : widgets)
                if (other != widget && other->isVisibleTo(&editor))
                    QVERIFY2(!widget->geometry().intersects(other->geometry()),
                             qPrintable(widget->objectName() + " " + other->objectName()));
        }
    }
}

ZELVORA_UI_TEST_MAIN(EditorTest)
#include "test_editor.moc"
