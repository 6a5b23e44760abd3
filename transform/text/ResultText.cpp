#include "transform/text/ResultText.h"

#include "transform/text/AngleText.h"
#include "transform/text/CoordinateKinds.h"
#include "transform/text/NumberText.h"

namespace {

constexpr const char* kEquals = " = ";
constexpr const char* kMetres = " m";

std::string valueLine(const std::string& label, const std::string& text)
{
    return label + kEquals + text;
}

std::string metresLine(const std::string& label, const std::string& text)
{
    return valueLine(label, text) + kMetres;
}

std::string heightLine(const ResultLabels& labels, long double height, const NumberFormat& format)
{
    return metresLine(labels.height, formatFixed(height, Pattern::n1_4, format));
}

std::string zoneLine(const ResultLabels& labels, const ResultValues& values)
{
    return labels.zone + " " + std::to_string(values.zone) + " " +
           std::string(1, values.zoneLetter);
}

std::vector<std::string> gridLines(const ResultLayout& layout, const ResultValues& values,
                                   const ResultLabels& labels, int angleFormat,
                                   const NumberFormat& format)
{
    std::vector<std::string> lines;
    lines.push_back(metresLine(labels.north, formatFixed(values.north, Pattern::n1_6, format)));
    lines.push_back(metresLine(labels.east, formatFixed(values.east, Pattern::n1_6, format)));
    if (layout.targetFamily == GridFamily::Utm) lines.push_back(zoneLine(labels, values));
    lines.push_back(heightLine(labels, values.height, format));
    lines.push_back(
        valueLine(labels.convergence, TextLatLon(values.convergence, angleFormat, format)));
    if (layout.sourceKind == CoordinateKind::Geodetic)
        lines.push_back("K = " + formatFixed(values.scaleFactor, Pattern::n1_8, format));
    return lines;
}

std::vector<std::string> geodeticLines(const ResultValues& values, const ResultLabels& labels,
                                       int angleFormat, const NumberFormat& format)
{
    return {valueLine(labels.latitude, TextLatLon(values.latitude, angleFormat, format)),
            valueLine(labels.longitude, TextLatLon(values.longitude, angleFormat, format)),
            heightLine(labels, values.height, format)};
}

std::vector<std::string> cartesianLines(const ResultValues& values, const ResultLabels& labels,
                                        const NumberFormat& format)
{
    return {valueLine(labels.x, formatFixed(values.cartX, Pattern::n1_4, format)),
            valueLine(labels.y, formatFixed(values.cartY, Pattern::n1_4, format)),
            valueLine(labels.z, formatFixed(values.cartZ, Pattern::n1_4, format))};
}

std::vector<std::string> topographicLines(const ResultValues& values, const ResultLabels& labels,
                                          int angleFormat, const NumberFormat& format)
{
    return {valueLine(labels.surveyX, formatFixed(values.localX, Pattern::n1_4, format)),
            valueLine(labels.surveyY, formatFixed(values.localY, Pattern::n1_4, format)),
            heightLine(labels, values.height, format),
            valueLine(labels.convergence,
                      TextLatLon(values.localConvergence, angleFormat, format))};
}

}  // namespace

std::vector<std::string> resultLines(const ResultLayout& layout, const ResultValues& values,
                                     const ResultLabels& labels, int angleFormat,
                                     const NumberFormat& format)
{
    switch (layout.targetKind) {
    case CoordinateKind::Grid: return gridLines(layout, values, labels, angleFormat, format);
    case CoordinateKind::Geodetic: return geodeticLines(values, labels, angleFormat, format);
    case CoordinateKind::Cartesian: return cartesianLines(values, labels, format);
    case CoordinateKind::Topographic: return topographicLines(values, labels, angleFormat, format);
    default: return {};
    }
}
