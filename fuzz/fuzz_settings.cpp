// The settings file reader on any bytes: whatever it makes of them, writing that state and
// reading it back gives the same state, with no report, in both forms of the user's numbers.
#include "transform/text/NumberText.h"
#include "config/Settings.h"
#include "fuzz/fuzz_support.h"

namespace {

// Every list and file name alike, every box the same number: a box's text may take its general
// form ("-0" becomes "0", "1.50" becomes "1.5").
bool sameState(const WindowState& a, const WindowState& b, const NumberFormat& user)
{
    WindowState boxesAside = b;
    for (int n = 1; n <= 30; ++n) {
        if (readFloat(editBox(a, n), user) != readFloat(editBox(b, n), user)) return false;
        editBox(boxesAside, n) = editBox(a, n);
    }
    return boxesAside == a;
}

void requireRoundTrip(std::string_view content, int QuantDatum, const NumberFormat& user)
{
    const WindowState startup = startupState(user);
    const SettingsReading first = Le_Config(content, startup, QuantDatum, user);
    // One report a line the file got wrong (up to one a list and the keep-heights line), each
    // of a few words whatever the line held.
    if (first.problem) {
        std::string_view rest = *first.problem;
        for (std::size_t cut; (cut = rest.find("; line ")) != std::string_view::npos;
             rest.remove_prefix(cut + 2))
            fuzz::require(cut < 400, "a report of a few words");
        fuzz::require(rest.size() < 400, "a report of a few words");
    }
    std::string text;
    try {
        text = settingsText(first.state, user);
    } catch (const ConversionError&) {
        fuzz::require(false, "a state read from a file can be written");
    }
    fuzz::require(fuzz::everyLineEndsInCrLf(text), "CR LF line ends");
    const SettingsReading again = Le_Config(std::string_view(text), startup, QuantDatum, user);
    fuzz::require(!again.problem, "a written file reads without a report");
    fuzz::require(sameState(again.state, first.state, user),
                  "writing then reading gives the same state");
    fuzz::require(settingsText(again.state, user) == text, "and the same file");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // The first byte chooses the catalogue's size, from none to a full one.
    if (size == 0) return 0;
    const int QuantDatum = data[0] % 53 - 1;
    const std::string_view content = fuzz::textOf(data + 1, size - 1);
    requireRoundTrip(content, QuantDatum, fuzz::pointFormat());
    requireRoundTrip(content, QuantDatum, fuzz::commaFormat());
    return 0;
}
