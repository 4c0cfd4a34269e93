#pragma once
// report KIND --pdf FILE [options] [--portrait]: a printed report of the
// program written into a PDF file, A4 sideways unless --portrait. Each kind
// of report is one entry of the command's table: its name, its own options,
// and how its choices are checked and its rows loaded.

#include <string>

#include "cli/CliContext.h"
#include "reports/PrintReport.h"

namespace veltra::cli {

int reportCommand(CliContext& context);

// The report, paginated and drawn into a PDF file: A4 sideways unless portrait.
int writeReportPdf(CliContext& context, reports::PrintReport& report, const std::string& path,
                   bool portrait);

}  // namespace veltra::cli
