// The overlap rule of value bands: which stored band blocks a posted one, and with which verdict.
#include "rules/band_overlap.h"

#include <gtest/gtest.h>

namespace {

using rules::BandInterval;
using rules::BandOverlap;
using rules::ClassifyOverlap;

// A new band (no number yet) against a stored band with number 7.
BandOverlap newAgainst(double ini, double fin, double storedIni, double storedFin) {
    return ClassifyOverlap({ini, fin, 0}, {storedIni, storedFin, 7});
}

TEST(BandOverlap, DisjointBandsPass) {
    EXPECT_EQ(newAgainst(200.01, 300, 101, 200), BandOverlap::None);
    EXPECT_EQ(newAgainst(181, 200, 120, 180), BandOverlap::None);
    EXPECT_EQ(newAgainst(0, 99.99, 100, 200), BandOverlap::None);
}

TEST(BandOverlap, SharedEndPointCollides) {
    EXPECT_EQ(newAgainst(200, 300, 101, 200), BandOverlap::Collides);  // stored ends where new starts
    EXPECT_EQ(newAgainst(0, 100, 100, 200), BandOverlap::Collides);    // new ends where stored starts
    EXPECT_EQ(newAgainst(50, 50, 50, 50), BandOverlap::Collides);      // equal single values
}

TEST(BandOverlap, StoredStrictlyInsideIsContains) {
    EXPECT_EQ(newAgainst(100, 200, 120, 180), BandOverlap::Contains);
    EXPECT_EQ(newAgainst(-10, 10, 0, 0), BandOverlap::Contains);
}

TEST(BandOverlap, InsideSharingAnEndIsCollides) {
    EXPECT_EQ(newAgainst(120, 200, 120, 180), BandOverlap::Collides);  // shared initial value
    EXPECT_EQ(newAgainst(100, 180, 120, 180), BandOverlap::Collides);  // shared final value
    EXPECT_EQ(newAgainst(120, 180, 120, 180), BandOverlap::Collides);  // equal intervals
}

TEST(BandOverlap, NewInsideStoredOrPartialIsCollides) {
    EXPECT_EQ(newAgainst(130, 150, 120, 180), BandOverlap::Collides);
    EXPECT_EQ(newAgainst(150, 250, 120, 180), BandOverlap::Collides);
    EXPECT_EQ(newAgainst(100, 150, 120, 180), BandOverlap::Collides);
}

TEST(BandOverlap, OwnStoredCopyIsSkipped) {
    // An edited band meets its stored copy (same number) whatever its new values.
    EXPECT_EQ(ClassifyOverlap({120, 180, 7}, {120, 180, 7}), BandOverlap::None);
    EXPECT_EQ(ClassifyOverlap({100, 200, 7}, {120, 180, 7}), BandOverlap::None);
    // ... but another stored band with a different number still counts.
    EXPECT_EQ(ClassifyOverlap({120, 180, 7}, {120, 180, 8}), BandOverlap::Collides);
}

}  // namespace
