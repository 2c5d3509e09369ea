#include "cadlib/core/parallel.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

namespace cad {

namespace {

const size_t kMostThreads = 8;

thread_local bool tInTask = false;

// Worker threads wait for a job, take task numbers from a shared counter
// until none are left, and check out. The pool is never destroyed: its
// threads end with the process, which must not wait for them while it
// unloads the library.
class Pool {
public:
    void Run(size_t count, const std::function<void(size_t)>& task, size_t threads) {
        std::unique_lock<std::mutex> busy(busy_, std::try_to_lock);
        size_t helpers = std::min(threads, count) > 1 ? std::min(threads, count) - 1 : 0;
        if (!busy.owns_lock() || helpers == 0) {
            Inline(count, task);
            return;
        }
        {
            std::lock_guard<std::mutex> lk(m_);
            while (workers_ < helpers) {
                std::thread(&Pool::Work, this, workers_++).detach();
            }
            task_ = &task;
            count_ = count;
            next_.store(0);
            helpers_ = helpers;
            running_ = helpers;
            ++generation_;
        }
        start_.notify_all();
        Drain();
        std::unique_lock<std::mutex> lk(m_);
        done_.wait(lk, [&] { return running_ == 0; });
        task_ = nullptr;
    }

private:
    static void Inline(size_t count, const std::function<void(size_t)>& task) {
        bool outer = tInTask;
        tInTask = true;
        for (size_t i = 0; i < count; ++i)
            task(i);
        tInTask = outer;
    }

    void Drain() {
        bool outer = tInTask;
        tInTask = true;
        for (size_t i; (i = next_.fetch_add(1)) < count_;)
            (*task_)(i);
        tInTask = outer;
    }

    void Work(size_t id) {
        uint64_t seen = 0;
        std::unique_lock<std::mutex> lk(m_);
        for (;;) {
            start_.wait(lk, [&] { return generation_ != seen; });
            seen = generation_;
            if (id >= helpers_) continue;
            lk.unlock();
            Drain();
            lk.lock();
            if (--running_ == 0) done_.notify_all();
        }
    }

    std::mutex busy_;  // one job at a time
    std::mutex m_;
    std::condition_variable start_, done_;
    const std::function<void(size_t)>* task_ = nullptr;
    size_t count_ = 0;
    std::atomic<size_t> next_{0};
    size_t helpers_ = 0, running_ = 0, workers_ = 0;
    uint64_t generation_ = 0;
};

Pool& ThePool() {
    static Pool* pool = new Pool;
    return *pool;
}

std::atomic<size_t> gForced{0};

}  // namespace

size_t ProcessorCount() {
    size_t hw = std::thread::hardware_concurrency();
    return std::max<size_t>(1, std::min(hw ? hw : 1, kMostThreads));
}

size_t WorkerCount() {
    size_t forced = gForced.load();
    if (forced) return std::min(forced, kMostThreads);
    return ProcessorCount();
}

void SetWorkerCount(size_t n) { gForced.store(n); }

void ParallelFor(size_t count, const std::function<void(size_t)>& task) {
    if (count == 0) return;
    size_t threads = tInTask ? 1 : WorkerCount();
    if (threads <= 1 || count == 1) {
        bool outer = tInTask;
        tInTask = true;
        for (size_t i = 0; i < count; ++i)
            task(i);
        tInTask = outer;
        return;
    }
    ThePool().Run(count, task, threads);
}

void ParallelFor(size_t count, const std::function<void(size_t)>& task, bool worth) {
    // A count set on purpose (tests comparing one thread with many) spreads anyway.
    if (worth || gForced.load() > 1) {
        ParallelFor(count, task);
        return;
    }
    bool outer = tInTask;
    tInTask = true;
    for (size_t i = 0; i < count; ++i)
        task(i);
    tInTask = outer;
}

}  // namespace cad
