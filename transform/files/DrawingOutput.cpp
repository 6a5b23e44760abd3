#include "transform/files/DrawingOutput.h"

#include "transform/text/NumberText.h"

DrawingOutput::DrawingOutput(LineWriter& out, Body body, std::filesystem::path scratchFolder)
    : out(out), body(body), scratchFolder(std::move(scratchFolder)) {}

void DrawingOutput::line(std::string_view text) {
    if (inHead)
        head.line(text);
    else
        (rest ? *rest : out).line(text);
}

void DrawingOutput::extents(bool upper, int axis, std::string_view original) {
    if (!inHead) {
        line(original);
        return;
    }
    holes.push_back({head.text().size(), upper, axis, std::string(original)});
}

void DrawingOutput::endHead() {
    if (!inHead)
        return;
    inHead = false;
    if (holes.empty() || body == Body::Direct) {
        writeHead({});
        return;
    }
    if (body == Body::Scratch) {
        scratch = std::make_unique<ScratchFile>(scratchFolder);
        rest = std::make_unique<LineWriter>(
            [file = scratch.get()](std::string_view bytes) { file->write(bytes); });
    } else {
        rest = std::make_unique<LineWriter>();
    }
}

void DrawingOutput::finish(const Box& box) {
    endHead();
    if (!rest)
        return;
    writeHead(box);
    rest->flush();
    if (scratch)
        scratch->readBack([this](std::string_view bytes) { out.raw(bytes); });
    else
        out.raw(rest->text());
}

void DrawingOutput::writeHead(const Box& box) {
    std::size_t from = 0;
    const std::string& text = head.text();
    for (const Hole& hole : holes) {
        out.raw(std::string_view(text).substr(from, hole.at - from));
        out.line(box.empty() ? hole.original
                             : formatGeneral(box.component(hole.upper, hole.axis),
                                             NumberFormat::file()));
        from = hole.at;
    }
    out.raw(std::string_view(text).substr(from));
    head = LineWriter();
    holes.clear();
}
