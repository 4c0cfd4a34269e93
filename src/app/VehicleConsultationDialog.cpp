#include "app/VehicleConsultationDialog.h"

#include <QFontMetrics>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

#include "app/VehicleSelector.h"
#include "db/DatabaseConnection.h"
#include "reports/VehicleSelectorItems.h"

namespace veltra::app {

namespace {

// The behaviour's dialog units in pixels of the dialog's font: a quarter of
// the average character width across, an eighth of the line height down.
class DialogUnits {
 public:
  explicit DialogUnits(const QFontMetrics& metrics)
      : across_(metrics.averageCharWidth()), down_(metrics.height()) {}
  QSize size(int width, int height) const {
    return {(width * across_ + 2) / 4, (height * down_ + 4) / 8};
  }
  int down(int units) const { return (units * down_ + 4) / 8; }

 private:
  int across_;
  int down_;
};

QLabel* controlLabel(const char* text, const DialogUnits& units, QWidget* parent) {
  auto* label = new QLabel(QString::fromUtf8(text), parent);
  // The label stands level with the first line of its control, 3 units lower.
  label->setContentsMargins(0, units.down(3), 0, 0);
  label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  return label;
}

}  // namespace

VehicleConsultationDialog::VehicleConsultationDialog(db::DatabaseConnection& connection,
                                                     const QString& title,
                                                     reports::SelectorFor card, ComposeCard compose,
                                                     QWidget* parent)
    : QDialog(parent),
      connection_(connection),
      compose_(compose),
      selector_(new VehicleSelector(this)),
      text_(new QPlainTextEdit(this)),
      ok_(new QPushButton(QStringLiteral("OK"), this)) {
  setWindowTitle(title);
  text_->setReadOnly(true);
  text_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  text_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  ok_->setDefault(true);
  placeControls();
  connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
  connect(selector_, &VehicleSelector::selectionChosen, this,
          &VehicleConsultationDialog::composeSelected);
  selector_->setItems(reports::VehicleSelectorItems(connection_, card));
  selector_->setFocus();
}

// Labels on the left of their controls, "OK" centred below: the places of the
// behaviour, as a grid so that any font fits.
void VehicleConsultationDialog::placeControls() {
  const DialogUnits units(fontMetrics());
  auto* grid = new QGridLayout(this);
  grid->addWidget(controlLabel("Targa (Telaio)", units, this), 0, 0);
  grid->addWidget(selector_, 0, 1);
  grid->addWidget(controlLabel("Scheda Mezzo", units, this), 1, 0);
  grid->addWidget(text_, 1, 1);
  grid->addWidget(ok_, 2, 0, 1, 2, Qt::AlignHCenter);
  grid->setRowStretch(0, 60);
  grid->setRowStretch(1, 170);
  grid->setColumnStretch(1, 1);
  selector_->setMinimumSize(units.size(250, 60));
  text_->setMinimumSize(units.size(250, 170));
  ok_->setMinimumSize(units.size(50, 14));
}

// A register gone since the dialog opened (its server stopped, its file
// deleted) is said once, with the retry a server allows, instead of by every
// table the card reads; given up, the dialog closes.
void VehicleConsultationDialog::composeSelected() {
  if (!connection_.StillInPlace()) {
    reject();
    return;
  }
  const auto item = selector_->selectedText();
  const std::string text =
      item ? compose_(connection_, reports::ChassisKeyOfItem(*item)) : std::string();
  text_->setPlainText(QString::fromStdString(text));
}

// The card text takes Enter as the text's own key: it does not close the dialog.
void VehicleConsultationDialog::keyPressEvent(QKeyEvent* event) {
  const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
  if (enter && focusWidget() == text_) {
    event->accept();
    return;
  }
  QDialog::keyPressEvent(event);
}

}  // namespace veltra::app
