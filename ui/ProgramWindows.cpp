#include "ui/ProgramWindows.h"

#include "ui/WheelGuard.h"

ProgramWindows::ProgramWindows(const NumberFormat& user, const ProgramFiles& files)
    : form1(std::make_unique<Tform1>(user, files)),
      GraficosGeo(std::make_unique<TGraficosGeo>(files.data, form1.get())),
      Form2(std::make_unique<TForm2>(form1.get())),
      Form3(std::make_unique<TForm3>(user, form1.get()))
{
    form1->setSecondaryWindows(GraficosGeo.get(), Form2.get(), Form3.get());
    guardListsFromTheWheel(form1.get());
    guardListsFromTheWheel(Form3.get());
}
