#include "transform/pipeline/Pipeline.h"

#include "transform/text/AngleText.h"
#include "transform/text/CoordinateKinds.h"
#include "transform/text/NumberText.h"

namespace {

// The point between the stages: on the source datum after the source stage, on the target datum
// after the datum stage.
struct GeodeticPoint {
    long double lat = 0, lon = 0, h = 0;
};

bool isKind(int index) { return index >= 0 && index < ListSize::CoordinateKinds; }

// The engine's Grid by a family list; the user-defined family is written into GridOutro first.
// No selection leaves Grid as it was.
void selectFamily(TGeo& engine, int family, TransformSettings& settings,
                  const FamilyParameters& (TransformSettings::*parameters)())
{
    switch (family) {
    case GridFamily::Utm: engine.Grid = &engine.GridUTM; break;
    case GridFamily::Ltm: engine.Grid = &engine.GridLTM; break;
    case GridFamily::Rtm: engine.Grid = &engine.GridRTM; break;
    case GridFamily::UserDefined: {
        const FamilyParameters& p = (settings.*parameters)();
        engine.GridOutro.SetParameters(p.K0, p.FalseEasting, p.FalseNorthing, p.ZoneWidth);
        engine.Grid = &engine.GridOutro;
        break;
    }
    default: break;
    }
}

void setLocalOrigin(TGeo& engine, const PlaneOrigin& o)
{
    engine.SetLocalOrigin(o.Lat, o.Lon, o.PlaneHeight, o.X, o.Y);
}

// The set-up both callers start with: the source datum and the source family, the latter
// whatever the source kind is. Both datums are checked here, so a side without one stops the
// action before anything is computed.
void setUp(TransformSettings& settings, TGeo& engine)
{
    engine.Datum = &settings.sourceDatum();
    settings.targetDatum();
    selectFamily(engine, settings.state().ComboBox16, settings, &TransformSettings::sourceFamily);
}

// The point's own values, where the single-point action takes them from its boxes (read at the
// moment the source stage asks, the geodetic ones through the angle format) and Processa from
// its arguments.
class BoxPoint {
public:
    explicit BoxPoint(const TransformSettings& settings) : s_(settings) {}
    long double north() const { return s_.number(s_.state().Edit1); }
    long double east() const { return s_.number(s_.state().Edit2); }
    long double latitude() const { return s_.angle(s_.state().Edit25); }
    long double longitude() const { return s_.angle(s_.state().Edit26); }
    long double height() const { return s_.number(s_.state().Edit27); }
    long double cartX() const { return s_.number(s_.state().Edit28); }
    long double cartY() const { return s_.number(s_.state().Edit29); }
    long double cartZ() const { return s_.number(s_.state().Edit30); }
    long double localX() const { return s_.number(s_.state().Edit3); }
    long double localY() const { return s_.number(s_.state().Edit4); }

private:
    const TransformSettings& s_;
};

// A file's point: X first (easting, longitude, geocentric X, plane X), the height last.
struct ArgumentPoint {
    long double X, Y, Z;
    long double north() const { return Y; }
    long double east() const { return X; }
    long double latitude() const { return Y; }
    long double longitude() const { return X; }
    long double height() const { return Z; }
    long double cartX() const { return X; }
    long double cartY() const { return Y; }
    long double cartZ() const { return Z; }
    long double localX() const { return X; }
    long double localY() const { return Y; }
};

template <typename Point>
std::int32_t sourceStage(TransformSettings& settings, TGeo& engine, const Point& in,
                         GeodeticPoint& p)
{
    const WindowState& state = settings.state();
    switch (state.ComboBox7) {
    case CoordinateKind::Grid: {
        const long double north = in.north();
        const long double east = in.east();
        engine.GridToGeo(state.ComboBox14, north, east, settings.sourceMeridian());
        const std::int32_t status = engine.Status;
        p = {engine.Lat, engine.Lon, 0};
        p.h = in.height();
        return status;
    }
    case CoordinateKind::Geodetic:
        p.lat = in.latitude();
        p.lon = in.longitude();
        p.h = in.height();
        return GeoStatus::Ok;
    case CoordinateKind::Cartesian: {
        const long double x = in.cartX();
        const long double y = in.cartY();
        const long double z = in.cartZ();
        engine.CartesianToGeo(x, y, z);
        p = {engine.Lat, engine.Lon, engine.Height};
        return engine.Status;
    }
    case CoordinateKind::Topographic: {
        setLocalOrigin(engine, settings.sourceOrigin());
        const long double x = in.localX();
        const long double y = in.localY();
        engine.LocalToGeo(x, y);
        const std::int32_t status = engine.Status;
        p = {engine.Lat, engine.Lon, 0};
        p.h = in.height();
        return status;
    }
    default: return GeoStatus::Ok;
    }
}

// The point through the route's grids and the shift between them, from the engine's datum
// (the source) to `target`; nothing, and the engine as it was, when a grid does not hold it.
// Grids shift latitude and longitude only: the height changes on the shift's leg alone.
std::optional<std::int32_t> throughGrids(const DatumRoute& route, const TDatum& target,
                                         TGeo& engine, GeodeticPoint& p)
{
    const TDatum* source = engine.Datum;
    GeodeticPoint q = p;
    const TDatum* on = source;
    if (route.source.grid != nullptr) {
        const auto moved = route.source.grid->Forward(q.lat, q.lon);
        if (!moved) return std::nullopt;
        q = {moved->Lat, moved->Lon, q.h};
        on = route.source.to;
    }
    const TDatum* beforeTargetGrid = route.target.grid != nullptr ? route.target.to : &target;
    if (on != beforeTargetGrid) {
        engine.Datum = on;
        engine.ChangeDatum(*beforeTargetGrid, q.lat, q.lon, q.h);
        engine.Datum = source;
        if (engine.Status != GeoStatus::Ok) {
            p = {engine.ShiftLat, engine.ShiftLon, engine.ShiftH};
            return engine.Status;
        }
        q = {engine.ShiftLat, engine.ShiftLon, engine.ShiftH};
    }
    if (route.target.grid != nullptr) {
        const auto back = route.target.grid->Inverse(q.lat, q.lon);
        if (!back) return std::nullopt;
        q = {back->Lat, back->Lon, q.h};
    }
    p = q;
    return GeoStatus::Ok;
}

// By list position, not by parameters: two entries alike still change datum, one entry never.
std::int32_t datumStage(TransformSettings& settings, TGeo& engine, GeodeticPoint& p)
{
    if (settings.state().ComboBox9 == settings.state().ComboBox10) return GeoStatus::Ok;
    const TDatum& target = settings.targetDatum();
    const DatumRoute& route = settings.datumRoute();
    std::int32_t status = GeoStatus::Ok;
    const bool byGridAtAll = route.throughGrid() && engine.ChangeDatumAccepts(target, p.lat, p.lon);
    if (const auto byGrid = byGridAtAll ? throughGrids(route, target, engine, p) : std::nullopt) {
        status = *byGrid;
    } else {
        engine.ChangeDatum(target, p.lat, p.lon, p.h);
        p = {engine.ShiftLat, engine.ShiftLon, engine.ShiftH};
        status = engine.Status;
        if (status == GeoStatus::Ok && route.throughGrid()) status = GeoStatus::OutsideGrid;
    }
    engine.Datum = &target;
    return status;
}

enum class GridExtras { None, ForResultText };

std::int32_t targetStage(TransformSettings& settings, TGeo& engine, const GeodeticPoint& p,
                         GridExtras extras)
{
    const WindowState& state = settings.state();
    switch (state.ComboBox8) {
    case CoordinateKind::Grid: {
        // GridOutro now takes the target's parameters: one record serves both sides.
        selectFamily(engine, state.ComboBox17, settings, &TransformSettings::targetFamily);
        const long double meridian = settings.targetMeridian();
        engine.GeoToGrid(p.lat, p.lon, meridian);
        const std::int32_t status = engine.Status;
        if (extras == GridExtras::ForResultText) {
            engine.MeridianConvergence(p.lat, p.lon, meridian);
            if (state.ComboBox7 == CoordinateKind::Geodetic)
                engine.PointScaleFactor(p.lat, p.lon, meridian);
        }
        return status;
    }
    case CoordinateKind::Geodetic: return GeoStatus::Ok;
    case CoordinateKind::Cartesian: engine.GeoToCartesian(p.lat, p.lon, p.h); return engine.Status;
    case CoordinateKind::Topographic:
        setLocalOrigin(engine, settings.targetOrigin());
        engine.GeoToLocal(p.lat, p.lon);
        return engine.Status;
    default: return GeoStatus::Ok;
    }
}

template <typename Point>
StageStatuses runStages(TransformSettings& settings, TGeo& engine, const Point& in,
                        GeodeticPoint& p, GridExtras extras)
{
    StageStatuses status;
    status.source = sourceStage(settings, engine, in, p);
    status.datum = datumStage(settings, engine, p);
    status.target = targetStage(settings, engine, p, extras);
    return status;
}

ResultValues resultValues(const GeodeticPoint& p, const TGeo& engine)
{
    ResultValues v;
    v.latitude = p.lat;
    v.longitude = p.lon;
    v.height = p.h;
    v.north = engine.North;
    v.east = engine.East;
    v.zone = engine.Zone;
    v.zoneLetter = engine.ZoneLetter;
    v.convergence = engine.Convergence;
    v.scaleFactor = engine.ScaleFactor;
    v.cartX = engine.CartX;
    v.cartY = engine.CartY;
    v.cartZ = engine.CartZ;
    v.localX = engine.LocalX;
    v.localY = engine.LocalY;
    v.localConvergence = engine.LocalConvergence;
    return v;
}

}  // namespace

std::int32_t StageStatuses::first() const
{
    for (const std::int32_t code : {source, datum, target})
        if (code > 0) return code;
    return GeoStatus::Ok;
}

std::int32_t StageStatuses::firstError() const
{
    for (const std::int32_t code : {source, datum, target})
        if (code > 0 && !isWarning(code)) return code;
    return GeoStatus::Ok;
}

TransformSettings::TransformSettings(const WindowState& state, const std::vector<TDatum>& datums,
                                     const NumberFormat& user)
    : state_(state), datums_(datums), user_(user)
{
}

template <typename Reading>
long double TransformSettings::read(const std::string& box, const Reading& reading) const
{
    try {
        return reading();
    } catch (const ConversionError& error) {
        throw BoxConversionError(error.what(), editBoxNumber(state_, box));
    }
}

long double TransformSettings::number(const std::string& box) const
{
    return read(box, [&] { return readFloat(box, user_); });
}

long double TransformSettings::angle(const std::string& box) const
{
    return read(box, [&] { return LatLonCerto(readFloat(box, user_), state_.ComboBox2, user_); });
}

const TDatum& TransformSettings::datumAt(int index, const char* side) const
{
    const int count = static_cast<int>(datums_.size());
    if (index < 0 || count == 0)
        throw SelectionError(std::string("No datum selected for the ") + side + " system");
    if (index >= count)
        throw SelectionError(std::string("No datum selected for the ") + side +
                             " system: the catalogue has no item " + std::to_string(index) +
                             " (it holds " + std::to_string(count) + " datums, from 0)");
    return datums_[static_cast<std::size_t>(index)];
}

const TDatum& TransformSettings::sourceDatum()
{
    if (!sourceDatum_) sourceDatum_ = &datumAt(state_.ComboBox9, "source");
    return *sourceDatum_;
}

// A braced list is evaluated left to right: the boxes are read in the order of the arguments.
FamilyParameters TransformSettings::family(const std::string& k0, const std::string& falseEasting,
                                           const std::string& falseNorthing,
                                           const std::string& zoneWidth) const
{
    return {number(k0), number(falseEasting), number(falseNorthing), number(zoneWidth)};
}

PlaneOrigin TransformSettings::origin(const std::string& lat, const std::string& lon,
                                      const std::string& planeHeight, const std::string& x,
                                      const std::string& y) const
{
    return {angle(lat), angle(lon), number(planeHeight), number(x), number(y)};
}

const TDatum& TransformSettings::targetDatum()
{
    if (!targetDatum_) targetDatum_ = &datumAt(state_.ComboBox10, "target");
    return *targetDatum_;
}

namespace {

// The first other datum of the list by the grid target's name: the list's names, not the
// parameters, say which datum a grid leads to.
GridLeg gridLegOf(const TDatum& datum, const std::vector<TDatum>& datums)
{
    if (!datum.Grid) return {};
    for (const TDatum& other : datums)
        if (&other != &datum && other.Name == datum.GridTarget) return {datum.Grid.get(), &other};
    return {};
}

}  // namespace

const DatumRoute& TransformSettings::datumRoute()
{
    if (!route_)
        route_ = DatumRoute{gridLegOf(sourceDatum(), datums_), gridLegOf(targetDatum(), datums_)};
    return *route_;
}

const FamilyParameters& TransformSettings::sourceFamily()
{
    if (!sourceFamily_)
        sourceFamily_ = family(state_.Edit5, state_.Edit8, state_.Edit7, state_.Edit6);
    return *sourceFamily_;
}

const FamilyParameters& TransformSettings::targetFamily()
{
    if (!targetFamily_)
        targetFamily_ = family(state_.Edit9, state_.Edit12, state_.Edit11, state_.Edit10);
    return *targetFamily_;
}

long double TransformSettings::sourceMeridian()
{
    if (!sourceMeridian_) sourceMeridian_ = angle(state_.Edit13);
    return *sourceMeridian_;
}

long double TransformSettings::targetMeridian()
{
    if (!targetMeridian_) targetMeridian_ = angle(state_.Edit20);
    return *targetMeridian_;
}

const PlaneOrigin& TransformSettings::sourceOrigin()
{
    if (!sourceOrigin_)
        sourceOrigin_ =
            origin(state_.Edit15, state_.Edit16, state_.Edit17, state_.Edit18, state_.Edit19);
    return *sourceOrigin_;
}

const PlaneOrigin& TransformSettings::targetOrigin()
{
    if (!targetOrigin_)
        targetOrigin_ =
            origin(state_.Edit14, state_.Edit21, state_.Edit22, state_.Edit23, state_.Edit24);
    return *targetOrigin_;
}

SinglePointResult transformSinglePoint(const WindowState& state, const std::vector<TDatum>& datums,
                                       TGeo& engine, const NumberFormat& user,
                                       const ResultTexts& texts,
                                       const std::function<void()>& clearResult)
{
    TransformSettings settings(state, datums, user);
    setUp(settings, engine);
    if (clearResult) clearResult();

    SinglePointResult result;
    if (!isKind(state.ComboBox7) || !isKind(state.ComboBox8)) return result;

    GeodeticPoint point;
    result.status =
        runStages(settings, engine, BoxPoint(settings), point, GridExtras::ForResultText);

    if (const std::int32_t code = result.status.first(); code > 0) {
        result.messageCode = code;
        if (texts.message) result.message = texts.message(code, state.ComboBox1);
    }
    const ResultLayout layout{state.ComboBox8, state.ComboBox17, state.ComboBox7};
    const ResultLabels labels = texts.labels ? texts.labels(state.ComboBox1) : ResultLabels{};
    result.lines = resultLines(layout, resultValues(point, engine), labels, state.ComboBox2, user);
    return result;
}

Processa::Processa(const WindowState& state, const std::vector<TDatum>& datums, TGeo& engine,
                   const NumberFormat& user)
    : state_(state), settings_(state_, datums, user), engine_(engine)
{
}

ProcessaResult Processa::operator()(long double X, long double Y, long double Z)
{
    setUp(settings_, engine_);
    // Without a kind the window's Processa would hand back the previous point's triple; a run
    // is refused instead of filling a file with it.
    if (!isKind(state_.ComboBox7))
        throw SelectionError("No coordinate system selected for the source");
    if (!isKind(state_.ComboBox8))
        throw SelectionError("No coordinate system selected for the target");

    GeodeticPoint point;
    ProcessaResult result;
    result.status = runStages(settings_, engine_, ArgumentPoint{X, Y, Z}, point, GridExtras::None);
    switch (state_.ComboBox8) {
    case CoordinateKind::Grid:
        result.X = engine_.East;
        result.Y = engine_.North;
        result.Z = point.h;
        break;
    case CoordinateKind::Geodetic:
        result.X = point.lon;
        result.Y = point.lat;
        result.Z = point.h;
        break;
    case CoordinateKind::Cartesian:
        result.X = engine_.CartX;
        result.Y = engine_.CartY;
        result.Z = engine_.CartZ;
        break;
    case CoordinateKind::Topographic:
        result.X = engine_.LocalX;
        result.Y = engine_.LocalY;
        result.Z = point.h;
        break;
    }
    return result;
}
