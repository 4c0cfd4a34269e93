// The vehicle selector of both card dialogs: its items, the key read back
// from an item, and the item a typed prefix finds.

#include <gtest/gtest.h>

#include "db/engine/EngineDatabase.h"
#include "reports/VehicleCardRegister.h"
#include "reports/VehicleCardText.h"
#include "reports/VehicleHistoryText.h"
#include "reports/VehicleSelectorItems.h"

namespace veltra::testing {
namespace {

using reports::SelectorFor;
using reports::VehicleSelectorItem;

std::vector<std::string> texts(const std::vector<VehicleSelectorItem>& items) {
  std::vector<std::string> result;
  for (const auto& item : items) result.push_back(item.text);
  return result;
}

class VehicleCardSelectorTest : public VehicleCardRegisterTest {};

INSTANTIATE_TEST_SUITE_P(Engines, VehicleCardSelectorTest,
                         ::testing::ValuesIn(testing::testEngines()), testing::engineName);

TEST_P(VehicleCardSelectorTest, OneItemPerVehicleOfBusByPlate) {
  const std::vector<std::string> expected = {
      "      (ZFA0000000000002)",  // the blank plate
      "CC333CC      (FIAT(A)",           "EF456GH      (ZFA0000000000001)",
      "OR888OR      (ZFA0000000000004)", "QU555QU      (ZFA0000000000005)",
  };
  EXPECT_EQ(texts(reports::VehicleSelectorItems(*connection, SelectorFor::VehicleCard)), expected);
  // Grouped by plate and chassis, the history's query lists the same vehicles
  // of bus, also the one without history rows.
  EXPECT_EQ(texts(reports::VehicleSelectorItems(*connection, SelectorFor::HistoryCard)), expected);
  EXPECT_TRUE(prompter.messages.empty());
}

TEST_P(VehicleCardSelectorTest, ItemsKeepPlateAndChassisApart) {
  const auto items = reports::VehicleSelectorItems(*connection, SelectorFor::VehicleCard);
  ASSERT_EQ(items.size(), 5u);
  EXPECT_EQ(items[0], (VehicleSelectorItem{"      (ZFA0000000000002)", "", BlankPlateChassis}));
  EXPECT_EQ(items[1], (VehicleSelectorItem{"CC333CC      (FIAT(A)", "CC333CC", ParenChassis}));
}

TEST_P(VehicleCardSelectorTest, AnEmptyRegisterHasNoItems) {
  ASSERT_TRUE(connection->EngineDatabase()->execute("DELETE FROM storia; DELETE FROM bus"));
  EXPECT_TRUE(reports::VehicleSelectorItems(*connection, SelectorFor::VehicleCard).empty());
  EXPECT_TRUE(reports::VehicleSelectorItems(*connection, SelectorFor::HistoryCard).empty());
}

TEST(VehicleSelectorItemText, SixBlanksAndTheChassisInParentheses) {
  EXPECT_EQ(reports::SelectorItemText("AB123CD", "ZFA1"), "AB123CD      (ZFA1)");
  EXPECT_EQ(reports::SelectorItemText("", "ZFA1"), "      (ZFA1)");
}

TEST(ChassisKeyOfItem, TheTextAfterTheLastParenthesisWithoutTheClosingOne) {
  EXPECT_EQ(reports::ChassisKeyOfItem("AB123CD      (ZFA1)"), "ZFA1");
  EXPECT_EQ(reports::ChassisKeyOfItem("      (ZFA1)"), "ZFA1");
  EXPECT_EQ(reports::ChassisKeyOfItem("CC333CC      (FIAT(A)"), "A");
  EXPECT_EQ(reports::ChassisKeyOfItem("X      (()"), "");
}

TEST_P(VehicleCardSelectorTest, AChassisWithAParenthesisGivesOnlyItsLastPartAsKey) {
  // As the behaviour fixes it: the item of FIAT(A names the key "A", which
  // bus does not hold.
  const auto items = reports::VehicleSelectorItems(*connection, SelectorFor::VehicleCard);
  const std::string key = reports::ChassisKeyOfItem(items[1].text);
  EXPECT_EQ(key, "A");
  EXPECT_EQ(reports::VehicleCardText(*connection, key), "\r\n\r\nInformazioni non disponibili");
  EXPECT_EQ(reports::VehicleHistoryText(*connection, key), "Telaio: A\r\n");
}

TEST(FirstItemStartingWith, PlateOrChassisPrefixIgnoringCase) {
  const std::vector<VehicleSelectorItem> items = {
      {"      (ZFA2)", "", "ZFA2"},
      {"AB123      (WEB1)", "AB123", "WEB1"},
      {"AB200      (ZFA3)", "AB200", "ZFA3"},
      {"ZF999      (XYZ)", "ZF999", "XYZ"},
  };
  EXPECT_EQ(reports::FirstItemStartingWith(items, "ab"), 1u);
  EXPECT_EQ(reports::FirstItemStartingWith(items, "AB2"), 2u);
  EXPECT_EQ(reports::FirstItemStartingWith(items, "web"), 1u);
  EXPECT_EQ(reports::FirstItemStartingWith(items, "zf"), 0u) << "the chassis ZFA2 comes first";
  EXPECT_EQ(reports::FirstItemStartingWith(items, "ZF9"), 3u);
  EXPECT_EQ(reports::FirstItemStartingWith(items, "ab1234"), std::nullopt);
  EXPECT_EQ(reports::FirstItemStartingWith(items, "("), std::nullopt)
      << "the shown text is not searched";
  EXPECT_EQ(reports::FirstItemStartingWith(items, ""), std::nullopt);
  EXPECT_EQ(reports::FirstItemStartingWith({}, "AB"), std::nullopt);
}

}  // namespace
}  // namespace veltra::testing
