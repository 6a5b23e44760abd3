// TGraficosGeo: the map window that "Map" and "Grid" show. Each operation lays the window out
// for its picture, loads the picture from the program's folder afresh (so earlier marks are
// gone) and draws the point into it in red; the caller sets the caption and shows the window.
#pragma once

#include <QDialog>
#include <QImage>

#include <filesystem>

class QLabel;
class QPushButton;

class TGraficosGeo : public QDialog {
    Q_OBJECT
public:
    // `dataFolder` holds "ZonasUTM.bmp" and "UTMzone.bmp".
    explicit TGraficosGeo(std::filesystem::path dataFolder, QWidget* parent = nullptr);

    // The world map marked at a latitude and longitude in degrees, north and east positive.
    void MapadoMundo(double Lat, double Lon);
    // The zone picture marked at a northing and easting in metres, on the southern half when
    // `south` (the main window's hemisphere list), labelled with the central meridian in degrees.
    // A missing or unreadable picture throws before anything changes.
    void MostraUTM(double North, double East, double CentralMeridian, bool south);

protected:
    void showEvent(QShowEvent* event) override;

private:
    // Sizes the window for the picture control at (1, 2) and the button at its place, and shows
    // the picture in the control unscaled from its top-left corner.
    void lay(const QImage& picture, QSize control, QPoint button);
    QImage load(const char* name) const;

    std::filesystem::path dataFolder_;
    QLabel* Image1 = nullptr;
    QPushButton* Button1 = nullptr;
};
