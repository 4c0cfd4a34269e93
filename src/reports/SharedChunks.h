#pragma once
// Work over many items shared between this thread and one helper, a chunk at
// a time: each chunk goes to whichever thread is free, so a helper that starts
// late, or waits behind other programs, leaves the rest to this thread
// instead of holding it up.

#include <cstddef>
#include <functional>

namespace veltra::reports {

// Works on the items from first to before end.
using ChunkWork = std::function<void(std::size_t first, std::size_t end)>;

// Covers the items from 0 to before count with own on this thread and, on
// the helper, with the work that makeHelperWork makes there: what that work
// holds is made, used and dropped on the helper alone. Returns when all are done.
void ShareChunks(std::size_t count, const ChunkWork& own,
                 const std::function<ChunkWork()>& makeHelperWork);

}  // namespace veltra::reports
