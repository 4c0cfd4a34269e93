#include "app/FleetStatisticsDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "app/DialogButtons.h"
#include "comms/DateInput.h"
#include "comms/FleetExportChoice.h"

namespace veltra::app {

FleetStatisticsDialog::FleetStatisticsDialog(db::DatabaseConnection& connection, QWidget* parent)
    : QDialog(parent),
      prompter_(connection.Prompter()),
      companies_(comms::FleetCompanyItems(connection)) {
  setWindowTitle(QStringLiteral("Statistiche Parco"));
  auto* layout = new QVBoxLayout(this);
  auto* dates = new QGridLayout;
  date_ = addDateEdit(DateEditName);
  date_->setText(QString::fromStdString(comms::TodayDateText()));
  auto* dateLabel = new QLabel(QStringLiteral("Situazione al &giorno"), this);
  dateLabel->setBuddy(date_);
  compare_ = new QCheckBox(QStringLiteral("C&onfronta con il giorno"), this);
  compare_->setObjectName(QString::fromLatin1(CompareBoxName));
  compareDate_ = addDateEdit(CompareEditName);
  compareDate_->setEnabled(false);
  connect(compare_, &QCheckBox::toggled, compareDate_, &QLineEdit::setEnabled);
  dates->addWidget(dateLabel, 0, 0);
  dates->addWidget(date_, 0, 1);
  dates->addWidget(compare_, 1, 0);
  dates->addWidget(compareDate_, 1, 1);
  dates->setColumnStretch(2, 1);
  layout->addLayout(dates);
  addCompanyGroup();
  addGroupingGroup();
  printType_ = makePrintTypeGroup(*this);
  layout->addWidget(printType_.group);
  const DialogButtons buttons = addDialogButtons(*this, *layout, true);
  connect(buttons.ok, &QPushButton::clicked, this, &FleetStatisticsDialog::acceptChoices);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

QLineEdit* FleetStatisticsDialog::addDateEdit(const char* name) {
  auto* edit = new QLineEdit(this);
  edit->setObjectName(QString::fromLatin1(name));
  edit->setMaxLength(10);
  edit->setMaximumWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("00/00/0000")) * 3 /
                        2);
  return edit;
}

void FleetStatisticsDialog::addCompanyGroup() {
  auto* group = new QGroupBox(QStringLiteral("Selezione Azienda"), this);
  auto* inside = new QVBoxLayout(group);
  allCompanies_ = new QCheckBox(QStringLiteral("Tutte le &Aziende"), group);
  allCompanies_->setObjectName(QString::fromLatin1(AllCompaniesName));
  allCompanies_->setChecked(true);
  company_ = new QComboBox(group);
  company_->setObjectName(QString::fromLatin1(CompanyListName));
  company_->setEditable(true);
  company_->setInsertPolicy(QComboBox::NoInsert);
  for (const comms::CodeItem& item : companies_)
    company_->addItem(QString::fromStdString(item.text));
  company_->setCurrentIndex(-1);
  company_->setMinimumContentsLength(40);
  company_->setEnabled(false);
  connect(allCompanies_, &QCheckBox::toggled, company_,
          [this](bool checked) { company_->setEnabled(!checked); });
  inside->addWidget(allCompanies_);
  inside->addWidget(company_);
  layout()->addWidget(group);
}

void FleetStatisticsDialog::addGroupingGroup() {
  auto* group = new QGroupBox(QStringLiteral("Raggruppamento"), this);
  auto* inside = new QHBoxLayout(group);
  auto* byCompany = new QRadioButton(QStringLiteral("Per a&zienda"), group);
  byAmbit_ = new QRadioButton(QStringLiteral("Per a&mbito"), group);
  byAmbit_->setObjectName(QString::fromLatin1(ByAmbitName));
  byCompany->setChecked(true);
  inside->addWidget(byCompany);
  inside->addWidget(byAmbit_);
  inside->addStretch();
  layout()->addWidget(group);
}

comms::FleetStatisticsForm FleetStatisticsDialog::form() const {
  return {.dateText = date_->text().toStdString(),
          .compare = compare_->isChecked(),
          .compareText = compareDate_->text().toStdString(),
          .allCompanies = allCompanies_->isChecked(),
          .companyText = company_->currentText().toStdString(),
          .grouping =
              byAmbit_->isChecked() ? comms::FleetGrouping::Ambit : comms::FleetGrouping::Company};
}

void FleetStatisticsDialog::acceptChoices() {
  const auto choice = comms::AcceptFleetStatisticsForm(form(), companies_, prompter_);
  if (!choice) return;
  choice_ = *choice;
  previewChosen_ = printType_.preview->isChecked();
  accept();
}

}  // namespace veltra::app
