// The start-up: its defaults without a settings file, the About window after the language, the
// start-up run once, and a missing catalogue reported without stopping the program.
#include "tests/ui/ui_support.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

class StartupTest : public QObject {
    Q_OBJECT
private slots:
    void defaultsWithoutSettingsFile_data();
    void defaultsWithoutSettingsFile();
    void aboutWindowShownInTheLanguageAfterItIsApplied();
    void startupRunsOnceOnly();
    void startsAlsoWhenTheWindowManagerDoesNotActivateIt();
    void missingCatalogueIsReportedAndLeavesEmptyLists();
    void windowGeometry();
};

void StartupTest::defaultsWithoutSettingsFile_data()
{
    QTest::addColumn<char>("separator");
    QTest::newRow("decimal comma") << ',';
    QTest::newRow("decimal point") << '.';
}

void StartupTest::defaultsWithoutSettingsFile()
{
    QFETCH(char, separator);
    const NumberFormat user{separator, ""};
    ProgramFolder folder;
    ModalWatcher watcher;
    RunningProgram program(user, folder, watcher);
    const Tform1& w = program.window();
    const WindowState state = w.snapshot();

    QCOMPARE(w.windowTitle(), QStringLiteral("Geodetic Transforms"));  // English
    QCOMPARE(state.ComboBox1, 1);
    QCOMPARE(state.ComboBox7, 0);  // grid on both sides
    QCOMPARE(state.ComboBox8, 0);
    QCOMPARE(state.ComboBox16, 0);  // UTM
    QCOMPARE(state.ComboBox17, 0);
    QCOMPARE(state.ComboBox14, 1);  // south
    QCOMPARE(state.ComboBox2, 2);
    QCOMPARE(child<QComboBox>(w, "ComboBox2")->currentText(), QStringLiteral("±GGG.MMSSSS"));
    QCOMPARE(state.ComboBox3, 0);
    QCOMPARE(child<QComboBox>(w, "ComboBox3")->currentText(), QStringLiteral("DXF"));
    QCOMPARE(state.ComboBox9, 1);  // the second datum on both sides
    QCOMPARE(state.ComboBox10, 1);
    QCOMPARE(child<QComboBox>(w, "ComboBox9")->currentText(), QStringLiteral("SIRGAS 2000"));
    const QString k0 = QStringLiteral("0") + QLatin1Char(separator) + QStringLiteral("9996");
    QCOMPARE(QString::fromStdString(state.Edit5), k0);
    QCOMPARE(QString::fromStdString(state.Edit9), k0);
    // The other boxes as the window was designed.
    QCOMPARE(QString::fromStdString(state.Edit13), QStringLiteral("-45"));
    QCOMPARE(QString::fromStdString(state.Edit25), QStringLiteral("-0"));
    QCOMPARE(QString::fromStdString(state.Edit14),
             QStringLiteral("-22") + QLatin1Char(separator) + QStringLiteral("540077144"));
    QCOMPARE(QString::fromStdString(state.Edit28), QStringLiteral("4510272"));
    // Single-point mode: the file button hidden and disabled, the file labels as start-up sets
    // them.
    QVERIFY(child<QAbstractButton>(w, "RadioButton1")->isChecked());
    QVERIFY(!shownIn(w, "Button2"));
    QVERIFY(!child<QPushButton>(w, "Button2")->isEnabled());
    QVERIFY(shownIn(w, "Panel3"));
    QVERIFY(!shownIn(w, "Panel1"));
    QVERIFY(!shownIn(w, "RichEdit7"));
    QCOMPARE(child<QLabel>(w, "Label18")->text(), QString());
    QCOMPARE(child<QLabel>(w, "Label19")->text(), QStringLiteral("SemNome.Dxf"));
    QCOMPARE(child<QProgressBar>(w, "ProgressBar1")->value(), 0);
    // The program's icon, built in for the portable layout.
    QVERIFY(QApplication::windowIcon().availableSizes().contains(QSize(256, 256)));
    // Nothing but the About window was shown.
    QCOMPARE(watcher.seen.size(), std::size_t{1});
}

void StartupTest::aboutWindowShownInTheLanguageAfterItIsApplied()
{
    ProgramFolder folder;
    // A settings file that selects Spanish: the About window must already speak it.
    WindowState spanish = startupState(kComma);
    spanish.ComboBox1 = 2;
    folder.write("Zelvora.Cfg", settingsText(spanish, kComma));
    ModalWatcher watcher;
    QString version, disclaimer, caption;
    bool mainWindowInSpanish = false;
    watcher.onShown = [&](QWidget* modal) {
        if (modal->objectName() != QLatin1String("Form2")) return;
        caption = modal->windowTitle();
        version = child<QLabel>(*modal, "Label2")->text();
        disclaimer = child<QLabel>(*modal, "Label13")->text();
        mainWindowInSpanish =
            child<QLabel>(*modal->parentWidget(), "Label7")->text() == QStringLiteral("Ejemplo");
    };
    RunningProgram program(kComma, folder, watcher);
    QCOMPARE(caption, QStringLiteral("Zelvora"));
    QCOMPARE(version, QStringLiteral("Versão"));  // text 35 in Spanish
    QCOMPARE(disclaimer,
             QStringLiteral("Qualquer sugestão ou erro encontrado favor envie-nos um e-mail."));
    QVERIFY(mainWindowInSpanish);
    const QWidget& about = *program.windows->Form2;
    QCOMPARE(child<QLabel>(about, "Label1")->text(), QStringLiteral("ZELVORA"));
    QCOMPARE(child<QLabel>(about, "Label12")->text(), QStringLiteral("1.11"));
    QCOMPARE(child<QLabel>(about, "Label16")->text(), QStringLiteral("BETA"));
    QCOMPARE(child<QLabel>(about, "Label17")->text(), QStringLiteral("18 MAR 2013"));
    QCOMPARE(child<QLabel>(about, "Label4")->text(), QStringLiteral("the Zelvora developers"));
    QCOMPARE(child<QLabel>(about, "Image1")->pixmap().size(), QSize(197, 197));
    QVERIFY(!child<QLabel>(about, "Image3")->pixmap().isNull());
    QCOMPARE(about.palette().color(QPalette::Window), QColor(Qt::white));
}

void StartupTest::startupRunsOnceOnly()
{
    ProgramFolder folder;
    ModalWatcher watcher;
    RunningProgram program(kComma, folder, watcher);
    Tform1& w = program.window();
    typeInto(w, "Edit13", QStringLiteral("-51"));
    choose(w, "ComboBox1", 0);
    // A modal window closing re-activates the main window; nothing of the start-up repeats.
    program.windows->Form3->exec();
    w.activateWindow();
    QTest::qWait(50);
    QCOMPARE(child<QLineEdit>(w, "Edit13")->text(), QStringLiteral("-51"));
    QCOMPARE(child<QComboBox>(w, "ComboBox1")->currentIndex(), 0);
    int abouts = 0;
    for (const SeenModal& modal : watcher.seen) abouts += modal.window == QLatin1String("Form2");
    QCOMPARE(abouts, 1);
}

void StartupTest::startsAlsoWhenTheWindowManagerDoesNotActivateIt()
{
    ProgramFolder folder;
    ModalWatcher watcher;
    ProgramWindows windows(kComma, ProgramFiles::inOneFolder(folder.path()));
    windows.form1->setAttribute(Qt::WA_ShowWithoutActivating);
    windows.form1->show();
    QVERIFY(QTest::qWaitFor([&] { return windows.form1->started(); }, 5000));
    QCOMPARE(windows.form1->windowTitle(), QStringLiteral("Geodetic Transforms"));
    QTRY_COMPARE(watcher.seen.size(), std::size_t{1});
    QCOMPARE(watcher.seen[0].window, QStringLiteral("Form2"));
    windows.form1->hide();
}

void StartupTest::missingCatalogueIsReportedAndLeavesEmptyLists()
{
    ProgramFolder folder(false);
    ModalWatcher watcher;
    RunningProgram program(kComma, folder, watcher);
    const Tform1& w = program.window();
    QVERIFY(watcher.seen.size() >= 2);
    QCOMPARE(watcher.seen[0].window, QStringLiteral("QMessageBox"));
    QVERIFY2(watcher.seen[0].text.contains(QStringLiteral("Datum.Cfg")),
             qPrintable(watcher.seen[0].text));
    QCOMPARE(child<QComboBox>(w, "ComboBox9")->count(), 0);
    QCOMPARE(w.snapshot().ComboBox9, -1);
    // The rest of the start-up ran: the language is applied and the window works.
    QCOMPARE(w.windowTitle(), QStringLiteral("Geodetic Transforms"));
    watcher.clear();
    click(w, "Button1");
    QCOMPARE(watcher.seen.size(), std::size_t{1});
    QVERIFY2(watcher.seen[0].text.contains(QStringLiteral("datum")),
             qPrintable(watcher.seen[0].text));
}

void StartupTest::windowGeometry()
{
    ProgramFolder folder;
    ModalWatcher watcher;
    RunningProgram program(kComma, folder, watcher);
    const Tform1& w = program.window();
    QCOMPARE(w.size(), QSize(537, 432));
    QCOMPARE(w.minimumSize(), w.maximumSize());
    QCOMPARE(w.font().pointSize(), 8);
    QVERIFY(!(w.windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(w.windowFlags() & Qt::WindowMinimizeButtonHint);
    // Rows share their places: row 1 of the source holds the meridian or the plane's latitude.
    QCOMPARE(child(w, "Edit13")->geometry(), child(w, "Edit15")->geometry());
    QCOMPARE(child(w, "ComboBox14")->geometry(), child(w, "Edit16")->geometry());
    QCOMPARE(child(w, "Edit18")->geometry(), child(w, "Edit5")->geometry());
    QCOMPARE(child(w, "Edit20")->geometry(), child(w, "Edit14")->geometry());
    QCOMPARE(child(w, "Panel1")->geometry(), child(w, "Panel3")->geometry());
    QCOMPARE(child(w, "Button3")->geometry(), child(w, "Button4")->geometry());
    // Every widget the window names exists.
    for (int n = 1; n <= 30; ++n) QVERIFY(w.findChild<QLineEdit*>(QStringLiteral("Edit%1").arg(n)));
}

ZELVORA_UI_TEST_MAIN(StartupTest)
#include "test_startup.moc"
