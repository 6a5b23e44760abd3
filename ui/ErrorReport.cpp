#include "ErrorReport.h"

#include <QMessageBox>

void showErrorReport(QWidget* parent, const QString& text)
{
    QMessageBox box(QMessageBox::Critical, QString::fromLatin1(kErrorReportCaption), text,
                    QMessageBox::Ok, parent);
    box.exec();
}

ZelvoraApplication::ZelvoraApplication(int& argc, char** argv) : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("Zelvora"));
}

bool ZelvoraApplication::notify(QObject* receiver, QEvent* event)
{
    bool handled = false;
    reportErrors(activeWindow(), [&] { handled = QApplication::notify(receiver, event); });
    return handled;
}
