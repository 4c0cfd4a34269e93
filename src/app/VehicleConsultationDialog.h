#pragma once
// What the vehicle card and the history card dialogs share: the vehicle
// selector, the read-only card text and "OK", placed as the behaviour places
// them (in dialog units). On opening the selector lists the vehicles of bus
// with none selected and the text is empty; every choice in the selector
// composes the whole text again.

#include <QDialog>
#include <string>
#include <string_view>

#include "reports/VehicleCardText.h"
#include "reports/VehicleSelectorItems.h"

class QKeyEvent;
class QPlainTextEdit;
class QPushButton;

namespace veltra::db {
class DatabaseConnection;
}

namespace veltra::app {

class VehicleSelector;

class VehicleConsultationDialog : public QDialog {
  Q_OBJECT
 public:
  using ComposeCard = reports::ComposeCard;

  VehicleSelector& selector() const { return *selector_; }
  QPlainTextEdit& cardText() const { return *text_; }
  QPushButton& okButton() const { return *ok_; }

 protected:
  VehicleConsultationDialog(db::DatabaseConnection& connection, const QString& title,
                            reports::SelectorFor card, ComposeCard compose, QWidget* parent);
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void placeControls();
  void composeSelected();

  db::DatabaseConnection& connection_;
  ComposeCard compose_;
  VehicleSelector* selector_;
  QPlainTextEdit* text_;
  QPushButton* ok_;
};

}  // namespace veltra::app
