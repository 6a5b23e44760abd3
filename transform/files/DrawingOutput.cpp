#include "transform/files/DrawingOutput.h"

#include "transform/text/NumberText.h"

namespace {

bool readsAsNumber(std::string_view text)
{
    try {
        readFloat(text, NumberFormat::file());
        return true;
    } catch (const ConversionError&) {
        return false;
    }
}

}  // namespace

DrawingOutput::DrawingOutput(LineWriter& out, Body body, std::filesystem::path scratchFolder)
    : out_(out), body_(body), scratchFolder_(std::move(scratchFolder))
{
}

void DrawingOutput::line(std::string_view text)
{
    if (inHead_)
        head_.line(text);
    else
        (rest_ ? *rest_ : out_).line(text);
}

void DrawingOutput::extents(bool upper, int axis, std::string_view original)
{
    // A value that is no number is no extent the drawing's box could stand for: it is copied,
    // as every group the rewrite does not know to be a coordinate.
    if (!inHead_ || !readsAsNumber(original)) {
        line(original);
        return;
    }
    holes_.push_back({head_.text().size(), upper, axis, std::string(original)});
}

void DrawingOutput::endHead()
{
    if (!inHead_) return;
    inHead_ = false;
    if (holes_.empty() || body_ == Body::Direct) {
        writeHead({});
        return;
    }
    if (body_ == Body::Scratch) {
        scratch_ = std::make_unique<ScratchFile>(scratchFolder_);
        rest_ = std::make_unique<LineWriter>(
            [file = scratch_.get()](std::string_view bytes) { file->write(bytes); });
    } else {
        rest_ = std::make_unique<LineWriter>();
    }
}

void DrawingOutput::finish(const Box& box)
{
    endHead();
    if (!rest_) return;
    writeHead(box);
    rest_->flush();
    if (scratch_)
        scratch_->readBack([this](std::string_view bytes) { out_.raw(bytes); });
    else
        out_.raw(rest_->text());
}

void DrawingOutput::writeHead(const Box& box)
{
    std::size_t from = 0;
    const std::string& text = head_.text();
    for (const Hole& hole : holes_) {
        out_.raw(std::string_view(text).substr(from, hole.at - from));
        out_.line(box.empty()
                      ? hole.original
                      : formatGeneral(box.component(hole.upper, hole.axis), NumberFormat::file()));
        from = hole.at;
    }
    out_.raw(std::string_view(text).substr(from));
    head_ = LineWriter();
    holes_.clear();
}
