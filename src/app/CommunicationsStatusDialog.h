#pragma once
// "Situazione Comunicazioni Aziendali": the companies that have communicated,
// the dates of the chosen company's communications, and for a chosen date
// whether it carried vehicles. It only reads the database.

#include <QDialog>

class QListWidget;

namespace veltra::db {
class DatabaseConnection;
}

namespace veltra::app {

class CommunicationsStatusDialog : public QDialog {
  Q_OBJECT
 public:
  static constexpr const char* CompanyListName = "aziende1002";
  static constexpr const char* DateListName = "comunicazioni1003";

  CommunicationsStatusDialog(db::DatabaseConnection& connection, QWidget* parent = nullptr);

  QListWidget& companies() const { return *companies_; }
  QListWidget& dates() const { return *dates_; }

 private:
  void listDates();
  void showVerdict();
  int selectedCompany() const;

  db::DatabaseConnection& connection_;
  QListWidget* companies_;
  QListWidget* dates_;
};

}  // namespace veltra::app
