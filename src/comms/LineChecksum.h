#pragma once
// The checksum that guards communication and situation files: every summed
// line adds its bytes, and the running total is kept below 10^9 in magnitude.

#include <cstdint>
#include <string_view>

namespace veltra::comms {

inline constexpr std::int32_t ChecksumModulus = 1000000000;

// What one byte adds to its line's sum: its value as a signed 8-bit number,
// nothing for TAB and LF. Unsigned, so that a sum of them wraps like the
// 32-bit sum the files were made with, without the undefined behaviour of a
// signed overflow.
constexpr std::uint32_t ChecksumTerm(char c) {
  return c != '\t' && c != '\n'
             ? static_cast<std::uint32_t>(static_cast<std::int32_t>(static_cast<signed char>(c)))
             : 0U;
}

// The sum of the line's bytes as signed 8-bit values, skipping TAB and LF.
// The line is taken as written to or read from the file (Windows-1252 bytes,
// without the CR of its terminator).
std::int32_t LineChecksum(std::string_view line);

// The total kept over the summed lines of one file: after each line it is
// reduced by ChecksumModulus with the sign of the dividend, so it can be negative.
class RunningChecksum {
 public:
  void add(std::string_view line) { addSum(LineChecksum(line)); }
  // The same for a line whose LineChecksum is known already.
  void addSum(std::int32_t lineSum);
  std::int32_t total() const { return total_; }

 private:
  std::int32_t total_ = 0;
};

}  // namespace veltra::comms
