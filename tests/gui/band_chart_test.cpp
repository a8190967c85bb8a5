// The band chart's reading of the gap between two bands, amounts kept to the cent.
#include "gui/pictures/band_chart.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace guitest {
namespace {

bool hole(double fin, double nextIni) {
    gui::BandStep before, after;
    before.fin = fin;
    after.ini = nextIni;
    return gui::HoleBetween(before, after);
}

// A band starting one cent after the other ends leaves no value out, however the two
// amounts fall in binary; two cents leave one.
TEST(BandChart, OneCentBetweenBandsIsNoHoleAndTwoCentsAre) {
    using Pairs = std::vector<std::pair<double, double>>;
    for (auto [fin, ini] : Pairs{{100.00, 100.01}, {0.29, 0.30}, {5000.00, 5000.01}, {999999998.99, 999999999.00}})
        EXPECT_FALSE(hole(fin, ini)) << fin << " / " << ini;
    for (auto [fin, ini] : Pairs{{100.00, 100.02}, {0.29, 0.31}, {5000.00, 5000.02}, {999999998.98, 999999999.00}})
        EXPECT_TRUE(hole(fin, ini)) << fin << " / " << ini;
    EXPECT_FALSE(hole(100.00, 100.00));
}

}  // namespace
}  // namespace guitest
