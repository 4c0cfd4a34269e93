#include <gtest/gtest.h>

#include "comms/DateInput.h"
#include "support/RecordingPrompter.h"

namespace veltra::comms {
namespace {

TEST(DateInput, AcceptsBothLengthsAndTheThreeSeparators) {
  EXPECT_EQ(ReadInputDate("01/02/2010"), "01/02/2010");
  EXPECT_EQ(ReadInputDate("01-02-10"), "01/02/2010");
  EXPECT_EQ(ReadInputDate("31.12.99"), "31/12/2099");
  EXPECT_EQ(ReadInputDate("29/02/2024"), "29/02/2024");
  EXPECT_EQ(ReadInputDate("05.03-1998"), "05/03/1998");
}

TEST(DateInput, RefusesDaysTheCalendarDoesNotHave) {
  EXPECT_EQ(ReadInputDate("31/02/2010"), std::nullopt);
  EXPECT_EQ(ReadInputDate("29/02/23"), std::nullopt);
  EXPECT_EQ(ReadInputDate("00/01/2010"), std::nullopt);
  EXPECT_EQ(ReadInputDate("10/13/2010"), std::nullopt);
  EXPECT_EQ(ReadInputDate("31/04/2010"), std::nullopt);
}

TEST(DateInput, RefusesOtherShapes) {
  EXPECT_EQ(ReadInputDate("1/02/2010"), std::nullopt);  // nine characters
  EXPECT_EQ(ReadInputDate("01/02/201"), std::nullopt);
  EXPECT_EQ(ReadInputDate("01/02/20100"), std::nullopt);
  EXPECT_EQ(ReadInputDate(""), std::nullopt);
  EXPECT_EQ(ReadInputDate("01 02 2010"), std::nullopt);
  EXPECT_EQ(ReadInputDate("0102/2010"), std::nullopt);
  EXPECT_EQ(ReadInputDate("01/02x2010"), std::nullopt);  // only the second separator wrong
  // Only digits between the separators: these are not read as 01/02/2010.
  EXPECT_EQ(ReadInputDate("1a/02/2010"), std::nullopt);
  EXPECT_EQ(ReadInputDate(" 1/02/2010"), std::nullopt);
  EXPECT_EQ(ReadInputDate("01/+2/2010"), std::nullopt);
  EXPECT_EQ(ReadInputDate("01/02/20 0"), std::nullopt);
}

TEST(DateInput, ARefusedDateShowsTheMessageWithTheStopIcon) {
  testing::RecordingPrompter prompter;
  EXPECT_EQ(AcceptInputDate("31/02/2010", prompter), std::nullopt);
  ASSERT_EQ(prompter.messages.size(), 1u);
  EXPECT_EQ(prompter.messages[0].text,
            "ATTENZIONE: la data di generazione è espressa in un formato illegale.\n\n"
            "Le date devono essere espresse nella forma GG/MM/AAAA.\n\n");
  EXPECT_EQ(prompter.messages[0].icon, ui::Icon::Stop);

  prompter.clear();
  EXPECT_EQ(AcceptInputDate("01.02.10", prompter), "01/02/2010");
  EXPECT_TRUE(prompter.messages.empty());
}

TEST(DateInput, TodayIsAnAcceptableDate) {
  const std::string today = TodayDateText();
  EXPECT_EQ(ReadInputDate(today), today);
}

TEST(DateInput, MonthDayYearSwapsDayAndMonth) {
  EXPECT_EQ(MonthDayYear("05/03/2004"), "03/05/2004");
  EXPECT_EQ(MonthDayYear("31/12/2024"), "12/31/2024");
}

}  // namespace
}  // namespace veltra::comms
