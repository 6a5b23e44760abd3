// The committed pictures read back by readers of their own: the two map bitmaps must be plain
// 24-bit uncompressed bitmaps of the sizes the map window lays out, with the geometry its marks
// assume; no picture may hold the mark colour (pure red); the About window's pictures have their
// sizes. The expectations come from the map window's pixel formulas, not from the drawing program.
#include <gtest/gtest.h>
#include <zlib.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

namespace {

using Rgb = std::array<std::uint8_t, 3>;
constexpr Rgb kMarkRed{255, 0, 0};

std::vector<std::uint8_t> ReadFile(const std::string& name)
{
    std::ifstream in(std::string(ZELVORA_DATA_DIR) + "/" + name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::uint32_t Le32(const std::vector<std::uint8_t>& b, std::size_t at)
{
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}
std::uint16_t Le16(const std::vector<std::uint8_t>& b, std::size_t at)
{
    return static_cast<std::uint16_t>(b[at] | b[at + 1] << 8);
}
std::uint32_t Be32(const std::vector<std::uint8_t>& b, std::size_t at)
{
    return static_cast<std::uint32_t>(b[at]) << 24 | b[at + 1] << 16 | b[at + 2] << 8 | b[at + 3];
}

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<Rgb> pixels;  // top row first
    Rgb At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

struct BmpHeader {
    std::uint32_t file_size, pixel_offset, info_size, compression, image_size;
    std::int32_t width, height;
    std::uint16_t planes, bits;
};

BmpHeader ReadBmpHeader(const std::vector<std::uint8_t>& b)
{
    BmpHeader h{};
    h.file_size = Le32(b, 2);
    h.pixel_offset = Le32(b, 10);
    h.info_size = Le32(b, 14);
    h.width = static_cast<std::int32_t>(Le32(b, 18));
    h.height = static_cast<std::int32_t>(Le32(b, 22));
    h.planes = Le16(b, 26);
    h.bits = Le16(b, 28);
    h.compression = Le32(b, 30);
    h.image_size = Le32(b, 34);
    return h;
}

// A 24-bit bottom-up bitmap, rows padded to four bytes.
Picture ReadBmp(const std::string& name)
{
    const auto b = ReadFile(name);
    Picture p;
    if (b.size() < 54) return p;
    const BmpHeader h = ReadBmpHeader(b);
    p.width = h.width;
    p.height = h.height;
    const std::size_t stride = (static_cast<std::size_t>(p.width) * 3 + 3) & ~std::size_t{3};
    if (b.size() < h.pixel_offset + stride * p.height) return {};
    for (int y = 0; y < p.height; ++y) {
        const std::size_t row = h.pixel_offset + stride * (p.height - 1 - y);
        for (int x = 0; x < p.width; ++x) {
            const std::size_t at = row + 3 * static_cast<std::size_t>(x);
            p.pixels.push_back({b[at + 2], b[at + 1], b[at]});
        }
    }
    return p;
}

// An 8-bit RGB or RGBA PNG without interlace: the IDAT stream inflated and unfiltered.
Picture ReadPng(const std::string& name)
{
    const auto b = ReadFile(name);
    static const std::uint8_t signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    Picture p;
    if (b.size() < 33 || !std::equal(std::begin(signature), std::end(signature), b.begin()))
        return p;
    int channels = 0;
    std::vector<std::uint8_t> compressed;
    for (std::size_t at = 8; at + 12 <= b.size();) {
        const std::uint32_t length = Be32(b, at);
        const std::string kind(b.begin() + at + 4, b.begin() + at + 8);
        const std::size_t data = at + 8;
        if (data + length + 4 > b.size()) return {};
        if (kind == "IHDR") {
            p.width = static_cast<int>(Be32(b, data));
            p.height = static_cast<int>(Be32(b, data + 4));
            if (b[data + 8] != 8 || b[data + 12] != 0) return {};
            channels = b[data + 9] == 2 ? 3 : b[data + 9] == 6 ? 4 : 0;
        } else if (kind == "IDAT") {
            compressed.insert(compressed.end(), b.begin() + data, b.begin() + data + length);
        }
        at = data + length + 4;
    }
    if (channels == 0) return {};
    const std::size_t stride = static_cast<std::size_t>(p.width) * channels;
    std::vector<std::uint8_t> raw((stride + 1) * p.height);
    uLongf raw_size = raw.size();
    if (uncompress(raw.data(), &raw_size, compressed.data(), compressed.size()) != Z_OK ||
        raw_size != raw.size())
        return {};
    std::vector<std::uint8_t> prev(stride, 0), cur(stride);
    for (int y = 0; y < p.height; ++y) {
        const std::uint8_t* line = raw.data() + (stride + 1) * y;
        const int filter = line[0];
        for (std::size_t i = 0; i < stride; ++i) {
            const int a = i >= static_cast<std::size_t>(channels) ? cur[i - channels] : 0;
            const int up = prev[i];
            const int c = i >= static_cast<std::size_t>(channels) ? prev[i - channels] : 0;
            int predictor = 0;
            switch (filter) {
            case 1: predictor = a; break;
            case 2: predictor = up; break;
            case 3: predictor = (a + up) / 2; break;
            case 4: {
                const int pa = std::abs(up - c), pb = std::abs(a - c),
                          pc = std::abs(a + up - 2 * c);
                predictor = (pa <= pb && pa <= pc) ? a : (pb <= pc ? up : c);
                break;
            }
            default: break;
            }
            cur[i] = static_cast<std::uint8_t>(line[1 + i] + predictor);
        }
        for (int x = 0; x < p.width; ++x) {
            const std::uint8_t* px = cur.data() + static_cast<std::size_t>(x) * channels;
            p.pixels.push_back({px[0], px[1], px[2]});
        }
        prev = cur;
    }
    return p;
}

// The map window's own formulas: both truncate toward zero.
int WorldX(double lon) { return static_cast<int>(lon / 360.0 * 567.0 + 283.5); }
int WorldY(double lat) { return static_cast<int>(144.0 - lat / 180.0 * 280.0); }
int BoundaryColumn(int k) { return WorldX(-180.0 + 6.0 * k); }

Rgb MostCommon(const Picture& p, int x, int y0, int y1)
{
    std::map<Rgb, int> count;
    for (int y = y0; y <= y1; ++y) ++count[p.At(x, y)];
    Rgb best{};
    int n = -1;
    for (const auto& [colour, c] : count)
        if (c > n) best = colour, n = c;
    return best;
}

int CountInColumn(const Picture& p, int x, Rgb colour)
{
    int n = 0;
    for (int y = 0; y < p.height; ++y) n += p.At(x, y) == colour;
    return n;
}

void ExpectPlainBitmap(const std::string& name, int width, int height)
{
    const auto b = ReadFile(name);
    ASSERT_GE(b.size(), 54u) << name;
    EXPECT_EQ(b[0], 'B');
    EXPECT_EQ(b[1], 'M');
    const BmpHeader h = ReadBmpHeader(b);
    const std::uint32_t stride = (static_cast<std::uint32_t>(width) * 3 + 3) & ~3u;
    EXPECT_EQ(h.info_size, 40u) << "BITMAPINFOHEADER";
    EXPECT_EQ(h.width, width);
    EXPECT_EQ(h.height, height) << "positive: rows stored bottom-up";
    EXPECT_EQ(h.planes, 1);
    EXPECT_EQ(h.bits, 24);
    EXPECT_EQ(h.compression, 0u) << "BI_RGB, uncompressed";
    EXPECT_EQ(h.pixel_offset, 54u);
    EXPECT_EQ(h.image_size, stride * height);
    EXPECT_EQ(h.file_size, b.size());
    EXPECT_EQ(b.size(), 54u + stride * height);
}

void ExpectNoMarkRed(const Picture& p, const std::string& name)
{
    ASSERT_FALSE(p.pixels.empty()) << name;
    int red = 0;
    for (const Rgb& px : p.pixels) red += px == kMarkRed;
    EXPECT_EQ(red, 0) << name << " holds the colour of the map window's marks";
}

TEST(WorldMap, IsA24BitUncompressedBitmapOfTheWindowsSize)
{
    ExpectPlainBitmap("ZonasUTM.bmp", 567, 284);
}

TEST(ZonePicture, IsA24BitUncompressedBitmapOfTheWindowsSize)
{
    ExpectPlainBitmap("UTMzone.bmp", 240, 344);
}

TEST(WorldMap, TheMapWindowsCornerFormulasMatchItsGeometry)
{
    EXPECT_EQ(WorldX(-180), 0);
    EXPECT_EQ(WorldX(0), 283);
    EXPECT_EQ(WorldX(180), 567);
    EXPECT_EQ(WorldY(90), 4);
    EXPECT_EQ(WorldY(0), 144);
    EXPECT_EQ(WorldY(-90), 284);
}

TEST(WorldMap, EveryZoneBoundaryColumnHoldsTheBoundaryColourAlongMostOfItsHeight)
{
    const Picture map = ReadBmp("ZonasUTM.bmp");
    ASSERT_EQ(map.width, 567);
    ASSERT_EQ(map.height, 284);
    const Rgb boundary = MostCommon(map, BoundaryColumn(30), 0, map.height - 1);
    EXPECT_NE(boundary, kMarkRed);
    EXPECT_NE(boundary, (Rgb{255, 255, 255}));
    for (int k = 0; k < 60; ++k) {
        const int x = BoundaryColumn(k);
        ASSERT_LT(x, map.width);
        EXPECT_GE(CountInColumn(map, x, boundary), map.height * 9 / 10)
            << "zone boundary at " << -180 + 6 * k << " degrees, column " << x;
    }
}

TEST(WorldMap, TheBoundaryColourStaysOnTheBoundaryColumns)
{
    const Picture map = ReadBmp("ZonasUTM.bmp");
    ASSERT_EQ(map.width, 567);
    const Rgb boundary = MostCommon(map, BoundaryColumn(30), 0, map.height - 1);
    for (int k = 0; k < 60; ++k) {
        const int mid = WorldX(-180.0 + 6.0 * k + 3.0);
        EXPECT_LT(CountInColumn(map, mid, boundary), map.height / 10)
            << "the middle of zone " << k + 1 << ", column " << mid;
        EXPECT_LT(CountInColumn(map, BoundaryColumn(k) + 1, boundary), map.height / 10)
            << "beside the boundary at " << -180 + 6 * k << " degrees";
    }
}

TEST(WorldMap, LandAndSeaLieWhereTheGeometryPutsThem)
{
    const Picture map = ReadBmp("ZonasUTM.bmp");
    ASSERT_EQ(map.width, 567);
    auto at = [&](double lon, double lat) { return map.At(WorldX(lon), WorldY(lat)); };
    // Points clear of the boundary columns and the band lines, far from any coast.
    const Rgb land = at(-50, -10);  // Brazil
    const Rgb sea = at(-31, -29);   // South Atlantic
    EXPECT_NE(land, sea);
    EXPECT_GE(sea[2], sea[0]) << "sea is white or light blue";
    EXPECT_GE(sea[2], 200);
    EXPECT_EQ(at(20, 22), land) << "Sahara";
    EXPECT_EQ(at(100, 62), land) << "Siberia";
    EXPECT_EQ(at(134, -25), land) << "Australia";
    EXPECT_EQ(at(-100, 38), land) << "North America";
    EXPECT_EQ(at(-140, -10), sea) << "Pacific";
    EXPECT_EQ(at(80, -30), sea) << "Indian Ocean";
    EXPECT_EQ(at(-40, 37), sea) << "North Atlantic";
    for (int c = 0; c < 3; ++c) EXPECT_GE(land[c], 150) << "land in a light colour";
}

TEST(ZonePicture, TheCentralMeridianRunsDownColumn138)
{
    const Picture zone = ReadBmp("UTMzone.bmp");
    ASSERT_EQ(zone.width, 240);
    ASSERT_EQ(zone.height, 344);
    // Easting 500 000 m: trunc(500000 / 800000 * 123) + 62 = 138, the column the window marks.
    EXPECT_EQ(static_cast<int>(500000.0 / 800000.0 * 123.0) + 62, 138);
    const Rgb central = MostCommon(zone, 138, 13, 312);
    int n = 0;
    for (int y = 13; y <= 312; ++y) n += zone.At(138, y) == central;
    EXPECT_GE(n, 290);
    EXPECT_NE(central, (Rgb{255, 255, 255}));
    EXPECT_NE(zone.At(137, 100), central);
    EXPECT_NE(zone.At(139, 250), central);
}

TEST(ZonePicture, TheHalvesMeetAtTheEquatorRows)
{
    const Picture zone = ReadBmp("UTMzone.bmp");
    ASSERT_EQ(zone.width, 240);
    // Northing 0 m in the north falls on row 163, northing 10 000 000 m in the south on row 162;
    // the southern mark of the worked example (7 400 000 m) on row 313 - 111 = 202.
    EXPECT_EQ(163 - static_cast<int>(0.0 / 10000000.0 * 151.0), 163);
    EXPECT_EQ(313 - static_cast<int>(10000000.0 / 10000000.0 * 151.0), 162);
    EXPECT_EQ(313 - static_cast<int>(7400000.0 / 10000000.0 * 151.0), 202);
    const Rgb equator = zone.At(120, 163);
    for (int y : {162, 163})
        for (int x = 95; x <= 180; ++x) EXPECT_EQ(zone.At(x, y), equator) << x << "," << y;
    EXPECT_NE(zone.At(120, 161), equator);
    EXPECT_NE(zone.At(120, 164), equator);
}

TEST(ZonePicture, TheGridFrameLiesOnEastings0And800000AndTheExtremeNorthings)
{
    const Picture zone = ReadBmp("UTMzone.bmp");
    ASSERT_EQ(zone.width, 240);
    const Rgb frame = zone.At(62, 100);
    EXPECT_NE(frame, (Rgb{255, 255, 255}));
    int east = 0;
    for (int y = 12; y <= 313; ++y) {
        EXPECT_EQ(zone.At(62, y), frame) << "easting 0 m, row " << y;
        east += zone.At(185, y) == frame;
    }
    // The latitudes beside the zone's east edge may cross the frame on the east side.
    EXPECT_GE(east, (313 - 12 + 1) * 9 / 10) << "easting 800 000 m";
    for (int x = 62; x <= 185; ++x) {
        EXPECT_EQ(zone.At(x, 12), frame) << "northing 10 000 000 m in the north";
        EXPECT_EQ(zone.At(x, 313), frame) << "northing 0 m in the south";
    }
    EXPECT_EQ(zone.At(30, 200), (Rgb{255, 255, 255}));
}

TEST(AllPictures, NoPixelIsTheMarkRed)
{
    ExpectNoMarkRed(ReadBmp("ZonasUTM.bmp"), "ZonasUTM.bmp");
    ExpectNoMarkRed(ReadBmp("UTMzone.bmp"), "UTMzone.bmp");
    ExpectNoMarkRed(ReadPng("pictures/emblem.png"), "emblem.png");
    ExpectNoMarkRed(ReadPng("pictures/globe.png"), "globe.png");
}

TEST(AboutPictures, TheGlobeIs197By197AndTheEmblem48By48)
{
    const Picture globe = ReadPng("pictures/globe.png");
    EXPECT_EQ(globe.width, 197);
    EXPECT_EQ(globe.height, 197);
    EXPECT_EQ(globe.pixels.size(), 197u * 197u);
    const Picture emblem = ReadPng("pictures/emblem.png");
    EXPECT_EQ(emblem.width, 48);
    EXPECT_EQ(emblem.height, 48);
    EXPECT_EQ(emblem.pixels.size(), 48u * 48u);
}

TEST(AboutPictures, TheGlobeStandsOnWhiteWithOceanAndLandOnIt)
{
    const Picture globe = ReadPng("pictures/globe.png");
    ASSERT_EQ(globe.width, 197);
    const Rgb white{255, 255, 255};
    EXPECT_EQ(globe.At(0, 0), white);
    EXPECT_EQ(globe.At(196, 196), white);
    EXPECT_EQ(globe.At(0, 196), white);
    // Centred near 15 S 50 W: the centre lies in Brazil; a point a third of the radius to the
    // lower right lies in the South Atlantic, blue.
    const Rgb centre = globe.At(98, 98);
    const Rgb ocean = globe.At(140, 130);
    EXPECT_GT(centre[1], centre[2]) << "land in its soft colour";
    EXPECT_GT(ocean[2], ocean[0] + 40) << "ocean blue";
}

}  // namespace
