#include "ui/geolib.h"

#include "transform/files/AtomicFile.h"
#include "transform/text/CoordinateKinds.h"
#include "ui/ErrorReport.h"
#include "transform/files/FileTransform.h"
#include "ui/GeoGraficos.h"
#include "ui/InterfaceFont.h"
#include "ui/NumericKeyFilter.h"
#include "transform/text/NumberText.h"
#include "transform/pipeline/Pipeline.h"
#include "config/Settings.h"
#include "ui/Unit2.h"
#include "ui/Unit3.h"
#include "ui/texts/WindowMessages.h"
#include "ui/WindowPlacement.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QFrame>
#include <QGroupBox>
#include <QGuiApplication>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScopedValueRollback>
#include <QTextCursor>
#include <QTimer>

#include <algorithm>
#include <iostream>
#include <climits>
#include <memory>
#include <optional>

namespace {

constexpr int kClientWidth = 537, kClientHeight = 432;
// Panel2 holds both sides; Panel3 (one point) and Panel1 (file) share the rectangle under it.
const QRect kSidesPanel{8, 70, 521, 214};
const QRect kLowerPanel{8, 288, 521, 138};
constexpr int kSideWidth = 258;
constexpr int kRowTop = 58, kRowStep = 22;     // rows 1 to 7 of a side
constexpr int kInputTop = 6, kInputStep = 24;  // input rows 1 to 3 of the point panel

constexpr const char* kOpenFilter = "Arquivo DXF|*.Dxf|Arquivo Texto|*.Txt";
constexpr const char* kSaveFilter = "Arquivo DXF|*.Dxf";
constexpr const char* kDefaultExt = "*.Dxf";
constexpr const char* kTextSaveFilter = "Arquivo Texto|*.Txt";
constexpr const char* kTextExt = "*.Txt";

QString fromUtf8(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::filesystem::path pathOf(const QString& name)
{
    return std::filesystem::path(QFile::encodeName(name).toStdString());
}

template <typename Widget>
Widget* make(QWidget* parent, const char* name, const QRect& place)
{
    auto* widget = new Widget(parent);
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(place);
    return widget;
}

QLabel* makeLabel(QWidget* parent, const char* name, const QRect& place, const QString& text = {})
{
    auto* label = make<QLabel>(parent, name, place);
    label->setText(text);
    return label;
}

// A side's row (1 to 7): the label's place, and the place its box or list shares.
QRect rowLabelPlace(int left, int row)
{
    return {left, kRowTop + (row - 1) * kRowStep + 2, 126, 18};
}
QRect rowControlPlace(int left, int row)
{
    return {left + 128, kRowTop + (row - 1) * kRowStep, 120, 20};
}
// An input row (1 to 3) of the point panel.
QRect inputLabelPlace(int row) { return {6, kInputTop + (row - 1) * kInputStep + 2, 84, 18}; }
QRect inputBoxPlace(int row) { return {92, kInputTop + (row - 1) * kInputStep, 132, 20}; }

void setItems(QComboBox* list, const QStringList& items)
{
    list->clear();
    list->addItems(items);
}

// The item whose text the list's box holds; -1 for typed text that names no item.
int typedIndex(const QComboBox* list)
{
    return list->findText(list->currentText(), Qt::MatchExactly);
}

void setBold(QWidget* widget)
{
    QFont bold = widget->font();
    bold.setBold(true);
    widget->setFont(bold);
}

// A side's first two rows: its caption in bold, its kind list and its EPSG code box, "Datum" and
// its datum list. The kind list is as wide as its longest item in any language, which leaves the
// code box room for five digits.
struct SideHead {
    QLabel* heading;
    QComboBox* kind;
    QLineEdit* code;
    QLabel* datumLabel;
    QComboBox* datum;
};

SideHead sideHead(QWidget* panel, int left, std::array<const char*, 6> names)
{
    QLabel* heading = makeLabel(panel, names[0], {left, 6, 34, 18});
    setBold(heading);
    auto* kind = make<QComboBox>(panel, names[1], {left + 36, 4, 134, 22});
    makeLabel(panel, names[2], {left + 173, 6, 34, 18}, QStringLiteral("EPSG:"));
    auto* code = make<QLineEdit>(panel, names[3], {left + 208, 4, 40, 22});
    QLabel* datumLabel = makeLabel(panel, names[4], {left, 32, 34, 18});
    auto* datum = make<QComboBox>(panel, names[5], {left + 36, 30, 212, 22});
    return {heading, kind, code, datumLabel, datum};
}

// While a file run works the window is repainted but takes no input; the cursor says so.
class BusyCursor {
public:
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

QString elided(const QLabel* label, const QString& text, Qt::TextElideMode mode)
{
    return label->fontMetrics().elidedText(text, mode, label->width());
}

int barValue(std::size_t lines) { return static_cast<int>(std::min<std::size_t>(lines, INT_MAX)); }

}  // namespace

Tform1::Tform1(const NumberFormat& user, ProgramFiles files, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint),
      user_(user),
      files_(std::move(files)),
      grids_(gridFolders(files_.readable(kCatalogueFileName).parent_path(),
                         userConfigFolder() / "zelvora")),
      dialogs_(std::make_unique<SystemFileDialogs>()),
      OpenDialog1{QString::fromLatin1(kOpenFilter), 1, QString::fromLatin1(kDefaultExt),
                  QStringLiteral("Teste.Dxf")},
      SaveDialog1{QString::fromLatin1(kSaveFilter), 1, QString::fromLatin1(kDefaultExt),
                  QStringLiteral("SemNome.Dxf")}
{
    setObjectName(QStringLiteral("form1"));
    setFixedSize(kClientWidth, kClientHeight);
    setFont(interfaceFont());
    keys_ = new NumericKeyFilter(user_.decimalSeparator, this);

    buildTopStrip();
    buildSides();
    buildPointPanel();
    buildFilePanel();

    // The resource's lists and texts, in the language the window was designed in.
    texts_.buildExample(2, user_.decimalSeparator);
    fillChoiceLists(
        [](Text::Number number) { return fromUtf8(TextoIdioma(number, Language::Portuguese)); });
    applyState(startupState(user_));
    wireHandlers();
}

Tform1::~Tform1() = default;

void Tform1::setSecondaryWindows(TGraficosGeo* map, TForm2* about, TForm3* editor)
{
    map_ = map;
    about_ = about;
    editor_ = editor;
    if (editor_)
        editor_->setCatalogue(
            {[this]() -> const DatumCatalogue& { return catalogue_; },
             [this](int slot, const DatumValues& values) { storeDatum(slot, values); }});
}

void Tform1::setFileDialogs(std::unique_ptr<FileDialogs> dialogs) { dialogs_ = std::move(dialogs); }

// --- building -------------------------------------------------------------------------------

void Tform1::buildTopStrip()
{
    RadioGroup1 = make<QGroupBox>(this, "RadioGroup1", {6, 2, 212, 64});
    RadioButton1 = make<QRadioButton>(RadioGroup1, "RadioButton1", {10, 18, 200, 20});
    RadioButton2 = make<QRadioButton>(RadioGroup1, "RadioButton2", {10, 40, 200, 20});
    RadioButton1->setChecked(true);

    Button5 = make<QPushButton>(this, "Button5", {222, 10, 118, 24});
    Button5->setText(QStringLiteral("Datum"));
    Button2 = make<QPushButton>(this, "Button2", {222, 40, 118, 24});
    setBold(Button2);
    Button2->setEnabled(false);

    Label6 = makeLabel(this, "Label6", {344, 6, 110, 16});
    ComboBox2 = make<QComboBox>(this, "ComboBox2", {344, 24, 110, 22});
    setItems(ComboBox2, {QStringLiteral("±GGG.GGGGGG"), QStringLiteral("±GGG.MMMMM"),
                         QStringLiteral("±GGG.MMSSSS")});
    Label1 = makeLabel(this, "Label1", {458, 6, 73, 16});
    ComboBox1 = make<QComboBox>(this, "ComboBox1", {458, 24, 73, 22});
    setItems(ComboBox1,
             {QStringLiteral("Português"), QStringLiteral("English"), QStringLiteral("Español")});

    // The file runs keep their text in memory; this buffer of the window is never shown.
    RichEdit7 = make<QPlainTextEdit>(this, "RichEdit7", {0, 0, 10, 10});
    RichEdit7->setReadOnly(true);
    RichEdit7->hide();
}

QLineEdit* Tform1::addBox(QWidget* parent, int number, const QRect& place)
{
    const std::string name = "Edit" + std::to_string(number);
    QLineEdit* box = make<QLineEdit>(parent, name.c_str(), place);
    box->installEventFilter(keys_);
    edits_[static_cast<std::size_t>(number)] = box;
    return box;
}

// The widgets are made in the order of the rows, which is the order Tab takes.
void Tform1::buildSides()
{
    Panel2 = make<QFrame>(this, "Panel2", kSidesPanel);
    static_cast<QFrame*>(Panel2)->setFrameShape(QFrame::StyledPanel);
    int left = 4;
    const SideHead source =
        sideHead(Panel2, left,
                 {"Label24", "ComboBox7", "SourceEpsgLabel", "SourceEpsg", "Label26", "ComboBox9"});
    Label24 = source.heading;
    ComboBox7 = source.kind;
    sourceCode_ = source.code;
    Label26 = source.datumLabel;
    ComboBox9 = source.datum;
    // A row's list and box never show together, so their order within the row is Tab's too.
    Label28 = addRow(Panel2, "Label28", left, 1, {13, 15});
    Label29 = addRow(Panel2, "Label29", left, 2, {16});
    ComboBox14 = make<QComboBox>(Panel2, "ComboBox14", rowControlPlace(left, 2));
    Label34 = addRow(Panel2, "Label34", left, 3, {17});
    ComboBox16 = make<QComboBox>(Panel2, "ComboBox16", rowControlPlace(left, 3));
    Label35 = addRow(Panel2, "Label35", left, 4, {18, 5});
    Label36 = addRow(Panel2, "Label36", left, 5, {19, 6});
    Label2 = addRow(Panel2, "Label2", left, 6, {7});
    Label3 = addRow(Panel2, "Label3", left, 7, {8});

    auto* line = make<QFrame>(Panel2, "Shape1", {kSideWidth + 2, 4, 2, kSidesPanel.height() - 8});
    line->setFrameShape(QFrame::VLine);
    line->setFrameShadow(QFrame::Sunken);

    left = kSideWidth + 8;
    const SideHead target = sideHead(Panel2, left,
                                     {"Label25", "ComboBox8", "TargetEpsgLabel", "TargetEpsg",
                                      "Label27", "ComboBox10"});
    Label25 = target.heading;
    ComboBox8 = target.kind;
    targetCode_ = target.code;
    Label27 = target.datumLabel;
    ComboBox10 = target.datum;
    Label30 = addRow(Panel2, "Label30", left, 1, {20, 14});
    Label31 = addRow(Panel2, "Label31", left, 2, {21});
    Label32 = addRow(Panel2, "Label32", left, 3, {22});
    ComboBox17 = make<QComboBox>(Panel2, "ComboBox17", rowControlPlace(left, 3));
    Label33 = addRow(Panel2, "Label33", left, 4, {23, 9});
    Label37 = addRow(Panel2, "Label37", left, 5, {24, 10});
    Label4 = addRow(Panel2, "Label4", left, 6, {11});
    Label5 = addRow(Panel2, "Label5", left, 7, {12});
}

QLabel* Tform1::addRow(QWidget* panel, const char* label, int left, int row,
                       std::initializer_list<int> boxes)
{
    QLabel* made = makeLabel(panel, label, rowLabelPlace(left, row));
    for (const int box : boxes) addBox(panel, box, rowControlPlace(left, row));
    return made;
}

void Tform1::buildPointPanel()
{
    Panel3 = make<QFrame>(this, "Panel3", kLowerPanel);
    static_cast<QFrame*>(Panel3)->setFrameShape(QFrame::StyledPanel);
    Label40 = makeLabel(Panel3, "Label40", inputLabelPlace(1));
    for (const int box : {25, 1, 28, 3}) addBox(Panel3, box, inputBoxPlace(1));
    Label39 = makeLabel(Panel3, "Label39", inputLabelPlace(2));
    for (const int box : {26, 2, 29, 4}) addBox(Panel3, box, inputBoxPlace(2));
    Label38 = makeLabel(Panel3, "Label38", inputLabelPlace(3));
    for (const int box : {27, 30}) addBox(Panel3, box, inputBoxPlace(3));

    Button1 = make<QPushButton>(Panel3, "Button1", {232, 28, 40, 24});
    Button1->setText(QStringLiteral("->"));
    RichEdit5 = make<QPlainTextEdit>(Panel3, "RichEdit5", {280, 4, 236, 98});
    RichEdit5->setReadOnly(true);
    QFont result(QStringLiteral("Arial"), 8);
    result.setStyleHint(QFont::SansSerif);
    RichEdit5->setFont(result);

    Button3 = make<QPushButton>(Panel3, "Button3", {92, 78, 80, 24});
    Button4 = make<QPushButton>(Panel3, "Button4", {92, 78, 80, 24});
    Button4->setText(QStringLiteral("Grid"));

    Label7 = makeLabel(Panel3, "Label7", {6, 106, 56, 14});
    Label8 = makeLabel(Panel3, "Label8", {64, 106, 452, 14});
    setBold(Label8);
    Label9 = makeLabel(Panel3, "Label9", {6, 120, 510, 14});
    make<QLineEdit>(Panel3, "MaskEdit1", {0, 0, 10, 10})->hide();
}

void Tform1::buildFilePanel()
{
    Panel1 = make<QFrame>(this, "Panel1", kLowerPanel);
    static_cast<QFrame*>(Panel1)->setFrameShape(QFrame::StyledPanel);
    makeLabel(Panel1, "Label10", {6, 8, 150, 16}, QStringLiteral("Tipo do arquivo de origem"));
    ComboBox3 = make<QComboBox>(Panel1, "ComboBox3", {160, 5, 170, 22});
    ComboBox3->setEditable(true);
    ComboBox3->setInsertPolicy(QComboBox::NoInsert);
    setItems(ComboBox3, {QStringLiteral("DXF"), QStringLiteral("TXT (PONTO,X,Y,Z)"),
                         fromUtf8(pointTextTypeCaption(Language::Portuguese))});
    // Beside the file type, for both types: a choice of the run, not of the files.
    CheckBox1 = make<QCheckBox>(Panel1, "CheckBox1", {338, 5, 178, 22});
    Label11 =
        makeLabel(Panel1, "Label11", {6, 32, 510, 16},
                  QStringLiteral("O conteudo do arquivo texto devara ser:  PONTO ; X ; Y; Z"));
    Label11->hide();
    Button9 = make<QPushButton>(Panel1, "Button9", {6, 52, 130, 24});
    Label18 = makeLabel(Panel1, "Label18", {142, 56, 374, 16});
    Button10 = make<QPushButton>(Panel1, "Button10", {6, 82, 130, 24});
    Label19 = makeLabel(Panel1, "Label19", {142, 86, 374, 16});
    Label20 = makeLabel(Panel1, "Label20", {6, 114, 28, 16}, QStringLiteral("0%"));
    ProgressBar1 = make<QProgressBar>(Panel1, "ProgressBar1", {36, 114, 444, 16});
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    Label21 = makeLabel(Panel1, "Label21", {484, 114, 34, 16}, QStringLiteral("100%"));
    // What the last run did, in the progress bar's row once the run has ended.
    Label22 = makeLabel(Panel1, "Label22", {6, 114, 510, 16});
    Label22->hide();
}

void Tform1::showRunLine(const QString& line, const QString& whole)
{
    setShown({Label20, ProgressBar1, Label21}, line.isEmpty());
    Label22->setText(line);
    Label22->setToolTip(whole);
    Label22->setVisible(!line.isEmpty());
}

void Tform1::wireHandlers()
{
    // Lists answer the user's choice only (activated), never a selection set from code.
    const auto on = [this](auto* sender, auto signal, void (Tform1::*handler)()) {
        connect(sender, signal, this, [this, handler] { guarded([&] { (this->*handler)(); }); });
    };
    on(Button1, &QPushButton::clicked, &Tform1::Button1Click);
    on(Button3, &QPushButton::clicked, &Tform1::Button3Click);
    on(Button4, &QPushButton::clicked, &Tform1::Button4Click);
    on(Button5, &QPushButton::clicked, &Tform1::Button5Click);
    on(ComboBox1, &QComboBox::activated, &Tform1::ComboBox1Change);
    on(ComboBox2, &QComboBox::activated, &Tform1::ComboBox1Change);
    on(ComboBox7, &QComboBox::activated, &Tform1::ComboBox7Change);
    on(ComboBox8, &QComboBox::activated, &Tform1::ComboBox8Change);
    on(ComboBox16, &QComboBox::activated, &Tform1::ComboBox16Change);
    on(ComboBox17, &QComboBox::activated, &Tform1::ComboBox17Change);
    // The lists whose handlers do not already show the codes, and the central meridians.
    for (QComboBox* list : {ComboBox9, ComboBox10, ComboBox14})
        on(list, &QComboBox::activated, &Tform1::showSideCodes);
    for (QLineEdit* meridian : {edit(13), edit(20)})
        on(meridian, &QLineEdit::textChanged, &Tform1::showSideCodes);
    connect(sourceCode_, &QLineEdit::editingFinished, this,
            [this] { guarded([this] { takeCode(WindowSide::Source); }); });
    connect(targetCode_, &QLineEdit::editingFinished, this,
            [this] { guarded([this] { takeCode(WindowSide::Target); }); });
    on(RadioButton1, &QRadioButton::clicked, &Tform1::RadioButton1Click);
    on(RadioButton2, &QRadioButton::clicked, &Tform1::RadioButton1Click);
    on(ComboBox3, &QComboBox::activated, &Tform1::ComboBox3Change);
    on(ComboBox3->lineEdit(), &QLineEdit::textEdited, &Tform1::ComboBox3Change);
    on(Button9, &QPushButton::clicked, &Tform1::Button9Click);
    on(Button10, &QPushButton::clicked, &Tform1::Button10Click);
    on(Button2, &QPushButton::clicked, &Tform1::Button2Click);
    // The result box's menu and Ctrl+Shift+C copy its numbers alone, to paste into a box.
    copyNumbers_ = new QAction(this);
    copyNumbers_->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C));
    addAction(copyNumbers_);
    connect(copyNumbers_, &QAction::triggered, this, &Tform1::copyResultNumbers);
    RichEdit5->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(RichEdit5, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        const std::unique_ptr<QMenu> menu(RichEdit5->createStandardContextMenu(at));
        menu->addSeparator();
        menu->addAction(copyNumbers_);
        menu->exec(RichEdit5->viewport()->mapToGlobal(at));
    });
    // Enter in a box of single-point mode runs "->", as a click on it would.
    for (int n = 1; n <= kEditBoxes; ++n)
        connect(edits_[static_cast<std::size_t>(n)], &QLineEdit::returnPressed, this, [this] {
            if (RadioButton1->isChecked()) guarded([this] { Button1Click(); });
        });
}

bool Tform1::guarded(const std::function<void()>& handler)
{
    std::optional<BoxConversionError> badBox;
    const bool ran = reportErrors(this, [&] {
        try {
            handler();
        } catch (const BoxConversionError& error) {
            badBox = error;
        }
    });
    if (badBox) reportBadBox(*badBox);
    return ran && !badBox;
}

void Tform1::reportBadBox(const BoxConversionError& error)
{
    const WindowMode mode = RadioButton1->isChecked() ? WindowMode::SinglePoint : WindowMode::File;
    const WindowState state = snapshot();
    showErrorReport(this, QString::fromUtf8(error.what()) + QLatin1Char('\n') +
                              fromUtf8(boxName(error.box, state, mode, language())));
    if (boxShown(error.box, state, mode)) {
        edit(error.box)->setFocus(Qt::OtherFocusReason);
        edit(error.box)->selectAll();
    }
}

// --- state ----------------------------------------------------------------------------------

WindowState Tform1::snapshot() const
{
    WindowState state;
    for (int n = 1; n <= 30; ++n)
        editBox(state, n) = edits_[static_cast<std::size_t>(n)]->text().toStdString();
    state.ComboBox1 = ComboBox1->currentIndex();
    state.ComboBox2 = ComboBox2->currentIndex();
    state.ComboBox3 = typedIndex(ComboBox3);
    state.ComboBox7 = ComboBox7->currentIndex();
    state.ComboBox8 = ComboBox8->currentIndex();
    state.ComboBox9 = ComboBox9->currentIndex();
    state.ComboBox10 = ComboBox10->currentIndex();
    state.ComboBox14 = ComboBox14->currentIndex();
    state.ComboBox16 = ComboBox16->currentIndex();
    state.ComboBox17 = ComboBox17->currentIndex();
    state.CheckBox1 = CheckBox1->isChecked();
    state.OpenDialog1FileName = OpenDialog1.fileName.toStdString();
    state.SaveDialog1FileName = SaveDialog1.fileName.toStdString();
    return state;
}

void Tform1::applyState(const WindowState& state)
{
    for (int n = 1; n <= 30; ++n)
        edits_[static_cast<std::size_t>(n)]->setText(QString::fromStdString(editBox(state, n)));
    const std::pair<QComboBox*, int> lists[] = {
        {ComboBox1, state.ComboBox1},   {ComboBox2, state.ComboBox2},
        {ComboBox3, state.ComboBox3},   {ComboBox7, state.ComboBox7},
        {ComboBox8, state.ComboBox8},   {ComboBox9, state.ComboBox9},
        {ComboBox10, state.ComboBox10}, {ComboBox14, state.ComboBox14},
        {ComboBox16, state.ComboBox16}, {ComboBox17, state.ComboBox17}};
    for (const auto& [list, index] : lists)
        list->setCurrentIndex(index < list->count() ? index : -1);
    CheckBox1->setChecked(state.CheckBox1);
    OpenDialog1.fileName = QString::fromStdString(state.OpenDialog1FileName);
    SaveDialog1.fileName = QString::fromStdString(state.SaveDialog1FileName);
}

void Tform1::fillDatumLists()
{
    QStringList names;
    for (const std::string& name : catalogue_.names()) names << QString::fromStdString(name);
    setItems(ComboBox9, names);
    setItems(ComboBox10, names);
}

void Tform1::fillChoiceLists(const TextOf& textOf)
{
    using namespace Text;
    for (QComboBox* kinds : {ComboBox7, ComboBox8})
        setItems(kinds, {textOf(GridKind), textOf(GeodeticKind), textOf(CartesianKind),
                         textOf(LocalKind)});
    setItems(ComboBox14, {textOf(NorthHemisphere), textOf(SouthHemisphere)});
    for (QComboBox* families : {ComboBox16, ComboBox17})
        setItems(families, {QStringLiteral("UTM"), QStringLiteral("LTM"), QStringLiteral("RTM"),
                            textOf(OtherFamily)});
}

int Tform1::language() const { return ComboBox1->currentIndex(); }

QLineEdit* Tform1::edit(int box) const { return edits_[static_cast<std::size_t>(box)]; }

double Tform1::plainNumber(int box) const
{
    try {
        return static_cast<double>(readFloat(edit(box)->text().toStdString(), user_));
    } catch (const ConversionError& error) {
        throw BoxConversionError(error.what(), box);
    }
}

QString Tform1::text(Text::Number number) const
{
    return fromUtf8(texts_.text(number, language()));
}

void Tform1::setShown(std::initializer_list<QWidget*> widgets, bool shown)
{
    for (QWidget* widget : widgets) widget->setVisible(shown);
}

void Tform1::setShown(std::initializer_list<int> boxes, bool shown)
{
    for (const int box : boxes) edit(box)->setVisible(shown);
}

void Tform1::setRowLabel(QLabel* label, Text::Number number)
{
    if (number != Text::NoText) label->setText(text(number));
    label->setVisible(number != Text::NoText);
}

// --- start-up and close ---------------------------------------------------------------------

bool Tform1::event(QEvent* event)
{
    if (event->type() == QEvent::Show && !started_) centreOnScreen(*this);
    // The start-up runs once, at the first activation; modal windows closing re-activate the
    // window without repeating it. A window manager that does not activate a new window (focus
    // stealing prevention, none at all) must not leave it un-started, so the first showing
    // starts it too. It runs from the event loop, since it shows modal windows.
    const bool first = event->type() == QEvent::WindowActivate || event->type() == QEvent::Show;
    if (first && !activationSeen_) {
        activationSeen_ = true;
        QTimer::singleShot(0, this, [this] { reportErrors(this, [this] { FormActivate(); }); });
    }
    return QWidget::event(event);
}

void Tform1::FormActivate()
{
    // The program's folder was given at construction; the catalogue starts empty.
    catalogue_ = DatumCatalogue{};
    // The scale factors in the user's number form and the lists' first selections.
    const WindowState resource = startupState(user_);
    edits_[5]->setText(QString::fromStdString(resource.Edit5));
    edits_[9]->setText(QString::fromStdString(resource.Edit9));
    ComboBox7->setCurrentIndex(resource.ComboBox7);
    ComboBox14->setCurrentIndex(resource.ComboBox14);
    ComboBox16->setCurrentIndex(resource.ComboBox16);
    ComboBox8->setCurrentIndex(resource.ComboBox8);
    ComboBox3->setCurrentIndex(resource.ComboBox3);
    ComboBox17->setCurrentIndex(resource.ComboBox17);
    ComboBox2->setCurrentIndex(resource.ComboBox2);
    // Portuguese, no file read yet, the rejected-points box hidden.
    texts_ = InterfaceTexts{};
    ComboBox1->setCurrentIndex(Language::Portuguese);
    Label18->clear();
    Label19->setText(SaveDialog1.fileName);
    RichEdit7->hide();
    // The engine, before anything computes.
    Motor = std::make_unique<TGeo>();
    // The catalogue: one that cannot be read whole is reported; the datums read stay.
    CatalogueReading datums = loadCatalogue(files_.readable(kCatalogueFileName));
    catalogue_ = std::move(datums.catalogue);
    if (datums.problem) showErrorReport(this, QString::fromStdString(*datums.problem));
    fillDatumLists();
    // The datum editor's table shows the catalogue.
    if (editor_) editor_->fillGrid(catalogue_);
    // The datum lists' first selections, where the catalogue holds them.
    ComboBox9->setCurrentIndex(resource.ComboBox9 < ComboBox9->count() ? resource.ComboBox9 : -1);
    ComboBox10->setCurrentIndex(resource.ComboBox10 < ComboBox10->count() ? resource.ComboBox10
                                                                          : -1);
    // The settings file: one that cannot be read whole is reported and not used.
    const SettingsReading settings =
        Le_Config(files_.readable(kSettingsFileName), snapshot(), catalogue_.QuantDatum(), user_);
    applyState(settings.state);
    // The destination shown is the one a run will write, also when the settings restored it.
    Label19->setText(SaveDialog1.fileName);
    if (settings.problem) showErrorReport(this, QString::fromStdString(*settings.problem));
    // The editor's boxes show its selected datum.
    if (editor_) editor_->StringGrid1Click();
    // The rows of the chosen mode, then the texts of the chosen language.
    RadioButton1Click();
    ComboBox1Change();
    started_ = true;
    // The About window, at every start.
    if (about_) about_->exec();
}

void Tform1::closeEvent(QCloseEvent* event)
{
    // A close that arrives while a run repaints the window (from the window manager) waits for
    // the run: closing would write the settings and release the engine under it.
    bool closing = false;
    if (!fileRunning_) guarded([&] { closing = !started_ || FormClose(); });
    if (closing)
        event->accept();
    else
        event->ignore();
}

bool Tform1::FormClose()
{
    // Every box is converted before anything is written; a box that is not a number throws here
    // and keeps the window open.
    const WindowState state = snapshot();
    try {
        writeSettings(files_.writable(kSettingsFileName), state, user_);
        saveCatalogue(files_.writable(kCatalogueFileName), catalogue_);
    } catch (const FileWriteError& error) {
        const QString question = QString::fromUtf8(error.what()) + QStringLiteral("\n\n") +
                                 fromUtf8(closeWithoutSavingQuestion(language()));
        const auto answer =
            QMessageBox::question(this, QString::fromLatin1(kErrorReportCaption), question,
                                  QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
        if (answer != QMessageBox::Yes) return false;
    }
    Motor.reset();
    return true;
}

void Tform1::saveAtShutdown()
{
    if (!started_) return;
    // Each file on its own: a box that is not a number loses the settings, not the datums.
    try {
        writeSettings(files_.writable(kSettingsFileName), snapshot(), user_);
    } catch (const std::exception& error) {
        std::cerr << "zelvora: the settings were not saved: " << error.what() << '\n';
    }
    try {
        saveCatalogue(files_.writable(kCatalogueFileName), catalogue_);
    } catch (const std::exception& error) {
        std::cerr << "zelvora: the datums were not saved: " << error.what() << '\n';
    }
}

// --- single point ---------------------------------------------------------------------------

void Tform1::Button1Click()
{
    if (!Motor) return;
    const WindowState state = snapshot();
    attachGrids(state);
    // The transformation clears the result box at the step where the action does, so a bad box
    // read before that step leaves the previous result in place.
    const SinglePointResult r =
        transformSinglePoint(state, catalogue_.ListaDatum(), *Motor, user_, interfaceResultTexts(),
                             [this] { RichEdit5->clear(); });
    if (r.message) showErrorMessage(this, QString::fromStdString(*r.message));
    for (const std::string& line : r.lines)
        RichEdit5->appendPlainText(QString::fromStdString(line));
    // The first line is the one read first (the northing, the latitude): it stays in sight
    // however the lines wrap.
    RichEdit5->moveCursor(QTextCursor::Start);
    RichEdit5->ensureCursorVisible();
}

void Tform1::attachGrids(const WindowState& state)
{
    if (state.ComboBox9 == state.ComboBox10) return;
    for (const GridProblem& problem :
         grids_.attach(catalogue_, {state.ComboBox9, state.ComboBox10}))
        QMessageBox::warning(this, QString::fromLatin1(kErrorReportCaption),
                             fromUtf8(gridProblemMessage(problem, language())));
}

void Tform1::copyResultNumbers()
{
    std::vector<std::string> lines;
    for (const QString& line : RichEdit5->toPlainText().split(QLatin1Char('\n')))
        lines.push_back(line.toStdString());
    QGuiApplication::clipboard()->setText(QString::fromStdString(resultNumbers(lines, user_)));
}

void Tform1::Button3Click()
{
    if (!map_) return;
    map_->setWindowTitle(text(Text::WorldMapTitle));
    const double latitude = plainNumber(25);
    const double longitude = plainNumber(26);
    map_->MapadoMundo(latitude, longitude);
    map_->exec();
}

void Tform1::Button4Click()
{
    if (!map_) return;
    map_->setWindowTitle(text(Text::ZoneMapTitle));
    const double north = plainNumber(1);
    const double east = plainNumber(2);
    const double centralMeridian = plainNumber(13);
    map_->MostraUTM(north, east, centralMeridian, ComboBox14->currentIndex() == 1);
    map_->exec();
}

void Tform1::Button5Click()
{
    if (editor_) editor_->exec();
}

void Tform1::storeDatum(int slot, const DatumValues& values)
{
    const DatumSelection kept =
        AtualizaDatum(catalogue_, slot, values,
                      {ComboBox9->currentIndex(), ComboBox10->currentIndex()});
    fillDatumLists();
    ComboBox9->setCurrentIndex(kept.source);
    ComboBox10->setCurrentIndex(kept.target);
    // A renamed datum may no longer be the one a code names.
    showSideCodes();
}

// --- language and panels --------------------------------------------------------------------

void Tform1::ComboBox1Change()
{
    texts_.buildExample(ComboBox2->currentIndex(), user_.decimalSeparator);
    toolkit_.follow(language());

    using namespace Text;
    setWindowTitle(text(WindowTitle));
    RadioGroup1->setTitle(text(WhatToTransform));
    const std::pair<QLabel*, Text::Number> labels[] = {
        {Label24, FromSide},         {Label25, ToSide},
        {Label26, DatumCaption},     {Label27, DatumCaption},
        {Label1, LanguageCaption},   {Label2, NorthOriginCaption},
        {Label3, EastOriginCaption}, {Label4, NorthOriginCaption},
        {Label5, EastOriginCaption}, {Label6, AngleFormatCaption},
        {Label7, ExampleCaption},    {Label8, AngleFormatExample},
        {Label9, SignRule}};
    for (const auto& [label, number] : labels) label->setText(text(number));
    const std::pair<QAbstractButton*, Text::Number> buttons[] = {{Button2, FileRunButton},
                                                                 {RadioButton1, OnePointChoice},
                                                                 {RadioButton2, FileChoice},
                                                                 {Button3, MapButton},
                                                                 {Button9, SourceFileButton},
                                                                 {Button10, DestinationFileButton}};
    for (const auto& [button, number] : buttons) button->setText(text(number));
    // Its text changes in place, so a chosen third type stays chosen in the editable list.
    ComboBox3->setItemText(FileType::PointsToText, fromUtf8(pointTextTypeCaption(language())));
    CheckBox1->setText(fromUtf8(keepHeightsCaption(language())));
    copyNumbers_->setText(fromUtf8(copyNumbersCaption(language())));
    CheckBox1->setToolTip(fromUtf8(keepHeightsHint(language())));
    sourceCode_->setToolTip(fromUtf8(epsgBoxHint(true, language())));
    targetCode_->setToolTip(fromUtf8(epsgBoxHint(false, language())));
    const TextOf current = [this](Text::Number number) { return text(number); };
    if (about_) about_->applyLanguage(current);
    if (editor_) editor_->applyLanguage(language());

    const int kinds[] = {ComboBox7->currentIndex(), ComboBox8->currentIndex()};
    const int hemisphere = ComboBox14->currentIndex();
    const int families[] = {ComboBox16->currentIndex(), ComboBox17->currentIndex()};
    fillChoiceLists([this](Text::Number number) { return text(number); });
    ComboBox7->setCurrentIndex(kinds[0]);
    ComboBox8->setCurrentIndex(kinds[1]);
    ComboBox14->setCurrentIndex(hemisphere);
    ComboBox16->setCurrentIndex(families[0]);
    ComboBox17->setCurrentIndex(families[1]);

    ComboBox7Change();
    ComboBox8Change();
}

void Tform1::ComboBox7Change()
{
    using namespace CoordinateKind;
    using namespace Text;
    const int kind = ComboBox7->currentIndex();
    if (kind < Grid || kind > Topographic) return;
    const bool grid = kind == Grid, local = kind == Topographic;
    setRowLabel(Label28, grid ? CentralMeridianCaption : local ? OriginLatitudeCaption : NoText);
    setRowLabel(Label29, grid ? HemisphereCaption : local ? OriginLongitudeCaption : NoText);
    setRowLabel(Label34, grid ? SystemCaption : local ? PlaneHeightCaption : NoText);
    setRowLabel(Label35, local ? PlaneOriginXCaption : NoText);
    setRowLabel(Label36, local ? PlaneOriginYCaption : NoText);
    setShown({edit(13), ComboBox14, ComboBox16}, grid);
    setShown({15, 16, 17, 18, 19}, local);
    setShown({Button3}, kind == Geodetic);
    setShown({Button4}, grid && ComboBox16->currentIndex() == GridFamily::Utm);

    // Input rows 1 to 3 by kind: grid, geodetic, Cartesian, local.
    constexpr Text::Number kRow1[] = {NorthLabel, LatitudeLabel, XLabel, SurveyXLabel},
                           kRow2[] = {EastLabel, LongitudeLabel, YLabel, SurveyYLabel},
                           kRow3[] = {HeightLabel, HeightLabel, ZLabel, HeightLabel};
    setRowLabel(Label40, kRow1[kind]);
    setRowLabel(Label39, kRow2[kind]);
    setRowLabel(Label38, kRow3[kind]);
    setShown({25, 26}, kind == Geodetic);
    setShown({27}, kind != Cartesian);
    setShown({1, 2}, grid);
    setShown({28, 29, 30}, kind == Cartesian);
    setShown({3, 4}, local);

    if (grid)
        ComboBox16Change();
    else
        hideOriginRows({Label2, Label3}, {5, 6, 7, 8});
    showSideCodes();
}

void Tform1::ComboBox8Change()
{
    using namespace CoordinateKind;
    using namespace Text;
    const int kind = ComboBox8->currentIndex();
    if (kind < Grid || kind > Topographic) return;
    const bool grid = kind == Grid, local = kind == Topographic;
    // No hemisphere on the target side: row 2 stays empty for a grid.
    setRowLabel(Label30, grid ? CentralMeridianCaption : local ? OriginLatitudeCaption : NoText);
    setRowLabel(Label31, local ? OriginLongitudeCaption : NoText);
    setRowLabel(Label32, grid ? SystemCaption : local ? PlaneHeightCaption : NoText);
    setRowLabel(Label33, local ? PlaneOriginXCaption : NoText);
    setRowLabel(Label37, local ? PlaneOriginYCaption : NoText);
    setShown({edit(20), ComboBox17}, grid);
    setShown({14, 21, 22, 23, 24}, local);

    if (grid)
        ComboBox17Change();
    else
        hideOriginRows({Label4, Label5}, {9, 10, 11, 12});
    showSideCodes();
}

void Tform1::ComboBox16Change()
{
    const bool grid = ComboBox7->currentIndex() == CoordinateKind::Grid;
    const int family = ComboBox16->currentIndex();
    if (grid) setShown({Button4}, family == GridFamily::Utm);
    showOtherFamilyRows(grid && family == GridFamily::UserDefined, Label35, Label36,
                        {Label2, Label3}, {5, 6, 7, 8});
    showSideCodes();
}

void Tform1::ComboBox17Change()
{
    showOtherFamilyRows(ComboBox8->currentIndex() == CoordinateKind::Grid &&
                            ComboBox17->currentIndex() == GridFamily::UserDefined,
                        Label33, Label37, {Label4, Label5}, {9, 10, 11, 12});
    showSideCodes();
}

void Tform1::showOtherFamilyRows(bool shown, QLabel* koLabel, QLabel* widthLabel,
                                 std::initializer_list<QWidget*> originLabels,
                                 std::initializer_list<int> boxes)
{
    if (shown) {
        koLabel->setText(QStringLiteral("Ko"));
        widthLabel->setText(text(Text::ZoneWidthCaption));
    }
    setShown({koLabel, widthLabel}, shown);
    setShown(originLabels, shown);
    setShown(boxes, shown);
}

// Rows 6 and 7 and the family's boxes of rows 4 and 5, for a kind other than a grid; rows 4 and 5
// keep their labels, which a local plane uses.
void Tform1::hideOriginRows(std::initializer_list<QWidget*> originLabels,
                            std::initializer_list<int> boxes)
{
    setShown(originLabels, false);
    setShown(boxes, false);
}

// --- file mode ------------------------------------------------------------------------------

void Tform1::RadioButton1Click()
{
    const bool fileMode = RadioButton2->isChecked();
    Panel1->setVisible(fileMode);
    Panel3->setVisible(!fileMode);
    Button2->setVisible(fileMode);
}

void Tform1::ComboBox3Change()
{
    Label11->show();
    Label18->clear();
    Button2->setEnabled(false);
    // The next source dialog lists files of the chosen type; the source must be chosen again.
    const int type = typedIndex(ComboBox3);
    OpenDialog1.filterIndex = 1;
    OpenDialog1.fileName = QString::fromLatin1(type == FileType::Drawing ? kDefaultExt : kTextExt);
    // A text run writes a point file: the destination dialog offers text files.
    const bool text = type == FileType::PointsToText;
    SaveDialog1.filter = QString::fromLatin1(text ? kTextSaveFilter : kSaveFilter);
    SaveDialog1.defaultExt = QString::fromLatin1(text ? kTextExt : kDefaultExt);
}

void Tform1::Button9Click()
{
    if (const std::optional<QString> chosen = dialogs_->open(this, OpenDialog1)) {
        OpenDialog1.fileName = *chosen;
        Label18->setText(*chosen);
        Button2->setEnabled(true);
    } else {
        Label18->clear();
        Button2->setEnabled(false);
    }
}

void Tform1::Button10Click()
{
    if (const std::optional<QString> chosen = dialogs_->save(this, SaveDialog1))
        SaveDialog1.fileName = *chosen;
    Label19->setText(SaveDialog1.fileName);
}

void Tform1::Button2Click()
{
    if (!Motor) return;
    const WindowState state = snapshot();
    // The type is the list's at the moment of the click, whatever the file's extension says.
    const int type = state.ComboBox3;
    attachGrids(state);
    showRunLine({}, {});
    ProgressBar1->setValue(0);
    stopRequested_ = false;
    // The events let a request to end the session in; it stops the run where it stands.
    struct Stopped {};
    const Progress progress = [this](std::size_t nextLine, std::size_t lineCount) {
        ProgressBar1->setMaximum(std::max(1, barValue(lineCount)));
        ProgressBar1->setValue(barValue(nextLine));
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        if (stopRequested_) throw Stopped{};
    };
    FileRunSummary summary;
    QElapsedTimer clock;
    clock.start();
    try {
        const BusyCursor busy;
        const QScopedValueRollback running(fileRunning_, true);
        const auto source = pathOf(OpenDialog1.fileName),
                   destination = pathOf(SaveDialog1.fileName);
        const auto& datums = catalogue_.ListaDatum();
        summary =
            type == FileType::Drawing
                ? ConverteDXF(source, destination, state, datums, *Motor, user_, progress)
            : type == FileType::PointsToText
                ? ExportaTexto(source, destination, state, datums, *Motor, user_, {}, progress)
                : ExportaDXF(source, destination, state, datums, *Motor, user_, progress);
    } catch (const Stopped&) {
        return;
    } catch (const std::exception& error) {
        // The message box says it at once; the line keeps it in sight afterwards.
        const QString reason = QString::fromUtf8(error.what()).simplified();
        const QString line = fromUtf8(refusedRunLine(reason.toStdString(), language()));
        showRunLine(elided(Label22, line, Qt::ElideRight), line);
        throw;
    }
    const double seconds = static_cast<double>(clock.elapsed()) / 1000;
    showFinishedRun(summary, seconds);
    QApplication::beep();
    QApplication::beep();
    if (summary.rejected > 0)
        QMessageBox::warning(this, QString::fromLatin1(kErrorReportCaption),
                             fromUtf8(rejectedPointsMessage(summary.rejected, summary.points,
                                                            summary.firstRejectedLine,
                                                            language())));
}

void Tform1::showFinishedRun(const FileRunSummary& summary, double seconds)
{
    const auto line = [&](const QString& file) {
        return fromUtf8(
            fileRunLine(summary, seconds, user_.decimalSeparator, file.toStdString(), language()));
    };
    // The numbers stay whole; a long file name gives up its middle.
    const QString whole = line(SaveDialog1.fileName);
    const int room = Label22->width() - Label22->fontMetrics().horizontalAdvance(line({})) - 4;
    const QString file =
        Label22->fontMetrics().elidedText(SaveDialog1.fileName, Qt::ElideMiddle, std::max(room, 0));
    showRunLine(line(file), whole);
}

// --- EPSG codes -----------------------------------------------------------------------------

void Tform1::takeCode(WindowSide side)
{
    QLineEdit* box = side == WindowSide::Source ? sourceCode_ : targetCode_;
    // Enter and then leaving the box finish the same typing; a box as the window filled it holds
    // no new code.
    if (!box->isModified()) return;
    box->setModified(false);
    const std::string typed = box->text().trimmed().toStdString();
    if (typed.empty()) {
        showSideCodes();
        return;
    }
    const TypedCode code = takeTypedCode(typed, side, snapshot(), catalogue_.names(), language());
    if (!code.state) {
        // Back to the code that will be computed before the message box takes the focus, so the
        // box never shows a refused code.
        showSideCodes();
        showErrorMessage(this, fromUtf8(code.refusal));
        return;
    }
    setSideChoices(*code.state, side);
    box->setText(QString::number(*typedEpsgCode(typed)));
    showSideCodes();
}

void Tform1::setSideChoices(const WindowState& state, WindowSide side)
{
    {
        const QScopedValueRollback setting(settingCode_, true);
        const bool source = side == WindowSide::Source;
        const std::pair<QComboBox*, int> lists[] = {
            {source ? ComboBox7 : ComboBox8, source ? state.ComboBox7 : state.ComboBox8},
            {source ? ComboBox9 : ComboBox10, source ? state.ComboBox9 : state.ComboBox10},
            {source ? ComboBox16 : ComboBox17, source ? state.ComboBox16 : state.ComboBox17},
            {ComboBox14, state.ComboBox14}};
        for (const auto& [list, index] : lists) list->setCurrentIndex(index);
        QLineEdit* meridian = edit(source ? 13 : 20);
        const QString degrees = QString::fromStdString(source ? state.Edit13 : state.Edit20);
        if (meridian->text() != degrees) meridian->setText(degrees);
    }
    // The rows of the side's new kind and family.
    if (side == WindowSide::Source)
        ComboBox7Change();
    else
        ComboBox8Change();
}

void Tform1::showSideCodes()
{
    if (settingCode_) return;
    const WindowState state = snapshot();
    const std::vector<std::string> names = catalogue_.names();
    for (const auto& [box, side] :
         {std::pair{sourceCode_, WindowSide::Source}, std::pair{targetCode_, WindowSide::Target}}) {
        const std::optional<int> code =
            sideCode(state, side, names, user_, typedEpsgCode(box->text().toStdString()));
        box->setText(code ? QString::number(*code) : QString());
    }
}
