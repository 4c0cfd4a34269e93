#include "app/VehicleListDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "app/DialogButtons.h"

namespace veltra::app {

VehicleListDialog::VehicleListDialog(reports::VehicleListDialog use,
                                     db::DatabaseConnection& connection, ui::Prompter& prompter,
                                     QWidget* parent)
    : QDialog(parent),
      prompter_(prompter),
      companies_(reports::VehicleListCompanyItems(connection)),
      ambits_(reports::VehicleListAmbitItems(connection)) {
  setWindowTitle(QString::fromUtf8(reports::VehicleListDialogTitle(use).data()));
  auto* column = new QVBoxLayout(this);
  keepTitleInSight(*this, *column);
  column->addWidget(
      codeGroup("Selezione Azienda", "Tutte le Aziende", allCompanies_, company_, companies_));
  column->addWidget(codeGroup("Selezione Ambito", "Tutti gli Ambiti", allAmbits_, ambit_, ambits_));
  printType_ = makePrintTypeGroup(*this);
  column->addWidget(printType_.group);
  auto* buttons = new QDialogButtonBox(this);
  QPushButton* ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
  buttons->addButton(QStringLiteral("Annulla"), QDialogButtonBox::RejectRole);
  ok->setDefault(true);
  connect(buttons, &QDialogButtonBox::accepted, this, &VehicleListDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &VehicleListDialog::reject);
  column->addWidget(buttons);
}

// A group box with its "all" check box over the list of codes, which is
// there to choose from only while the box is off.
QWidget* VehicleListDialog::codeGroup(const char* title, const char* allText, QCheckBox*& all,
                                      QComboBox*& combo,
                                      const std::vector<comms::CodeItem>& items) {
  auto* group = new QGroupBox(QString::fromUtf8(title), this);
  auto* layout = new QVBoxLayout(group);
  all = new QCheckBox(QString::fromUtf8(allText), group);
  combo = new QComboBox(group);
  combo->setEditable(true);
  combo->setInsertPolicy(QComboBox::NoInsert);
  for (const comms::CodeItem& item : items) combo->addItem(QString::fromStdString(item.text));
  combo->setCurrentIndex(-1);
  combo->setMinimumContentsLength(32);
  all->setChecked(true);
  combo->setEnabled(false);
  QComboBox* list = combo;
  connect(all, &QCheckBox::toggled, list, [list](bool checked) { list->setEnabled(!checked); });
  layout->addWidget(all);
  layout->addWidget(combo);
  return group;
}

reports::VehicleListForm VehicleListDialog::form() const {
  reports::VehicleListForm form;
  form.allCompanies = allCompanies_->isChecked();
  form.companyText = company_->currentText().toStdString();
  form.allAmbits = allAmbits_->isChecked();
  form.ambitText = ambit_->currentText().toStdString();
  form.preview = printType_.preview->isChecked();
  return form;
}

void VehicleListDialog::accept() {
  const auto accepted = reports::AcceptVehicleListForm(form(), companies_, ambits_, prompter_);
  if (!accepted) return;
  choice_ = *accepted;
  QDialog::accept();
}

}  // namespace veltra::app
