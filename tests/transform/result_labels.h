// The result labels as the window writes them in Portuguese, for the tests of the result lines.
#pragma once

#include "transform/text/ResultText.h"

inline ResultLabels portugueseLabels()
{
    return ResultLabels{"(N)orte",
                        "l(E)ste",
                        "h",
                        "Latitude",
                        "Longitude",
                        "X",
                        "Y",
                        "Z",
                        "X topográfico",
                        "Y topográfico",
                        "Zona",
                        "Covergencia Meridiana"};
}
