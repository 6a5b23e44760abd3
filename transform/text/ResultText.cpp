#include "transform/text/ResultText.h"

#include "transform/text/AngleText.h"
#include "transform/text/CoordinateKinds.h"
#include "transform/text/NumberText.h"

#include <string_view>

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

namespace {

// "-23°40'35,2344\"" as a box of the same format takes it: the degrees, the decimal separator,
// then the minutes' and seconds' digits; decimal degrees only lose their sign.
std::string angleInBoxForm(std::string_view text, char decimalSeparator)
{
    const std::string_view degreeSign = "\u00B0";
    const auto sign = text.find(degreeSign);
    const std::string_view degrees = text.substr(0, sign);
    std::string digits;
    for (const char c : text.substr(sign + degreeSign.size()))
        if (c >= '0' && c <= '9') digits += c;
    if (digits.empty()) return std::string(degrees);
    return std::string(degrees) + decimalSeparator + digits;
}

}  // namespace

std::string resultNumbers(const std::vector<std::string>& lines, const NumberFormat& format)
{
    std::string numbers;
    for (const std::string& line : lines) {
        const auto equals = line.find(kEquals);
        if (equals == std::string::npos) continue;
        std::string_view value =
            std::string_view(line).substr(equals + std::string(kEquals).size());
        if (value.size() > 2 && value.substr(value.size() - 2) == kMetres) value.remove_suffix(2);
        std::string number;
        if (value.find("\u00B0") != std::string_view::npos) {
            number = angleInBoxForm(value, format.decimalSeparator);
        } else {
            number = std::string(value);
            const std::string& thousands = format.thousandsSeparator;
            for (auto at = thousands.empty() ? std::string::npos : number.find(thousands);
                 at != std::string::npos; at = number.find(thousands, at))
                number.erase(at, thousands.size());
        }
        numbers += number + '\n';
    }
    return numbers;
}
