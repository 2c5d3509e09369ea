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

// Worker threads take task numbers of the current job until none are left;
// the job is done when all its tasks are, whichever threads ran them. Waking
// a sleeping thread costs this platform the better part of a millisecond,
// and a loaded machine may leave a worker without a processor for as long:
// so no job waits for a worker that has not started on it, a worker that
// finished watches for the next job for a while before it sleeps (a painting
// or a load runs several in a row), and the caller watches the last tasks
// finish before it sleeps. A task number is claimed together with the job's
// number, so a worker that comes late never takes one of a later job. The
// pool is never destroyed: its threads end with the process, which must not
// wait for them while it unloads the library.
class Pool {
public:
    void Run(size_t count, const std::function<void(size_t)>& task, size_t threads) {
        std::unique_lock<std::mutex> busy(busy_, std::try_to_lock);
        size_t helpers = std::min(threads, count) > 1 ? std::min(threads, count) - 1 : 0;
        if (!busy.owns_lock() || helpers == 0 || count >= kClosed) {
            Inline(count, task);
            return;
        }
        // The new job's number goes out first, closed: a worker still in the
        // last job stops, one that sees this job waits for it to open.
        const uint64_t job = (claim_.load() >> 32) + 1;
        claim_.store(job << 32 | kClosed);
        task_.store(&task);
        count_.store(static_cast<uint32_t>(count));
        helpers_.store(helpers);
        done_.store(0);
        {
            std::lock_guard<std::mutex> lk(m_);
            while (workers_ < helpers) {
                std::thread(&Pool::Work, this, workers_++, job - 1).detach();
            }
            claim_.store(job << 32);
        }
        wake_.notify_all();
        Drain(job);
        for (int spin = 0; spin < kSpins && done_.load() != count; ++spin)
            Pause();
        if (done_.load() != count) {
            std::unique_lock<std::mutex> lk(m_);
            finished_.wait(lk, [&] { return done_.load() == count; });
        }
        // No task of this job is left to claim, so nothing reads these now.
        task_.store(nullptr);
    }

private:
    static const uint32_t kClosed = 0xFFFFFFFFu;  // as the next task: the job is not open yet
    // About a fifth of a millisecond of watching.
    static const int kSpins = 4000;

    static void Pause() {
#if defined(__i386__) || defined(__x86_64__)
        __builtin_ia32_pause();
#else
        std::this_thread::yield();
#endif
    }

    static void Inline(size_t count, const std::function<void(size_t)>& task) {
        bool outer = tInTask;
        tInTask = true;
        for (size_t i = 0; i < count; ++i)
            task(i);
        tInTask = outer;
    }

    // Runs tasks of job `job` until it has none left to claim.
    void Drain(uint64_t job) {
        bool outer = tInTask;
        tInTask = true;
        for (;;) {
            uint64_t c = claim_.load();
            if ((c >> 32) != job) break;
            const uint32_t i = static_cast<uint32_t>(c);
            if (i == kClosed) {
                Pause();
                continue;
            }
            // The job is still running while it has unclaimed tasks, so its
            // count and task are its own.
            if (i >= count_.load()) break;
            if (!claim_.compare_exchange_weak(c, c + 1)) continue;
            (*task_.load())(i);
            if (done_.fetch_add(1) + 1 == count_.load()) {
                std::lock_guard<std::mutex> lk(m_);
                finished_.notify_all();
            }
        }
        tInTask = outer;
    }

    void Work(size_t id, uint64_t seen) {
        for (;;) {
            for (int spin = 0; spin < kSpins && (claim_.load() >> 32) == seen; ++spin)
                Pause();
            if ((claim_.load() >> 32) == seen) {
                std::unique_lock<std::mutex> lk(m_);
                wake_.wait(lk, [&] { return (claim_.load() >> 32) != seen; });
            }
            seen = claim_.load() >> 32;
            if (id < helpers_.load()) Drain(seen);
        }
    }

    std::mutex busy_;  // one job at a time
    std::mutex m_;
    std::condition_variable wake_, finished_;
    std::atomic<uint64_t> claim_{0};  // job number (high half), next task (low half)
    std::atomic<const std::function<void(size_t)>*> task_{nullptr};
    std::atomic<uint32_t> count_{0};
    std::atomic<size_t> helpers_{0}, done_{0};
    size_t workers_ = 0;
};

Pool& ThePool() {
    static Pool* pool = new Pool;
    return *pool;
}

std::atomic<size_t> gForced{0};

}  // namespace

size_t ProcessorCount() {
    // Asked once: the platform takes tens of microseconds to tell.
    static const size_t count = [] {
        size_t hw = std::thread::hardware_concurrency();
        return std::max<size_t>(1, std::min(hw ? hw : 1, kMostThreads));
    }();
    return count;
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
