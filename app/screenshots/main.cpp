// Renders the main window in every language, for each source kind, in file mode and after a
// file run, a Spanish result in decimal degrees, the About window and the datum editor in every
// language, and the two map pictures marked at a point, into PNG files:
//
//     QT_QPA_PLATFORM=offscreen zelvora-screenshots OUTPUT_FOLDER
//
// The windows start on a copy of the catalogue and the pictures beside this program, without
// settings, so the pictures show the program as it first opens; QT_SCALE_FACTOR=2 renders them
// at 200 %.
#include "ui/ErrorReport.h"
#include "ui/ProgramWindows.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPixmap>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>

#include <cstdio>
#include <functional>
#include <memory>
#include <optional>
#include <utility>

namespace {

constexpr const char* kLanguages[] = {"pt", "en", "es"};
constexpr const char* kKinds[] = {"grid", "geodetic", "cartesian", "local"};

void choose(Tform1& window, const char* list, int index)
{
    auto* box = window.findChild<QComboBox*>(QString::fromLatin1(list));
    box->setCurrentIndex(index);
    emit box->activated(index);
}

void type(Tform1& window, const char* box, const char* text)
{
    window.findChild<QLineEdit*>(QString::fromLatin1(box))->setText(QString::fromUtf8(text));
}

void click(Tform1& window, const char* button)
{
    window.findChild<QAbstractButton*>(QString::fromLatin1(button))->click();
}

// The file dialogs answer with the same two files every time.
class FixedFiles : public FileDialogs {
public:
    FixedFiles(QString source, QString destination)
        : source_(std::move(source)), destination_(std::move(destination))
    {
    }
    std::optional<QString> open(QWidget*, const FileDialogSettings&) override { return source_; }
    std::optional<QString> save(QWidget*, const FileDialogSettings&) override
    {
        return destination_;
    }

private:
    QString source_, destination_;
};

// A few survey marks in UTM zone 23 south, as a point file holds them.
void writeMarks(const QString& path)
{
    QFile marks(path);
    if (!marks.open(QIODevice::WriteOnly)) return;
    marks.write(
        "M1;332104.512;7395127.331;760.250\r\n"
        "M2;332287.046;7395310.870;758.913\r\n"
        "M3;332455.780;7395002.118;762.407\r\n");
}

bool save(QWidget& widget, const QDir& folder, const QString& name)
{
    const QString path = folder.filePath(name + QStringLiteral(".png"));
    const bool saved = widget.grab().save(path);
    QTextStream(stdout) << (saved ? "wrote " : "could not write ") << path << Qt::endl;
    return saved;
}

// Every modal window that opens (the About window at start) is pictured once and closed.
void closeModalsAsTheyOpen(const QDir& folder, bool& aboutSaved,
                           const std::function<QString()>& aboutName)
{
    auto* timer = new QTimer(qApp);
    QObject::connect(timer, &QTimer::timeout, [&folder, &aboutSaved, aboutName] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            if (modal->objectName() == QLatin1String("Form2") && !aboutSaved)
                aboutSaved = save(*modal, folder, aboutName());
            if (auto* dialog = qobject_cast<QDialog*>(modal)) dialog->accept();
        }
    });
    timer->start(10);
}

}  // namespace

int main(int argc, char** argv)
{
    ZelvoraApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: zelvora-screenshots OUTPUT_FOLDER\n");
        return 2;
    }
    const QDir output(QString::fromLocal8Bit(argv[1]));
    if (!QDir().mkpath(output.path())) return 1;

    QTemporaryDir programFolder;
    for (const char* file : {kCatalogueFileName, "ZonasUTM.bmp", "UTMzone.bmp"})
        QFile::copy(QCoreApplication::applicationDirPath() + QLatin1Char('/') + QLatin1String(file),
                    programFolder.filePath(QLatin1String(file)));
    bool aboutSaved = false;
    closeModalsAsTheyOpen(output, aboutSaved, [] { return QStringLiteral("about-en"); });

    const NumberFormat user{',', "."};
    ProgramWindows windows(user, ProgramFiles::inOneFolder(programFolder.path().toStdString()));
    Tform1& window = *windows.form1;
    const QString marks = programFolder.filePath(QStringLiteral("marks.txt"));
    writeMarks(marks);
    window.setFileDialogs(
        std::make_unique<FixedFiles>(marks, programFolder.filePath(QStringLiteral("marks.dxf"))));
    window.show();
    window.activateWindow();
    while (!window.started() || !aboutSaved)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);

    bool ok = true;
    for (int language = 0; language < 3; ++language) {
        choose(window, "ComboBox1", language);
        click(window, "RadioButton1");
        for (int kind = 0; kind < 4; ++kind) {
            choose(window, "ComboBox7", kind);
            choose(window, "ComboBox8", (kind + 1) % 4);
            click(window, "Button1");
            ok = save(window, output,
                      QStringLiteral("main-%1-%2").arg(kLanguages[language], kKinds[kind])) &&
                 ok;
        }
        click(window, "RadioButton2");
        ok = save(window, output, QStringLiteral("main-%1-file").arg(kLanguages[language])) && ok;
        // A point file carried from the grid to geodetic coordinates into a drawing.
        choose(window, "ComboBox7", 0);
        choose(window, "ComboBox8", 1);
        choose(window, "ComboBox3", 1);
        click(window, "Button9");
        click(window, "Button10");
        click(window, "Button2");
        ok = save(window, output, QStringLiteral("main-%1-run").arg(kLanguages[language])) && ok;
        windows.Form2->adjustSize();
        ok = save(*windows.Form2, output, QStringLiteral("about-%1").arg(kLanguages[language])) &&
             ok;
        ok = save(*windows.Form3, output, QStringLiteral("datum-%1").arg(kLanguages[language])) &&
             ok;
    }
    // In Spanish with decimal degrees, a point near Campinas: the result's first line in sight.
    choose(window, "ComboBox1", 2);
    choose(window, "ComboBox2", 0);
    click(window, "RadioButton1");
    choose(window, "ComboBox7", 1);
    choose(window, "ComboBox8", 0);
    type(window, "Edit25", "-22,9071");
    type(window, "Edit26", "-47,0632");
    type(window, "Edit27", "685");
    click(window, "Button1");
    ok = save(window, output, QStringLiteral("main-es-result")) && ok;

    // The map window as "Map" and "Grid" show it, for a point near Campinas.
    TGraficosGeo& map = *windows.GraficosGeo;
    map.MapadoMundo(-22.9, -47.06);
    ok = save(map, output, QStringLiteral("map-world")) && ok;
    map.MostraUTM(7400000, 500000, -45, true);
    ok = save(map, output, QStringLiteral("map-zone")) && ok;
    window.hide();
    return ok ? 0 : 1;
}
