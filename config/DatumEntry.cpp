#include "config/DatumEntry.h"

#include "transform/text/NumberText.h"
#include "transform/text/Trim.h"

#include <cmath>

namespace {

using namespace DatumEntryCode;

void refuse(DatumEntry& entry, int code, std::string tag, std::string text)
{
    entry.code = code;
    entry.failedTag = std::move(tag);
    entry.failedText = std::move(text);
}

// The nine numbers; every box is read, and the last one that fails is kept.
void readNumbers(const DatumBoxes& boxes, const NumberFormat& user, DatumEntry& entry)
{
    DatumValues& v = entry.values;
    HelmertRotation& r = v.Rotation;
    const std::array<long double*, 9> values{&v.A,  &v.InvF, &v.Dx, &v.Dy,   &v.Dz,
                                             &r.Rx, &r.Ry,   &r.Rz, &r.Scale};
    for (std::size_t i = 0; i < values.size(); ++i) {
        try {
            *values[i] = readFloat(boxes.numbers[i], user);
        } catch (const ConversionError&) {
            refuse(entry, NotANumber, kDatumEntryTags[i], boxes.numbers[i]);
        }
    }
}

// Rotations and scale within their bounds, with a convention exactly when one is not zero.
void checkRotation(const DatumBoxes& boxes, DatumEntry& entry)
{
    const HelmertRotation& r = entry.values.Rotation;
    const std::array<long double, 4> values{r.Rx, r.Ry, r.Rz, r.Scale};
    for (std::size_t i = 0; i < values.size(); ++i) {
        const bool scale = i == 3;
        if (!(std::fabs(values[i]) <= (scale ? kLargestScale : kLargestRotation))) {
            refuse(entry, scale ? ScaleBound : RotationBound, kDatumEntryTags[i + 5],
                   boxes.numbers[i + 5]);
            return;
        }
    }
    if (!r.none() && !boxes.convention) entry.code = NoConvention;
    if (r.none() && boxes.convention) entry.code = ConventionAlone;
}

bool isOtherDatum(const std::string& target, const std::string& name,
                  const DatumCatalogue& catalogue, int slot)
{
    // A grid that carries a datum to itself, under its old name or its new one, does nothing.
    if (target == name) return false;
    const auto names = catalogue.names();
    for (std::size_t i = 0; i < names.size(); ++i)
        if (names[i] == target && static_cast<int>(i) != slot) return true;
    return false;
}

void checkGrid(const DatumBoxes& boxes, const DatumCatalogue& catalogue, int slot,
               DatumEntry& entry)
{
    const std::string& file = entry.values.GridFile;
    const std::string& target = entry.values.GridTarget;
    if (file.empty() && target.empty()) return;
    if (target.empty())
        entry.code = GridWithoutTarget;
    else if (file.empty())
        entry.code = TargetWithoutGrid;
    else if (!isOtherDatum(target, std::string(trimBlanks(boxes.name)), catalogue, slot))
        refuse(entry, GridTargetUnknown, {}, target);
    else if (!catalogueFieldHolds(file))
        refuse(entry, GridFileUnwritable, {}, file);
}

}  // namespace

DatumEntry readDatumEntry(const DatumBoxes& boxes, const NumberFormat& user,
                          const DatumCatalogue& catalogue, int slot)
{
    DatumEntry entry;
    entry.values.Name = boxes.name;
    readNumbers(boxes, user, entry);
    if (entry.code != Valid) return entry;
    if (entry.values.A < 6377000 || entry.values.A > 6379000) entry.code = EarthRadius;
    if (entry.values.InvF < 250 || entry.values.InvF > 350) entry.code = Flattening;
    if (entry.code != Valid) return entry;

    checkRotation(boxes, entry);
    if (entry.code != Valid) return entry;
    if (boxes.convention) entry.values.Rotation.convention = *boxes.convention;
    entry.values.GridFile = trimBlanks(boxes.gridFile);
    entry.values.GridTarget = trimBlanks(boxes.gridTarget);
    checkGrid(boxes, catalogue, slot, entry);
    return entry;
}
