#pragma once
// A report written whole into a PDF file: paginated for the paper, then
// every page drawn, through the same canvas as the preview and the printer.
// The command line writes its reports this way, and so does the preview's
// "Salva PDF...".

#include <QPageLayout>
#include <string>

#include "reports/PrintReport.h"
#include "ui/Prompter.h"

namespace veltra::qt {

enum class PdfPaper { A4Landscape, A4Portrait };

// False, after saying so (exclamation box), when the file could not be
// written; a file begun and not finished is removed.
bool WritePdfReport(reports::PrintReport& report, const std::string& path, PdfPaper paper,
                    ui::Prompter& prompter);

// The paper of a PDF report: A4 with a band at the edge that printers do not reach.
QPageLayout PaperLayout(PdfPaper paper);

// The pages the report takes on the paper of that layout, at that resolution.
int CountReportPages(reports::PrintReport& report, const QPageLayout& layout, int resolution);

}  // namespace veltra::qt
