// Zelvora: the windows over the transformation library.
#include "ErrorReport.h"
#include "LocaleFormat.h"
#include "ProgramWindows.h"

#include <QCoreApplication>
#include <QFile>
#include <QLocale>

int main(int argc, char** argv)
{
    ZelvoraApplication application(argc, argv);
    // The user's separators are read once here and passed down to everything that reads or
    // writes a number in the windows.
    const NumberFormat user = numberFormatOf(QLocale::system());
    const std::filesystem::path programFolder(
        QFile::encodeName(QCoreApplication::applicationDirPath()).toStdString());

    ProgramWindows windows(user, programFolder);
    windows.form1->show();
    return application.exec();
}
