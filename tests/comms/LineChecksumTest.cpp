#include <gtest/gtest.h>

#include <string>

#include "comms/LineChecksum.h"

namespace veltra::comms {
namespace {

TEST(LineChecksum, SumsSignedBytesSkippingTabAndLineFeed) {
  EXPECT_EQ(LineChecksum("<Azienda=1>"), 932);
  EXPECT_EQ(LineChecksum("a\tb\n"), 195);
  EXPECT_EQ(LineChecksum("\xE0"), -32);
  EXPECT_EQ(LineChecksum(""), 0);
}

TEST(LineChecksum, CountsCarriageReturnsInsideTheLine) {
  // Only the terminator's CR is dropped by the reader; one inside the text is data.
  EXPECT_EQ(LineChecksum("a\rb"), 97 + 13 + 98);
}

TEST(RunningChecksum, FirstAdditionIsTheBareSum) {
  RunningChecksum total;
  total.add("<Azienda=1>");
  EXPECT_EQ(total.total(), 932);
  total.add("<Data=01/02/2024>");
  EXPECT_EQ(total.total(), 932 + LineChecksum("<Data=01/02/2024>"));
}

TEST(RunningChecksum, StaysBelowTheModulusAndKeepsTheSignOfTheDividend) {
  const std::string plain(16000, '\x7F');     // +127 per byte: 2,032,000 per line
  const std::string accented(16000, '\x80');  // -128 per byte
  RunningChecksum up;
  for (int i = 0; i < 600; ++i) up.add(plain);
  // 600 lines make 1,219,200,000, reduced once past the modulus.
  EXPECT_EQ(up.total(), 219200000);

  RunningChecksum down;
  for (int i = 0; i < 600; ++i) down.add(accented);
  EXPECT_EQ(down.total(), -(600LL * 16000 * 128 - ChecksumModulus));
  EXPECT_GT(down.total(), -ChecksumModulus);
}

}  // namespace
}  // namespace veltra::comms
