// How a band being posted meets one stored band of the same rule: apart, around, or colliding.
#pragma once

namespace rules {

// A value band by its closed interval and its number (0: not yet stored).
struct BandInterval {
    double ini = 0;
    double fin = 0;
    double number = 0;
};

enum class BandOverlap {
    None,      // no shared value, or the stored band is the posted band's own copy
    Contains,  // the stored band lies strictly inside the posted one, touching neither end
    Collides,  // any other shared value: partial overlap, inside, equal, a shared end point
};

// Compares `posted` with `stored`; end points count as shared values.
BandOverlap ClassifyOverlap(const BandInterval& posted, const BandInterval& stored);

}  // namespace rules
