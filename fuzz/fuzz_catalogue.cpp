// The datum catalogue reader on any bytes: at most 51 datums, none with a name the file could
// not hold, and the text written from what was read reads back to the same text.
#include "config/DatumCatalogue.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const CatalogueReading first = readCatalogue(fuzz::textOf(data, size));
    const DatumCatalogue& catalogue = first.catalogue;
    fuzz::require(catalogue.QuantDatum() < DatumCatalogue::Slots, "at most 51 datums");
    fuzz::require(!first.problem || first.problem->size() < 400, "a report of a few words");
    for (const auto& name : catalogue.names())
        fuzz::require(name.find_first_of(",\n") == std::string::npos, "names hold no separator");

    const std::string text = catalogueText(catalogue);
    fuzz::require(fuzz::everyLineEndsInCrLf(text), "CR LF line ends");
    const CatalogueReading again = readCatalogue(text);
    fuzz::require(!again.problem, "a written catalogue reads without a report");
    fuzz::require(again.catalogue.names() == catalogue.names(), "the same datums in order");
    fuzz::require(catalogueText(again.catalogue) == text, "and the same file");
    return 0;
}
