// The one general error report: an error that ends an action (a box that is not a number, a file
// that cannot be read or written) is shown in a message box, and the window keeps working.
#pragma once

#include <QApplication>
#include <QString>

#include <exception>
#include <utility>

class QWidget;

// The caption of the general error report.
inline constexpr const char* kErrorReportCaption = "Zelvora";

// Shows `text` in a modal error box with one OK button.
void showErrorReport(QWidget* parent, const QString& text);

// A window's own error message (the status of "->", the datum editor's checks): an error box
// with caption "Error" and one OK button.
void showErrorMessage(QWidget* parent, const QString& text);

// Runs a handler and shows what it throws, so that no exception reaches the event loop. Every
// handler of the windows is connected through this. False when the handler threw.
template <typename Handler>
bool reportErrors(QWidget* parent, Handler&& handler)
{
    try {
        std::forward<Handler>(handler)();
        return true;
    } catch (const std::exception& error) {
        showErrorReport(parent, QString::fromUtf8(error.what()));
    } catch (...) {
        showErrorReport(parent, QStringLiteral("Unknown error"));
    }
    return false;
}

// The application object: the last net under every event, in case an exception escapes a
// handler that is not connected through reportErrors.
class ZelvoraApplication : public QApplication {
public:
    ZelvoraApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};
