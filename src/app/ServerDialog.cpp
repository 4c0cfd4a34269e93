#include "app/ServerDialog.h"

#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "app/DialogButtons.h"
#include "db/engine/EngineDatabase.h"

namespace veltra::app {

ServerDialog::ServerDialog(QWidget* parent)
    : QDialog(parent),
      host_(new QLineEdit(QStringLiteral("localhost"), this)),
      port_(new QSpinBox(this)),
      database_(new QLineEdit(this)),
      user_(new QLineEdit(this)) {
  setWindowTitle(QStringLiteral("Database su server"));
  auto* layout = new QVBoxLayout(this);
  auto* form = new QFormLayout;
  layout->addLayout(form);
  port_->setRange(1, 65535);
  port_->setValue(5432);  // PostgreSQL's own
  addField(*form, QStringLiteral("&Server:"), host_, HostEditName);
  addField(*form, QStringLiteral("&Porta:"), port_, PortEditName);
  addField(*form, QStringLiteral("&Database:"), database_, DatabaseEditName);
  addField(*form, QStringLiteral("&Utente:"), user_, UserEditName);
  // Without a user the server's client uses the name of the one logged in.
  user_->setPlaceholderText(QStringLiteral("(l'utente del computer)"));
  host_->setMinimumWidth(fontMetrics().averageCharWidth() * 32);
  ok_ = addDialogButtons(*this, *layout, true).ok;
  connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
  connect(host_, &QLineEdit::textChanged, this, &ServerDialog::updateOk);
  connect(database_, &QLineEdit::textChanged, this, &ServerDialog::updateOk);
  updateOk();
  database_->setFocus();
}

void ServerDialog::addField(QFormLayout& form, const QString& label, QWidget* field,
                            const char* name) {
  field->setObjectName(QString::fromLatin1(name));
  form.addRow(label, field);
}

// A server and a database are needed; port and user have their defaults.
void ServerDialog::updateOk() {
  ok_->setEnabled(!host_->text().trimmed().isEmpty() && !database_->text().trimmed().isEmpty());
}

ServerDialog::Fields ServerDialog::fields() const {
  return {host_->text().trimmed(), port_->value(), database_->text().trimmed(),
          user_->text().trimmed()};
}

void ServerDialog::setFields(const Fields& fields) {
  if (!fields.host.isEmpty()) host_->setText(fields.host);
  if (fields.port > 0) port_->setValue(fields.port);
  database_->setText(fields.database);
  user_->setText(fields.user);
}

std::string ServerDialog::uri() const {
  const Fields chosen = fields();
  return db::engine::EngineDatabase::serverLocator(chosen.host.toStdString(), chosen.port,
                                                   chosen.database.toStdString(),
                                                   chosen.user.toStdString());
}

}  // namespace veltra::app
