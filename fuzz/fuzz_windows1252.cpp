// The character set of the configuration files: any bytes read as Windows-1252 are valid UTF-8
// and write back as the same bytes; any text written as Windows-1252 reads back unchanged but
// for the characters the file cannot hold.
#include "transform/text/Windows1252.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes = fuzz::textOf(data, size);
    const std::string text = windows1252ToUtf8(bytes);
    fuzz::require(utf8ToWindows1252(text) == bytes, "a file's bytes survive a reading");
    const std::string stored = utf8ToWindows1252(bytes);
    fuzz::require(stored.size() <= bytes.size(), "no character grows in the file");
    fuzz::require(utf8ToWindows1252(windows1252ToUtf8(stored)) == stored,
                  "what was stored reads back as stored");
    return 0;
}
