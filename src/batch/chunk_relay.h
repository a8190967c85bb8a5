// Chunks of a stream read, worked and written by one fixed set of threads, the caller's among
// them: each thread takes the next chunk and works it; whoever holds the oldest chunk not yet
// written writes it, and then every later one already worked, in order. No thread waits for
// another to finish a chunk, so both processors pay sales rather than one of them waiting on a
// thread that only reads and writes, or on a turn.
#pragma once
#include <algorithm>
#include <condition_variable>
#include <cstdint>
#include <exception>
#include <map>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace batch {

// `Lane` is what one thread keeps from chunk to chunk (its chunk buffer, its share of any
// totals); its member `chunk` is what `read` fills. `Result` is what working a chunk makes;
// twice as many results as threads are kept and reused, so that a thread ahead of the writing
// waits only once two chunks a thread are worked and not yet written.
//   read(lane.chunk) -> bool   the next chunk, false at the end; one thread at a time, in order
//   work(lane, result)         on every thread at once
//   write(result)              one thread at a time, in the order the chunks were read
// The first exception any of them throws stops every thread and is rethrown here, once all
// have stopped. The lanes come back as the threads left them.
template <class Lane, class Result, class Read, class Work, class Write>
std::vector<Lane> relay(std::size_t threads, Read read, Work work, Write write) {
    std::vector<Lane> lanes(std::max<std::size_t>(1, threads));
    std::vector<std::unique_ptr<Result>> spare;  // under `turns`
    for (std::size_t i = 0; i < 2 * lanes.size(); ++i) spare.push_back(std::make_unique<Result>());
    std::map<std::uint64_t, std::unique_ptr<Result>> worked;  // worked, waiting for their turn; under `turns`
    std::mutex reading, turns;
    std::condition_variable spared;
    std::uint64_t nextRead = 0;   // under `reading`
    std::uint64_t nextWrite = 0;  // under `turns`
    bool stopped = false;         // under `turns`
    bool ended = false;           // under `reading`
    std::exception_ptr failure;   // under `turns`

    const auto fail = [&] {
        std::lock_guard lock(turns);
        if (!failure) failure = std::current_exception();
        stopped = true;
        spared.notify_all();
    };
    const auto run = [&](Lane& lane) {
        try {
            while (true) {
                std::unique_ptr<Result> result;
                {
                    // A result before a chunk: a thread holding a chunk's number never waits.
                    std::unique_lock lock(turns);
                    spared.wait(lock, [&] { return stopped || !spare.empty(); });
                    if (stopped) return;
                    result = std::move(spare.back());
                    spare.pop_back();
                }
                std::uint64_t mine = 0;
                bool got = false;
                {
                    std::lock_guard lock(reading);
                    got = !ended && read(lane.chunk);
                    if (got) mine = nextRead++;
                    else ended = true;
                }
                if (!got) {
                    std::lock_guard lock(turns);
                    spare.push_back(std::move(result));
                    spared.notify_one();
                    return;
                }
                work(lane, *result);
                std::unique_lock lock(turns);
                if (stopped) return;
                if (nextWrite != mine) {
                    worked.emplace(mine, std::move(result));  // whoever writes the one before takes it
                    continue;
                }
                // This thread writes: its own chunk, then each later one already worked.
                while (result) {
                    lock.unlock();
                    write(*result);
                    lock.lock();
                    spare.push_back(std::move(result));
                    spared.notify_one();
                    if (stopped) return;
                    const auto next = worked.find(++nextWrite);
                    if (next != worked.end()) {
                        result = std::move(next->second);
                        worked.erase(next);
                    }
                }
            }
        } catch (...) {
            fail();
        }
    };

    {
        std::vector<std::jthread> others;  // joined on the way out, whatever happens
        try {
            for (std::size_t i = 1; i < lanes.size(); ++i) others.emplace_back([&run, &lanes, i] { run(lanes[i]); });
        } catch (...) {
            fail();
        }
        run(lanes[0]);
    }
    if (failure) std::rethrow_exception(failure);
    return lanes;
}

}  // namespace batch
