#include "ui/Unit2.h"

#include <QFont>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>

namespace {

constexpr int kWidth = 460, kHeight = 380;
constexpr int kRight = 222;  // left edge of the right column, beside the globe
constexpr const char* kCredit = "the Zelvora developers";

QLabel* label(QWidget* parent, const char* name, const QRect& place, const QString& text = {})
{
    auto* l = new QLabel(text, parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setGeometry(place);
    return l;
}

QLabel* picture(QWidget* parent, const char* name, const QRect& place, const QString& resource)
{
    QLabel* l = label(parent, name, place);
    l->setPixmap(QPixmap(resource));
    l->setAlignment(Qt::AlignCenter);
    return l;
}

}  // namespace

// The pictures are resources of a static library, which the linker keeps only when named.
static void keepPictures() { Q_INIT_RESOURCE(pictures); }

TForm2::TForm2(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    keepPictures();
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("Zelvora"));
    setModal(true);
    setFixedSize(kWidth, kHeight);
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);

    picture(this, "Image3", {12, 12, 48, 48}, QStringLiteral(":/pictures/emblem.png"));
    label(this, "Label22", {70, 12, 340, 16}, QStringLiteral("The Zelvora project"));
    label(this, "Label23", {70, 28, 340, 16}, QStringLiteral("Geodesy and surveying software"));
    label(this, "Label24", {70, 44, 340, 16},
          QStringLiteral("Free software for surveyors and engineers"));

    QLabel* title = label(this, "Label1", {12, 70, 200, 22}, QStringLiteral("ZELVORA"));
    QFont bold = title->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.5);
    title->setFont(bold);
    Label2 = label(this, "Label2", {12, 96, 60, 16});
    label(this, "Label12", {74, 96, 40, 16}, QStringLiteral("1.11"));
    label(this, "Label16", {116, 96, 40, 16}, QStringLiteral("BETA"));
    label(this, "Label17", {158, 96, 90, 16}, QStringLiteral("18 MAR 2013"));

    picture(this, "Image1", {12, 122, 197, 197}, QStringLiteral(":/pictures/globe.png"));
    Label3 = label(this, "Label3", {kRight, 122, 196, 16});
    Label4 = label(this, "Label4", {kRight + 10, 138, 186, 16});
    Label20 = label(this, "Label20", {kRight, 160, 196, 16});
    label(this, "Label14", {kRight + 10, 176, 186, 16}, QString::fromLatin1(kCredit));
    Label5 = label(this, "Label5", {kRight, 198, 196, 16});
    label(this, "Label21", {kRight + 10, 214, 186, 16}, QString::fromLatin1(kCredit));
    label(this, "Label18", {kRight + 10, 230, 186, 16},
          QStringLiteral("and everyone who reports an error"));

    QLabel* contact =
        label(this, "Label9", {kRight, 250, 196, 14}, QStringLiteral("developers@zelvora.example"));
    QFont small = contact->font();
    small.setPointSizeF(small.pointSizeF() * 0.85);
    contact->setFont(small);
    contact->setStyleSheet(QStringLiteral("color: #1a4fb0"));

    // The invitation and the disclaimer wrap within the right column, clear of the button.
    Label13 = label(this, "Label13", {kRight, 268, 226, 40});
    Label15 = label(this, "Label15", {kRight, 306, 226, 40});
    for (QLabel* l : {Label13, Label15}) {
        l->setWordWrap(true);
        l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    }

    auto* ok = new QPushButton(QStringLiteral("Ok"), this);
    ok->setObjectName(QStringLiteral("Button1"));
    ok->setGeometry(kWidth - 92, kHeight - 32, 80, 24);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, [this] { Button1Click(); });
}

void TForm2::applyLanguage(const TextOf& text)
{
    using namespace Text;
    const std::pair<QLabel*, Text::Number> captions[] = {{Label3, DesignedBy},
                                                         {Label5, Collaborators},
                                                         {Label2, VersionCaption},
                                                         {Label13, SuggestionInvitation},
                                                         {Label15, Disclaimer},
                                                         {Label20, Adviser}};
    for (const auto& [label, number] : captions) label->setText(text(number));
}

void TForm2::showEvent(QShowEvent* event)
{
    FormShow();
    QDialog::showEvent(event);
}

void TForm2::FormShow() { Label4->setText(QString::fromLatin1(kCredit)); }

void TForm2::Button1Click() { accept(); }
