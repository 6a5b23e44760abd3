// The window's state across a restart: written at close, read at the next start; a box that is
// not a number keeps the window open; a folder that cannot be written asks before losing it.
#include "tests/ui/ui_support.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>

class SettingsTest : public QObject {
    Q_OBJECT
private slots:
    void roundTripThroughTheWindow();
    void badBoxKeepsTheWindowOpen();
    void unwritableFolderAsksBeforeClosing();
    void closingBeforeTheStartUpWritesNothing();
    void badSettingsFileIsReportedAndIgnored();
    void aBadKeepHeightsLineCostsOnlyThatChoice();
    void anIndexPastItsListIsReportedOnceAtStartUp();
    void theUsersFilesLiveApartFromTheShippedOnes();
    void theEndOfASessionSavesWithoutAsking();
};

void SettingsTest::roundTripThroughTheWindow()
{
    ProgramFolder folder;
    WindowState before;
    {
        ModalWatcher watcher;
        RunningProgram program(kComma, folder, watcher);
        Tform1& w = program.window();
        choose(w, "ComboBox1", 2);
        choose(w, "ComboBox2", 1);
        choose(w, "ComboBox7", 3);
        choose(w, "ComboBox8", 1);
        choose(w, "ComboBox9", 4);
        choose(w, "ComboBox10", 0);
        choose(w, "ComboBox14", 0);
        choose(w, "ComboBox16", 2);
        choose(w, "ComboBox17", 3);
        typeInto(w, "Edit15", QStringLiteral("-23,5"));
        typeInto(w, "Edit9", QStringLiteral("0,9999"));
        typeInto(w, "Edit3", QStringLiteral("151234,567"));
        typeInto(w, "Edit27", QStringLiteral("700,0"));
        QVERIFY(!child<QCheckBox>(w, "CheckBox1")->isChecked());
        click(w, "CheckBox1");
        before = w.snapshot();
        QVERIFY(w.close());
        QVERIFY(!w.isVisible());
    }
    const std::string file = folder.read("Zelvora.Cfg");
    QVERIFY(file.find("\r\n-23.5\r\n") != std::string::npos);  // the file's ".", the box's ","
    QVERIFY(file.ends_with("\r\n1\r\n1\r\n"));  // the angle format, then heights kept
    ModalWatcher again;
    RunningProgram program(kComma, folder, again);
    const WindowState after = program.window().snapshot();
    // Every value comes back; numbers in the general form (700,0 as 700, -0 as 0).
    QCOMPARE(QString::fromStdString(settingsText(after, kComma)),
             QString::fromStdString(settingsText(before, kComma)));
    QCOMPARE(QString::fromStdString(after.Edit27), QStringLiteral("700"));
    QCOMPARE(QString::fromStdString(after.Edit3), QStringLiteral("151234,567"));
    QCOMPARE(after.ComboBox9, 4);
    QCOMPARE(after.ComboBox17, 3);
    QVERIFY(after.CheckBox1);
    QVERIFY(child<QCheckBox>(program.window(), "CheckBox1")->isChecked());
    QCOMPARE(program.window().windowTitle(), QStringLiteral("Transfomaciones Geodésicas"));
    QCOMPARE(again.seen.size(), std::size_t{1});  // the About window only
}

void SettingsTest::badBoxKeepsTheWindowOpen()
{
    ProgramFolder folder;
    ModalWatcher watcher;
    RunningProgram program(kComma, folder, watcher);
    Tform1& w = program.window();
    typeInto(w, "Edit22", QStringLiteral("7OO"));
    watcher.clear();
    QVERIFY(!w.close());
    QVERIFY(w.isVisible());
    QCOMPARE(watcher.texts(),
             QStringList{QStringLiteral("'7OO' is not a valid floating point value\n"
                                        "Box: To: Plane Height (shown with: To: Local Survey)")});
    QVERIFY(!std::filesystem::exists(folder.file("Zelvora.Cfg")));
    typeInto(w, "Edit22", QStringLiteral("700"));
    // A box two choices away from the screen names both.
    choose(w, "ComboBox8", 1);  // geodetic, and the family is UTM
    typeInto(w, "Edit9", QStringLiteral("1,2,3"));
    watcher.clear();
    QVERIFY(!w.close());
    QCOMPARE(watcher.texts(), QStringList{QStringLiteral(
                                  "'1,2,3' is not a valid floating point value\nBox: To: Ko "
                                  "(shown with: To: Transverse Mercator, To: System Other)")});
    typeInto(w, "Edit9", QStringLiteral("1"));
    QVERIFY(w.close());
    QVERIFY(std::filesystem::exists(folder.file("Zelvora.Cfg")));
}

void SettingsTest::unwritableFolderAsksBeforeClosing()
{
    // A folder where the settings file cannot be made (here a folder holds its name, which
    // fails for every user, root included).
    ProgramFolder folder;
    ModalWatcher watcher;
    RunningProgram program(kComma, folder, watcher);
    Tform1& w = program.window();
    std::filesystem::create_directory(folder.file("Zelvora.Cfg"));
    watcher.answer = QMessageBox::No;
    watcher.clear();
    QVERIFY(!w.close());
    QVERIFY(w.isVisible());
    QCOMPARE(watcher.seen.size(), std::size_t{1});
    QVERIFY2(watcher.seen[0].text.contains(QStringLiteral("Zelvora.Cfg")),
             qPrintable(watcher.seen[0].text));
    QVERIFY(watcher.seen[0].text.endsWith(
        QStringLiteral("Close without saving the settings and the datums?")));
    watcher.answer = QMessageBox::Yes;
    QVERIFY(w.close());
    QVERIFY(std::filesystem::is_directory(folder.file("Zelvora.Cfg")));
}

void SettingsTest::closingBeforeTheStartUpWritesNothing()
{
    // A window closed before its first activation holds the design values, not the user's:
    // writing them would overwrite the user's settings.
    ProgramFolder folder;
    folder.write("Zelvora.Cfg", "kept");
    ProgramWindows windows(kComma, ProgramFiles::inOneFolder(folder.path()));
    QVERIFY(windows.form1->close());
    QCOMPARE(folder.read("Zelvora.Cfg"), std::string("kept"));
}

void SettingsTest::badSettingsFileIsReportedAndIgnored()
{
    ProgramFolder folder;
    WindowState saved = startupState(kComma);
    saved.Edit13 = "-51";
    std::string text = settingsText(saved, kComma);
    text.replace(text.find("\r\n-51\r\n"), 7, "\r\n-5l\r\n");
    folder.write("Zelvora.Cfg", text);
    ModalWatcher watcher;
    RunningProgram program(kComma, folder, watcher);
    QCOMPARE(watcher.seen.size(), std::size_t{2});
    QVERIFY2(watcher.seen[0].text.contains(QStringLiteral("line 3")),
             qPrintable(watcher.seen[0].text));
    QCOMPARE(child<QLineEdit>(program.window(), "Edit13")->text(), QStringLiteral("-45"));
    QCOMPARE(program.window().windowTitle(), QStringLiteral("Geodetic Transforms"));
    // The destination shown is the one the settings hold, here the design's.
    QCOMPARE(child<QLabel>(program.window(), "Label19")->text(), QStringLiteral("SemNome.Dxf"));
}

void SettingsTest::aBadKeepHeightsLineCostsOnlyThatChoice()
{
    ProgramFolder folder;
    WindowState saved = startupState(kComma);
    saved.Edit13 = "-51";
    std::string text = settingsText(saved, kComma);
    text.replace(text.size() - 3, 1, "x");  // line 43
    folder.write("Zelvora.Cfg", text);
    ModalWatcher watcher;
    RunningProgram program(kComma, folder, watcher);
    QCOMPARE(watcher.seen.size(), std::size_t{2});
    QVERIFY2(watcher.seen[0].text.contains(QStringLiteral("line 43: 'x'")),
             qPrintable(watcher.seen[0].text));
    QCOMPARE(child<QLineEdit>(program.window(), "Edit13")->text(), QStringLiteral("-51"));
    QVERIFY(!child<QCheckBox>(program.window(), "CheckBox1")->isChecked());
}

void SettingsTest::anIndexPastItsListIsReportedOnceAtStartUp()
{
    ProgramFolder folder;
    WindowState saved = startupState(kComma);
    saved.ComboBox9 = 99;  // past the shipped catalogue
    saved.Edit13 = "-51";
    folder.write("Zelvora.Cfg", settingsText(saved, kComma));
    ModalWatcher watcher;
    RunningProgram program(kComma, folder, watcher);
    QCOMPARE(watcher.seen.size(), std::size_t{2});  // the report, then the About window
    QVERIFY2(watcher.seen[0].text.contains(
                 QStringLiteral("line 2: 99 is not an index of the datums of the catalogue")),
             qPrintable(watcher.seen[0].text));
    QCOMPARE(child<QComboBox>(program.window(), "ComboBox9")->currentIndex(), 0);
    QCOMPARE(child<QLineEdit>(program.window(), "Edit13")->text(), QStringLiteral("-51"));
}

void SettingsTest::theUsersFilesLiveApartFromTheShippedOnes()
{
    ProgramFolder shipped, user;
    shipped.copyShipped("ZonasUTM.bmp");
    const std::string catalogue = shipped.read("Datum.Cfg");
    const ProgramFiles files{shipped.path(), user.file("zelvora")};
    {
        ModalWatcher watcher;
        RunningProgram program(kComma, files, watcher);
        Tform1& w = program.window();
        QCOMPARE(child<QComboBox>(w, "ComboBox9")->count(), 43);  // the shipped catalogue
        choose(w, "ComboBox1", 0);
        // A datum changed in the editor, and the map picture from the shipped folder.
        typeInto(*program.windows->Form3, "Edit1", QStringLiteral("WGS 1984"));
        click(*program.windows->Form3, "Button3");
        choose(w, "ComboBox7", 1);
        watcher.clear();
        click(w, "Button3");
        QCOMPARE(watcher.seen.size(), std::size_t{1});
        QCOMPARE(watcher.seen[0].window, QStringLiteral("GraficosGeo"));
        QVERIFY(w.close());
    }
    // Written among the user's files, the shipped ones untouched.
    QCOMPARE(shipped.read("Datum.Cfg"), catalogue);
    QVERIFY(!std::filesystem::exists(shipped.file("Zelvora.Cfg")));
    QVERIFY(std::filesystem::exists(user.file("zelvora/Zelvora.Cfg")));
    QVERIFY(user.read("zelvora/Datum.Cfg").rfind("6378137,298.257223563,WGS 1984,", 0) == 0);
    // The next start reads the user's files first.
    ModalWatcher watcher;
    RunningProgram program(kComma, files, watcher);
    QCOMPARE(child<QComboBox>(program.window(), "ComboBox9")->itemText(0),
             QStringLiteral("WGS 1984"));
    QCOMPARE(program.window().snapshot().ComboBox1, 0);
}

void SettingsTest::theEndOfASessionSavesWithoutAsking()
{
    ProgramFolder folder;
    {
        // Before the start-up the boxes hold the design values: nothing is written.
        ProgramWindows windows(kComma, ProgramFiles::inOneFolder(folder.path()));
        windows.form1->saveAtShutdown();
        QVERIFY(!std::filesystem::exists(folder.file("Zelvora.Cfg")));
    }
    ModalWatcher watcher;
    RunningProgram program(kComma, folder, watcher);
    Tform1& w = program.window();
    typeInto(*program.windows->Form3, "Edit1", QStringLiteral("WGS 1984"));
    click(*program.windows->Form3, "Button3");
    // A box that is not a number loses the settings but not the datums, and nothing is asked.
    typeInto(w, "Edit13", QStringLiteral("12x"));
    watcher.clear();
    w.saveAtShutdown();
    QCOMPARE(watcher.seen.size(), std::size_t{0});
    QVERIFY(!std::filesystem::exists(folder.file("Zelvora.Cfg")));
    QVERIFY(folder.read("Datum.Cfg").rfind("6378137,298.257223563,WGS 1984,", 0) == 0);
    typeInto(w, "Edit13", QStringLiteral("-51"));
    w.saveAtShutdown();
    QVERIFY(folder.read("Zelvora.Cfg").find("\r\n-51\r\n") != std::string::npos);
}

ZELVORA_UI_TEST_MAIN(SettingsTest)
#include "test_settings.moc"
