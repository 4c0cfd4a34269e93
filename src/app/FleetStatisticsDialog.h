#pragma once
// "Statistiche Parco": the day of the figures, the day to compare them with
// (when its box is checked), one company or all, the grouping by company or
// by ambit, and the print type. "OK" checks the choices.

#include <QDialog>
#include <vector>

#include "app/PrintTypeGroup.h"
#include "comms/FleetStatistics.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QRadioButton;

namespace veltra::app {

class FleetStatisticsDialog : public QDialog {
  Q_OBJECT
 public:
  static constexpr const char* DateEditName = "data";
  static constexpr const char* CompareBoxName = "confronta";
  static constexpr const char* CompareEditName = "dataConfronto";
  static constexpr const char* AllCompaniesName = "tutteAziende";
  static constexpr const char* CompanyListName = "azienda";
  static constexpr const char* ByAmbitName = "perAmbito";

  FleetStatisticsDialog(db::DatabaseConnection& connection, QWidget* parent = nullptr);

  // After "OK": the choices, checked.
  const comms::FleetStatisticsChoice& choice() const { return choice_; }
  bool previewChosen() const { return previewChosen_; }

 private:
  QLineEdit* addDateEdit(const char* name);
  void addCompanyGroup();
  void addGroupingGroup();
  comms::FleetStatisticsForm form() const;
  void acceptChoices();

  ui::Prompter& prompter_;
  std::vector<comms::CodeItem> companies_;
  QLineEdit* date_ = nullptr;
  QCheckBox* compare_ = nullptr;
  QLineEdit* compareDate_ = nullptr;
  QCheckBox* allCompanies_ = nullptr;
  QComboBox* company_ = nullptr;
  QRadioButton* byAmbit_ = nullptr;
  PrintTypeGroup printType_;
  comms::FleetStatisticsChoice choice_;
  bool previewChosen_ = true;
};

}  // namespace veltra::app
