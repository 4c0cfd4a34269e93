#include "app/CommunicationsCheckDialog.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QItemSelection>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <set>
#include <vector>

#include "app/DialogButtons.h"
#include "comms/DateInput.h"

namespace veltra::app {

namespace {

// The companies: a click or Space flips a mark, while typing a code or a name
// only moves to it. A list of several choices would otherwise flip the mark
// of every company the typed letters reach, and write it at once.
class CompanyList : public QListWidget {
 public:
  using QListWidget::QListWidget;

  void keyboardSearch(const QString& search) override {
    setSelectionMode(QAbstractItemView::NoSelection);
    QListWidget::keyboardSearch(search);
    setSelectionMode(QAbstractItemView::MultiSelection);
  }
};

QLineEdit* dateEdit(const std::string& text, QWidget* parent) {
  auto* edit = new QLineEdit(QString::fromStdString(text), parent);
  edit->setMaxLength(10);
  edit->setMinimumWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("00/00/00000")));
  return edit;
}

}  // namespace

CommunicationsCheckDialog::CommunicationsCheckDialog(db::DatabaseConnection& connection,
                                                     ui::Prompter& prompter, QWidget* parent)
    : QDialog(parent),
      connection_(connection),
      prompter_(prompter),
      companies_(new CompanyList(this)) {
  setWindowTitle(QStringLiteral("Verifica Comunicazioni Aziendali"));
  auto* layout = new QVBoxLayout(this);
  auto* label = new QLabel(QStringLiteral("Aziende"), this);
  label->setBuddy(companies_);
  layout->addWidget(label);
  layout->addWidget(companies_, 1);
  auto* choices = new QHBoxLayout;
  printType_ = makePrintTypeGroup(*this);
  choices->addWidget(printType_.group);
  choices->addWidget(periodGroup());
  layout->addLayout(choices);
  const DialogButtons buttons = addDialogButtons(*this, *layout, true);
  connect(buttons.ok, &QPushButton::clicked, this, &CommunicationsCheckDialog::accept);

  // Each click flips one company; a name of 40 letters shows whole.
  companies_->setSelectionMode(QAbstractItemView::MultiSelection);
  companies_->setMinimumSize(fontMetrics().averageCharWidth() * 56, fontMetrics().height() * 14);
  fillCompanies();
  connect(companies_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
          &CommunicationsCheckDialog::toggleMarks);
}

QWidget* CommunicationsCheckDialog::periodGroup() {
  auto* group = new QGroupBox(QStringLiteral("Comunicazioni pervenute"), this);
  auto* layout = new QGridLayout(group);
  const reports::CheckPeriod period = reports::DefaultCheckPeriod(comms::TodayDateText());
  start_ = dateEdit(period.start, group);
  end_ = dateEdit(period.end, group);
  auto* from = new QLabel(QStringLiteral("Dal"), group);
  auto* to = new QLabel(QStringLiteral("Al"), group);
  from->setBuddy(start_);
  to->setBuddy(end_);
  layout->addWidget(from, 0, 0);
  layout->addWidget(start_, 0, 1);
  layout->addWidget(to, 1, 0);
  layout->addWidget(end_, 1, 1);
  return group;
}

void CommunicationsCheckDialog::fillCompanies() {
  for (const reports::CompanyMark& mark : reports::CompanyMarks(connection_)) {
    auto* item = new QListWidgetItem(QString::fromStdString(mark.item.text), companies_);
    item->setData(Qt::UserRole, mark.item.code);
    item->setSelected(mark.marked);
  }
}

void CommunicationsCheckDialog::toggleMarks(const QItemSelection& selected,
                                            const QItemSelection& deselected) {
  std::set<int> rows;
  for (const QModelIndex& index : selected.indexes()) rows.insert(index.row());
  for (const QModelIndex& index : deselected.indexes()) rows.insert(index.row());
  // Selecting them all (Ctrl+A) or a range: one write, with the indicator.
  if (rows.size() > 1) prompter_.beginBusy(true);
  std::vector<std::int32_t> codes;
  for (int row : rows) codes.push_back(companies_->item(row)->data(Qt::UserRole).toInt());
  const auto marks = reports::ToggleCompanyMarks(connection_, codes);
  // The list then shows the marks the database holds: a write that failed
  // leaves them as they were, and so does a company no longer in the register.
  const QSignalBlocker quiet(companies_->selectionModel());
  auto mark = marks.begin();
  for (int row : rows) {
    QListWidgetItem* item = companies_->item(row);
    item->setSelected(mark->value_or(!item->isSelected()));
    ++mark;
  }
  companies_->viewport()->update();
}

void CommunicationsCheckDialog::accept() {
  const auto period = reports::AcceptCheckPeriod(start_->text().toStdString(),
                                                 end_->text().toStdString(), prompter_);
  if (!period) return;
  period_ = *period;
  previewChosen_ = printType_.preview->isChecked();
  QDialog::accept();
}

}  // namespace veltra::app
