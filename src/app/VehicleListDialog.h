#pragma once
// The selection dialog of the vehicle lists: one company or all, one ambit or
// all, preview or printer. One class for the lists by company and by ambit and
// for the financing list; what it offers and how "OK" checks it are the core's.

#include <QDialog>
#include <vector>

#include "app/PrintTypeGroup.h"
#include "comms/CodeChoice.h"
#include "reports/VehicleListChoice.h"

class QCheckBox;
class QComboBox;
class QRadioButton;

namespace veltra::db {
class DatabaseConnection;
}
namespace veltra::ui {
class Prompter;
}

namespace veltra::app {

class VehicleListDialog : public QDialog {
  Q_OBJECT
 public:
  // prompter: where "OK" shows why a choice is refused.
  VehicleListDialog(reports::VehicleListDialog use, db::DatabaseConnection& connection,
                    ui::Prompter& prompter, QWidget* parent = nullptr);

  // What "OK" accepted.
  const reports::VehicleListChoice& choice() const { return choice_; }

  QCheckBox& allCompanies() const { return *allCompanies_; }
  QComboBox& company() const { return *company_; }
  QCheckBox& allAmbits() const { return *allAmbits_; }
  QComboBox& ambit() const { return *ambit_; }
  QRadioButton& preview() const { return *printType_.preview; }
  QRadioButton& print() const { return *printType_.print; }

  void accept() override;

 private:
  QWidget* codeGroup(const char* title, const char* allText, QCheckBox*& all, QComboBox*& combo,
                     const std::vector<comms::CodeItem>& items);
  reports::VehicleListForm form() const;

  ui::Prompter& prompter_;
  std::vector<comms::CodeItem> companies_;
  std::vector<comms::CodeItem> ambits_;
  reports::VehicleListChoice choice_;
  QCheckBox* allCompanies_ = nullptr;
  QComboBox* company_ = nullptr;
  QCheckBox* allAmbits_ = nullptr;
  QComboBox* ambit_ = nullptr;
  PrintTypeGroup printType_;
};

}  // namespace veltra::app
