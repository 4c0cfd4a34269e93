#include "app/VehicleSelector.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListView>
#include <QStringList>
#include <QStringListModel>
#include <QVBoxLayout>

namespace veltra::app {

VehicleSelector::VehicleSelector(QWidget* parent)
    : QWidget(parent),
      edit_(new QLineEdit(this)),
      list_(new QListView(this)),
      model_(new QStringListModel(this)) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(edit_);
  layout->addWidget(list_, 1);
  list_->setModel(model_);
  list_->setSelectionMode(QAbstractItemView::SingleSelection);
  list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  // Every row is one line of the same font: the view need not measure 50,000 of them.
  list_->setUniformItemSizes(true);
  list_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setFocusProxy(edit_);
  edit_->installEventFilter(this);
  list_->installEventFilter(this);
  connect(edit_, &QLineEdit::textEdited, this, &VehicleSelector::findTyped);
  connect(list_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
          &VehicleSelector::onSelectionChanged);
}

void VehicleSelector::setItems(std::vector<reports::VehicleSelectorItem> items) {
  items_ = std::move(items);
  QStringList texts;
  texts.reserve(static_cast<qsizetype>(items_.size()));
  for (const auto& item : items_) texts.append(QString::fromStdString(item.text));
  quiet_ = true;
  model_->setStringList(texts);
  list_->selectionModel()->clear();
  quiet_ = false;
  edit_->clear();
}

int VehicleSelector::selectedRow() const {
  const QModelIndexList selected = list_->selectionModel()->selectedIndexes();
  return selected.isEmpty() ? -1 : selected.front().row();
}

std::optional<std::string> VehicleSelector::selectedText() const {
  const int row = selectedRow();
  if (row < 0) return std::nullopt;
  return items_[static_cast<std::size_t>(row)].text;
}

// Typing only finds: the card follows when the user chooses with Enter or
// the arrow keys, not at every letter.
void VehicleSelector::findTyped(const QString& typed) {
  const auto row = reports::FirstItemStartingWith(items_, typed.toStdString());
  selectQuietly(row ? static_cast<int>(*row) : -1);
  if (row) list_->scrollTo(model_->index(static_cast<int>(*row)), QAbstractItemView::PositionAtTop);
}

void VehicleSelector::selectQuietly(int row) {
  quiet_ = true;
  if (row < 0)
    list_->selectionModel()->clear();
  else
    list_->selectionModel()->setCurrentIndex(model_->index(row),
                                             QItemSelectionModel::ClearAndSelect);
  quiet_ = false;
}

void VehicleSelector::showSelectionInField() {
  if (const auto text = selectedText()) edit_->setText(QString::fromStdString(*text));
}

void VehicleSelector::onSelectionChanged() {
  if (quiet_) return;
  showSelectionInField();
  emit selectionChosen();
}

bool VehicleSelector::handleFieldKey(int key) {
  switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      showSelectionInField();
      edit_->selectAll();
      emit selectionChosen();
      return true;
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown: {
      // The list moves on from the item typing found, as if it had the focus.
      QKeyEvent moved(QEvent::KeyPress, key, Qt::NoModifier);
      QCoreApplication::sendEvent(list_, &moved);
      edit_->selectAll();
      return true;
    }
    default:
      return false;
  }
}

bool VehicleSelector::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress) return QWidget::eventFilter(watched, event);
  const int key = static_cast<QKeyEvent*>(event)->key();
  if (watched == edit_) return handleFieldKey(key);
  // Enter in the list chooses again instead of closing the dialog.
  if (watched == list_ && (key == Qt::Key_Return || key == Qt::Key_Enter)) {
    emit selectionChosen();
    return true;
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace veltra::app
