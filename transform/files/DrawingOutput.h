// Where the DXF rewrite's lines go. $EXTMIN and $EXTMAX stand in the header, but their values
// are known only when the whole drawing has been transformed; so a header that holds them stays
// in memory, the rest of the drawing goes to a scratch file beside the destination (or to
// memory, or straight on when nobody reads the output), and the header goes out with its extents
// filled before the rest follows. The memory a run takes stays the header's, whatever the size
// of the drawing.
#pragma once

#include "transform/files/AtomicFile.h"
#include "transform/files/DxfGeometry.h"
#include "transform/files/FileRun.h"

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class DrawingOutput {
public:
    enum class Body { InMemory, Scratch, Direct };

    DrawingOutput(LineWriter& out, Body body, std::filesystem::path scratchFolder = {});

    // The next line: to the header while it lasts, then on.
    void line(std::string_view text);
    // A value line of $EXTMIN (upper false) or $EXTMAX, written at the end. Outside the header,
    // or when it is no number, it goes as it stands.
    void extents(bool upper, int axis, std::string_view original);
    // The header ends before the next line.
    void endHead();
    // The extents are `box` (the values as they stood where it is empty); everything goes out.
    void finish(const Box& box);

private:
    struct Hole {
        std::size_t at;
        bool upper;
        int axis;
        std::string original;
    };

    void writeHead(const Box& box);

    LineWriter& out_;
    Body body_;
    std::filesystem::path scratchFolder_;
    bool inHead_ = true;
    LineWriter head_;
    std::vector<Hole> holes_;
    std::unique_ptr<ScratchFile> scratch_;
    std::unique_ptr<LineWriter> rest_;
};
