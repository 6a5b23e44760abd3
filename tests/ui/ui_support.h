// Driving the real windows off screen: a program folder of its own for each test, the four
// windows started as the program starts them, and the modal boxes they show answered and kept.
#pragma once

#include "ui/ErrorReport.h"
#include "transform/text/NumberFormat.h"
#include "ui/ProgramWindows.h"
#include "config/Settings.h"

#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

inline const NumberFormat kComma{',', "."};
inline const NumberFormat kPoint{'.', ","};

// A modal window seen while it was shown: a message box's caption and text, or a dialog's name.
struct SeenModal {
    QString window;  // the object name of a dialog, "QMessageBox" for a message box
    QString caption;
    QString text;
};

// Watches for modal windows and closes each as a user would: a message box with its default
// (or the answer set for questions), a dialog by accepting it. Records what it saw, in order.
class ModalWatcher : public QObject {
public:
    ModalWatcher();
    std::vector<SeenModal> seen;
    QMessageBox::StandardButton answer = QMessageBox::Yes;  // for Yes/No questions
    // Called with the modal window before it is closed, to look at it while it is shown.
    std::function<void(QWidget*)> onShown;

    QStringList texts() const;
    void clear() { seen.clear(); }

private:
    void poll();
    QTimer timer_;
};

// A program folder with the shipped catalogue (or none), where the settings file is written.
class ProgramFolder {
public:
    explicit ProgramFolder(bool withCatalogue = true);
    // Copies a file the program ships ("ZonasUTM.bmp") into the folder.
    void copyShipped(const char* name) const;
    std::filesystem::path path() const;
    std::filesystem::path file(const char* name) const { return path() / name; }
    void write(const char* name, const std::string& content) const;
    std::string read(const char* name) const;

private:
    QTemporaryDir dir_;
};

// The four windows of a program run, shown and through their start-up (the About window closed
// by the watcher).
struct RunningProgram {
    RunningProgram(const NumberFormat& user, const ProgramFolder& folder, ModalWatcher& watcher);
    // The shipped files in one folder, the user's in another.
    RunningProgram(const NumberFormat& user, const ProgramFiles& files, ModalWatcher& watcher);
    ~RunningProgram();
    Tform1& window() const { return *windows->form1; }
    std::unique_ptr<ProgramWindows> windows;
};

template <typename Widget = QWidget>
Widget* child(const QWidget& window, const char* name)
{
    auto* widget = window.findChild<Widget*>(QString::fromLatin1(name));
    if (!widget) qFatal("no widget named %s", name);
    return widget;
}

// Shown in its window whatever the window's own state (the tests' windows are off screen).
bool shownIn(const QWidget& window, const char* name);

// The user's choice of an item in a list.
void choose(const QWidget& window, const char* list, int index);
// The user's typing replacing a box's text (as a paste would, past the key filter).
void typeInto(const QWidget& window, const char* box, const QString& text);
void click(const QWidget& window, const char* button);
// The user's typing over a box's text, key by key, then Enter.
void typeAndEnter(const QWidget& window, const char* box, const QString& text);
QStringList resultLines(const QWidget& window);

// Runs a program's test object under the application object the program itself uses.
#define ZELVORA_UI_TEST_MAIN(TestObject)            \
    int main(int argc, char** argv)                 \
    {                                               \
        ZelvoraApplication application(argc, argv); \
        TestObject test;                            \
        return QTest::qExec(&test, argc, argv);     \
    }
