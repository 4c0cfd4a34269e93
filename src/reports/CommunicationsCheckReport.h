#pragma once
// The verification of the communications: for every company under
// observation, by name, each communication received in the period with the
// number of vehicles it carried, or one line saying that none arrived.

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "db/DatabaseConnection.h"
#include "db/QueryCursor.h"
#include "reports/CommunicationsCheckChoice.h"
#include "reports/PrintReport.h"
#include "ui/Prompter.h"

namespace veltra::reports {

inline constexpr std::string_view NotReceivedText = "***** COMUNICAZIONE NON PERVENUTA *****";

struct CheckedCommunication {
  std::string date;  // "GG/MM/AAAA"
  int elements = 0;  // its rows in storia
};

struct CheckedCompany {
  std::int32_t code = 0;
  std::string name;
  std::vector<CheckedCommunication> communications;
};

class CommunicationsCheckReport : public PrintReport {
 public:
  explicit CommunicationsCheckReport(CheckPeriod period,
                                     std::time_t createdAt = std::time(nullptr));

  // The marked companies with their communications of the period and their
  // counts, replacing any loaded before. False when reading failed (the
  // failure was shown): the counts may then be short and are not fit to print.
  bool load(db::DatabaseConnection& connection, ui::Prompter& prompter);

  // One row per communication, one for a company without any.
  std::size_t rowCount() const override { return rows_.size(); }

 protected:
  std::vector<std::string> cells(std::size_t row) const override;
  HeaderLines headerLines(std::size_t firstRow) const override;

 private:
  // A printed row: its company, and its communication unless it has none.
  struct Row {
    std::size_t company;
    std::optional<std::size_t> communication;
  };

  bool loadCompanies(db::DatabaseConnection& connection);
  bool loadCommunications(db::DatabaseConnection& connection);
  bool countElements(db::DatabaseConnection& connection);
  CheckedCompany* companyOf(std::int32_t code);
  // The company and date of the table's rows in the period, by company and date.
  void selectPeriodRows(db::QueryCursor& query, const char* table) const;
  void buildRows();

  CheckPeriod period_;
  std::vector<CheckedCompany> companies_;
  std::vector<Row> rows_;
};

}  // namespace veltra::reports
