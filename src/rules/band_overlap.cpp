#include "rules/band_overlap.h"

namespace rules {

BandOverlap ClassifyOverlap(const BandInterval& posted, const BandInterval& stored) {
    // A band not yet sent has number 0 and no stored band has that number, so it skips nothing.
    if (stored.number == posted.number) return BandOverlap::None;
    if (stored.ini > posted.fin || stored.fin < posted.ini) return BandOverlap::None;
    if (posted.ini < stored.ini && stored.fin < posted.fin) return BandOverlap::Contains;
    return BandOverlap::Collides;
}

}  // namespace rules
