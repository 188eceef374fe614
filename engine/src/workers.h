// Helper threads for work that splits into independent parts. A process that may run on one core only has
// none: the parts then run on the calling thread, one after another, at no cost.
#pragma once

#include <functional>

namespace zorbel::workers {

// Runs part(0) .. part(n - 1), each once, on the calling thread and the helpers, and returns when every part
// is done. The parts must not depend on each other's results or on their order, so what they make is the same
// whatever the number of threads.
void ForEach(int n, const std::function<void(int)>& part);

// The threads that share the parts: the helpers and the caller (1 on one core).
int Threads();

// The helpers end (when the engine's run ends); the next ForEach starts them again.
void Stop();

} // namespace zorbel::workers
