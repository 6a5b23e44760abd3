#include "tests/ui/ui_support.h"

#include "ui/ErrorReport.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QPlainTextEdit>

#include <fstream>
#include <sstream>

ModalWatcher::ModalWatcher()
{
    connect(&timer_, &QTimer::timeout, this, [this] { poll(); });
    timer_.start(5);
}

void ModalWatcher::poll()
{
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || !modal->isVisible()) return;
    if (onShown) onShown(modal);
    if (auto* box = qobject_cast<QMessageBox*>(modal)) {
        seen.push_back({QStringLiteral("QMessageBox"), box->windowTitle(), box->text()});
        // Clicked, as a user would, so that the box reports the button it was closed with.
        QAbstractButton* button = box->button(answer);
        if (!button) button = box->button(QMessageBox::Ok);
        if (button)
            button->click();
        else
            box->reject();
    } else if (auto* dialog = qobject_cast<QDialog*>(modal)) {
        seen.push_back({dialog->objectName(), dialog->windowTitle(), {}});
        dialog->accept();
    }
}

QStringList ModalWatcher::texts() const
{
    QStringList out;
    for (const SeenModal& modal : seen) out << modal.text;
    return out;
}

ProgramFolder::ProgramFolder(bool withCatalogue)
{
    if (withCatalogue) copyShipped("Datum.Cfg");
}

void ProgramFolder::copyShipped(const char* name) const
{
    QFile::copy(QStringLiteral(ZELVORA_DATA "/") + QLatin1String(name),
                QString::fromStdString(file(name).string()));
}

std::filesystem::path ProgramFolder::path() const { return dir_.path().toStdString(); }

void ProgramFolder::write(const char* name, const std::string& content) const
{
    std::ofstream(file(name), std::ios::binary) << content;
}

std::string ProgramFolder::read(const char* name) const
{
    std::ifstream in(file(name), std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

RunningProgram::RunningProgram(const NumberFormat& user, const ProgramFolder& folder,
                               ModalWatcher& watcher)
    : RunningProgram(user, ProgramFiles::inOneFolder(folder.path()), watcher)
{
}

RunningProgram::RunningProgram(const NumberFormat& user, const ProgramFiles& files,
                               ModalWatcher& watcher)
    : windows(std::make_unique<ProgramWindows>(user, files))
{
    window().show();
    window().activateWindow();
    const auto aboutClosed = [&] {
        for (const SeenModal& modal : watcher.seen)
            if (modal.window == QLatin1String("Form2")) return true;
        return false;
    };
    if (!QTest::qWaitFor([&] { return window().started() && aboutClosed(); }, 5000))
        qFatal("the main window did not start");
}

RunningProgram::~RunningProgram()
{
    // Leave without writing the settings: the tests that close the window do it themselves.
    if (windows && windows->form1->isVisible()) windows->form1->hide();
}

bool shownIn(const QWidget& window, const char* name)
{
    return child(window, name)->isVisibleTo(&window);
}

void choose(const QWidget& window, const char* list, int index)
{
    auto* box = child<QComboBox>(window, list);
    box->setCurrentIndex(index);
    emit box->activated(index);
}

void typeInto(const QWidget& window, const char* box, const QString& text)
{
    child<QLineEdit>(window, box)->setText(text);
}

void click(const QWidget& window, const char* button)
{
    child<QAbstractButton>(window, button)->click();
}

void typeAndEnter(const QWidget& window, const char* box, const QString& text)
{
    auto* edit = child<QLineEdit>(window, box);
    edit->selectAll();
    QTest::keyClicks(edit, text);
    QTest::keyClick(edit, Qt::Key_Return);
}

QStringList resultLines(const QWidget& window)
{
    const QString text = child<QPlainTextEdit>(window, "RichEdit5")->toPlainText();
    return text.isEmpty() ? QStringList{} : text.split(QLatin1Char('\n'));
}
