#include "ui/ErrorReport.h"

#include "ui/InterfaceFont.h"

#include <QIcon>
#include <QMessageBox>

void showErrorReport(QWidget* parent, const QString& text)
{
    QMessageBox box(QMessageBox::Critical, QString::fromLatin1(kErrorReportCaption), text,
                    QMessageBox::Ok, parent);
    box.exec();
}

void showErrorMessage(QWidget* parent, const QString& text)
{
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Error"), text, QMessageBox::Ok, parent);
    box.exec();
}

ZelvoraApplication::ZelvoraApplication(int& argc, char** argv) : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("Zelvora"));
    // The menu entry's name, so that a desktop shows the windows under its entry and icon.
    setDesktopFileName(QStringLiteral("zelvora"));
    // The icon built in, for the portable layout where no icon theme holds it.
    Q_INIT_RESOURCE(pictures);
    QIcon icon;
    for (const int size : {16, 32, 48, 256})
        icon.addFile(QStringLiteral(":/pictures/icon-%1.png").arg(size), QSize(size, size));
    setWindowIcon(QIcon::fromTheme(QStringLiteral("zelvora"), icon));
    setFont(interfaceFont());
}

bool ZelvoraApplication::notify(QObject* receiver, QEvent* event)
{
    bool handled = false;
    reportErrors(activeWindow(), [&] { handled = QApplication::notify(receiver, event); });
    return handled;
}
