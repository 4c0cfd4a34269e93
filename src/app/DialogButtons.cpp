#include "app/DialogButtons.h"

#include <QBoxLayout>
#include <QDialog>
#include <QPushButton>

namespace veltra::app {

DialogButtons addDialogButtons(QDialog& dialog, QBoxLayout& layout, bool withCancel) {
  DialogButtons buttons;
  auto* row = new QHBoxLayout;
  row->addStretch();
  buttons.ok = new QPushButton(QStringLiteral("OK"), &dialog);
  buttons.ok->setObjectName(QStringLiteral("IDOK"));
  buttons.ok->setDefault(true);
  row->addWidget(buttons.ok);
  if (withCancel) {
    buttons.cancel = new QPushButton(QStringLiteral("Annulla"), &dialog);
    buttons.cancel->setObjectName(QStringLiteral("IDCANCEL"));
    QObject::connect(buttons.cancel, &QPushButton::clicked, &dialog, &QDialog::reject);
    row->addWidget(buttons.cancel);
  }
  row->addStretch();
  layout.addLayout(row);
  return buttons;
}

}  // namespace veltra::app
