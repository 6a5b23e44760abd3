// TForm3: the datum editor. Its grid shows the catalogue, one datum a row; the boxes below edit
// the selected row, "Aplica" stores it through the main window (which refreshes its datum lists)
// and "Inclui" adds a row that becomes a datum when it is applied.
#pragma once

#include "config/DatumCatalogue.h"
#include "config/DatumEntry.h"
#include "transform/text/NumberFormat.h"
#include "ui/texts/TextTables.h"

#include <QDialog>

#include <functional>
#include <string>

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
        std::function<void(int slot, const std::string& name, const DatumEntry& values)> store;
    };

    explicit TForm3(const NumberFormat& user, QWidget* parent = nullptr);

    void setCatalogue(Catalogue catalogue);
    // Fills the grid from the catalogue, one row a datum, and selects the first datum's row.
    void fillGrid(const DatumCatalogue& catalogue);
    // The labels and buttons in a language; the grid's headings are the same in every language.
    void applyLanguage(int language);

    // Copies the selected row into the boxes.
    void StringGrid1Click();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void Button1Click();  // "Inclui"
    void Button3Click();  // "Aplica"

    void setRow(int row, const QStringList& cells);
    QString text(Text::Number number) const;  // a fixed text in the current language
    QString number(long double value) const;
    QString editText(int box) const;
    void showError(const std::string& message);

    NumberFormat user_;
    Catalogue catalogue_;
    int language_ = 0;
    int addedRow_ = -1;  // the row "Inclui" added and "Aplica" has not yet stored, if any

    QTableWidget* StringGrid1 = nullptr;
    QLabel *Label1 = nullptr, *Label4 = nullptr, *Label5 = nullptr, *Label9 = nullptr;
    QPushButton *Button1 = nullptr, *Button2 = nullptr, *Button3 = nullptr, *Button4 = nullptr;
    QLineEdit* edits_[7] = {};  // Edit1 to Edit6 at their numbers
};
