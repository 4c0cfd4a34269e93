#pragma once
// The check a company runs on its communication before sending it: the
// import's own reading of the file, without any database, and for a refused
// file what is wrong and where, so that the company can mend it.

#include <string>

#include "comms/CommunicationReader.h"
#include "ui/Outcome.h"
#include "ui/Prompter.h"

namespace veltra::comms {

// Where the file was refused and why, one sentence in Italian that begins
// with the line ("Riga 4") and, on a record line, the field
// ("Riga 4, campo 15 (sedere)").
std::string CommunicationFaultText(const CommunicationCheck& check);

// Done after the import's "contenuto valido" text and what the file holds;
// Failed after the import's own message for a file it cannot open or
// refuses, the refusal followed by CommunicationFaultText.
ui::Outcome CheckCompanyFile(const std::string& path, ui::Prompter& prompter);

}  // namespace veltra::comms
