#pragma once
// "Estrazione in formato TXT / TAB": the company, the ambit, the active-only
// choice and the day of the fleet situation export. Each list can be typed
// into while its "Tutte/Tutti" box is unchecked; "OK" checks the choices.

#include <QDialog>
#include <vector>

#include "comms/FleetExportChoice.h"

class QCheckBox;
class QComboBox;
class QLineEdit;

namespace veltra::app {

class TxtExportDialog : public QDialog {
  Q_OBJECT
 public:
  static constexpr const char* AllCompaniesName = "tutteAziende1004";
  static constexpr const char* CompanyListName = "azienda1005";
  static constexpr const char* AllAmbitsName = "tuttiAmbiti1006";
  static constexpr const char* AmbitListName = "ambito1007";
  static constexpr const char* ActiveOnlyName = "soloAttivi1008";
  static constexpr const char* DateEditName = "data1009";

  TxtExportDialog(db::DatabaseConnection& connection, QWidget* parent = nullptr);

  // After "OK": the choices, checked.
  const comms::FleetExportChoice& choice() const { return choice_; }

 private:
  struct CodeGroup {
    QCheckBox* all;
    QComboBox* list;
  };
  CodeGroup addCodeGroup(const char* title, const char* allText, const char* allName,
                         const char* listName, const std::vector<comms::CodeItem>& items);
  comms::FleetExportForm form() const;
  void acceptChoices();

  ui::Prompter& prompter_;
  std::vector<comms::CodeItem> companies_;
  std::vector<comms::CodeItem> ambits_;
  CodeGroup company_{};
  CodeGroup ambit_{};
  QCheckBox* activeOnly_ = nullptr;
  QLineEdit* date_ = nullptr;
  comms::FleetExportChoice choice_;
};

}  // namespace veltra::app
