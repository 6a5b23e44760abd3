// Tform1: the main window. Its boxes and lists hold every parameter of a transformation; each
// action takes a snapshot of them and hands it to the transformation, the file runs or the
// settings below, then puts the results back into widgets.
#pragma once

#include "config/DatumCatalogue.h"
#include "config/DatumGrids.h"
#include "ui/FileDialogs.h"
#include "ui/ToolkitTranslation.h"
#include "core/Geodesica.h"
#include "transform/text/NumberFormat.h"
#include "config/ProgramFiles.h"
#include "ui/texts/SideCodes.h"
#include "ui/texts/TextTables.h"
#include "ui/WindowTexts.h"
#include "transform/pipeline/WindowState.h"

#include <QWidget>

#include <array>
#include <functional>
#include <initializer_list>
#include <memory>

struct FileRunSummary;
class BoxConversionError;
class NumericKeyFilter;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QAction;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class TForm2;
class TForm3;
class TGraficosGeo;

class Tform1 : public QWidget {
    Q_OBJECT
public:
    // `user` holds the user's separators, `files` where "Datum.Cfg" and "Zelvora.Cfg" are read
    // and written.
    Tform1(const NumberFormat& user, ProgramFiles files, QWidget* parent = nullptr);
    ~Tform1() override;

    // The windows that the language switch captions and the buttons show; created after this one.
    void setSecondaryWindows(TGraficosGeo* map, TForm2* about, TForm3* editor);
    // Replaces the file dialogs, for tests that answer in the user's place.
    void setFileDialogs(std::unique_ptr<FileDialogs> dialogs);

    // Every box's text, every list's selection and the dialogs' file names as they stand.
    WindowState snapshot() const;
    const DatumCatalogue& catalogue() const { return catalogue_; }
    // True once the start-up has run (at the first activation).
    bool started() const { return started_; }
    // The end of the session: the settings and a changed catalogue are written as at a close,
    // without a question, since nobody may be there to answer; what cannot be written is told
    // on the standard error. Nothing is written before the start-up has run.
    void saveAtShutdown();
    // A file run at work stops at its next progress step, its destination left as it was and
    // its temporary file removed; the end of a session asks for it before the program ends.
    void stopFileRun() { stopRequested_ = true; }
    // The result's numbers alone to the clipboard, one a line, as a box takes them back.
    void copyResultNumbers();

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // Start-up and close.
    void FormActivate();
    bool FormClose();
    // Single point, and the windows it opens.
    void Button1Click();
    void Button3Click();
    void Button4Click();
    void Button5Click();
    // The datum editor's "Aplica": stores a datum and refreshes both datum lists.
    void storeDatum(int slot, const DatumValues& values);
    // Language and panels.
    void ComboBox1Change();
    void ComboBox7Change();
    void ComboBox8Change();
    void ComboBox16Change();
    void ComboBox17Change();
    // File mode.
    void RadioButton1Click();
    void ComboBox3Change();
    void Button9Click();
    void Button10Click();
    void Button2Click();
    // The run's line in the progress bar's row; an empty line brings the bar back. `whole` is
    // the line unshortened, as its tooltip.
    void showRunLine(const QString& line, const QString& whole);
    void showFinishedRun(const FileRunSummary& summary, double seconds);
    // A side's EPSG code box: Enter or leaving it sets the side's choices from the typed code;
    // the boxes show the codes the choices stand for whenever the choices change.
    void takeCode(WindowSide side);
    void setSideChoices(const WindowState& state, WindowSide side);
    void showSideCodes();

    // Runs a handler as reportErrors does; a box that does not read is named as the user sees
    // it, and focused when it is on screen. False when the handler threw.
    bool guarded(const std::function<void()>& handler);
    void reportBadBox(const BoxConversionError& error);

    void buildTopStrip();
    void buildSides();
    void buildSide(QWidget* panel, int left, bool source);
    void buildPointPanel();
    void buildFilePanel();
    void wireHandlers();

    void applyState(const WindowState& state);
    void fillDatumLists();

    int language() const;
    QLineEdit* edit(int box) const;  // EditN
    // A box's text read as a plain number with the user's separators; BoxConversionError names
    // the box when it does not read.
    double plainNumber(int box) const;
    QString text(Text::Number number) const;
    void fillChoiceLists(const TextOf& textOf);
    QLineEdit* addBox(QWidget* parent, int number, const QRect& place);
    // A side's row: its label, then the boxes that share the row's place.
    QLabel* addRow(QWidget* panel, const char* label, int left, int row,
                   std::initializer_list<int> boxes);
    void setShown(std::initializer_list<QWidget*> widgets, bool shown);
    void setShown(std::initializer_list<int> boxes, bool shown);
    // A row's label with a text and shown, or hidden for NoText.
    void setRowLabel(QLabel* label, Text::Number number);
    // Rows 4 to 7 of a side for the family other: "Ko", the zone width, the origins.
    void showOtherFamilyRows(bool shown, QLabel* koLabel, QLabel* widthLabel,
                             std::initializer_list<QWidget*> originLabels,
                             std::initializer_list<int> boxes);
    void hideOriginRows(std::initializer_list<QWidget*> originLabels,
                        std::initializer_list<int> boxes);
    // Reads the grids of the two datums before a transformation; says once each that cannot
    // serve.
    void attachGrids(const WindowState& state);

    NumberFormat user_;
    ProgramFiles files_;
    DatumCatalogue catalogue_;
    GridShelf grids_;  // the datums' grid files, each read once a session
    std::unique_ptr<TGeo> Motor;
    InterfaceTexts texts_;
    ToolkitTranslation toolkit_;
    std::unique_ptr<FileDialogs> dialogs_;
    FileDialogSettings OpenDialog1, SaveDialog1;
    bool activationSeen_ = false;
    bool fileRunning_ = false;  // a file run is at work; the window repaints but must not close
    bool stopRequested_ = false;
    QAction* copyNumbers_ = nullptr;  // the result box's menu item and Ctrl+Shift+C
    bool started_ = false;
    bool settingCode_ = false;  // a typed code is setting a side's lists one by one

    TGraficosGeo* map_ = nullptr;
    TForm2* about_ = nullptr;
    TForm3* editor_ = nullptr;

    NumericKeyFilter* keys_ = nullptr;    // every number box's key filter
    std::array<QLineEdit*, 31> edits_{};  // Edit1 to Edit30 at their numbers
    QComboBox *ComboBox1 = nullptr, *ComboBox2 = nullptr, *ComboBox3 = nullptr,
              *ComboBox7 = nullptr, *ComboBox8 = nullptr, *ComboBox9 = nullptr,
              *ComboBox10 = nullptr, *ComboBox14 = nullptr, *ComboBox16 = nullptr,
              *ComboBox17 = nullptr;
    QGroupBox* RadioGroup1 = nullptr;
    QCheckBox* CheckBox1 = nullptr;
    QRadioButton *RadioButton1 = nullptr, *RadioButton2 = nullptr;
    QPushButton *Button1 = nullptr, *Button2 = nullptr, *Button3 = nullptr, *Button4 = nullptr,
                *Button5 = nullptr, *Button9 = nullptr, *Button10 = nullptr;
    QWidget *Panel1 = nullptr, *Panel2 = nullptr, *Panel3 = nullptr;
    QPlainTextEdit *RichEdit5 = nullptr, *RichEdit7 = nullptr;
    QProgressBar* ProgressBar1 = nullptr;
    QLineEdit *sourceCode_ = nullptr, *targetCode_ = nullptr;  // the sides' EPSG code boxes
    // The labels the language switch and the kinds set, by their row's name.
    QLabel *Label1 = nullptr, *Label2 = nullptr, *Label3 = nullptr, *Label4 = nullptr,
           *Label5 = nullptr, *Label6 = nullptr, *Label7 = nullptr, *Label8 = nullptr,
           *Label9 = nullptr, *Label11 = nullptr, *Label18 = nullptr, *Label19 = nullptr,
           *Label20 = nullptr, *Label21 = nullptr, *Label22 = nullptr, *Label24 = nullptr,
           *Label25 = nullptr, *Label26 = nullptr, *Label27 = nullptr, *Label28 = nullptr,
           *Label29 = nullptr, *Label30 = nullptr, *Label31 = nullptr, *Label32 = nullptr,
           *Label33 = nullptr, *Label34 = nullptr, *Label35 = nullptr, *Label36 = nullptr,
           *Label37 = nullptr, *Label38 = nullptr, *Label39 = nullptr, *Label40 = nullptr;
};
