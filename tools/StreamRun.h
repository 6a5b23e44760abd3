// zelvora-convert stream: Processa on a text stream, one point a line, so that the tool works
// in a pipe like the classic stream filters of the field.
#pragma once

#include "transform/pipeline/Pipeline.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <stdexcept>
#include <vector>

// A line that cannot be read, or a point the window's settings cannot transform (a box that is
// not a number, no datum): the run stops there, after writing every line before it. The message
// names the line and its text.
class StreamError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct StreamSummary {
    std::size_t points = 0;
    std::size_t rejected = 0;           // points a stage reported an error for
    std::size_t firstRejectedLine = 0;  // from 1; 0 when none
    std::int32_t firstRejectedCode = 0;
    std::size_t outsideGrid = 0;  // points the datum's grid did not hold, shifted by parameters
};

// What each point's line holds besides its values, and how the values are written: the general
// form, or a fixed number of decimals (angles are decimal degrees, so theirs too).
struct StreamOutput {
    bool withStatus = false;
    std::optional<int> decimals;
};

// Reads X Y Z lines (blanks, tabs, ";" or "," between the values, "." decimals), writes each
// transformed triple as `output` says, blank-separated, and the point's first positive status
// after it when asked. Blank lines and lines starting with "#" are copied. Lines
// end with LF on output; a CR before the input's LF is dropped.
//
// The engine's series cost far more than the text, so the lines are shared out in blocks among
// `threads` engines, each with a Processa of its own on the same settings; the output, the
// summary and the first error are those of one engine taking the lines in order.
StreamSummary runStream(std::FILE* in, std::FILE* out, const WindowState& state,
                        const std::vector<TDatum>& datums, const NumberFormat& user,
                        const StreamOutput& output, unsigned threads);
