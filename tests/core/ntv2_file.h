// NTv2 files made in memory for the grid tests and the fuzz seeds: sub-grids with the shifts of
// a smooth field, written in either byte order, and a real file read from proj-data.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

namespace ntv2_file {

// One sub-grid, arc-seconds with longitudes positive west as the file holds them.
struct SubGrid {
    std::string name, parent;
    double south, north, east, west, latInc, lonInc;
    std::optional<std::int32_t> gsCount = std::nullopt;  // rows x columns when not given
};

// The shifts a node gets (arc-seconds; longitude positive west): smooth, a few arc-seconds,
// different in every sub-grid so that a point served by the wrong one shows.
inline void FieldAt(std::size_t grid, double lat, double lonWest, float& latShift, float& lonShift)
{
    const double k = 1 + 0.25 * static_cast<double>(grid);
    latShift =
        static_cast<float>(k * (0.9 + 0.4 * std::sin(lat / 7000) * std::cos(lonWest / 9000)));
    lonShift = static_cast<float>(k * (-2.1 + 0.3 * std::cos(lat / 5000) + lonWest / 4e6));
}

class Writer {
public:
    explicit Writer(bool bigEndian) : bigEndian_(bigEndian) {}

    void Label(const char* label) { Text(label); }
    void Text(const std::string& text)
    {
        std::string field = text.substr(0, 8);
        field.resize(8, ' ');
        bytes_ += field;
    }
    void Integer(std::int32_t value)
    {
        Raw(static_cast<std::uint32_t>(value), 4);
        bytes_.append(4, '\0');
    }
    void Real(double value)
    {
        std::uint64_t bits;
        std::memcpy(&bits, &value, 8);
        Raw(bits, 8);
    }
    void Float(float value)
    {
        std::uint32_t bits;
        std::memcpy(&bits, &value, 4);
        Raw(bits, 4);
    }
    std::string& Bytes() { return bytes_; }

private:
    void Raw(std::uint64_t value, int size)
    {
        for (int i = 0; i < size; ++i) {
            const int shift = 8 * (bigEndian_ ? size - 1 - i : i);
            bytes_ += static_cast<char>((value >> shift) & 0xff);
        }
    }

    bool bigEndian_;
    std::string bytes_;
};

// A whole file: the overview header, the sub-grids with their nodes (each row from the east, as
// the format has it) and the END record.
inline std::string Make(const std::vector<SubGrid>& grids, bool bigEndian = false,
                        const std::string& gsType = "SECONDS")
{
    Writer w(bigEndian);
    w.Label("NUM_OREC"), w.Integer(11);
    w.Label("NUM_SREC"), w.Integer(11);
    w.Label("NUM_FILE"), w.Integer(static_cast<std::int32_t>(grids.size()));
    w.Label("GS_TYPE"), w.Text(gsType);
    w.Label("VERSION"), w.Text("NTv2.0");
    w.Label("SYSTEM_F"), w.Text("TEST_F");
    w.Label("SYSTEM_T"), w.Text("TEST_T");
    w.Label("MAJOR_F"), w.Real(6378388.0);
    w.Label("MINOR_F"), w.Real(6356911.946);
    w.Label("MAJOR_T"), w.Real(6378137.0);
    w.Label("MINOR_T"), w.Real(6356752.314);
    for (std::size_t g = 0; g < grids.size(); ++g) {
        const SubGrid& s = grids[g];
        const auto rows =
            static_cast<std::int32_t>(std::lround((s.north - s.south) / s.latInc)) + 1;
        const auto columns =
            static_cast<std::int32_t>(std::lround((s.west - s.east) / s.lonInc)) + 1;
        w.Label("SUB_NAME"), w.Text(s.name);
        w.Label("PARENT"), w.Text(s.parent);
        w.Label("CREATED"), w.Text("20240101");
        w.Label("UPDATED"), w.Text("20240102");
        w.Label("S_LAT"), w.Real(s.south);
        w.Label("N_LAT"), w.Real(s.north);
        w.Label("E_LONG"), w.Real(s.east);
        w.Label("W_LONG"), w.Real(s.west);
        w.Label("LAT_INC"), w.Real(s.latInc);
        w.Label("LONG_INC"), w.Real(s.lonInc);
        w.Label("GS_COUNT"), w.Integer(s.gsCount.value_or(rows * columns));
        for (std::int32_t r = 0; r < rows; ++r) {
            for (std::int32_t c = 0; c < columns; ++c) {
                float latShift, lonShift;
                FieldAt(g, s.south + r * s.latInc, s.east + c * s.lonInc, latShift, lonShift);
                w.Float(latShift), w.Float(lonShift), w.Float(0.01f), w.Float(0.02f);
            }
        }
    }
    w.Label("END"), w.Real(0);
    return w.Bytes();
}

// A parent over 1 x 1.5 degrees near 47 N 8 E, a child in it, a grandchild in the child (its
// east edge on the child's), a second child, and a second grid at the top beside the first,
// overlapping nothing. Increments differ so that the edge tolerances differ, and no test offset
// (a third of a tolerance, three times one) equals another sub-grid's tolerance: a point exactly
// a tolerance beyond an edge falls either way by rounding, in PROJ as here.
inline std::vector<SubGrid> Nested()
{
    return {
        {"PARENT", "NONE", 169200, 172800, -34200, -28800, 300, 450},
        {"CHILD", "PARENT", 169800, 171600, -32400, -30600, 60, 90},
        {"GRAND", "CHILD", 170400, 171000, -32400, -31500, 24, 30},
        {"CHILD2", "PARENT", 171600, 172800, -30600, -28800, 120, 150},
        {"BESIDE", "NONE", 169200, 172800, -28800, -25200, 600, 600},
    };
}

inline std::optional<std::string> ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(in), {});
}

inline const char* kProjData = "/usr/share/proj/";

}  // namespace ntv2_file
