#include "config/DatumEntry.h"

#include "transform/text/NumberText.h"

DatumEntry readDatumEntry(const std::array<std::string, 5>& boxes, const NumberFormat& user)
{
    DatumEntry entry;
    std::array<long double*, 5> values{&entry.A, &entry.InvF, &entry.Dx, &entry.Dy, &entry.Dz};
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        try {
            *values[i] = readFloat(boxes[i], user);
        } catch (const ConversionError&) {
            entry.code = DatumEntryCode::NotANumber;
            entry.failedTag = kDatumEntryTags[i];
            entry.failedText = boxes[i];
        }
    }
    if (entry.code != DatumEntryCode::Valid) return entry;
    if (entry.A < 6377000 || entry.A > 6379000) entry.code = DatumEntryCode::EarthRadius;
    if (entry.InvF < 250 || entry.InvF > 350) entry.code = DatumEntryCode::Flattening;
    return entry;
}
