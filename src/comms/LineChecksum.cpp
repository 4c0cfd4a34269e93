#include "comms/LineChecksum.h"

#include "comms/ByteBlocks.h"

namespace veltra::comms {

std::int32_t LineChecksum(std::string_view line) {
  // Unsigned arithmetic wraps like the 32-bit sum the files were made with,
  // without the undefined behaviour of a signed overflow.
  std::uint32_t sum = 0;
  ForEachByteInBlocks(line, [&sum](char c) {
    const bool summed = c != '\t' && c != '\n';
    sum += summed
               ? static_cast<std::uint32_t>(static_cast<std::int32_t>(static_cast<signed char>(c)))
               : 0U;
  });
  return static_cast<std::int32_t>(sum);
}

void RunningChecksum::addSum(std::int32_t lineSum) {
  const std::int64_t sum = std::int64_t{total_} + lineSum;
  total_ = static_cast<std::int32_t>(sum % ChecksumModulus);
}

}  // namespace veltra::comms
