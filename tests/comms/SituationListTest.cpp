#include <gtest/gtest.h>

#include <set>
#include <string_view>

#include "comms/SituationList.h"
#include "comms/VehicleFields.h"

namespace veltra::comms {
namespace {

// A vehicle whose every field differs from any filling's default.
VehicleData everyFieldSet() {
  VehicleData vehicle;
  for (const VehicleField& field : VehicleFields) {
    if (field.kind == FieldKind::Text)
      VehicleValue<std::string>(field, vehicle) = "x" + std::string(field.name);
    else if (field.kind == FieldKind::Whole || field.kind == FieldKind::Flag)
      VehicleValue<std::int32_t>(field, vehicle) = 1;
    else
      VehicleValue<double>(field, vehicle) = 2.5;
  }
  return vehicle;
}

TEST(SituationList, FillingsKeepTheirFieldsAndDefaultTheRest) {
  VehicleData financingDefaults;
  financingDefaults.ambito = financingDefaults.sedere = -1;
  financingDefaults.piedi = financingDefaults.handicap = -1;
  financingDefaults.lung = financingDefaults.altezza = -1.0;
  const struct {
    void (*fill)(SituationRow&);
    std::set<std::string_view> kept;
    const char* ambitName;
    VehicleData defaults;
  } fillings[] = {
      {KeepFinancingFields,
       {"prop", "libretto", "targa", "tipo", "dtimm", "prezzo", "contrib", "atto", "contrib2",
        "datini", "datfin", "datrad"},
       "",
       financingDefaults},
  };
  const SituationRow supplied{"T1", "02/02/2002", 4, "Azienda", "Ambito", everyFieldSet()};
  for (const auto& filling : fillings) {
    SituationRow row = supplied;
    filling.fill(row);
    EXPECT_EQ(row.telaio, "T1");
    EXPECT_EQ(row.data, "02/02/2002");
    EXPECT_EQ(row.azienda, 4);
    EXPECT_EQ(row.companyName, "Azienda");
    EXPECT_EQ(row.ambitName, filling.ambitName);
    for (const VehicleField& field : VehicleFields) {
      const VehicleData& expected =
          filling.kept.contains(field.name) ? supplied.vehicle : filling.defaults;
      EXPECT_EQ(FileText(field, row.vehicle), FileText(field, expected)) << field.name;
    }
  }
}

}  // namespace
}  // namespace veltra::comms
