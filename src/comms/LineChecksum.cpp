#include "comms/LineChecksum.h"

#include "comms/ByteBlocks.h"

namespace veltra::comms {

std::int32_t LineChecksum(std::string_view line) {
  std::uint32_t sum = 0;
  ForEachByteInBlocks(line, [&sum](char c) { sum += ChecksumTerm(c); });
  return static_cast<std::int32_t>(sum);
}

void RunningChecksum::addSum(std::int32_t lineSum) {
  const std::int64_t sum = std::int64_t{total_} + lineSum;
  total_ = static_cast<std::int32_t>(sum % ChecksumModulus);
}

}  // namespace veltra::comms
