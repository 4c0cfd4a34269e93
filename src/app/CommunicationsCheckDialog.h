#pragma once
// "Verifica Comunicazioni Aziendali": the companies under observation, whose
// marks it writes to the database the moment they are clicked (so they stay
// even when the dialog is cancelled), the period of the verification and
// preview or printer.

#include <QDialog>

#include "app/PrintTypeGroup.h"
#include "reports/CommunicationsCheckChoice.h"

class QItemSelection;
class QLineEdit;
class QListWidget;
class QRadioButton;

namespace veltra::db {
class DatabaseConnection;
}
namespace veltra::ui {
class Prompter;
}

namespace veltra::app {

class CommunicationsCheckDialog : public QDialog {
  Q_OBJECT
 public:
  // prompter: where "OK" shows why the period is refused.
  CommunicationsCheckDialog(db::DatabaseConnection& connection, ui::Prompter& prompter,
                            QWidget* parent = nullptr);

  // What "OK" accepted.
  const reports::CheckPeriod& period() const { return period_; }
  bool previewChosen() const { return previewChosen_; }

  QListWidget& companies() const { return *companies_; }
  QLineEdit& start() const { return *start_; }
  QLineEdit& end() const { return *end_; }
  QRadioButton& preview() const { return *printType_.preview; }
  QRadioButton& print() const { return *printType_.print; }

  void accept() override;

 private:
  QWidget* periodGroup();
  void fillCompanies();
  // The marks of the companies whose selection the user changed.
  void toggleMarks(const QItemSelection& selected, const QItemSelection& deselected);

  db::DatabaseConnection& connection_;
  ui::Prompter& prompter_;
  reports::CheckPeriod period_;
  bool previewChosen_ = true;
  QListWidget* companies_ = nullptr;
  QLineEdit* start_ = nullptr;
  QLineEdit* end_ = nullptr;
  PrintTypeGroup printType_;
};

}  // namespace veltra::app
