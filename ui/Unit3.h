// TForm3: the datum editor. Its grid shows the catalogue, one datum a row with every figure its
// line holds: a, 1/f, the shift, the rotations, the scale and their convention, the grid file and
// the datum it carries to. The boxes below edit the selected row, "Aplica" stores it through the
// main window (which refreshes its datum lists) and "Inclui" adds a row that becomes a datum
// when it is applied.
#pragma once

#include "config/DatumCatalogue.h"
#include "config/DatumEntry.h"
#include "transform/text/NumberFormat.h"
#include "ui/texts/DatumEditorTexts.h"
#include "ui/texts/TextTables.h"

#include <QDialog>

#include <functional>
#include <string>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

class TForm3 : public QDialog {
    Q_OBJECT
public:
    // What the editor changes, which the main window owns: the catalogue, and the store that
    // also refreshes the datum lists (AtualizaDatum). The store throws DatumRefused for a datum
    // the catalogue cannot hold.
    struct Catalogue {
        std::function<const DatumCatalogue&()> current;
        std::function<void(int slot, const DatumValues& values)> store;
    };

    explicit TForm3(const NumberFormat& user, QWidget* parent = nullptr);

    void setCatalogue(Catalogue catalogue);
    // Fills the grid from the catalogue, one row a datum, and selects the first datum's row.
    void fillGrid(const DatumCatalogue& catalogue);
    // The labels, buttons and lists in a language; the grid's headings of a, 1/f, the shift,
    // the rotations and the scale are the same in every language, the last three are worded.
    void applyLanguage(int language);

    // Copies the selected row into the boxes.
    void StringGrid1Click();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void Button1Click();  // "Inclui"
    void Button3Click();  // "Aplica"

    void setRow(int row, const QStringList& cells);
    QStringList cellsOf(const DatumValues& values) const;
    DatumBoxes boxes() const;
    // The grid target's list: empty, then the catalogue's names.
    void fillTargets(const DatumCatalogue& catalogue);
    void placeRotationBoxes();
    void placeGridBoxes();
    QString text(Text::Number number) const;  // a fixed text in the current language
    QString caption(EditorCaption caption) const;
    QString number(long double value) const;
    QString editText(int box) const;
    void showError(const std::string& message);

    NumberFormat user_;
    Catalogue catalogue_;
    int language_ = 0;
    int addedRow_ = -1;  // the row "Inclui" added and "Aplica" has not yet stored, if any

    QTableWidget* StringGrid1 = nullptr;
    QLabel *Label1 = nullptr, *Label4 = nullptr, *Label5 = nullptr, *Label9 = nullptr;
    QLabel *Label10 = nullptr, *Label14 = nullptr, *Label15 = nullptr, *Label16 = nullptr,
           *Label17 = nullptr;
    QPushButton *Button1 = nullptr, *Button2 = nullptr, *Button3 = nullptr, *Button4 = nullptr;
    // Edit1 to Edit11 at their numbers: name, a, 1/f, Dx, Dy, Dz, rx, ry, rz, ppm, grid file.
    QLineEdit* edits_[12] = {};
    QComboBox* ComboBox1 = nullptr;  // the convention: none, 9606, 9607
    QComboBox* ComboBox2 = nullptr;  // the grid's target datum, typed or chosen
};
