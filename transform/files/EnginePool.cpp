#include "transform/files/EnginePool.h"

#include <algorithm>
#include <limits>
#include <optional>

namespace {

constexpr std::size_t kNoShare = std::numeric_limits<std::size_t>::max();

}  // namespace

unsigned enginesForThisMachine() { return std::max(1u, std::thread::hardware_concurrency()); }

struct EnginePool::Engine {
    Engine(const WindowState& state, const std::vector<TDatum>& datums, const NumberFormat& user,
           TGeo* first)
        : processa(state, datums, first != nullptr ? *first : own.emplace(), user)
    {
    }
    std::optional<TGeo> own;
    Processa processa;
};

EnginePool::EnginePool(const WindowState& state, const std::vector<TDatum>& datums,
                       const NumberFormat& user, unsigned engines, TGeo* first)
{
    const unsigned count = std::max(1u, engines);
    // Every engine is made here, so that what their making throws reaches the caller.
    for (unsigned i = 0; i < count; ++i)
        workers_.push_back(std::make_unique<Engine>(state, datums, user, i == 0 ? first : nullptr));
    threads_.reserve(count);
    try {
        for (std::size_t i = 0; i < count; ++i) threads_.emplace_back(&EnginePool::work, this, i);
    } catch (...) {
        {
            const std::lock_guard lock(mutex_);
            stopping_ = true;
        }
        wake_.notify_all();
        for (auto& thread : threads_) thread.join();
        throw;
    }
}

EnginePool::~EnginePool()
{
    {
        std::unique_lock lock(mutex_);
        done_.wait(lock, [this] { return busy_ == 0; });
        stopping_ = true;
    }
    wake_.notify_all();
    for (auto& thread : threads_) thread.join();
}

void EnginePool::start(std::size_t shares, Job job)
{
    if (shares == 0) return;
    {
        const std::lock_guard lock(mutex_);
        job_ = std::move(job);
        shares_ = shares;
        next_.store(0, std::memory_order_relaxed);
        firstFailed_.store(kNoShare, std::memory_order_relaxed);
        errors_.assign(shares, nullptr);
        // A job of one share stays on one thread: the others let it pass.
        taking_ = busy_ = std::min(shares, threads_.size());
        underWay_ = true;
        ++round_;
    }
    wake_.notify_all();
}

void EnginePool::wait()
{
    std::unique_lock lock(mutex_);
    if (!underWay_) return;
    done_.wait(lock, [this] { return busy_ == 0; });
    underWay_ = false;
    job_ = nullptr;
    for (std::exception_ptr& error : errors_)
        if (error) {
            const std::exception_ptr first = error;
            errors_.clear();
            std::rethrow_exception(first);
        }
}

void EnginePool::work(std::size_t index)
{
    Processa& processa = workers_[index]->processa;
    std::uint64_t seen = 0;
    for (;;) {
        {
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [&] { return stopping_ || (round_ != seen && index < taking_); });
            if (stopping_) return;
            seen = round_;
        }
        for (std::size_t share;
             (share = next_.fetch_add(1, std::memory_order_relaxed)) < shares_;) {
            if (share > firstFailed_.load(std::memory_order_relaxed)) continue;
            try {
                job_(share, processa);
            } catch (...) {
                errors_[share] = std::current_exception();
                std::size_t failed = firstFailed_.load(std::memory_order_relaxed);
                while (share < failed && !firstFailed_.compare_exchange_weak(failed, share)) {}
            }
        }
        {
            const std::lock_guard lock(mutex_);
            if (--busy_ == 0) done_.notify_all();
        }
    }
}
