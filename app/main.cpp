// Zelvora: the windows over the transformation library.
#include "ui/ErrorReport.h"
#include "ui/LocaleFormat.h"
#include "config/ProgramFiles.h"
#include "ui/ProgramWindows.h"
#include "app/TerminationRequest.h"

#include <QLocale>

int main(int argc, char** argv)
{
    ZelvoraApplication application(argc, argv);
    // The user's separators are read once here and passed down to everything that reads or
    // writes a number in the windows.
    const NumberFormat user = numberFormatOf(QLocale::system());
    const ProgramFiles files = locateProgramFiles(runningProgramFolder(), userConfigFolder());

    ProgramWindows windows(user, files);
    // The end of a session keeps the user's settings as closing the window does, and stops a
    // file run at work, which leaves its destination as it was.
    const TerminationRequest termination([&windows] {
        windows.form1->stopFileRun();
        windows.form1->saveAtShutdown();
        QCoreApplication::exit(0);
    });
    windows.form1->show();
    return application.exec();
}
