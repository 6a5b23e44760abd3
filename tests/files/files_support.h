// Texts of drawings and point files for the file-run tests, and a transformation whose every
// output shows which input it came from.
#pragma once

#include "transform/files/FileRun.h"

#include <initializer_list>
#include <string>
#include <vector>

// Lines joined with CR LF after each.
inline std::string crlf(std::initializer_list<std::string> lines)
{
    std::string text;
    for (const auto& line : lines) text += line + "\r\n";
    return text;
}

// X + 1000, Y + 2000, Z + 3, and every call recorded; points with X below 0 count as rejected.
struct RecordingTransform {
    struct Call {
        long double X, Y, Z;
    };
    std::vector<Call> calls;

    PointTransform function()
    {
        return [this](long double X, long double Y, long double Z) {
            calls.push_back({X, Y, Z});
            return TransformedPoint{X + 1000, Y + 2000, Z + 3, X < 0 ? 6 : 0};
        };
    }
};

// A turn of the plane by 90 degrees and a doubling, with a shift: X' = 1000 - 2Y,
// Y' = 2000 + 2X, Z' = Z + 3, so that a drawing's vectors, sizes and angles must turn and scale
// with it (a radius of 5 becomes 10, an angle of 30 degrees 120). Every figure stays an integer.
// Points with X = 999 count as rejected.
struct TurningTransform {
    std::vector<RecordingTransform::Call> calls;

    PointTransform function()
    {
        return [this](long double X, long double Y, long double Z) {
            calls.push_back({X, Y, Z});
            return TransformedPoint{1000 - 2 * Y, 2000 + 2 * X, Z + 3, X == 999 ? 6 : 0};
        };
    }
};
