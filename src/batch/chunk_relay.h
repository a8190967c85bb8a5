// Chunks of a stream read, worked and written by one fixed set of threads, the caller's among
// them: each thread takes the next chunk, works it, and writes what it made once every chunk
// before it is written. Only the turns pass between threads, so both processors pay sales
// rather than one of them waiting on a thread that only reads and writes.
#pragma once
#include <algorithm>
#include <condition_variable>
#include <cstdint>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

namespace batch {

// `Lane` is what one thread keeps from chunk to chunk (its buffers, its share of any totals);
// its member `chunk` is what `read` fills.
//   read(lane.chunk) -> bool   the next chunk, false at the end; one thread at a time, in order
//   work(lane)                 on every thread at once
//   write(lane)                one thread at a time, in the order the chunks were read
// The first exception any of them throws stops every thread and is rethrown here, once all
// have stopped. The lanes come back as the threads left them.
template <class Lane, class Read, class Work, class Write>
std::vector<Lane> relay(std::size_t threads, Read read, Work work, Write write) {
    std::vector<Lane> lanes(std::max<std::size_t>(1, threads));
    std::mutex reading, turns;
    std::condition_variable turnTaken;
    std::uint64_t nextRead = 0;   // under `reading`
    std::uint64_t nextWrite = 0;  // under `turns`
    bool stopped = false;         // under `turns`; also read under `reading`, hence the copy below
    bool ended = false;           // under `reading`
    std::exception_ptr failure;   // under `turns`

    const auto fail = [&] {
        std::lock_guard lock(turns);
        if (!failure) failure = std::current_exception();
        stopped = true;
        turnTaken.notify_all();
    };
    const auto isStopped = [&] {
        std::lock_guard lock(turns);
        return stopped;
    };
    const auto run = [&](Lane& lane) {
        try {
            while (true) {
                std::uint64_t mine = 0;
                {
                    std::lock_guard lock(reading);
                    if (ended || isStopped()) return;
                    if (!read(lane.chunk)) {
                        ended = true;
                        return;
                    }
                    mine = nextRead++;
                }
                work(lane);
                std::unique_lock lock(turns);
                turnTaken.wait(lock, [&] { return stopped || nextWrite == mine; });
                if (stopped) return;
                lock.unlock();  // the turn is ours until nextWrite moves on
                write(lane);
                lock.lock();
                ++nextWrite;
                turnTaken.notify_all();
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
