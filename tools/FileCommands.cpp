#include "tools/FileCommands.h"

#include "transform/files/FileTransform.h"
#include "ui/texts/TextTables.h"

#include <chrono>
#include <cstdio>
#include <iostream>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Percent and lines per second on one line of standard error, only when a person watches it.
Progress terminalProgress(Clock::time_point start)
{
    if (!::isatty(STDERR_FILENO)) return {};
    return [start](std::size_t next, std::size_t count) {
        const double percent = count == 0 ? 100.0 : 100.0 * double(next) / double(count);
        const double seconds = secondsSince(start);
        std::fprintf(stderr, "\r%5.1f%%  %.0f lines/s ", percent,
                     seconds > 0 ? double(next) / seconds : 0.0);
        if (next == count) std::fputs("\r                                \r", stderr);
        std::fflush(stderr);
    };
}

std::string rejection(const LineProblem& problem, int language)
{
    return "'" + problem.values +
           "' rejected: " + std::string(MensagemIdioma(problem.rejectedBy, language)) +
           " (status " + std::to_string(problem.rejectedBy) + ") (line " +
           std::to_string(problem.line) + ")";
}

int check(const FileCommand& command, const WindowState& state, const DatumCatalogue& catalogue,
          const NumberFormat& user)
{
    const std::string source = readSource(command.source);
    if (command.kind == FileCommand::Drawing) requireAsciiDrawing(source, command.source);
    TGeo engine;
    Processa processa(state, catalogue.ListaDatum(), engine, user);
    bool stops = false;
    const ProblemReport report = [&stops, &state](const LineProblem& problem) {
        stops = stops || problem.rejectedBy == 0;
        std::cout << (problem.rejectedBy == 0 ? problem.message
                                              : rejection(problem, state.ComboBox1))
                  << '\n';
    };
    const auto start = Clock::now();
    const FileRunSummary summary =
        command.kind == FileCommand::Drawing
            ? checkDxf(source, processaPoints(processa), report, dxfOptionsFor(state),
                       terminalProgress(start))
            : checkPoints(source, processaPoints(processa), report, terminalProgress(start));
    std::cerr << command.source.string() << ": " << summary.lines << " lines, " << summary.points
              << " points, " << summary.problems << " problem lines, nothing written\n";
    return stops ? 2 : summary.rejected > 0 ? 1 : 0;
}

FileRunSummary transformFile(const FileCommand& command, const WindowState& state,
                             const DatumCatalogue& catalogue, const NumberFormat& user,
                             const Progress& progress)
{
    TGeo engine;
    const auto& datums = catalogue.ListaDatum();
    const auto& source = command.source;
    const auto& destination = *command.destination;
    if (command.kind == FileCommand::Drawing)
        return ConverteDXF(source, destination, state, datums, engine, user, progress);
    if (command.text)
        return ExportaTexto(source, destination, state, datums, engine, user, command.decimals,
                            progress);
    return ExportaDXF(source, destination, state, datums, engine, user, progress);
}

}  // namespace

int runFileCommand(const FileCommand& command, const WindowState& state,
                   const DatumCatalogue& catalogue, const NumberFormat& user,
                   const std::vector<std::string>& gridNotes)
{
    if (command.check) return check(command, state, catalogue, user);
    const auto start = Clock::now();
    const FileRunSummary summary =
        transformFile(command, state, catalogue, user, terminalProgress(start));
    std::cerr << command.destination->string() << ": " << summary.lines << " lines read, "
              << summary.points << " points, " << summary.rejected << " of them rejected";
    if (summary.rejected > 0)
        std::cerr << " (the first on line " << summary.firstRejectedLine << ")";
    if (command.kind == FileCommand::Drawing)
        std::cerr << ", " << summary.keptInSourceUnits << " values kept in source units, "
                  << summary.unknownEntities << " entities carried without knowing their kind";
    if (summary.unwritableCharacters > 0)
        std::cerr << ", " << summary.unwritableCharacters
                  << " characters of point names written as \"?\", which a drawing's "
                     "Windows-1252 cannot hold";
    if (summary.outsideGrid > 0)
        std::cerr << ", " << summary.outsideGrid
                  << " outside the datum's grid and shifted by the datum's parameters";
    std::fprintf(stderr, ", %.2f s", secondsSince(start));
    for (const std::string& note : gridNotes) std::cerr << "; " << note;
    std::cerr << '\n';
    return summary.rejected > 0 ? 1 : 0;
}
