#include <gtest/gtest.h>

#include "comms/CodeChoice.h"

namespace veltra::comms {
namespace {

const std::vector<CodeItem> Companies = {
    {12, "0012 - Alfa Trasporti"},
    {3, "0003 - Beta Viaggi"},
    {12345, "12345 - Grande Consorzio"},
};

TEST(TypedCode, ATypedNumberNamesTheListedCode) {
  EXPECT_EQ(TypedCode("12", Companies), 12);
  EXPECT_EQ(TypedCode("0012", Companies), 12);
  EXPECT_EQ(TypedCode("3", Companies), 3);
  // What the list itself puts in the edit when an item is picked.
  EXPECT_EQ(TypedCode("0012 - Alfa Trasporti", Companies), 12);
  EXPECT_EQ(TypedCode("0003 - anything after the code", Companies), 3);
}

TEST(TypedCode, RefusesNonDigitsAmongTheFirstFourCharacters) {
  EXPECT_EQ(TypedCode("12a", Companies), std::nullopt);
  EXPECT_EQ(TypedCode(" 12", Companies), std::nullopt);
  EXPECT_EQ(TypedCode("-3", Companies), std::nullopt);
  EXPECT_EQ(TypedCode("Alfa", Companies), std::nullopt);
}

TEST(TypedCode, AnEmptyTextIsCodeZeroWhenTheListHoldsIt) {
  EXPECT_EQ(TypedCode("", Companies), std::nullopt);
  auto withPlaceholder = Companies;
  withPlaceholder.push_back({0, "0000 - *** azienda non assegnata ***"});
  EXPECT_EQ(TypedCode("", withPlaceholder), 0);
}

TEST(TypedCode, RefusesCodesThatAreNotListed) {
  EXPECT_EQ(TypedCode("7", Companies), std::nullopt);
  EXPECT_EQ(TypedCode("120", Companies), std::nullopt);
  EXPECT_EQ(TypedCode("12", {}), std::nullopt);
  // Four digits are read: 1234 is not company 12345.
  EXPECT_EQ(TypedCode("1234", Companies), std::nullopt);
}

TEST(ItemCode, ReadsTheCodeAtTheStartOfAnItem) {
  EXPECT_EQ(ItemCode("0012 - Alfa Trasporti"), 12);
  EXPECT_EQ(ItemCode("0000 - *** azienda non assegnata ***"), 0);
  EXPECT_EQ(CodeItemText(7, "Gamma"), "0007 - Gamma");
  EXPECT_EQ(ItemCode(CodeItemText(203, "Ultima")), 203);
}

}  // namespace
}  // namespace veltra::comms
