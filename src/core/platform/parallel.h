#pragma once

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <exception>
#include <system_error>
#include <thread>
#include <vector>

namespace platform {

// Runs work(i) once for every i below `count`, on up to `maxWorkers` threads at once (this one
// included), one more thread for every `perWorker` items. Items are handed out one at a time,
// so a slow one holds up no other. Returns once all are done; the first exception a work item
// threw is thrown again then. Where no thread can be started, this thread does the rest.
template <typename Work>
void ForEachIndex(std::size_t count, std::size_t perWorker, std::size_t maxWorkers, Work work) {
    std::atomic<std::size_t> next{0};
    std::exception_ptr failure;
    std::atomic<bool> failed{false};
    auto run = [&] {
        for (std::size_t i; !failed && (i = next++) < count;) {
            try {
                work(i);
            } catch (...) {
                if (!failed.exchange(true)) failure = std::current_exception();
            }
        }
    };
    const std::size_t workers = std::clamp<std::size_t>(count / std::max<std::size_t>(perWorker, 1),
                                                        1, std::max<std::size_t>(maxWorkers, 1));
    std::vector<std::thread> threads;
    try {
        for (std::size_t w = 1; w < workers; ++w) threads.emplace_back(run);
    } catch (const std::system_error&) {
        // Fewer threads than asked for: the ones there share the work.
    }
    run();
    for (std::thread& thread : threads) thread.join();
    if (failure) std::rethrow_exception(failure);
}

// Threads for work that keeps the processor busy: as many as it has cores.
inline std::size_t ProcessorWorkers() {
    return std::max(1u, std::thread::hardware_concurrency());
}

}  // namespace platform
