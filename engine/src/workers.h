// Helper threads for work that splits into independent parts. A process that may run on one core only has
// none: the parts then run on the calling thread, one after another, at no cost.
#pragma once

#include <functional>

namespace zorbel::workers {

// Runs part(0) .. part(n - 1), each once, on the calling thread and the helpers, and returns when every part
// is done. The parts must not depend on each other's results or on their order, so what they make is the same
// whatever the number of threads.
void ForEach(int n, const std::function<void(int)>& part);

// Calls work(firstRow, endRow) for bands covering [0, rows), each once, as parts of a ForEach: a few bands
// per thread, so the thread that finishes first takes the next one and a crowded band holds nobody up.
void ForEachBand(int rows, const std::function<void(int firstRow, int endRow)>& work);

// The threads that share the parts: the helpers and the caller (1 on one core).
int Threads();

// The helpers end (when the engine's run ends); the next ForEach starts them again.
void Stop();

} // namespace zorbel::workers
