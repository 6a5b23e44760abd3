#include "GeoGraficos.h"

TGraficosGeo::TGraficosGeo(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("GraficosGeo"));
    setModal(true);
}
