#include "app/CommunicationsStatusDialog.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/DialogButtons.h"
#include "comms/CommunicationsStatus.h"

namespace veltra::app {

namespace {

QListWidget* listBox(const char* name, QWidget* parent) {
  auto* list = new QListWidget(parent);
  list->setObjectName(QString::fromLatin1(name));
  list->setSelectionMode(QAbstractItemView::SingleSelection);
  return list;
}

QString selectedText(const QListWidget& list) {
  const QList<QListWidgetItem*> selected = list.selectedItems();
  return selected.isEmpty() ? QString() : selected.front()->text();
}

}  // namespace

CommunicationsStatusDialog::CommunicationsStatusDialog(db::DatabaseConnection& connection,
                                                       QWidget* parent)
    : QDialog(parent),
      connection_(connection),
      companies_(listBox(CompanyListName, this)),
      dates_(listBox(DateListName, this)) {
  setWindowTitle(QStringLiteral("Situazione Comunicazioni Aziendali"));
  auto* layout = new QVBoxLayout(this);
  auto* companyLabel = new QLabel(QStringLiteral("Azienda"), this);
  companyLabel->setBuddy(companies_);
  layout->addWidget(companyLabel);
  layout->addWidget(companies_, 3);
  auto* dateLabel = new QLabel(QStringLiteral("Comunicazioni"), this);
  dateLabel->setBuddy(dates_);
  layout->addWidget(dateLabel);
  layout->addWidget(dates_, 2);
  const DialogButtons buttons = addDialogButtons(*this, *layout, false);
  connect(buttons.ok, &QPushButton::clicked, this, &QDialog::accept);
  companies_->setMinimumWidth(fontMetrics().averageCharWidth() * 50);

  for (const comms::CodeItem& item : comms::CommunicatingCompanies(connection_))
    companies_->addItem(QString::fromStdString(item.text));
  connect(companies_, &QListWidget::itemSelectionChanged, this,
          &CommunicationsStatusDialog::listDates);
  connect(dates_, &QListWidget::itemSelectionChanged, this,
          &CommunicationsStatusDialog::showVerdict);
}

int CommunicationsStatusDialog::selectedCompany() const {
  return comms::ItemCode(selectedText(*companies_).toStdString());
}

void CommunicationsStatusDialog::listDates() {
  dates_->clear();
  if (companies_->selectedItems().isEmpty()) return;
  for (const std::string& date : comms::CommunicationDates(connection_, selectedCompany()))
    dates_->addItem(QString::fromStdString(date));
}

void CommunicationsStatusDialog::showVerdict() {
  const QString date = selectedText(*dates_);
  if (date.isEmpty()) return;
  comms::ShowCommunicationVerdict(connection_, selectedCompany(), date.toStdString());
}

}  // namespace veltra::app
