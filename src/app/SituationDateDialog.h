#pragma once
// "Esportazione Situazione Mezzi Aziendali": the generation date of the
// company situation files, preset to today and checked on "OK".

#include <QDialog>
#include <string>

class QLineEdit;

namespace veltra::ui {
class Prompter;
}

namespace veltra::app {

class SituationDateDialog : public QDialog {
  Q_OBJECT
 public:
  static constexpr const char* DateEditName = "data1001";

  SituationDateDialog(ui::Prompter& prompter, QWidget* parent = nullptr);

  // After "OK": the date as "GG/MM/AAAA".
  const std::string& date() const { return date_; }

 private:
  void acceptDate();

  ui::Prompter& prompter_;
  QLineEdit* edit_;
  std::string date_;
};

}  // namespace veltra::app
