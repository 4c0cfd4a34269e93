#include "app/ProgressBox.h"

#include <QLabel>

namespace veltra::app {

ProgressBox::ProgressBox(QWidget* owner, const QString& title, int first, int last, int showAfter)
    : QProgressDialog(owner) {
  setWindowTitle(title);
  setCancelButtonText(QStringLiteral("Annulla"));
  setWindowModality(Qt::WindowModal);
  // One past the last step: the box stays up until the job itself ends.
  setRange(first, last + 1);
  setMinimumDuration(showAfter);
  // The label changes with every step; the box keeps one width meanwhile.
  setMinimumWidth(fontMetrics().averageCharWidth() * 50);
  placeBelowMiddle(owner);
}

void ProgressBox::placeBelowMiddle(const QWidget* owner) {
  if (owner == nullptr) return;
  const QWidget* window = owner->window();
  const QPoint middle = window->mapToGlobal(window->rect().center());
  adjustSize();
  move(middle.x() - width() / 2, middle.y() + fontMetrics().height() * 4);
}

bool ProgressBox::showStep(int step, const QString& label) {
  setLabelText(label);
  setValue(step);
  return !wasCanceled();
}

}  // namespace veltra::app
