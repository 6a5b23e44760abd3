#include "ui/Unit3.h"

#include "ui/ErrorReport.h"
#include "transform/text/NumberText.h"
#include "ui/texts/TextTables.h"
#include "ui/WindowPlacement.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>

#include <optional>

namespace {

constexpr int kColumns = 13;
constexpr int kRowHeight = 19;
// The columns worded in each language; the others are headed by their symbols.
constexpr int kConventionColumn = 10;
constexpr int kGridColumn = 11;
constexpr int kTargetColumn = 12;
// Wide enough for every column at once, so that no figure of a datum hides off the grid.
constexpr int kWidth = 1180;
constexpr int kHeight = 330;

template <typename Widget>
Widget* named(QWidget* parent, const char* name, const QRect& place, const QString& text = {})
{
    auto* w = new Widget(text, parent);
    w->setObjectName(QString::fromLatin1(name));
    w->setGeometry(place);
    return w;
}

QLineEdit* box(QWidget* parent, int number, const QRect& place)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QStringLiteral("Edit%1").arg(number));
    edit->setGeometry(place);
    return edit;
}

QTableWidget* catalogueGrid(QWidget* parent)
{
    auto* grid = new QTableWidget(0, kColumns, parent);
    grid->setObjectName(QStringLiteral("StringGrid1"));
    grid->setGeometry(8, 22, kWidth - 16, 156);
    grid->setHorizontalHeaderLabels(
        {QStringLiteral("Datum"), QStringLiteral("(a)"), QStringLiteral("1/(f)"),
         QStringLiteral("(Dx)"), QStringLiteral("(Dy)"), QStringLiteral("(Dz)"),
         QStringLiteral("(rx)"), QStringLiteral("(ry)"), QStringLiteral("(rz)"),
         QStringLiteral("(ppm)"), QString(), QString(), QString()});
    grid->verticalHeader()->hide();
    grid->verticalHeader()->setDefaultSectionSize(kRowHeight);
    grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    QHeaderView* heading = grid->horizontalHeader();
    heading->setDefaultSectionSize(60);
    heading->setFixedHeight(kRowHeight);
    heading->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    heading->setSectionsClickable(false);
    // Each column as wide as the shipped figures in the general form: "6377563,396" in (a),
    // "294,978698213898" in 1/(f), "-0,350732676543" in (ry).
    const int widths[kColumns] = {180, 75, 105, 60, 60, 60, 95, 95, 95, 55, 70, 100, 98};
    for (int column = 0; column < kColumns; ++column) grid->setColumnWidth(column, widths[column]);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setShowGrid(true);
    grid->setWordWrap(false);
    return grid;
}

QString conventionCell(const HelmertRotation& rotation)
{
    if (rotation.none()) return {};
    return rotation.convention == RotationConvention::PositionVector ? QStringLiteral("9606")
                                                                     : QStringLiteral("9607");
}

// The convention list's index for a grid cell, and the convention of an index.
int conventionIndex(const QString& cell)
{
    if (cell == QLatin1String("9606")) return 1;
    return cell == QLatin1String("9607") ? 2 : 0;
}

std::optional<RotationConvention> conventionAt(int index)
{
    if (index == 1) return RotationConvention::PositionVector;
    if (index == 2) return RotationConvention::CoordinateFrame;
    return std::nullopt;
}

}  // namespace

TForm3::TForm3(const NumberFormat& user, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint),
      user_(user)
{
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(QStringLiteral("Datum"));
    setModal(true);
    setFixedSize(kWidth, kHeight);

    Label1 = named<QLabel>(this, "Label1", {8, 4, 557, 16});
    StringGrid1 = catalogueGrid(this);

    named<QLabel>(this, "Label3", {8, 188, 130, 16}, QStringLiteral("Datum"));
    edits_[1] = box(this, 1, {140, 186, 150, 20});
    Label4 = named<QLabel>(this, "Label4", {8, 214, 130, 16});
    edits_[2] = box(this, 2, {140, 212, 150, 20});
    Label5 = named<QLabel>(this, "Label5", {8, 240, 130, 16});
    edits_[3] = box(this, 3, {140, 238, 150, 20});

    Label9 = named<QLabel>(this, "Label9", {310, 188, 200, 16});
    struct Shift {
        const char* label;
        const char* caption;
        int box;
    };
    const Shift shifts[] = {{"Label6", "Dx", 4}, {"Label7", "Dy", 5}, {"Label8", "Dz", 6}};
    for (int i = 0; i < 3; ++i) {
        const int top = 212 + 26 * i;
        named<QLabel>(this, shifts[i].label, {310, top + 2, 30, 16},
                      QString::fromLatin1(shifts[i].caption));
        edits_[shifts[i].box] = box(this, shifts[i].box, {344, top, 150, 20});
    }
    placeRotationBoxes();
    placeGridBoxes();

    constexpr int buttons = kHeight - 32;
    Button1 = named<QPushButton>(this, "Button1", {8, buttons, 80, 24});
    Button2 = named<QPushButton>(this, "Button2", {96, buttons, 80, 24});
    Button2->setEnabled(false);
    Button3 = named<QPushButton>(this, "Button3", {184, buttons, 80, 24});
    Button4 = named<QPushButton>(this, "Button4", {272, buttons, 80, 24});
    Button4->hide();
    auto* ok =
        named<QPushButton>(this, "Button5", {kWidth - 88, buttons, 80, 24}, QStringLiteral("OK"));

    const auto on = [this](QPushButton* button, void (TForm3::*handler)()) {
        connect(button, &QPushButton::clicked, this,
                [this, handler] { reportErrors(this, [&] { (this->*handler)(); }); });
    };
    on(Button1, &TForm3::Button1Click);
    on(Button3, &TForm3::Button3Click);
    // Enter in a box stores the row, as "Aplica" does.
    for (QLineEdit* edit : edits_)
        if (edit != nullptr)
            connect(edit, &QLineEdit::returnPressed, this,
                    [this] { reportErrors(this, [this] { Button3Click(); }); });
    connect(ComboBox2->lineEdit(), &QLineEdit::returnPressed, this,
            [this] { reportErrors(this, [this] { Button3Click(); }); });
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    // A row chosen with the mouse or the keys; a click on the selected row copies it again.
    connect(StringGrid1, &QTableWidget::currentCellChanged, this,
            [this] { reportErrors(this, [this] { StringGrid1Click(); }); });
    connect(StringGrid1, &QTableWidget::cellClicked, this,
            [this] { reportErrors(this, [this] { StringGrid1Click(); }); });
}

// Beside the shift, as Dx, Dy and Dz stand: rx, ry, rz under their heading.
void TForm3::placeRotationBoxes()
{
    Label10 = named<QLabel>(this, "Label10", {514, 188, 200, 16});
    const char* rotations[] = {"Label11", "Label12", "Label13"};
    const char* captions[] = {"rx", "ry", "rz"};
    for (int i = 0; i < 3; ++i) {
        const int top = 212 + 26 * i;
        named<QLabel>(this, rotations[i], {514, top + 2, 30, 16}, QString::fromLatin1(captions[i]));
        edits_[7 + i] = box(this, 7 + i, {548, top, 150, 20});
    }
}

// The scale, the convention, the grid file and its target, one a row with a worded caption.
void TForm3::placeGridBoxes()
{
    constexpr int left = 718, field = 842, wide = kWidth - 8 - field;
    Label14 = named<QLabel>(this, "Label14", {left, 188, 120, 16});
    edits_[10] = box(this, 10, {field, 186, 150, 20});
    Label15 = named<QLabel>(this, "Label15", {left, 214, 120, 16});
    ComboBox1 = new QComboBox(this);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setGeometry(field, 212, wide, 20);
    ComboBox1->addItems({QString(), QString(), QString()});
    Label16 = named<QLabel>(this, "Label16", {left, 240, 120, 16});
    edits_[11] = box(this, 11, {field, 238, wide, 20});
    Label17 = named<QLabel>(this, "Label17", {left, 266, 120, 16});
    ComboBox2 = new QComboBox(this);
    ComboBox2->setObjectName(QStringLiteral("ComboBox2"));
    ComboBox2->setGeometry(field, 264, wide, 20);
    ComboBox2->setEditable(true);
    // A name typed is checked when it is applied, never added to the list.
    ComboBox2->setInsertPolicy(QComboBox::NoInsert);
}

void TForm3::setCatalogue(Catalogue catalogue) { catalogue_ = std::move(catalogue); }

void TForm3::applyLanguage(int language)
{
    language_ = language;
    using namespace Text;
    const std::pair<QLabel*, Text::Number> labels[] = {{Label1, EditorWarning},
                                                       {Label4, EquatorialRadiusCaption},
                                                       {Label5, FlatteningCaption},
                                                       {Label9, ShiftHeading}};
    for (const auto& [label, number] : labels) label->setText(text(number));
    const std::pair<QLabel*, EditorCaption> captions[] = {{Label10, EditorCaption::Rotations},
                                                          {Label14, EditorCaption::Scale},
                                                          {Label15, EditorCaption::Convention},
                                                          {Label16, EditorCaption::GridFile},
                                                          {Label17, EditorCaption::GridTarget}};
    for (const auto& [label, worded] : captions) label->setText(caption(worded));
    const std::pair<int, EditorCaption> headings[] = {{kConventionColumn,
                                                       EditorCaption::Convention},
                                                      {kGridColumn, EditorCaption::GridFile},
                                                      {kTargetColumn, EditorCaption::GridTarget}};
    for (const auto& [column, worded] : headings)
        StringGrid1->horizontalHeaderItem(column)->setText(caption(worded));
    ComboBox1->setItemText(1, caption(EditorCaption::PositionVector));
    ComboBox1->setItemText(2, caption(EditorCaption::CoordinateFrame));
    const std::pair<QPushButton*, Text::Number> buttons[] = {{Button3, ApplyButton},
                                                             {Button2, DeleteButton},
                                                             {Button1, AddButton},
                                                             {Button4, CancelButton}};
    for (const auto& [button, number] : buttons) button->setText(text(number));
}

void TForm3::showEvent(QShowEvent* event)
{
    centreOnScreen(*this);
    QDialog::showEvent(event);
}

QString TForm3::text(Text::Number number) const
{
    const std::string_view fixed = TextoIdioma(number, language_);
    return QString::fromUtf8(fixed.data(), static_cast<qsizetype>(fixed.size()));
}

QString TForm3::caption(EditorCaption worded) const
{
    return QString::fromStdString(datumEditorCaption(worded, language_));
}

QString TForm3::number(long double value) const
{
    return QString::fromStdString(formatGeneral(value, user_));
}

QString TForm3::editText(int box) const { return edits_[box]->text(); }

void TForm3::setRow(int row, const QStringList& cells)
{
    for (int column = 0; column < kColumns; ++column) {
        QTableWidgetItem* item = StringGrid1->item(row, column);
        if (!item) {
            item = new QTableWidgetItem;
            StringGrid1->setItem(row, column, item);
        }
        item->setText(cells.value(column));
    }
}

QStringList TForm3::cellsOf(const DatumValues& values) const
{
    const HelmertRotation& r = values.Rotation;
    return {QString::fromStdString(values.Name),
            number(values.A),
            number(values.InvF),
            number(values.Dx),
            number(values.Dy),
            number(values.Dz),
            number(r.Rx),
            number(r.Ry),
            number(r.Rz),
            number(r.Scale),
            conventionCell(r),
            QString::fromStdString(values.GridFile),
            QString::fromStdString(values.GridTarget)};
}

void TForm3::fillTargets(const DatumCatalogue& catalogue)
{
    // The list changes under the box's text, which stays as it was.
    const QString typed = ComboBox2->currentText();
    ComboBox2->clear();
    ComboBox2->addItem(QString());
    for (const std::string& name : catalogue.names())
        ComboBox2->addItem(QString::fromStdString(name));
    ComboBox2->setEditText(typed);
}

void TForm3::fillGrid(const DatumCatalogue& catalogue)
{
    const QSignalBlocker quiet(StringGrid1);
    const auto& datums = catalogue.ListaDatum();
    StringGrid1->setRowCount(static_cast<int>(datums.size()));
    for (int row = 0; row < StringGrid1->rowCount(); ++row)
        setRow(row, cellsOf(datumValues(datums[static_cast<std::size_t>(row)])));
    addedRow_ = -1;
    fillTargets(catalogue);
    if (StringGrid1->rowCount() > 0) StringGrid1->setCurrentCell(0, 0);
}

void TForm3::StringGrid1Click()
{
    const int row = StringGrid1->currentRow();
    if (row < 0) return;
    const auto cell = [&](int column) {
        const QTableWidgetItem* item = StringGrid1->item(row, column);
        return item ? item->text() : QString();
    };
    for (int column = 0; column < kConventionColumn; ++column)
        edits_[column + 1]->setText(cell(column));
    ComboBox1->setCurrentIndex(conventionIndex(cell(kConventionColumn)));
    edits_[11]->setText(cell(kGridColumn));
    ComboBox2->setEditText(cell(kTargetColumn));
}

DatumBoxes TForm3::boxes() const
{
    DatumBoxes read;
    read.name = editText(1).trimmed().toStdString();
    for (std::size_t i = 0; i < read.numbers.size(); ++i)
        read.numbers[i] = editText(static_cast<int>(i) + 2).toStdString();
    read.convention = conventionAt(ComboBox1->currentIndex());
    read.gridFile = editText(11).toStdString();
    read.gridTarget = ComboBox2->currentText().toStdString();
    return read;
}

void TForm3::Button1Click()
{
    // One added row at a time: until it is applied, "Inclui" brings it back.
    if (addedRow_ < 0) {
        if (catalogue_.current().QuantDatum() + 1 >= DatumCatalogue::Slots) {
            showError(datumRefusedMessage(DatumRefused::Reason::Full, language_));
            return;
        }
        addedRow_ = StringGrid1->rowCount();
        StringGrid1->setRowCount(addedRow_ + 1);
        DatumValues added;
        added.Name = text(Text::NewDatumName).toStdString();
        setRow(addedRow_, cellsOf(added));
    }
    StringGrid1->setCurrentCell(addedRow_, 0);
    StringGrid1->scrollToItem(StringGrid1->item(addedRow_, 0));
    StringGrid1Click();
}

void TForm3::Button3Click()
{
    // Row r shows catalogue slot r; with no row selected (-1) there is no slot to store.
    const int row = StringGrid1->currentRow();
    const DatumEntry entry = readDatumEntry(boxes(), user_, catalogue_.current(), row);
    if (entry.code != DatumEntryCode::Valid) {
        showError(datumEditorMessage(entry, language_));
        return;
    }
    try {
        catalogue_.store(row, entry.values);
    } catch (const DatumRefused& refused) {
        showError(datumRefusedMessage(refused.reason(), language_));
        return;
    }
    // The row shows what was stored, with 1/f as it was read rather than back through f.
    DatumValues shown = datumValues(*catalogue_.current().datumAt(row));
    shown.InvF = entry.values.InvF;
    setRow(row, cellsOf(shown));
    if (row == addedRow_) addedRow_ = -1;
    fillTargets(catalogue_.current());
}

void TForm3::showError(const std::string& message)
{
    showErrorMessage(this, QString::fromStdString(message));
}
