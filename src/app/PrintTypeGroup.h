#pragma once
// "Tipo stampa", the group every report dialog ends with: "Anteprima di
// stampa" (checked as the dialog opens) or "Stampa" straight to the printer.

class QGroupBox;
class QRadioButton;
class QWidget;

namespace veltra::app {

struct PrintTypeGroup {
  QGroupBox* group = nullptr;
  QRadioButton* preview = nullptr;
  QRadioButton* print = nullptr;
};

PrintTypeGroup makePrintTypeGroup(QWidget& parent);

}  // namespace veltra::app
