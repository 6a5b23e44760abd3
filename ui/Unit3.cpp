#include "ui/Unit3.h"

#include "ui/ErrorReport.h"
#include "transform/text/NumberText.h"
#include "ui/texts/TextTables.h"
#include "ui/WindowPlacement.h"

#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>

namespace {

constexpr int kColumns = 6;
constexpr int kRowHeight = 19;

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
    grid->setGeometry(8, 22, 557, 156);
    grid->setHorizontalHeaderLabels({QStringLiteral("Datum"), QStringLiteral("(a)"),
                                     QStringLiteral("1/(f)"), QStringLiteral("(Dx)"),
                                     QStringLiteral("(Dy)"), QStringLiteral("(Dz)")});
    grid->verticalHeader()->hide();
    grid->verticalHeader()->setDefaultSectionSize(kRowHeight);
    grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    QHeaderView* heading = grid->horizontalHeader();
    heading->setDefaultSectionSize(60);
    heading->setFixedHeight(kRowHeight);
    heading->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    heading->setSectionsClickable(false);
    grid->setColumnWidth(0, 180);
    grid->setColumnWidth(2, 100);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setShowGrid(true);
    grid->setWordWrap(false);
    return grid;
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
    setFixedSize(573, 322);

    Label1 = named<QLabel>(this, "Label1", {8, 4, 557, 16});
    StringGrid1 = catalogueGrid(this);

    named<QLabel>(this, "Label3", {8, 188, 130, 16}, QStringLiteral("Datum"));
    edits_[1] = box(this, 1, {140, 186, 150, 20});
    Label4 = named<QLabel>(this, "Label4", {8, 214, 130, 16});
    edits_[2] = box(this, 2, {140, 212, 150, 20});
    Label5 = named<QLabel>(this, "Label5", {8, 240, 130, 16});
    edits_[3] = box(this, 3, {140, 238, 150, 20});

    Label9 = named<QLabel>(this, "Label9", {310, 188, 255, 16});
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

    Button1 = named<QPushButton>(this, "Button1", {8, 290, 80, 24});
    Button2 = named<QPushButton>(this, "Button2", {96, 290, 80, 24});
    Button2->setEnabled(false);
    Button3 = named<QPushButton>(this, "Button3", {184, 290, 80, 24});
    Button4 = named<QPushButton>(this, "Button4", {272, 290, 80, 24});
    Button4->hide();
    auto* ok = named<QPushButton>(this, "Button5", {485, 290, 80, 24}, QStringLiteral("OK"));

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
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    // A row chosen with the mouse or the keys; a click on the selected row copies it again.
    connect(StringGrid1, &QTableWidget::currentCellChanged, this,
            [this] { reportErrors(this, [this] { StringGrid1Click(); }); });
    connect(StringGrid1, &QTableWidget::cellClicked, this,
            [this] { reportErrors(this, [this] { StringGrid1Click(); }); });
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

void TForm3::fillGrid(const DatumCatalogue& catalogue)
{
    const QSignalBlocker quiet(StringGrid1);
    const auto& datums = catalogue.ListaDatum();
    StringGrid1->setRowCount(static_cast<int>(datums.size()));
    for (int row = 0; row < StringGrid1->rowCount(); ++row) {
        const TDatum& d = datums[static_cast<std::size_t>(row)];
        setRow(row, {QString::fromStdString(d.Name), number(d.A), number(1.0L / d.F), number(d.Dx),
                     number(d.Dy), number(d.Dz)});
    }
    addedRow_ = -1;
    if (StringGrid1->rowCount() > 0) StringGrid1->setCurrentCell(0, 0);
}

void TForm3::StringGrid1Click()
{
    const int row = StringGrid1->currentRow();
    if (row < 0) return;
    for (int column = 0; column < kColumns; ++column) {
        const QTableWidgetItem* item = StringGrid1->item(row, column);
        edits_[column + 1]->setText(item ? item->text() : QString());
    }
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
        setRow(addedRow_, {text(Text::NewDatumName), QStringLiteral("0"), QStringLiteral("0"),
                           QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("0")});
    }
    StringGrid1->setCurrentCell(addedRow_, 0);
    StringGrid1->scrollToItem(StringGrid1->item(addedRow_, 0));
    StringGrid1Click();
}

void TForm3::Button3Click()
{
    const std::string name = editText(1).trimmed().toStdString();
    std::array<std::string, 5> boxes;
    for (std::size_t i = 0; i < boxes.size(); ++i)
        boxes[i] = editText(static_cast<int>(i) + 2).toStdString();
    const DatumEntry entry = readDatumEntry(boxes, user_);
    if (entry.code != DatumEntryCode::Valid) {
        showError(datumEntryMessage(entry, language_));
        return;
    }
    const int row = StringGrid1->currentRow();
    try {
        // Row r shows catalogue slot r; with no row selected there is no slot to store.
        catalogue_.store(row < 0 ? -1 : row, name, entry);
    } catch (const DatumRefused& refused) {
        showError(datumRefusedMessage(refused.reason(), language_));
        return;
    }
    const TDatum& stored = *catalogue_.current().datumAt(row);
    setRow(row, {QString::fromStdString(stored.Name), number(entry.A), number(entry.InvF),
                 number(entry.Dx), number(entry.Dy), number(entry.Dz)});
    if (row == addedRow_) addedRow_ = -1;
}

void TForm3::showError(const std::string& message)
{
    showErrorMessage(this, QString::fromStdString(message));
}
