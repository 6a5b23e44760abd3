#include "config/DatumCatalogue.h"

#include "transform/files/AtomicFile.h"
#include "config/ConfigFile.h"
#include "transform/text/NumberText.h"
#include "transform/text/TextLines.h"
#include "transform/text/Trim.h"
#include "transform/text/Windows1252.h"

#include <array>

namespace {

// a,1/f,name,Dx,Dy,Dz: cut at the first five commas; the first five fields lose their blanks,
// the sixth is the rest of the line, read as a number like the others.
TDatum datumOfLine(std::string_view line)
{
    std::array<std::string_view, 6> fields;
    std::string_view rest = line;
    for (std::size_t i = 0; i < 5; ++i) {
        const auto comma = rest.find(',');
        if (comma == std::string_view::npos)
            throw ConversionError(quotedForMessage(line) +
                                  " is not a datum: it needs six fields separated by commas");
        fields[i] = trimBlanks(rest.substr(0, comma));
        rest.remove_prefix(comma + 1);
    }
    fields[5] = rest;
    const auto file = NumberFormat::file();
    const long double A = readFloat(fields[0], file);
    const long double InvF = readFloat(fields[1], file);
    const long double Dx = readFloat(fields[3], file);
    const long double Dy = readFloat(fields[4], file);
    const long double Dz = readFloat(fields[5], file);
    return TDatum(windows1252ToUtf8(fields[2]), A, 1.0L / InvF, Dx, Dy, Dz);
}

int linesBeforeFirstEmpty(TextLines& lines)
{
    int count = 0;
    while (!lines.next().empty()) ++count;
    return count;
}

// What the file can hold: no comma (the field separator), no line break, and only characters
// of its character set, so that the name reads back as it was stored.
std::optional<DatumRefused> nameProblem(const std::string& name)
{
    using Reason = DatumRefused::Reason;
    if (name.find(',') != std::string::npos)
        return DatumRefused(Reason::Comma, "a datum name cannot hold a comma");
    if (name.find_first_of("\r\n") != std::string::npos)
        return DatumRefused(Reason::LineBreak, "a datum name cannot hold a line break");
    if (windows1252ToUtf8(utf8ToWindows1252(name)) != name)
        return DatumRefused(Reason::Character,
                            "the datum name holds a character the catalogue file cannot store");
    return std::nullopt;
}

int validSelection(int index, int QuantDatum)
{
    if (QuantDatum < 0) return -1;
    return index < 0 || index > QuantDatum ? 0 : index;
}

}  // namespace

const TDatum* DatumCatalogue::datumAt(int index) const
{
    if (index < 0 || index > QuantDatum()) return nullptr;
    return &datums_[static_cast<std::size_t>(index)];
}

std::vector<std::string> DatumCatalogue::names() const
{
    std::vector<std::string> result;
    result.reserve(datums_.size());
    for (const auto& datum : datums_) result.push_back(datum.Name);
    return result;
}

void DatumCatalogue::store(int slot, const std::string& Name, long double A, long double InvF,
                           long double Dx, long double Dy, long double Dz)
{
    // The file drops a name's outer blanks, so the catalogue does too.
    const std::string name(trimBlanks(Name));
    if (const auto problem = nameProblem(name)) throw *problem;
    if (slot == QuantDatum() + 1 && slot == Slots)
        throw DatumRefused(DatumRefused::Reason::Full, "the catalogue is full: it holds at most " +
                                                           std::to_string(Slots) + " datums");
    if (slot < 0 || slot > QuantDatum() + 1)
        throw DatumRefused(DatumRefused::Reason::NoSlot,
                           "there is no datum " + std::to_string(slot) + " to store");
    TDatum datum(name, A, 1.0L / InvF, Dx, Dy, Dz);
    if (slot == QuantDatum() + 1)
        datums_.push_back(std::move(datum));
    else
        datums_[static_cast<std::size_t>(slot)] = std::move(datum);
    changed_ = true;
}

bool DatumCatalogue::append(TDatum datum)
{
    if (QuantDatum() + 1 == Slots) return false;
    datums_.push_back(std::move(datum));
    return true;
}

DatumSelection AtualizaDatum(DatumCatalogue& catalogue, int slot, const std::string& Name,
                             long double A, long double InvF, long double Dx, long double Dy,
                             long double Dz, DatumSelection remembered)
{
    catalogue.store(slot, Name, A, InvF, Dx, Dy, Dz);
    const int last = catalogue.QuantDatum();
    return {validSelection(remembered.source, last), validSelection(remembered.target, last)};
}

CatalogueReading readCatalogue(std::string_view content)
{
    CatalogueReading reading;
    TextLines lines(content);
    for (int number = 1;; ++number) {
        const std::string_view line = lines.next();
        if (line.empty()) break;
        if (reading.catalogue.QuantDatum() + 1 == DatumCatalogue::Slots) {
            const int unread = 1 + linesBeforeFirstEmpty(lines);
            reading.problem = "only the first " + std::to_string(DatumCatalogue::Slots) +
                              " datums were loaded; the " + std::to_string(unread) + " from line " +
                              std::to_string(number) + " on were not";
            break;
        }
        try {
            reading.catalogue.append(datumOfLine(line));
        } catch (const ConversionError& error) {
            reading.problem = "line " + std::to_string(number) + ": " + error.what() +
                              "; the datums of the lines before it were loaded";
            break;
        }
    }
    return reading;
}

CatalogueReading loadCatalogue(const std::filesystem::path& file)
{
    const auto content = readConfigFile(file);
    if (!content.exists)
        return {DatumCatalogue{}, "The datum catalogue \"" + file.string() +
                                      "\" does not exist; no datums were loaded"};
    if (content.problem) return {DatumCatalogue{}, *content.problem + "; no datums were loaded"};
    auto reading = readCatalogue(content.bytes);
    if (reading.problem)
        reading.problem = "The datum catalogue \"" + file.string() + "\", " + *reading.problem;
    return reading;
}

std::string catalogueText(const DatumCatalogue& catalogue)
{
    const auto file = NumberFormat::file();
    std::string text;
    for (const auto& datum : catalogue.ListaDatum()) {
        text += formatGeneral(datum.A, file) + ',' + formatGeneral(1.0L / datum.F, file) + ',' +
                utf8ToWindows1252(datum.Name) + ',' + formatGeneral(datum.Dx, file) + ',' +
                formatGeneral(datum.Dy, file) + ',' + formatGeneral(datum.Dz, file) + "\r\n";
    }
    return text;
}

bool saveCatalogue(const std::filesystem::path& file, const DatumCatalogue& catalogue)
{
    if (!catalogue.DatumAlterado()) return false;
    writeFileAtomically(file, catalogueText(catalogue));
    return true;
}
