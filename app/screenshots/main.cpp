// Renders the main window in every language, for each source kind and in file mode, the About
// window and the datum editor in every language, and the two map pictures marked at a point,
// into PNG files:
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

namespace {

constexpr const char* kLanguages[] = {"pt", "en", "es"};
constexpr const char* kKinds[] = {"grid", "geodetic", "cartesian", "local"};

void choose(Tform1& window, const char* list, int index)
{
    auto* box = window.findChild<QComboBox*>(QString::fromLatin1(list));
    box->setCurrentIndex(index);
    emit box->activated(index);
}

void click(Tform1& window, const char* button)
{
    window.findChild<QAbstractButton*>(QString::fromLatin1(button))->click();
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
        windows.Form2->adjustSize();
        ok = save(*windows.Form2, output, QStringLiteral("about-%1").arg(kLanguages[language])) &&
             ok;
        ok = save(*windows.Form3, output, QStringLiteral("datum-%1").arg(kLanguages[language])) &&
             ok;
    }
    // The map window as "Map" and "Grid" show it, for a point near Campinas.
    TGraficosGeo& map = *windows.GraficosGeo;
    map.MapadoMundo(-22.9, -47.06);
    ok = save(map, output, QStringLiteral("map-world")) && ok;
    map.MostraUTM(7400000, 500000, -45, true);
    ok = save(map, output, QStringLiteral("map-zone")) && ok;
    window.hide();
    return ok ? 0 : 1;
}
