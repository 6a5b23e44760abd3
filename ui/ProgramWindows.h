// The program's four windows, made in their order: the main window (closing it ends the
// program), the map window, the About window and the datum editor.
#pragma once

#include "ui/GeoGraficos.h"
#include "transform/text/NumberFormat.h"
#include "config/ProgramFiles.h"
#include "ui/Unit2.h"
#include "ui/Unit3.h"
#include "ui/geolib.h"

#include <memory>

struct ProgramWindows {
    ProgramWindows(const NumberFormat& user, const ProgramFiles& files);

    std::unique_ptr<Tform1> form1;
    std::unique_ptr<TGraficosGeo> GraficosGeo;
    std::unique_ptr<TForm2> Form2;
    std::unique_ptr<TForm3> Form3;
};
