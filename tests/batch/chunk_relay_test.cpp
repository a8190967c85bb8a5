// The relay of chunks among threads: results are written in the order the chunks were read
// however the threads finish, and a failure on one thread stops the others and reaches the caller.
#include <gtest/gtest.h>

#include <chrono>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "batch/chunk_relay.h"

namespace {

struct Lane {
    std::string chunk;
    int worked = 0;
};

struct Result {
    int chunk = -1;
};

}  // namespace

TEST(ChunkRelay, WritesInReadingOrderAndStopsEveryThreadOnAFailure) {
    int next = 0;
    const auto read = [&](std::string& chunk) {
        if (next == 60) return false;
        chunk = std::to_string(next++);
        return true;
    };
    // Every third chunk takes longer, so that later chunks are ready first and wait their turn.
    const auto work = [](Lane& lane, Result& r) {
        r.chunk = std::stoi(lane.chunk);
        if (r.chunk % 3 == 0) std::this_thread::sleep_for(std::chrono::microseconds(300));
        ++lane.worked;
    };
    std::vector<int> written;
    const auto lanes = batch::relay<Lane, Result>(3, read, work, [&](const Result& r) { written.push_back(r.chunk); });
    ASSERT_EQ(written.size(), 60u);
    for (int i = 0; i < 60; ++i) ASSERT_EQ(written[static_cast<std::size_t>(i)], i);
    int worked = 0;
    for (const Lane& lane : lanes) worked += lane.worked;
    EXPECT_EQ(worked, 60);

    next = 0;
    written.clear();
    const auto failing = [&](Lane& lane, Result& r) {
        if (lane.chunk == "7") throw std::runtime_error("sete");
        work(lane, r);
    };
    const auto failingRun = [&] { batch::relay<Lane, Result>(3, read, failing, [&](const Result& r) { written.push_back(r.chunk); }); };
    try {
        failingRun();
        ADD_FAILURE() << "the failure did not reach the caller";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "sete");
    }
    // Nothing after the failed chunk is written, and reading stopped soon after it: no more
    // chunks are read than results are kept (two a thread).
    ASSERT_LE(written.size(), 7u);
    for (std::size_t i = 0; i < written.size(); ++i) EXPECT_EQ(written[i], static_cast<int>(i));
    EXPECT_LE(next, 8 + 6);
}
