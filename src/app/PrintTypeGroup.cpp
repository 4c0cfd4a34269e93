#include "app/PrintTypeGroup.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QRadioButton>

namespace veltra::app {

PrintTypeGroup makePrintTypeGroup(QWidget& parent) {
  PrintTypeGroup made;
  made.group = new QGroupBox(QStringLiteral("Tipo stampa"), &parent);
  auto* layout = new QHBoxLayout(made.group);
  made.preview = new QRadioButton(QStringLiteral("Anteprima di stampa"), made.group);
  made.print = new QRadioButton(QStringLiteral("Stampa"), made.group);
  made.preview->setChecked(true);
  layout->addWidget(made.preview);
  layout->addWidget(made.print);
  layout->addStretch();
  return made;
}

}  // namespace veltra::app
