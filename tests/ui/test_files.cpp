// File mode: the mode buttons, the file type, the two dialogs (answered by the test), and runs
// from Button2 with the progress bar, the rejected-point message and errors through the report.
#include "tests/ui/ui_support.h"

#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>

#include <deque>
#include <fstream>

namespace fs = std::filesystem;

namespace {

// Answers the dialogs in the user's place, in order, and keeps what each was opened with.
class AnsweringDialogs : public FileDialogs {
public:
    std::deque<std::optional<QString>>* answers;
    std::vector<FileDialogSettings>* opened;

    std::optional<QString> open(QWidget*, const FileDialogSettings& settings) override
    {
        return next(settings);
    }
    std::optional<QString> save(QWidget*, const FileDialogSettings& settings) override
    {
        return next(settings);
    }

private:
    std::optional<QString> next(const FileDialogSettings& settings)
    {
        opened->push_back(settings);
        if (answers->empty()) qFatal("a dialog nobody answers");
        auto answer = answers->front();
        answers->pop_front();
        return answer;
    }
};

QString qs(const fs::path& path) { return QString::fromStdString(path.string()); }

bool enabled(const Tform1& w, const char* button)
{
    return child<QPushButton>(w, button)->isEnabled();
}

int run(const std::string& command)
{
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::size_t lineCount(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    std::size_t lines = 0;
    for (std::string line; std::getline(in, line);) ++lines;
    return lines;
}

// The Z of every POINT of a drawing, as written.
QStringList pointHeights(const std::string& drawing)
{
    const QStringList lines = QString::fromStdString(drawing).split(QStringLiteral("\r\n"));
    QStringList heights;
    QString entity;
    for (qsizetype i = 0; i + 1 < lines.size(); i += 2) {
        const int code = lines[i].trimmed().toInt();
        if (code == 0) entity = lines[i + 1];
        if (entity == QLatin1String("POINT") && code == 30) heights << lines[i + 1];
    }
    return heights;
}

}  // namespace

class FilesTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void modeButtonsKeepTheChoices();
    void fileTypeDropsTheSource();
    void cancelledDialogs();
    void dialogSettings();
    void drawingRunEndToEnd();
    void typeComesFromTheListNotTheExtension();
    void rejectedPointsGiveOneMessage();
    void keptHeightsReachTheRun();
    void pointTextRunsInEveryLanguage();
    void failedRunIsReportedAndLeavesTheDestination();
    void dialogMatchesExtensionsLetterCaseAside();
    void closeDuringARunWaitsForTheRun();
    void aStopDuringARunLeavesTheDestination();

private:
    void start(const NumberFormat& user = kComma);
    // The user's way through file mode: the source, the destination, then the run.
    void runFiles(const fs::path& source, const fs::path& destination);
    Tform1& w() { return program_->window(); }

    std::unique_ptr<ProgramFolder> folder_;
    std::unique_ptr<ModalWatcher> watcher_;
    std::unique_ptr<RunningProgram> program_;
    std::deque<std::optional<QString>> answers_;
    std::vector<FileDialogSettings> opened_;
};

void FilesTest::init()
{
    folder_ = std::make_unique<ProgramFolder>();
    watcher_ = std::make_unique<ModalWatcher>();
}

void FilesTest::cleanup()
{
    program_.reset();
    answers_.clear();
    opened_.clear();
}

void FilesTest::start(const NumberFormat& user)
{
    program_ = std::make_unique<RunningProgram>(user, *folder_, *watcher_);
    auto dialogs = std::make_unique<AnsweringDialogs>();
    dialogs->answers = &answers_;
    dialogs->opened = &opened_;
    w().setFileDialogs(std::move(dialogs));
    watcher_->clear();
}

void FilesTest::runFiles(const fs::path& source, const fs::path& destination)
{
    answers_ = {qs(source), qs(destination)};
    click(w(), "Button9");
    click(w(), "Button10");
    click(w(), "Button2");
}

void FilesTest::modeButtonsKeepTheChoices()
{
    start();
    click(w(), "RadioButton2");
    QVERIFY(shownIn(w(), "Panel1"));
    QVERIFY(!shownIn(w(), "Panel3"));
    QVERIFY(shownIn(w(), "Button2"));
    QVERIFY(!enabled(w(), "Button2"));
    answers_.push_back(QStringLiteral("/somewhere/plan.dxf"));
    click(w(), "Button9");
    QVERIFY(enabled(w(), "Button2"));
    click(w(), "RadioButton1");
    QVERIFY(!shownIn(w(), "Button2"));
    QVERIFY(shownIn(w(), "Panel3"));
    click(w(), "RadioButton2");
    QVERIFY(enabled(w(), "Button2"));
    QCOMPARE(child<QLabel>(w(), "Label18")->text(), QStringLiteral("/somewhere/plan.dxf"));
}

void FilesTest::fileTypeDropsTheSource()
{
    start();
    click(w(), "RadioButton2");
    answers_.push_back(QStringLiteral("/somewhere/plan.dxf"));
    click(w(), "Button9");
    choose(w(), "ComboBox3", 1);
    QVERIFY(shownIn(w(), "Label11"));
    QCOMPARE(child<QLabel>(w(), "Label18")->text(), QString());
    QVERIFY(!enabled(w(), "Button2"));
    // The next source dialog lists text files.
    answers_.push_back(std::nullopt);
    click(w(), "Button9");
    QCOMPARE(opened_.back().fileName, QStringLiteral("*.Txt"));
    QCOMPARE(opened_.back().filterIndex, 1);
    // Back to DXF, then text typed into the list that names no item: text files again.
    choose(w(), "ComboBox3", 0);
    answers_.push_back(std::nullopt);
    click(w(), "Button9");
    QCOMPARE(opened_.back().fileName, QStringLiteral("*.Dxf"));
    auto* type = child<QComboBox>(w(), "ComboBox3");
    QTest::keyClicks(type->lineEdit(), QStringLiteral("x"));
    QCOMPARE(w().snapshot().ComboBox3, -1);
    answers_.push_back(std::nullopt);
    click(w(), "Button9");
    QCOMPARE(opened_.back().fileName, QStringLiteral("*.Txt"));
    QVERIFY(shownIn(w(), "Label11"));  // once shown it stays
}

void FilesTest::cancelledDialogs()
{
    start();
    click(w(), "RadioButton2");
    answers_ = {QStringLiteral("/a/plan.dxf"), std::nullopt};
    click(w(), "Button9");
    click(w(), "Button9");
    QCOMPARE(child<QLabel>(w(), "Label18")->text(), QString());
    QVERIFY(!enabled(w(), "Button2"));
    // A cancelled destination keeps the previous one, which stays in force.
    answers_ = {QStringLiteral("/a/out.dxf"), std::nullopt};
    click(w(), "Button10");
    click(w(), "Button10");
    QCOMPARE(child<QLabel>(w(), "Label19")->text(), QStringLiteral("/a/out.dxf"));
    QCOMPARE(w().snapshot().SaveDialog1FileName, std::string("/a/out.dxf"));
    QCOMPARE(opened_.back().fileName, QStringLiteral("/a/out.dxf"));
}

void FilesTest::dialogSettings()
{
    start();
    answers_ = {std::nullopt, std::nullopt};
    click(w(), "Button9");
    click(w(), "Button10");
    QCOMPARE(opened_[0].filter, QStringLiteral("Arquivo DXF|*.Dxf|Arquivo Texto|*.Txt"));
    QCOMPARE(opened_[0].defaultExt, QStringLiteral("*.Dxf"));
    QCOMPARE(opened_[0].fileName, QStringLiteral("Teste.Dxf"));
    QCOMPARE(opened_[1].filter, QStringLiteral("Arquivo DXF|*.Dxf"));
    QCOMPARE(opened_[1].fileName, QStringLiteral("SemNome.Dxf"));
    QCOMPARE(nameFilters(opened_[0].filter),
             (QStringList{"Arquivo DXF (*.Dxf)", "Arquivo Texto (*.Txt)"}));
}

void FilesTest::drawingRunEndToEnd()
{
    start();
    const fs::path source = fs::path(ZELVORA_SAMPLES) / "dxf" / "ezdxf_r2000_utm.dxf";
    const fs::path destination = folder_->file("plan-sirgas.dxf");
    choose(w(), "ComboBox9", 2);  // SAD 69 to SIRGAS 2000, UTM zone of -45 on both sides
    choose(w(), "ComboBox10", 1);
    click(w(), "RadioButton2");
    runFiles(source, destination);
    // Every position of the plan went through (a hatch's 0,0 base point is no position): no
    // message.
    QCOMPARE(watcher_->seen.size(), std::size_t{0});
    QVERIFY(fs::exists(destination));
    // Only coordinates changed, with the sizes and angles that turn and scale with them; every
    // line ends with CR LF, and they moved by the datum shift.
    QCOMPARE(run("/usr/bin/python3 '" ZELVORA_DXF_CHECK "' -q --require-crlf --allow-similarity '" +
                 source.string() + "' '" + destination.string() + "'"),
             0);
    QVERIFY(run("cmp -s '" + source.string() + "' '" + destination.string() + "'") != 0);
    auto* bar = child<QProgressBar>(w(), "ProgressBar1");
    QCOMPARE(std::size_t(bar->maximum()), lineCount(source));
    QCOMPARE(bar->value(), bar->maximum());
    // The bar's row now says what the run did; the whole line is the tooltip.
    QVERIFY(!shownIn(w(), "ProgressBar1") && shownIn(w(), "Label22"));
    const QString said = child<QLabel>(w(), "Label22")->toolTip();
    const QRegularExpression line(QStringLiteral(
        "^(\\d+) lines, (\\d+) points transformed, 0 rejected, in \\d+,\\d\\d s; written: (.*)$"));
    const QRegularExpressionMatch match = line.match(said);
    QVERIFY2(match.hasMatch(), qPrintable(said));
    QCOMPARE(match.captured(1).toULongLong(), lineCount(source));
    QVERIFY(match.captured(2).toInt() > 0);
    QCOMPARE(match.captured(3), qs(destination));
    QVERIFY(enabled(w(), "Button2"));  // the same files can run again
}

void FilesTest::typeComesFromTheListNotTheExtension()
{
    start();
    // A point file named like a drawing: the list says text, so it is exported.
    const fs::path source = folder_->file("points.Dxf");
    fs::copy_file(fs::path(ZELVORA_SAMPLES) / "points" / "plain_crlf.txt", source);
    const fs::path destination = folder_->file("points-out.dxf");
    click(w(), "RadioButton2");
    choose(w(), "ComboBox3", 1);
    runFiles(source, destination);
    QVERIFY(watcher_->seen.empty());
    QCOMPARE(run("/usr/bin/python3 '" ZELVORA_DXF_CHECK
                 "' -q --points --require-crlf --label-offset 1.5 '" +
                 source.string() + "' '" + destination.string() + "'"),
             0);
}

void FilesTest::rejectedPointsGiveOneMessage()
{
    start();
    const fs::path source = folder_->file("geodetic.txt");
    folder_->write("geodetic.txt", "A;-45.5;-23.5;10\r\nB;-45;95;10\r\nC;-45;-91;10\r\n");
    const fs::path destination = folder_->file("geodetic.dxf");
    choose(w(), "ComboBox7", 1);  // geodetic points to UTM
    click(w(), "RadioButton2");
    choose(w(), "ComboBox3", 1);
    runFiles(source, destination);
    QCOMPARE(watcher_->texts(),
             QStringList{"WARNING: 2 of 3 points could not be transformed (the first on line 2). "
                         "The file was written with them; check them."});
    QVERIFY(fs::exists(destination));
}

void FilesTest::keptHeightsReachTheRun()
{
    start();
    folder_->write("levelled.txt", "A;333000;7395000;760.25\r\nB;334000;7396000;-3.5\r\n");
    const fs::path destination = folder_->file("levelled.dxf");
    choose(w(), "ComboBox9", 2);  // SAD 69 to SIRGAS 2000, UTM zone of -45 on both sides
    choose(w(), "ComboBox10", 1);
    click(w(), "RadioButton2");
    choose(w(), "ComboBox3", 1);
    click(w(), "CheckBox1");
    runFiles(folder_->file("levelled.txt"), destination);
    QVERIFY(watcher_->seen.empty());
    QCOMPARE(pointHeights(folder_->read("levelled.dxf")), (QStringList{"760.25", "-3.5"}));
    // Unticked, the datum change moves them as ellipsoidal heights.
    click(w(), "CheckBox1");
    click(w(), "Button2");
    const QStringList converted = pointHeights(folder_->read("levelled.dxf"));
    QCOMPARE(converted.size(), 2);
    QVERIFY2(converted[0] != QLatin1String("760.25"), qPrintable(converted[0]));
}

void FilesTest::pointTextRunsInEveryLanguage()
{
    struct Caption {
        int language;
        QString text;
        QString runLine;  // the start of the line after the run
    };
    const Caption captions[] = {
        {Language::Portuguese, QStringLiteral("TXT -> TXT (PONTO;X;Y;Z)"),
         QStringLiteral("2 linhas, 2 pontos transformados, 0 rejeitados, em ")},
        {Language::English, QStringLiteral("TXT -> TXT (POINT;X;Y;Z)"),
         QStringLiteral("2 lines, 2 points transformed, 0 rejected, in ")},
        {Language::Spanish, QStringLiteral("TXT -> TXT (PUNTO;X;Y;Z)"),
         QStringLiteral("2 líneas, 2 puntos transformados, 0 rechazados, en ")}};
    start();
    folder_->write("marks.txt", "M1;-45.4;-22.25;100\r\nM2 ; -46.123456789 ; -23.5001 ; 760.256\n");
    const fs::path destination = folder_->file("marks-out.txt");
    choose(w(), "ComboBox7", 1);  // geodetic to geodetic on one datum: the values come back
    choose(w(), "ComboBox8", 1);
    click(w(), "RadioButton2");
    choose(w(), "ComboBox3", FileType::PointsToText);
    auto* type = child<QComboBox>(w(), "ComboBox3");
    for (const Caption& caption : captions) {
        choose(w(), "ComboBox1", caption.language);
        QCOMPARE(type->itemText(FileType::PointsToText), caption.text);
        QCOMPARE(w().snapshot().ComboBox3, FileType::PointsToText);
        QVERIFY(type->lineEdit()->fontMetrics().horizontalAdvance(caption.text) <=
                type->lineEdit()->width());
        fs::remove(destination);
        runFiles(folder_->file("marks.txt"), destination);
        QVERIFY(watcher_->seen.empty());
        QCOMPARE(folder_->read("marks-out.txt"),
                 std::string("M1;-45.4;-22.25;100\r\nM2;-46.123456789;-23.5001;760.256\r\n"));
        auto* bar = child<QProgressBar>(w(), "ProgressBar1");
        QCOMPARE(bar->maximum(), 2);
        QCOMPARE(bar->value(), 2);
        const QString said = child<QLabel>(w(), "Label22")->text();
        QVERIFY2(said.startsWith(caption.runLine) && said.endsWith(QStringLiteral("marks-out.txt")),
                 qPrintable(said));
    }
    // Both dialogs offer text files.
    QCOMPARE(opened_[0].fileName, QStringLiteral("*.Txt"));
    QCOMPARE(opened_[1].filter, QStringLiteral("Arquivo Texto|*.Txt"));
    QCOMPARE(opened_[1].defaultExt, QStringLiteral("*.Txt"));
    // Back to a drawing, the destination dialog offers drawings again.
    choose(w(), "ComboBox3", 0);
    answers_.push_back(std::nullopt);
    click(w(), "Button10");
    QCOMPARE(opened_.back().filter, QStringLiteral("Arquivo DXF|*.Dxf"));
}

void FilesTest::failedRunIsReportedAndLeavesTheDestination()
{
    start();
    const fs::path destination = folder_->file("keep.dxf");
    folder_->write("keep.dxf", "previous\r\n");
    click(w(), "RadioButton2");
    answers_ = {qs(folder_->file("vanished.dxf")), qs(destination)};
    click(w(), "Button9");
    click(w(), "Button10");
    click(w(), "Button2");
    QCOMPARE(watcher_->seen.size(), std::size_t{1});
    QCOMPARE(watcher_->seen[0].caption, QStringLiteral("Zelvora"));
    QVERIFY2(watcher_->seen[0].text.startsWith(QStringLiteral("Cannot open file")),
             qPrintable(watcher_->seen[0].text));
    QCOMPARE(folder_->read("keep.dxf"), std::string("previous\r\n"));
    QVERIFY2(child<QLabel>(w(), "Label22")
                 ->toolTip()
                 .startsWith(QStringLiteral("Nothing was written: Cannot open file")),
             qPrintable(child<QLabel>(w(), "Label22")->toolTip()));
    QVERIFY(enabled(w(), "Button2"));
    // A box that is not a number stops the run at its first point, before anything is written.
    const fs::path source = fs::path(ZELVORA_SAMPLES) / "dxf" / "ezdxf_r12_utm.dxf";
    answers_ = {qs(source)};
    click(w(), "Button9");
    typeInto(w(), "Edit13", QStringLiteral("-4x5"));
    watcher_->clear();
    click(w(), "Button2");
    QCOMPARE(watcher_->texts().size(), 1);
    QVERIFY2(watcher_->texts()[0].contains(
                 QStringLiteral("'-4x5' is not a valid floating point value")),
             qPrintable(watcher_->texts()[0]));
    QCOMPARE(folder_->read("keep.dxf"), std::string("previous\r\n"));
}

void FilesTest::dialogMatchesExtensionsLetterCaseAside()
{
    QTemporaryDir dir;
    for (const char* name : {"plan.dxf", "PLAN2.DXF", "plan3.Dxf", "notes.txt"})
        QFile(dir.filePath(QString::fromLatin1(name))).open(QIODevice::WriteOnly);
    QFileDialog dialog;
    configureFileDialog(dialog,
                        {QStringLiteral("Arquivo DXF|*.Dxf|Arquivo Texto|*.Txt"), 1,
                         QStringLiteral("*.Dxf"), dir.filePath(QStringLiteral("plan.dxf"))});
    auto* model = dialog.findChild<QFileSystemModel*>();
    QVERIFY(model);
    QCOMPARE(dialog.defaultSuffix(), QStringLiteral("Dxf"));
    // The files the dialog offers: those its model holds enabled, once the folder is read.
    const auto offered = [&] {
        const QModelIndex folderIndex = model->index(dir.path());
        QStringList names;
        for (int row = 0; row < model->rowCount(folderIndex); ++row) {
            const QModelIndex index = model->index(row, 0, folderIndex);
            if (model->flags(index) & Qt::ItemIsEnabled) names << model->fileName(index);
        }
        names.sort();
        return names;
    };
    QTRY_COMPARE_WITH_TIMEOUT(offered(), (QStringList{"PLAN2.DXF", "plan.dxf", "plan3.Dxf"}), 5000);
}

void FilesTest::closeDuringARunWaitsForTheRun()
{
    start();
    const fs::path source = fs::path(ZELVORA_SAMPLES) / "points" / "points_100k.txt";
    const fs::path destination = folder_->file("points.dxf");
    click(w(), "RadioButton2");
    choose(w(), "ComboBox3", 1);
    // A close request delivered while the run repaints the window, as a window manager's would be.
    int closesDuringTheRun = 0, refused = 0;
    QTimer::singleShot(0, &w(), [&] {
        ++closesDuringTheRun;
        refused += !w().close();
    });
    runFiles(source, destination);
    QCOMPARE(closesDuringTheRun, 1);
    QCOMPARE(refused, 1);
    QVERIFY(w().isVisible());
    QVERIFY(fs::exists(destination));
    QVERIFY(!fs::exists(folder_->file("Zelvora.Cfg")));
}

// The end of a session during a run (SIGTERM, SIGHUP, Ctrl+C in the terminal that started the
// program) stops it: the destination stays as it was and no temporary file is left.
void FilesTest::aStopDuringARunLeavesTheDestination()
{
    start();
    const fs::path source = fs::path(ZELVORA_SAMPLES) / "points" / "points_100k.txt";
    folder_->write("kept.dxf", "previous\r\n");
    click(w(), "RadioButton2");
    choose(w(), "ComboBox3", FileType::PointsToDrawing);
    QTimer::singleShot(0, &w(), [this] { w().stopFileRun(); });
    runFiles(source, folder_->file("kept.dxf"));
    QCOMPARE(folder_->read("kept.dxf"), std::string("previous\r\n"));
    QVERIFY(watcher_->seen.empty());
    for (const auto& entry : fs::directory_iterator(folder_->path()))
        QVERIFY2(entry.path().filename().string().rfind("kept.dxf.", 0) != 0,
                 qPrintable(QString::fromStdString(entry.path().string())));
    // The next run is not stopped.
    click(w(), "Button2");
    QVERIFY(folder_->read("kept.dxf").rfind("  0\r\nSECTION", 0) == 0);
}

ZELVORA_UI_TEST_MAIN(FilesTest)
#include "test_files.moc"
