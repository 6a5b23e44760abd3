// The one parallel runner of everything that transforms many points: the file runs and the
// command-line stream. The engine holds state between calls, so no engine is ever shared: each
// thread of the pool owns one, with a Processa of its own on the run's settings, and keeps it for
// the whole run. A job is cut by the caller into shares numbered in the order of the lines; each
// share writes its results in place, so the order holds however the shares fall on the threads,
// and the error a job throws is the one of its lowest share that threw, the earliest line.
#pragma once

#include "transform/pipeline/Pipeline.h"

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

// One engine a processor, at least one.
unsigned enginesForThisMachine();

class EnginePool {
public:
    // Runs one share on the Processa of the thread that took it.
    using Job = std::function<void(std::size_t share, Processa& processa)>;

    // `engines` threads (at least one), each with its own engine; `first`, when given, is the
    // first thread's engine instead of one of its own. The state, the datums and `first` must
    // outlive the pool.
    EnginePool(const WindowState& state, const std::vector<TDatum>& datums,
               const NumberFormat& user, unsigned engines, TGeo* first = nullptr);
    // Waits for a job under way, then ends the threads.
    ~EnginePool();
    EnginePool(const EnginePool&) = delete;
    EnginePool& operator=(const EnginePool&) = delete;

    std::size_t engines() const { return threads_.size(); }

    // Hands out shares 0 to shares - 1 and returns at once; the caller may work on meanwhile,
    // but must call wait() before the next start. A share after one that threw may be skipped:
    // its work would be thrown away.
    void start(std::size_t shares, Job job);
    // Waits for every share of the job started last, then throws the exception of the lowest
    // share that threw, if any. Does nothing when no job is under way.
    void wait();
    void run(std::size_t shares, Job job)
    {
        start(shares, std::move(job));
        wait();
    }

private:
    struct Engine;
    void work(std::size_t index);

    std::vector<std::unique_ptr<Engine>> workers_;
    std::vector<std::thread> threads_;

    std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable done_;
    bool stopping_ = false;
    bool underWay_ = false;
    std::uint64_t round_ = 0;  // one a job, so that a thread takes each job once
    std::size_t taking_ = 0;   // the threads that take part in the job (the first ones)
    std::size_t busy_ = 0;     // of which not done yet
    Job job_;
    std::size_t shares_ = 0;
    std::atomic<std::size_t> next_{0};
    std::atomic<std::size_t> firstFailed_{0};
    std::vector<std::exception_ptr> errors_;
};
