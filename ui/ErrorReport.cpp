#include "ErrorReport.h"

#include "InterfaceFont.h"

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
    setFont(interfaceFont());
}

bool ZelvoraApplication::notify(QObject* receiver, QEvent* event)
{
    bool handled = false;
    reportErrors(activeWindow(), [&] { handled = QApplication::notify(receiver, event); });
    return handled;
}
