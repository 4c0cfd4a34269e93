#pragma once
// A report written whole into a PDF file: paginated for the paper, then
// every page drawn, through the same canvas as the preview and the printer.
// The command line writes its reports this way, and so does the preview's
// "Salva PDF...". A long report's second half is painted at once on a writer
// of its own, and the two documents joined into the one file.

#include <QPageLayout>
#include <functional>
#include <string>

#include "reports/PrintReport.h"
#include "ui/Prompter.h"

namespace veltra::qt {

enum class PdfPaper { A4Landscape, A4Portrait };

// Told before each page is drawn, with its number and the page count; false
// stops the writing.
using PdfPageProgress = std::function<bool(int page, int pageCount)>;

// The file is made whole first and put in place as the exports put theirs:
// the path then holds its old file or the complete new one, never a part.
// False, after saying so (exclamation box), when it could not be written;
// false and silent when progress stopped it, with the old file untouched.
// While it works the prompter keeps the program responsive.
bool WritePdfReport(reports::PrintReport& report, const std::string& path, PdfPaper paper,
                    ui::Prompter& prompter, const PdfPageProgress& progress = {});

// The paper of a PDF report: A4 with a band at the edge that printers do not reach.
QPageLayout PaperLayout(PdfPaper paper);

// The pages the report takes on the paper of that layout, at that resolution.
int CountReportPages(reports::PrintReport& report, const QPageLayout& layout, int resolution);

}  // namespace veltra::qt
