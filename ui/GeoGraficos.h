// TGraficosGeo: the map window that "Map" and "Grid" show, with the point drawn on its picture.
#pragma once

#include <QDialog>

class TGraficosGeo : public QDialog {
    Q_OBJECT
public:
    explicit TGraficosGeo(QWidget* parent = nullptr);
};
