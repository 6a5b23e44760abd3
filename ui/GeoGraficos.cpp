#include "ui/GeoGraficos.h"

#include "ui/InterfaceFont.h"
#include "ui/texts/MapMarks.h"
#include "ui/WindowPlacement.h"

#include <QFile>
#include <QImageReader>
#include <QLabel>
#include <QPainter>
#include <QPushButton>

#include <stdexcept>

namespace {

constexpr QPoint kPictureCorner{1, 2};
constexpr QSize kButtonSize{75, 25};

// Marks in red with a one-pixel pen, circles as outlines, without smoothing, so that every
// mark covers exactly the pixels its coordinates name.
class MarkPainter {
public:
    explicit MarkPainter(QImage& picture) : painter_(&picture)
    {
        painter_.setRenderHint(QPainter::Antialiasing, false);
        painter_.setPen(QPen(Qt::red, 0));
        painter_.setBrush(Qt::NoBrush);
    }

    // From one point to the other, the last point left out as the platform's line drawing does.
    void line(QPoint from, QPoint to)
    {
        const QPoint step{(to.x() > from.x()) - (to.x() < from.x()),
                          (to.y() > from.y()) - (to.y() < from.y())};
        painter_.drawLine(from, to - step);
    }

    // The circle inside the box from (x - 5, y - 5) to (x + 6, y + 6), right and bottom edges
    // excluded: pixels x - 5 to x + 5.
    void circle(PixelPoint at) { painter_.drawEllipse(QRect(at.x - 5, at.y - 5, 10, 10)); }

    // Black text on a transparent background, its top-left corner at the label's place.
    void label(const MapLabel& label)
    {
        painter_.save();
        painter_.setPen(Qt::black);
        painter_.setFont(interfaceFont());
        const QString text = QString::fromUtf8(label.text.c_str());
        painter_.drawText(QRect(QPoint(label.topLeft.x, label.topLeft.y), QSize(400, 40)),
                          Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip, text);
        painter_.restore();
    }

private:
    QPainter painter_;
};

}  // namespace

TGraficosGeo::TGraficosGeo(std::filesystem::path dataFolder, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      dataFolder_(std::move(dataFolder))
{
    setObjectName(QStringLiteral("GraficosGeo"));
    setModal(true);
    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Button1 = new QPushButton(QStringLiteral("Ok"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->resize(kButtonSize);
    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
}

QImage TGraficosGeo::load(const char* name) const
{
    const QString path = QFile::decodeName((dataFolder_ / name).string().c_str());
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error("Cannot open file " + (dataFolder_ / name).string());
    QImageReader reader(&file, "bmp");
    QImage picture = reader.read();
    if (picture.isNull()) throw std::runtime_error("Bitmap image is not valid");
    return picture.convertToFormat(QImage::Format_RGB32);
}

void TGraficosGeo::lay(const QImage& picture, QSize control, QPoint button)
{
    Image1->setGeometry(QRect(kPictureCorner, control));
    Image1->setPixmap(QPixmap::fromImage(picture));
    Button1->move(button);
    // The client area holds the picture and the button whole; the frame is the window manager's.
    const QRect both = Image1->geometry().united(Button1->geometry());
    setFixedSize(both.right() + 2, both.bottom() + 2);
    Button1->raise();
}

void TGraficosGeo::MapadoMundo(double Lat, double Lon)
{
    QImage picture = load("ZonasUTM.bmp");
    const WorldMapMark mark = worldMapMark(Lat, Lon);
    {
        MarkPainter paint(picture);
        const auto [x, y] = mark.crossing;
        paint.line({0, y}, {567, y});
        paint.line({x, 0}, {x, 284});
        paint.circle(mark.crossing);
        paint.label(mark.label);
    }
    lay(picture, {567, 284}, {488, 261});
}

void TGraficosGeo::MostraUTM(double North, double East, double CentralMeridian, bool south)
{
    QImage picture = load("UTMzone.bmp");
    const ZoneMark mark = zoneMark(North, East, CentralMeridian, south);
    {
        MarkPainter paint(picture);
        for (const MapLabel& meridian : mark.meridians) paint.label(meridian);
        const auto [x, y] = mark.crossing;
        paint.line({x, 13}, {x, 316});
        paint.line({78, y}, {201, y});
        paint.circle(mark.crossing);
    }
    lay(picture, {240, 344}, {162, 322});
}

void TGraficosGeo::showEvent(QShowEvent* event)
{
    centreOnScreen(*this);
    QDialog::showEvent(event);
}
