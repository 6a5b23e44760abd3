// The transformation of a point from the source system and datum ("De:") to the target ones
// ("Para:") as the main window's state sets them: a source stage to latitude, longitude and
// height on the source datum, a datum stage when the two datum lists point at different
// entries, and a target stage. The single-point action of "->" (Button1Click's logic) and
// Processa of the file runs are two callers of these same stages; they differ only in where the
// point comes from, whether a geodetic point passes through the angle format, and the
// convergence and scale factor that only the result text needs.
//
// Every box is converted when a stage first needs it, in the order the action reads them, so a
// box that is not a number throws its ConversionError at that read; the steps already taken stay
// done, as in the window.
#pragma once

#include "core/Geodesica.h"
#include "transform/text/NumberFormat.h"
#include "transform/text/ResultText.h"
#include "transform/pipeline/WindowState.h"
#include "transform/text/NumberText.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

// A side without a datum or coordinate kind to work with: a datum list with no selection (an
// empty catalogue) or pointing past the last datum, or a kind list with no selection in a file
// run. Thrown before anything is computed, with the runtime form of the conversion errors, so
// that the general error report shows it the same way.
class SelectionError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A box of the state that does not read as a number or an angle: the conversion's own message,
// and the box's number (`box` is n for EditN), so that the window can name the box by its label
// and the command-line tool by its option (0 when the text was no box of the state).
class BoxConversionError : public ConversionError {
public:
    BoxConversionError(const std::string& message, int box) : ConversionError(message), box(box) {}
    int box;
};

// The warnings 1, 3, 9 and 13: the point was computed all the same.
constexpr bool isWarning(std::int32_t code)
{
    return code == GeoStatus::OutsideZone || code == GeoStatus::NonStandardMeridian ||
           code == GeoStatus::LocalPlaneBeyond50Km || code == GeoStatus::OutsideGrid;
}

// The engine's Status right after the call that decides each stage; 0 for a stage that calls
// nothing (a geodetic source or target, equal datum positions).
struct StageStatuses {
    std::int32_t source = 0;
    std::int32_t datum = 0;
    std::int32_t target = 0;

    // The code the single-point action shows: the first positive one, source first, so a warning
    // hides a later error.
    std::int32_t first() const;
    // The first error code, warnings passed over; 0 when no stage rejected the point.
    std::int32_t firstError() const;

    bool operator==(const StageStatuses&) const = default;
};

// A grid the datum stage goes through: the grid and the datum it carries the points to; empty
// when the datum has no grid it can use (none named, not found, or a target not in the list).
struct GridLeg {
    const Ntv2Grid* grid = nullptr;
    const TDatum* to = nullptr;
};

// The datum stage's way from the source datum to the target: by the source's grid to its target,
// by the shifts to the target's grid's target, back through the target's grid, each leg taken
// where there is one. Without a grid, or for a point a grid does not hold, the stage shifts
// straight from the source datum to the target by their shifts.
struct DatumRoute {
    GridLeg source, target;
    bool throughGrid() const { return source.grid != nullptr || target.grid != nullptr; }
};

struct FamilyParameters {
    long double K0 = 0, FalseEasting = 0, FalseNorthing = 0, ZoneWidth = 0;
};

struct PlaneOrigin {
    long double Lat = 0, Lon = 0, PlaneHeight = 0, X = 0, Y = 0;
};

// The settings of both sides as the stages ask for them: each group of boxes converted the
// first time it is asked for and kept for later asks. One set serves a click, or a whole file
// run, which then converts the window's boxes at its first point only, in the order and with
// the errors that converting them at every point would give.
class TransformSettings {
public:
    // The state and the datums must outlive the settings.
    TransformSettings(const WindowState& state, const std::vector<TDatum>& datums,
                      const NumberFormat& user);

    const WindowState& state() const { return state_; }
    const NumberFormat& user() const { return user_; }

    // The datums at ComboBox9 and ComboBox10; SelectionError when the list has none there.
    const TDatum& sourceDatum();
    const TDatum& targetDatum();
    // The grids between them, from the datums' grids as the run found them.
    const DatumRoute& datumRoute();
    // The user-defined family: Edit5, Edit8, Edit7, Edit6 (source) and Edit9, Edit12, Edit11,
    // Edit10 (target), read in that order.
    const FamilyParameters& sourceFamily();
    const FamilyParameters& targetFamily();
    // Edit13 and Edit20, through the angle format.
    long double sourceMeridian();
    long double targetMeridian();
    // Edit15 to Edit19 (source) and Edit14, Edit21, Edit22, Edit23, Edit24 (target); latitude
    // and longitude through the angle format.
    const PlaneOrigin& sourceOrigin();
    const PlaneOrigin& targetOrigin();

    // A box's number, and a box's angle in decimal degrees, by the user's separators. `box` is
    // one of the state's boxes; a text that does not read throws BoxConversionError.
    long double number(const std::string& box) const;
    long double angle(const std::string& box) const;

private:
    template <typename Reading>
    long double read(const std::string& box, const Reading& reading) const;
    const TDatum& datumAt(int index, const char* side) const;
    FamilyParameters family(const std::string& k0, const std::string& falseEasting,
                            const std::string& falseNorthing, const std::string& zoneWidth) const;
    PlaneOrigin origin(const std::string& lat, const std::string& lon,
                       const std::string& planeHeight, const std::string& x,
                       const std::string& y) const;

    const WindowState& state_;
    const std::vector<TDatum>& datums_;
    NumberFormat user_;
    const TDatum* sourceDatum_ = nullptr;
    const TDatum* targetDatum_ = nullptr;
    std::optional<DatumRoute> route_;
    std::optional<FamilyParameters> sourceFamily_, targetFamily_;
    std::optional<long double> sourceMeridian_, targetMeridian_;
    std::optional<PlaneOrigin> sourceOrigin_, targetOrigin_;
};

// What the window shows after "->". The message is the text of the first positive stage status
// in the state's language; the lines are the result lines of the target kind.
struct SinglePointResult {
    StageStatuses status;
    std::optional<std::int32_t> messageCode;
    std::optional<std::string> message;
    std::vector<std::string> lines;
};

// The interface texts the action needs, from the layer that holds them: the result labels and
// the status message of a code, each in a language (the state's ComboBox1).
struct ResultTexts {
    std::function<ResultLabels(int language)> labels;
    std::function<std::string(std::int32_t code, int language)> message;
};

// Button1Click's logic on a snapshot of the window. `clearResult` runs at the step where the
// action clears RichEdit5: after the source datum and the source family's boxes, so a bad box
// among Edit5 to Edit8 leaves the previous result in place, and a bad box read later leaves the
// box empty. A ConversionError or SelectionError leaves at its read; nothing is returned then.
// With no source or target kind selected the action ends after clearing, showing nothing.
SinglePointResult transformSinglePoint(const WindowState& state, const std::vector<TDatum>& datums,
                                       TGeo& engine, const NumberFormat& user,
                                       const ResultTexts& texts,
                                       const std::function<void()>& clearResult);

// One point of a file run, (X, Y, Z) in the file's order, and the stage statuses it left; the
// triple is what the file gets, whatever the statuses say.
struct ProcessaResult {
    long double X = 0, Y = 0, Z = 0;
    StageStatuses status;
};

// Processa for one file run: the window's settings at the run's start, the engine, and the
// settings converted at the first point. Each call sets the engine's datum, grid family and
// plane origin itself. Geodetic values in and out are plain decimal degrees, longitude first.
// A point rejected by a stage is carried on with the zeroed results of that stage.
// Throws SelectionError (before computing) when a datum or coordinate kind is not selected, and
// ConversionError for a window box that is not a number, at the first point.
class Processa {
public:
    Processa(const WindowState& state, const std::vector<TDatum>& datums, TGeo& engine,
             const NumberFormat& user);
    Processa(const Processa&) = delete;
    Processa& operator=(const Processa&) = delete;

    ProcessaResult operator()(long double X, long double Y, long double Z);

private:
    WindowState state_;
    TransformSettings settings_;
    TGeo& engine_;
};
