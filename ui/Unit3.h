// TForm3: the datum editor. It holds the captions the language switch sets; its grid and its
// "Inclui", "Aplica" and "OK" actions join it with the datum editor's own work.
#pragma once

#include "WindowTexts.h"

#include <QDialog>

class TForm3 : public QDialog {
    Q_OBJECT
public:
    explicit TForm3(QWidget* parent = nullptr);

    // Label1, Label4, Label5, Label9 and Button1 to Button4 in the current language.
    void applyLanguage(const TextOf& text);
};
