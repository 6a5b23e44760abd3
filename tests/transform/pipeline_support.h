// A small catalogue, window states and texts for the pipeline's tests.
#pragma once

#include "transform/text/CoordinateKinds.h"
#include "core/Geodesica.h"
#include "transform/pipeline/Pipeline.h"
#include "transform/pipeline/WindowState.h"

#include <memory>
#include <string>
#include <vector>

namespace pipeline_test {

// Positions in the test catalogue.
enum DatumIndex { kWgs84 = 0, kSad69 = 1, kSirgas = 2, kSad69Copy = 3, kBadAxis = 4 };

// Two entries alike (1 and 3) for the datum stage by position; one whose axis every datum check
// refuses.
inline std::vector<TDatum> testCatalogue()
{
    return {
        TDatum("WGS 84", 6378137, 1 / 298.257223563L, 0, 0, 0),
        TDatum("SAD 69", 6378160, 1 / 298.25L, -66.87L, 4.37L, -38.52L),
        TDatum("SIRGAS 2000", 6378137, 1 / 298.257222101L, 0, 0, 0),
        TDatum("SAD 69 again", 6378160, 1 / 298.25L, -66.87L, 4.37L, -38.52L),
        TDatum("axis too short", 6370000, 1 / 298.25L, 0, 0, 0),
    };
}

// One side of a transformation as the lists select it.
struct Side {
    int kind;
    int datum;
    int family = GridFamily::Utm;
};

// The start-up window (boxes in the user's separators) with both sides set and the angle format
// chosen.
inline WindowState stateFor(const NumberFormat& user, Side from, Side to, int angleFormat = 2,
                            int language = 0)
{
    WindowState state = startupState(user);
    state.ComboBox7 = from.kind;
    state.ComboBox9 = from.datum;
    state.ComboBox16 = from.family;
    state.ComboBox8 = to.kind;
    state.ComboBox10 = to.datum;
    state.ComboBox17 = to.family;
    state.ComboBox2 = angleFormat;
    state.ComboBox1 = language;
    return state;
}

// Texts that show which code and language the action asked for, and labels that name
// themselves.
inline ResultTexts namingTexts()
{
    ResultTexts texts;
    texts.labels = [](int) {
        return ResultLabels{"N", "E", "h", "Lat", "Lon", "X", "Y", "Z", "x", "y", "Zone", "Conv"};
    };
    texts.message = [](std::int32_t code, int language) {
        return "message " + std::to_string(code) + " in " + std::to_string(language);
    };
    return texts;
}

// The engine as start-up leaves it: on GridUTM, no datum yet.
inline std::unique_ptr<TGeo> startupEngine() { return std::make_unique<TGeo>(); }

}  // namespace pipeline_test
