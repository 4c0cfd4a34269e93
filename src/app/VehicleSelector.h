#pragma once
// The vehicle selector of the two card dialogs, a combo box of the simple
// style: an edit field with the list always shown under it. A register holds
// tens of thousands of vehicles, so typing in the field selects the first
// item whose plate or chassis begins with what was typed; Enter or the arrow
// keys then choose it. The items keep the order and texts they were given.

#include <QWidget>
#include <optional>
#include <string>
#include <vector>

#include "reports/VehicleSelectorItems.h"

class QLineEdit;
class QListView;
class QStringListModel;

namespace veltra::app {

class VehicleSelector : public QWidget {
  Q_OBJECT
 public:
  explicit VehicleSelector(QWidget* parent = nullptr);

  // Replaces the items; none is selected.
  void setItems(std::vector<reports::VehicleSelectorItem> items);
  int count() const { return static_cast<int>(items_.size()); }
  // The selected item's text; none when no item is selected.
  std::optional<std::string> selectedText() const;
  int selectedRow() const;

  QLineEdit* edit() const { return edit_; }
  QListView* list() const { return list_; }

 signals:
  // The user chose the selection: clicked an item, moved with the arrow keys,
  // or pressed Enter in the field. The selection may be none.
  void selectionChosen();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void findTyped(const QString& typed);
  // Selects row (none when negative) without telling anybody.
  void selectQuietly(int row);
  void showSelectionInField();
  void onSelectionChanged();
  bool handleFieldKey(int key);

  std::vector<reports::VehicleSelectorItem> items_;
  QLineEdit* edit_;
  QListView* list_;
  QStringListModel* model_;
  bool quiet_ = false;
};

}  // namespace veltra::app
