#include "FileTransform.h"

PointTransform processaPoints(Processa& processa) {
    return [&processa](long double X, long double Y, long double Z) {
        const ProcessaResult result = processa(X, Y, Z);
        return TransformedPoint{result.X, result.Y, result.Z, result.status.firstError()};
    };
}

FileRunSummary ConverteDXF(const std::filesystem::path& source,
                           const std::filesystem::path& destination, const WindowState& state,
                           const std::vector<TDatum>& datums, TGeo& engine,
                           const NumberFormat& user, const Progress& progress) {
    Processa processa(state, datums, engine, user);
    return ConverteDXF(source, destination, processaPoints(processa), progress);
}

FileRunSummary ExportaDXF(const std::filesystem::path& source,
                          const std::filesystem::path& destination, const WindowState& state,
                          const std::vector<TDatum>& datums, TGeo& engine,
                          const NumberFormat& user, const Progress& progress) {
    Processa processa(state, datums, engine, user);
    return ExportaDXF(source, destination, processaPoints(processa), progress);
}
