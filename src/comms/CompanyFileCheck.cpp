#include "comms/CompanyFileCheck.h"

#include <string>

#include "comms/CommunicationReader.h"
#include "comms/ImportCommunication.h"
#include "comms/RecordLine.h"

namespace veltra::comms {

namespace {

std::string place(const CommunicationCheck& check) {
  std::string text = "Riga " + std::to_string(check.faultLine);
  if (check.faultField == 0) return text + ": ";
  text += ", campo " + std::to_string(check.faultField);
  // A line of more fields than a record has may be at fault in one past its last.
  const std::string_view name = VariationColumnName(check.faultField);
  if (!name.empty()) text += " (" + std::string(name) + ")";
  return text + ": ";
}

std::string recordFaultText(const CommunicationCheck& check) {
  const VariationLineRead& record = check.record;
  switch (record.fault) {
    case RecordFault::FieldCount:
      return "il record ha " + std::to_string(record.fieldCount) +
             (record.fieldCount == 1 ? " campo" : " campi") + " invece dei " +
             std::to_string(VariationFieldCount) + " separati da TAB.";
    case RecordFault::Kind:
      return "il tipo del record deve essere NEW o VAR, in maiuscolo.";
    case RecordFault::TooLong:
      return "il testo è più lungo di " + std::to_string(record.width) + " caratteri.";
    case RecordFault::Number:
      return "il numero è fuori misura.";
    case RecordFault::None:
      break;
  }
  return {};
}

// What the line at fault should have been, for a file that ends before it.
std::string missingLineText(const CommunicationCheck& check) {
  switch (check.fault) {
    case FileFault::Header:
      return "il file è vuoto.";
    case FileFault::CompanyLine:
      return "il file finisce prima della riga dell'azienda \"<Azienda=...>\".";
    case FileFault::DateLine:
      return "il file finisce prima della riga della data \"<Data=...>\".";
    case FileFault::Record:
      return "il file finisce prima del record " + std::to_string(check.faultLine - 3) +
             ": l'intestazione ne annuncia " + std::to_string(check.recordCount) + ".";
    default:
      return "il file finisce prima della riga di chiusura \"</VariazioniBusQz>\".";
  }
}

std::string faultText(const CommunicationCheck& check) {
  switch (check.fault) {
    case FileFault::Header:
      return "la prima riga deve essere \"<VariazioniBusQz>\" seguito dal numero dei record.";
    case FileFault::CompanyLine:
      return "la riga dell'azienda deve essere \"<Azienda=\", il codice dell'azienda (da 1 a "
             "32767) e \">\".";
    case FileFault::DateLine:
      return "la riga della data deve essere \"<Data=\", una data GG/MM/AAAA e \">\", senza "
             "altri caratteri.";
    case FileFault::Record:
      return recordFaultText(check);
    case FileFault::FewRecords:
      return "la riga di chiusura arriva dopo " + std::to_string(check.faultLine - 4) +
             " record, ma l'intestazione ne annuncia " + std::to_string(check.recordCount) + ".";
    case FileFault::Trailer:
      return "l'intestazione annuncia " + std::to_string(check.recordCount) +
             " record: dopo di essi deve venire la riga di chiusura \"</VariazioniBusQz>\" con "
             "la somma di controllo.";
    case FileFault::Checksum:
      return "la somma di controllo non corrisponde al contenuto del file.";
    case FileFault::Encoding:
      return "un carattere non appartiene alla codifica Windows-1252.";
    case FileFault::Control:
      return "un carattere di controllo non può stare in una riga del file.";
    case FileFault::LineTooLong:
      return "la riga è più lunga di " + std::to_string(MaxLineLength) + " caratteri.";
    case FileFault::None:
      break;
  }
  return {};
}

std::string contentsText(const Communication& communication) {
  return "Azienda " + std::to_string(communication.azienda()) + ", data " + communication.date() +
         ", " + std::to_string(communication.entryCount()) + " schede Bus.";
}

}  // namespace

std::string CommunicationFaultText(const CommunicationCheck& check) {
  return place(check) + (check.pastEnd ? missingLineText(check) : faultText(check));
}

ui::Outcome CheckCompanyFile(const std::string& path, ui::Prompter& prompter) {
  const auto check = CheckCommunicationFile(path, prompter);
  if (!check) return ui::Outcome::Failed;
  if (!check->communication) {
    prompter.message(std::string(CorruptFileMessage) + "\n\n" + CommunicationFaultText(*check),
                     ui::Icon::Stop);
    return ui::Outcome::Failed;
  }
  prompter.message(std::string(ValidFileMessage) + "\n\n" + contentsText(*check->communication),
                   ui::Icon::Information);
  return ui::Outcome::Done;
}

}  // namespace veltra::comms
