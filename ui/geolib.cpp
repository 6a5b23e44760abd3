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
#include "ui/WindowPlacement.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
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
#include <memory>
#include <climits>

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
Widget* make(QWidget* parent, const QString& name, const QRect& place)
{
    auto* widget = new Widget(parent);
    widget->setObjectName(name);
    widget->setGeometry(place);
    return widget;
}

QLabel* makeLabel(QWidget* parent, const char* name, const QRect& place, const QString& text = {})
{
    auto* label = make<QLabel>(parent, QString::fromLatin1(name), place);
    label->setText(text);
    return label;
}

// A box or a list of a side's row, by the name's kind.
void makeRowControl(QWidget* parent, const char* name, const QRect& place)
{
    const QString n = QString::fromLatin1(name);
    if (n.startsWith(QLatin1String("Edit")))
        make<QLineEdit>(parent, n, place);
    else
        make<QComboBox>(parent, n, place);
}

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

// The side's rows 1 to 7: the label, then the controls that share the row's place.
struct SideRows {
    const char* heading;
    const char* kind;
    const char* datumLabel;
    const char* datum;
    std::array<const char*, 7> labels;
    std::array<std::array<const char*, 2>, 7> controls;
};

const SideRows kSourceRows{"Label24",
                           "ComboBox7",
                           "Label26",
                           "ComboBox9",
                           {"Label28", "Label29", "Label34", "Label35", "Label36", "Label2",
                            "Label3"},
                           {{{"Edit13", "Edit15"},
                             {"ComboBox14", "Edit16"},
                             {"ComboBox16", "Edit17"},
                             {"Edit18", "Edit5"},
                             {"Edit19", "Edit6"},
                             {"Edit7", nullptr},
                             {"Edit8", nullptr}}}};
const SideRows kTargetRows{"Label25",
                           "ComboBox8",
                           "Label27",
                           "ComboBox10",
                           {"Label30", "Label31", "Label32", "Label33", "Label37", "Label4",
                            "Label5"},
                           {{{"Edit20", "Edit14"},
                             {"Edit21", nullptr},
                             {"ComboBox17", "Edit22"},
                             {"Edit23", "Edit9"},
                             {"Edit24", "Edit10"},
                             {"Edit11", nullptr},
                             {"Edit12", nullptr}}}};

// While a file run works the window is repainted but takes no input; the cursor says so.
class BusyCursor {
public:
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

int barValue(std::size_t lines) { return static_cast<int>(std::min<std::size_t>(lines, INT_MAX)); }

}  // namespace

Tform1::Tform1(const NumberFormat& user, ProgramFiles files, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint),
      user_(user),
      files_(std::move(files)),
      dialogs_(std::make_unique<SystemFileDialogs>()),
      OpenDialog1{QString::fromLatin1(kOpenFilter), 1, QString::fromLatin1(kDefaultExt),
                  QStringLiteral("Teste.Dxf")},
      SaveDialog1{QString::fromLatin1(kSaveFilter), 1, QString::fromLatin1(kDefaultExt),
                  QStringLiteral("SemNome.Dxf")}
{
    setObjectName(QStringLiteral("form1"));
    setFixedSize(kClientWidth, kClientHeight);
    setFont(interfaceFont());

    buildTopStrip();
    buildSides();
    buildPointPanel();
    buildFilePanel();

    auto* keys = new NumericKeyFilter(user_.decimalSeparator, this);
    for (int n = 1; n <= 30; ++n) {
        edits_[static_cast<std::size_t>(n)] =
            findChild<QLineEdit*>(QStringLiteral("Edit%1").arg(n));
        edits_[static_cast<std::size_t>(n)]->installEventFilter(keys);
    }
    const auto list = [this](const char* name) {
        return findChild<QComboBox*>(QString::fromLatin1(name));
    };
    ComboBox7 = list("ComboBox7");
    ComboBox8 = list("ComboBox8");
    ComboBox9 = list("ComboBox9");
    ComboBox10 = list("ComboBox10");
    ComboBox14 = list("ComboBox14");
    ComboBox16 = list("ComboBox16");
    ComboBox17 = list("ComboBox17");

    // The resource's lists and texts, in the language the window was designed in.
    texts_.buildExample(2, user_.decimalSeparator);
    const auto portuguese = [](int number) {
        return fromUtf8(TextoIdioma(number, Language::Portuguese));
    };
    for (QComboBox* kinds : {ComboBox7, ComboBox8})
        setItems(kinds, {portuguese(29), portuguese(30), portuguese(31), portuguese(32)});
    setItems(ComboBox14, {portuguese(33), portuguese(34)});
    for (QComboBox* families : {ComboBox16, ComboBox17})
        setItems(families, {QStringLiteral("UTM"), QStringLiteral("LTM"), QStringLiteral("RTM"),
                            portuguese(57)});
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
        editor_->setCatalogue({[this]() -> const DatumCatalogue& { return catalogue_; },
                               [this](int slot, const std::string& name, const DatumEntry& values) {
                                   storeDatum(slot, name, values);
                               }});
}

void Tform1::setFileDialogs(std::unique_ptr<FileDialogs> dialogs) { dialogs_ = std::move(dialogs); }

// --- building -------------------------------------------------------------------------------

void Tform1::buildTopStrip()
{
    RadioGroup1 = make<QGroupBox>(this, QStringLiteral("RadioGroup1"), {6, 2, 212, 64});
    RadioButton1 =
        make<QRadioButton>(RadioGroup1, QStringLiteral("RadioButton1"), {10, 18, 200, 20});
    RadioButton2 =
        make<QRadioButton>(RadioGroup1, QStringLiteral("RadioButton2"), {10, 40, 200, 20});
    RadioButton1->setChecked(true);

    Button5 = make<QPushButton>(this, QStringLiteral("Button5"), {222, 10, 118, 24});
    Button5->setText(QStringLiteral("Datum"));
    Button2 = make<QPushButton>(this, QStringLiteral("Button2"), {222, 40, 118, 24});
    QFont bold = Button2->font();
    bold.setBold(true);
    Button2->setFont(bold);
    Button2->setEnabled(false);

    makeLabel(this, "Label6", {344, 6, 110, 16});
    ComboBox2 = make<QComboBox>(this, QStringLiteral("ComboBox2"), {344, 24, 110, 22});
    setItems(ComboBox2, {QStringLiteral("±GGG.GGGGGG"), QStringLiteral("±GGG.MMMMM"),
                         QStringLiteral("±GGG.MMSSSS")});
    makeLabel(this, "Label1", {458, 6, 73, 16});
    ComboBox1 = make<QComboBox>(this, QStringLiteral("ComboBox1"), {458, 24, 73, 22});
    setItems(ComboBox1,
             {QStringLiteral("Português"), QStringLiteral("English"), QStringLiteral("Español")});

    // The file runs keep their text in memory; this buffer of the window is never shown.
    RichEdit7 = make<QPlainTextEdit>(this, QStringLiteral("RichEdit7"), {0, 0, 10, 10});
    RichEdit7->setReadOnly(true);
    RichEdit7->hide();
}

void Tform1::buildSides()
{
    Panel2 = make<QFrame>(this, QStringLiteral("Panel2"), kSidesPanel);
    static_cast<QFrame*>(Panel2)->setFrameShape(QFrame::StyledPanel);
    buildSide(Panel2, 4, true);
    auto* line = make<QFrame>(Panel2, QStringLiteral("Shape1"),
                              {kSideWidth + 2, 4, 2, kSidesPanel.height() - 8});
    line->setFrameShape(QFrame::VLine);
    line->setFrameShadow(QFrame::Sunken);
    buildSide(Panel2, kSideWidth + 8, false);
}

void Tform1::buildSide(QWidget* panel, int left, bool source)
{
    const SideRows& side = source ? kSourceRows : kTargetRows;
    QLabel* heading = makeLabel(panel, side.heading, {left, 6, 44, 18});
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);
    make<QComboBox>(panel, QString::fromLatin1(side.kind), {left + 48, 4, 200, 22});
    makeLabel(panel, side.datumLabel, {left, 32, 44, 18});
    make<QComboBox>(panel, QString::fromLatin1(side.datum), {left + 48, 30, 200, 22});
    for (std::size_t row = 0; row < side.labels.size(); ++row) {
        const int top = kRowTop + static_cast<int>(row) * kRowStep;
        makeLabel(panel, side.labels[row], {left, top + 2, 126, 18});
        for (const char* control : side.controls[row])
            if (control) makeRowControl(panel, control, {left + 128, top, 120, 20});
    }
}

void Tform1::buildPointPanel()
{
    Panel3 = make<QFrame>(this, QStringLiteral("Panel3"), kLowerPanel);
    static_cast<QFrame*>(Panel3)->setFrameShape(QFrame::StyledPanel);
    const std::array<const char*, 3> labels{"Label40", "Label39", "Label38"};
    const std::array<std::initializer_list<const char*>, 3> rows{
        {{"Edit25", "Edit1", "Edit28", "Edit3"},
         {"Edit26", "Edit2", "Edit29", "Edit4"},
         {"Edit27", "Edit30"}}};
    for (std::size_t row = 0; row < rows.size(); ++row) {
        const int top = kInputTop + static_cast<int>(row) * kInputStep;
        makeLabel(Panel3, labels[row], {6, top + 2, 84, 18});
        for (const char* box : rows[row]) makeRowControl(Panel3, box, {92, top, 132, 20});
    }

    Button1 = make<QPushButton>(Panel3, QStringLiteral("Button1"), {232, 28, 40, 24});
    Button1->setText(QStringLiteral("->"));
    RichEdit5 = make<QPlainTextEdit>(Panel3, QStringLiteral("RichEdit5"), {280, 4, 236, 98});
    RichEdit5->setReadOnly(true);
    QFont result(QStringLiteral("Arial"), 8);
    result.setStyleHint(QFont::SansSerif);
    RichEdit5->setFont(result);

    Button3 = make<QPushButton>(Panel3, QStringLiteral("Button3"), {92, 78, 80, 24});
    Button4 = make<QPushButton>(Panel3, QStringLiteral("Button4"), {92, 78, 80, 24});
    Button4->setText(QStringLiteral("Grid"));

    makeLabel(Panel3, "Label7", {6, 106, 56, 14});
    Label8 = makeLabel(Panel3, "Label8", {64, 106, 452, 14});
    QFont bold = Label8->font();
    bold.setBold(true);
    Label8->setFont(bold);
    makeLabel(Panel3, "Label9", {6, 120, 510, 14});
    make<QLineEdit>(Panel3, QStringLiteral("MaskEdit1"), {0, 0, 10, 10})->hide();
}

void Tform1::buildFilePanel()
{
    Panel1 = make<QFrame>(this, QStringLiteral("Panel1"), kLowerPanel);
    static_cast<QFrame*>(Panel1)->setFrameShape(QFrame::StyledPanel);
    makeLabel(Panel1, "Label10", {6, 8, 150, 16}, QStringLiteral("Tipo do arquivo de origem"));
    ComboBox3 = make<QComboBox>(Panel1, QStringLiteral("ComboBox3"), {160, 5, 170, 22});
    ComboBox3->setEditable(true);
    ComboBox3->setInsertPolicy(QComboBox::NoInsert);
    setItems(ComboBox3, {QStringLiteral("DXF"), QStringLiteral("TXT (PONTO,X,Y,Z)"),
                         fromUtf8(pointTextTypeCaption(Language::Portuguese))});
    // Beside the file type, for both types: a choice of the run, not of the files.
    CheckBox1 = make<QCheckBox>(Panel1, QStringLiteral("CheckBox1"), {338, 5, 178, 22});
    Label11 =
        makeLabel(Panel1, "Label11", {6, 32, 510, 16},
                  QStringLiteral("O conteudo do arquivo texto devara ser:  PONTO ; X ; Y; Z"));
    Label11->hide();
    Button9 = make<QPushButton>(Panel1, QStringLiteral("Button9"), {6, 52, 130, 24});
    Label18 = makeLabel(Panel1, "Label18", {142, 56, 374, 16});
    Button10 = make<QPushButton>(Panel1, QStringLiteral("Button10"), {6, 82, 130, 24});
    Label19 = makeLabel(Panel1, "Label19", {142, 86, 374, 16});
    makeLabel(Panel1, "Label20", {6, 114, 28, 16}, QStringLiteral("0%"));
    ProgressBar1 = make<QProgressBar>(Panel1, QStringLiteral("ProgressBar1"), {36, 114, 444, 16});
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    makeLabel(Panel1, "Label21", {484, 114, 34, 16}, QStringLiteral("100%"));
}

void Tform1::wireHandlers()
{
    // Lists answer the user's choice only (activated), never a selection set from code.
    const auto on = [this](auto* sender, auto signal, void (Tform1::*handler)()) {
        connect(sender, signal, this,
                [this, handler] { reportErrors(this, [&] { (this->*handler)(); }); });
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
            if (RadioButton1->isChecked()) reportErrors(this, [this] { Button1Click(); });
        });
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

int Tform1::language() const { return ComboBox1->currentIndex(); }

double Tform1::plainNumber(int box) const
{
    return static_cast<double>(
        readFloat(edits_[static_cast<std::size_t>(box)]->text().toStdString(), user_));
}

QString Tform1::text(int number) const { return fromUtf8(texts_.text(number, language())); }

void Tform1::setShown(std::initializer_list<const char*> names, bool shown)
{
    for (const char* name : names)
        if (auto* widget = findChild<QWidget*>(QString::fromLatin1(name)))
            widget->setVisible(shown);
}

void Tform1::setRowLabel(const char* name, int textNumber)
{
    auto* label = findChild<QLabel*>(QString::fromLatin1(name));
    if (textNumber >= 0) label->setText(text(textNumber));
    label->setVisible(textNumber >= 0);
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
    if (!fileRunning_) reportErrors(this, [&] { closing = !started_ || FormClose(); });
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
    map_->setWindowTitle(text(37));
    const double latitude = plainNumber(25);
    const double longitude = plainNumber(26);
    map_->MapadoMundo(latitude, longitude);
    map_->exec();
}

void Tform1::Button4Click()
{
    if (!map_) return;
    map_->setWindowTitle(text(36));
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

void Tform1::storeDatum(int slot, const std::string& name, const DatumEntry& values)
{
    const DatumSelection kept =
        AtualizaDatum(catalogue_, slot, name, values.A, values.InvF, values.Dx, values.Dy,
                      values.Dz, {ComboBox9->currentIndex(), ComboBox10->currentIndex()});
    fillDatumLists();
    ComboBox9->setCurrentIndex(kept.source);
    ComboBox10->setCurrentIndex(kept.target);
}

// --- language and panels --------------------------------------------------------------------

void Tform1::ComboBox1Change()
{
    texts_.buildExample(ComboBox2->currentIndex(), user_.decimalSeparator);
    toolkit_.follow(language());

    setWindowTitle(text(0));
    RadioGroup1->setTitle(text(2));
    const std::pair<const char*, int> captions[] = {
        {"Button2", 1}, {"RadioButton1", 3}, {"RadioButton2", 4}, {"Label24", 5},  {"Label25", 6},
        {"Label26", 7}, {"Label27", 7},      {"Label1", 26},      {"Label2", 55},  {"Label3", 56},
        {"Label4", 55}, {"Label5", 56},      {"Button3", 40},     {"Button9", 41}, {"Button10", 42},
        {"Label6", 58}, {"Label7", 61},      {"Label8", 60},      {"Label9", 62}};
    for (const auto& [name, number] : captions) {
        QWidget* widget = findChild<QWidget*>(QString::fromLatin1(name));
        if (auto* label = qobject_cast<QLabel*>(widget))
            label->setText(text(number));
        else if (auto* button = qobject_cast<QAbstractButton*>(widget))
            button->setText(text(number));
    }
    // Its text changes in place, so a chosen third type stays chosen in the editable list.
    ComboBox3->setItemText(FileType::PointsToText, fromUtf8(pointTextTypeCaption(language())));
    CheckBox1->setText(fromUtf8(keepHeightsCaption(language())));
    copyNumbers_->setText(fromUtf8(copyNumbersCaption(language())));
    CheckBox1->setToolTip(fromUtf8(keepHeightsHint(language())));
    const TextOf current = [this](int number) { return text(number); };
    if (about_) about_->applyLanguage(current);
    if (editor_) editor_->applyLanguage(language());

    const int kinds[] = {ComboBox7->currentIndex(), ComboBox8->currentIndex()};
    const int hemisphere = ComboBox14->currentIndex();
    const int families[] = {ComboBox16->currentIndex(), ComboBox17->currentIndex()};
    setItems(ComboBox7, {text(29), text(30), text(31), text(32)});
    setItems(ComboBox8, {text(29), text(30), text(31), text(32)});
    setItems(ComboBox14, {text(33), text(34)});
    const QStringList familyItems{QStringLiteral("UTM"), QStringLiteral("LTM"),
                                  QStringLiteral("RTM"), text(57)};
    setItems(ComboBox16, familyItems);
    setItems(ComboBox17, familyItems);
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
    const int kind = ComboBox7->currentIndex();
    if (kind < Grid || kind > Topographic) return;
    const bool grid = kind == Grid, local = kind == Topographic;
    setRowLabel("Label28", grid ? 8 : local ? 14 : -1);
    setRowLabel("Label29", grid ? 9 : local ? 15 : -1);
    setRowLabel("Label34", grid ? 13 : local ? 10 : -1);
    setRowLabel("Label35", local ? 11 : -1);
    setRowLabel("Label36", local ? 12 : -1);
    setShown({"Edit13", "ComboBox14", "ComboBox16"}, grid);
    setShown({"Edit15", "Edit16", "Edit17", "Edit18", "Edit19"}, local);
    setShown({"Button3"}, kind == Geodetic);
    setShown({"Button4"}, grid && ComboBox16->currentIndex() == GridFamily::Utm);

    // Input rows 1 to 3 by kind: grid, geodetic, Cartesian, local.
    constexpr int kRow1[] = {16, 19, 21, 24}, kRow2[] = {17, 20, 22, 25},
                  kRow3[] = {18, 18, 23, 18};
    setRowLabel("Label40", kRow1[kind]);
    setRowLabel("Label39", kRow2[kind]);
    setRowLabel("Label38", kRow3[kind]);
    setShown({"Edit25", "Edit26"}, kind == Geodetic);
    setShown({"Edit27"}, kind != Cartesian);
    setShown({"Edit1", "Edit2"}, grid);
    setShown({"Edit28", "Edit29", "Edit30"}, kind == Cartesian);
    setShown({"Edit3", "Edit4"}, local);

    if (grid)
        ComboBox16Change();
    else
        setShown({"Label2", "Label3", "Edit5", "Edit6", "Edit7", "Edit8"}, false);
}

void Tform1::ComboBox8Change()
{
    using namespace CoordinateKind;
    const int kind = ComboBox8->currentIndex();
    if (kind < Grid || kind > Topographic) return;
    const bool grid = kind == Grid, local = kind == Topographic;
    // No hemisphere on the target side: row 2 stays empty for a grid.
    setRowLabel("Label30", grid ? 8 : local ? 14 : -1);
    setRowLabel("Label31", local ? 15 : -1);
    setRowLabel("Label32", grid ? 13 : local ? 10 : -1);
    setRowLabel("Label33", local ? 11 : -1);
    setRowLabel("Label37", local ? 12 : -1);
    setShown({"Edit20", "ComboBox17"}, grid);
    setShown({"Edit14", "Edit21", "Edit22", "Edit23", "Edit24"}, local);

    if (grid)
        ComboBox17Change();
    else
        setShown({"Label4", "Label5", "Edit9", "Edit10", "Edit11", "Edit12"}, false);
}

void Tform1::ComboBox16Change()
{
    const bool grid = ComboBox7->currentIndex() == CoordinateKind::Grid;
    const int family = ComboBox16->currentIndex();
    if (grid) setShown({"Button4"}, family == GridFamily::Utm);
    showOtherFamilyRows(grid && family == GridFamily::UserDefined, "Label35", "Label36",
                        {"Label2", "Label3", "Edit5", "Edit6", "Edit7", "Edit8"});
}

void Tform1::ComboBox17Change()
{
    showOtherFamilyRows(ComboBox8->currentIndex() == CoordinateKind::Grid &&
                            ComboBox17->currentIndex() == GridFamily::UserDefined,
                        "Label33", "Label37",
                        {"Label4", "Label5", "Edit9", "Edit10", "Edit11", "Edit12"});
}

void Tform1::showOtherFamilyRows(bool shown, const char* koLabel, const char* widthLabel,
                                 std::initializer_list<const char*> rest)
{
    if (shown) {
        findChild<QLabel*>(QString::fromLatin1(koLabel))->setText(QStringLiteral("Ko"));
        findChild<QLabel*>(QString::fromLatin1(widthLabel))->setText(text(54));
    }
    setShown({koLabel, widthLabel}, shown);
    setShown(rest, shown);
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
    }
    QApplication::beep();
    QApplication::beep();
    if (summary.rejected > 0)
        QMessageBox::warning(this, QString::fromLatin1(kErrorReportCaption),
                             fromUtf8(rejectedPointsMessage(summary.rejected, summary.points,
                                                            summary.firstRejectedLine,
                                                            language())));
}
