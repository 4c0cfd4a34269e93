#include "app/TxtExportDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/DialogButtons.h"
#include "comms/DateInput.h"

namespace veltra::app {

TxtExportDialog::TxtExportDialog(db::DatabaseConnection& connection, QWidget* parent)
    : QDialog(parent),
      prompter_(connection.Prompter()),
      companies_(comms::FleetCompanyItems(connection)),
      ambits_(comms::FleetAmbitItems(connection)) {
  setWindowTitle(QStringLiteral("Estrazione in formato TXT / TAB"));
  auto* layout = new QVBoxLayout(this);
  company_ = addCodeGroup("Selezione Azienda", "Tutte le Aziende", AllCompaniesName,
                          CompanyListName, companies_);
  ambit_ =
      addCodeGroup("Selezione Ambito", "Tutti gli Ambiti", AllAmbitsName, AmbitListName, ambits_);

  activeOnly_ = new QCheckBox(QStringLiteral("Solo mezzi attivi alla data di generazione"), this);
  activeOnly_->setObjectName(QString::fromLatin1(ActiveOnlyName));
  layout->addWidget(activeOnly_);

  auto* dateRow = new QHBoxLayout;
  auto* dateLabel = new QLabel(QStringLiteral("Situazione relativa al giorno"), this);
  date_ = new QLineEdit(QString::fromStdString(comms::TodayDateText()), this);
  date_->setObjectName(QString::fromLatin1(DateEditName));
  date_->setMaxLength(10);
  date_->setMaximumWidth(date_->fontMetrics().horizontalAdvance(QStringLiteral("00/00/0000")) * 3 /
                         2);
  dateLabel->setBuddy(date_);
  dateRow->addWidget(dateLabel);
  dateRow->addWidget(date_);
  dateRow->addStretch();
  layout->addLayout(dateRow);

  const DialogButtons buttons = addDialogButtons(*this, *layout, true);
  connect(buttons.ok, &QPushButton::clicked, this, &TxtExportDialog::acceptChoices);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

// A group frame holding the "all" box and the list it switches off.
TxtExportDialog::CodeGroup TxtExportDialog::addCodeGroup(
    const char* title, const char* allText, const char* allName, const char* listName,
    const std::vector<comms::CodeItem>& items) {
  auto* group = new QGroupBox(QString::fromUtf8(title), this);
  auto* inside = new QVBoxLayout(group);
  auto* all = new QCheckBox(QString::fromUtf8(allText), group);
  all->setObjectName(QString::fromLatin1(allName));
  all->setChecked(true);
  auto* list = new QComboBox(group);
  list->setObjectName(QString::fromLatin1(listName));
  list->setEditable(true);
  list->setInsertPolicy(QComboBox::NoInsert);
  for (const comms::CodeItem& item : items) list->addItem(QString::fromStdString(item.text));
  list->setCurrentIndex(-1);
  list->setMinimumContentsLength(40);
  list->setEnabled(false);
  connect(all, &QCheckBox::toggled, list, [list](bool checked) { list->setEnabled(!checked); });
  inside->addWidget(all);
  inside->addWidget(list);
  layout()->addWidget(group);
  return {all, list};
}

comms::FleetExportForm TxtExportDialog::form() const {
  return {.allCompanies = company_.all->isChecked(),
          .companyText = company_.list->currentText().toStdString(),
          .allAmbits = ambit_.all->isChecked(),
          .ambitText = ambit_.list->currentText().toStdString(),
          .activeOnly = activeOnly_->isChecked(),
          .dateText = date_->text().toStdString()};
}

void TxtExportDialog::acceptChoices() {
  const auto choice = comms::AcceptFleetExportForm(form(), companies_, ambits_, prompter_);
  if (!choice) return;
  choice_ = *choice;
  accept();
}

}  // namespace veltra::app
