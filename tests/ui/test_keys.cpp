// Edit3KeyPress on the numeric boxes: typed characters are filtered, editing keys are not, and
// pasted text passes as it is.
#include "tests/ui/ui_support.h"

#include <QClipboard>
#include <QGuiApplication>

class KeysTest : public QObject {
    Q_OBJECT
private slots:
    void typedCharacters_data();
    void typedCharacters();
    void editingKeysStillWork();
    void clipboardKeys();
    void everyNumericBoxIsFiltered();
};

void KeysTest::typedCharacters_data()
{
    QTest::addColumn<char>("separator");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("box");
    QTest::newRow("'.' types the user's ','") << ',' << "-23.5"
                                              << "-23,5";
    QTest::newRow("',' types the user's '.'") << '.' << "-23,5"
                                              << "-23.5";
    QTest::newRow("letters and blanks are discarded") << ',' << "1a2 b3E"
                                                      << "123";
    QTest::newRow("signs pass, even misplaced") << ',' << "+1-2"
                                                << "+1-2";
    QTest::newRow("a second separator is not stopped") << ',' << "1.2.3"
                                                       << "1,2,3";
}

void KeysTest::typedCharacters()
{
    QFETCH(char, separator);
    QFETCH(QString, typed);
    QFETCH(QString, box);
    ProgramFolder folder;
    ModalWatcher watcher;
    RunningProgram program(NumberFormat{separator, ""}, folder, watcher);
    auto* edit = child<QLineEdit>(program.window(), "Edit13");
    edit->clear();
    QTest::keyClicks(edit, typed);
    QCOMPARE(edit->text(), box);
}

void KeysTest::editingKeysStillWork()
{
    ProgramFolder folder;
    ModalWatcher watcher;
    RunningProgram program(kComma, folder, watcher);
    auto* edit = child<QLineEdit>(program.window(), "Edit1");
    edit->setText(QStringLiteral("12345"));
    edit->setCursorPosition(5);
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClick(edit, Qt::Key_Home);
    QTest::keyClick(edit, Qt::Key_Delete);
    QCOMPARE(edit->text(), QStringLiteral("234"));
    QTest::keyClick(edit, Qt::Key_Right);
    QTest::keyClick(edit, Qt::Key_Right, Qt::ShiftModifier);
    QCOMPARE(edit->selectedText(), QStringLiteral("3"));
    QTest::keyClick(edit, Qt::Key_End);
    QTest::keyClick(edit, Qt::Key_Left);
    QTest::keyClicks(edit, QStringLiteral("9"));
    QCOMPARE(edit->text(), QStringLiteral("2394"));
}

void KeysTest::clipboardKeys()
{
    ProgramFolder folder;
    ModalWatcher watcher;
    RunningProgram program(kComma, folder, watcher);
    auto* edit = child<QLineEdit>(program.window(), "Edit2");
    QClipboard* clipboard = QGuiApplication::clipboard();

    // Ctrl+A is discarded: nothing is selected, so the next key types at the cursor.
    edit->setText(QStringLiteral("500000"));
    edit->deselect();
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QVERIFY(!edit->hasSelectedText());

    // Ctrl+C copies, Ctrl+X neither cuts nor copies, Ctrl+Z does not undo.
    clipboard->setText(QStringLiteral("untouched"));
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_X, Qt::ControlModifier);
    QCOMPARE(edit->text(), QStringLiteral("500000"));
    QCOMPARE(clipboard->text(), QStringLiteral("untouched"));
    QTest::keyClick(edit, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(clipboard->text(), QStringLiteral("500000"));
    edit->setCursorPosition(6);
    QTest::keyClicks(edit, QStringLiteral("1"));
    QTest::keyClick(edit, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(edit->text(), QStringLiteral("5000001"));

    // Pasted text is not filtered: it fails later, when the box is read.
    clipboard->setText(QStringLiteral("12x"));
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(edit->text(), QStringLiteral("12x"));
}

void KeysTest::everyNumericBoxIsFiltered()
{
    ProgramFolder folder;
    ModalWatcher watcher;
    RunningProgram program(kComma, folder, watcher);
    for (int n = 1; n <= 30; ++n) {
        auto* edit = program.window().findChild<QLineEdit*>(QStringLiteral("Edit%1").arg(n));
        edit->clear();
        QTest::keyClicks(edit, QStringLiteral("x1.5"));
        QVERIFY2(edit->text() == QStringLiteral("1,5"), qPrintable(edit->objectName()));
    }
}

ZELVORA_UI_TEST_MAIN(KeysTest)
#include "test_keys.moc"
