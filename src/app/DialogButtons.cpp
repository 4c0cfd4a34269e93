#include "app/DialogButtons.h"

#include <QApplication>
#include <QBoxLayout>
#include <QDialog>
#include <QEvent>
#include <QFontMetrics>
#include <QPushButton>

namespace veltra::app {

namespace {

// The title bar's icon and buttons, in lines of text: a window manager's
// own measure is not known to the program.
constexpr int TitleBarExtraLines = 8;

class TitleWidth : public QObject {
 public:
  explicit TitleWidth(QDialog& dialog) : QObject(&dialog), dialog_(dialog) {
    dialog.installEventFilter(this);
  }

  bool eventFilter(QObject* /*watched*/, QEvent* event) override {
    if (event->type() == QEvent::Show) {
      const QFontMetrics metrics(QApplication::font("QMdiSubWindowTitleBar"));
      const int needed =
          metrics.horizontalAdvance(dialog_.windowTitle()) + metrics.height() * TitleBarExtraLines;
      if (dialog_.width() < needed) dialog_.resize(needed, dialog_.height());
    }
    return false;
  }

 private:
  QDialog& dialog_;
};

}  // namespace

void keepTitleInSight(QDialog& dialog) {
  new TitleWidth(dialog);
}

DialogButtons addDialogButtons(QDialog& dialog, QBoxLayout& layout, bool withCancel) {
  keepTitleInSight(dialog);
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
