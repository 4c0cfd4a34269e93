#pragma once
// "Database su server": where the office's register lives on a PostgreSQL
// server (server, port, database, user), composed into the connection URI
// the program opens and keeps in its settings. No password is ever asked
// here nor put in the URI: the server's client reads it from ~/.pgpass, a
// service file or the environment.

#include <QDialog>
#include <string>

class QFormLayout;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace veltra::app {

class ServerDialog : public QDialog {
  Q_OBJECT
 public:
  static constexpr const char* HostEditName = "serverHost";
  static constexpr const char* PortEditName = "serverPort";
  static constexpr const char* DatabaseEditName = "serverDatabase";
  static constexpr const char* UserEditName = "serverUser";

  explicit ServerDialog(QWidget* parent = nullptr);

  // What the fields hold, to be offered again the next time.
  struct Fields {
    QString host;
    int port = 0;
    QString database;
    QString user;
  };
  Fields fields() const;
  // Fields left empty (or port 0) keep what the dialog opens with.
  void setFields(const Fields& fields);

  // The URI of the fields as they stand: postgresql://user@host:port/database.
  std::string uri() const;

 private:
  void addField(QFormLayout& form, const QString& label, QWidget* field, const char* name);
  void updateOk();

  QLineEdit* host_;
  QSpinBox* port_;
  QLineEdit* database_;
  QLineEdit* user_;
  QPushButton* ok_ = nullptr;
};

}  // namespace veltra::app
