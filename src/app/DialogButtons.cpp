#include "app/DialogButtons.h"

#include <QApplication>
#include <QBoxLayout>
#include <QDialog>
#include <QFontMetrics>
#include <QPushButton>

namespace veltra::app {

namespace {

// The title bar's icon and buttons, in lines of text: a window manager's
// own measure is not known to the program.
constexpr int TitleBarExtraLines = 8;

}  // namespace

void keepTitleInSight(QDialog& dialog, QBoxLayout& layout) {
  const QFontMetrics metrics(QApplication::font("QMdiSubWindowTitleBar"));
  layout.addStrut(metrics.horizontalAdvance(dialog.windowTitle()) +
                  metrics.height() * TitleBarExtraLines);
}

DialogButtons addDialogButtons(QDialog& dialog, QBoxLayout& layout, bool withCancel) {
  keepTitleInSight(dialog, layout);
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
