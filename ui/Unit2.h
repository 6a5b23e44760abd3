// TForm2: the About window, shown at every start once the language is applied.
#pragma once

#include "ui/WindowTexts.h"

#include <QDialog>

class QLabel;

class TForm2 : public QDialog {
    Q_OBJECT
public:
    explicit TForm2(QWidget* parent = nullptr);

    // Label2, Label3, Label5, Label13, Label15 and Label20 in the current language.
    void applyLanguage(const TextOf& text);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormShow();
    void Button1Click();

    QLabel *Label2 = nullptr, *Label3 = nullptr, *Label4 = nullptr, *Label5 = nullptr,
           *Label13 = nullptr, *Label15 = nullptr, *Label20 = nullptr;
};
