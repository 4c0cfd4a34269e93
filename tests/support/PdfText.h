#pragma once
// A PDF read back with poppler's tools, for tests that check what a report
// printed. The Windows test programs run under Wine, which starts Linux's
// tools as well when given the file's Linux name.

#include <string>

#include "support/RunProgram.h"

namespace veltra::testing {

// pdftotext -layout: the text, each page ended by a form feed.
ProgramRun pdfText(const std::string& pdf);
// pdfinfo: "Name: value" lines.
ProgramRun pdfInfo(const std::string& pdf);

}  // namespace veltra::testing
