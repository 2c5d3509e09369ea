// Work split across the processors of the machine: the loader decodes the
// parts of a large drawing side by side, the saver packs them, and the
// painter fills bands of a view. Every user splits its work so that the
// result does not depend on how many threads took part.
#pragma once

#include <cstddef>
#include <functional>

namespace cad {

// Runs task(i) for every i in [0, count) on the library's worker threads and
// the calling thread, and returns when all are done. Tasks must not throw.
// A call made from inside a task, or while another thread's call is running,
// runs its tasks on the calling thread alone.
void ParallelFor(size_t count, const std::function<void(size_t)>& task);
// The same, on the calling thread alone unless `worth` says the work is
// large enough to pay for waking the others.
void ParallelFor(size_t count, const std::function<void(size_t)>& task, bool worth);

// Threads that take part in a ParallelFor (1: the caller alone).
size_t WorkerCount();
// The machine's processors, up to 8.
size_t ProcessorCount();

// Exactly `n` threads from now on, up to 8 (0: one per processor). The
// setting "Threads" sets it; tests compare one thread with many.
void SetWorkerCount(size_t n);

}  // namespace cad
