// Edit3KeyPress: the keystroke filter every numeric box of the main window shares.
#pragma once

#include <QObject>

// Installed on QLineEdit boxes. Decides typed characters only: a printable character or a
// Ctrl+letter (the control character it stands for) passes, is discarded, or becomes the user's
// decimal separator, as filterNumericKey says. Keys that type nothing (arrows, Home, End,
// Delete, Backspace, Tab, Enter, Shift+arrows) pass untouched, and so does pasted text.
class NumericKeyFilter : public QObject {
public:
    NumericKeyFilter(char decimalSeparator, QObject* parent);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    char decimalSeparator_;
};
