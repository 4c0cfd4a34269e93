#include "reports/SharedChunks.h"

#include <algorithm>
#include <atomic>
#include <thread>

namespace veltra::reports {

namespace {
// Small enough to even out the two threads' shares, large enough that taking
// a chunk costs nothing beside its work.
constexpr std::size_t ChunkSize = 256;
}  // namespace

void ShareChunks(std::size_t count, const ChunkWork& own,
                 const std::function<ChunkWork()>& makeHelperWork) {
  std::atomic<std::size_t> next{0};
  const auto takeChunks = [&](const ChunkWork& work) {
    for (std::size_t first = next.fetch_add(ChunkSize); first < count;
         first = next.fetch_add(ChunkSize))
      work(first, std::min(count, first + ChunkSize));
  };
  std::thread helper([&] { takeChunks(makeHelperWork()); });
  takeChunks(own);
  helper.join();
}

}  // namespace veltra::reports
