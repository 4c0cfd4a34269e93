#include <gtest/gtest.h>

#include "comms/Windows1252.h"
#include "db/PlainText.h"

namespace veltra::comms {
namespace {

TEST(Windows1252Codec, ConvertsBothWays) {
  Windows1252Codec codec;
  EXPECT_EQ(codec.toUtf8("Citt\xE0 \x80 5"), "Città € 5");
  EXPECT_EQ(codec.fromUtf8("Città € 5"), "Citt\xE0 \x80 5");
  EXPECT_EQ(codec.toUtf8("plain"), "plain");
  EXPECT_EQ(codec.toUtf8(""), "");
}

TEST(Windows1252Codec, RefusesBytesThatAreNoCharacter) {
  Windows1252Codec codec;
  for (const char* undefined : {"\x81", "\x8D", "\x8F", "\x90", "\x9D"})
    EXPECT_FALSE(codec.toUtf8(std::string("ab") + undefined + "cd")) << int(undefined[0]);
}

TEST(Windows1252Codec, RefusesCharactersItCannotHoldInsteadOfReplacingThem) {
  Windows1252Codec codec;
  EXPECT_FALSE(codec.fromUtf8("Łódź"));
  EXPECT_FALSE(codec.fromUtf8("\xC3"));   // cut-off UTF-8 sequence
  EXPECT_FALSE(codec.fromUtf8("\xE0x"));  // not UTF-8 at all
  // The codec stays usable after a refusal.
  EXPECT_EQ(codec.fromUtf8("è"), "\xE8");
}

TEST(Windows1252Codec, ConvertsTextsLongerThanItsWorkingChunk) {
  Windows1252Codec codec;
  const std::string bytes(5000, '\xE8');
  const auto text = codec.toUtf8(bytes);
  ASSERT_TRUE(text);
  EXPECT_EQ(text->size(), 10000u);
  EXPECT_EQ(db::Utf8Length(*text), 5000u);
  EXPECT_EQ(codec.fromUtf8(*text), bytes);
}

TEST(Windows1252Codec, AppendsToATextAndLeavesItAsItWasOnARefusal) {
  Windows1252Codec codec;
  std::string bytes = "A\r\n";
  EXPECT_TRUE(codec.appendFromUtf8("\u00A0perché ÿ", bytes));
  EXPECT_EQ(bytes, "A\r\n\xA0perch\xE9 \xFF");
  for (const char* refused : {"è\xC3\x28", "è\xC1\xA9", "è\xC2", "ŁA"})
    EXPECT_FALSE(codec.appendFromUtf8(refused, bytes)) << refused;
  EXPECT_EQ(bytes, "A\r\n\xA0perch\xE9 \xFF");
  std::string text = "x";
  EXPECT_TRUE(codec.appendUtf8("\xA0\xE9\xFF\x80", text));
  EXPECT_EQ(text, "x\u00A0éÿ€");
  EXPECT_FALSE(codec.appendUtf8("\xE9\x81", text));
  EXPECT_EQ(text, "x\u00A0éÿ€");
}

}  // namespace
}  // namespace veltra::comms
