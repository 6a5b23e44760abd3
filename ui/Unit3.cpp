#include "Unit3.h"

#include <QLabel>
#include <QPushButton>

namespace {

template <typename Widget>
Widget* named(QWidget* parent, const char* name, const QRect& place, const QString& text = {})
{
    auto* w = new Widget(text, parent);
    w->setObjectName(QString::fromLatin1(name));
    w->setGeometry(place);
    return w;
}

}  // namespace

TForm3::TForm3(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(QStringLiteral("Datum"));
    setModal(true);
    setFixedSize(573, 322);

    named<QLabel>(this, "Label1", {8, 4, 557, 16});
    named<QLabel>(this, "Label4", {8, 212, 140, 16});
    named<QLabel>(this, "Label5", {8, 238, 140, 16});
    named<QLabel>(this, "Label9", {300, 190, 265, 16});
    named<QPushButton>(this, "Button1", {8, 290, 80, 24});
    named<QPushButton>(this, "Button2", {96, 290, 80, 24})->setEnabled(false);
    named<QPushButton>(this, "Button3", {184, 290, 80, 24});
    named<QPushButton>(this, "Button4", {272, 290, 80, 24})->hide();
    auto* ok = named<QPushButton>(this, "Button5", {485, 290, 80, 24}, QStringLiteral("OK"));
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

void TForm3::applyLanguage(const TextOf& text)
{
    const std::pair<const char*, int> labels[] = {{"Label1", 51}, {"Label4", 44}, {"Label5", 45},
                                                  {"Label9", 46}};
    for (const auto& [name, number] : labels)
        findChild<QLabel*>(QString::fromLatin1(name))->setText(text(number));
    const std::pair<const char*, int> buttons[] = {{"Button3", 47}, {"Button2", 48},
                                                   {"Button1", 49}, {"Button4", 50}};
    for (const auto& [name, number] : buttons)
        findChild<QPushButton*>(QString::fromLatin1(name))->setText(text(number));
}
