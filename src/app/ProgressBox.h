#pragma once
// The progress of a long job the user may stop (printing, saving a PDF): a
// box with "Annulla" over the main window, set below its middle so that the
// busy indicator counting there stays in sight.

#include <QProgressDialog>

namespace veltra::app {

class ProgressBox : public QProgressDialog {
  Q_OBJECT
 public:
  // Steps first to last; the box shows once a job has taken showAfter milliseconds.
  ProgressBox(QWidget* owner, const QString& title, int first, int last, int showAfter);

  // Shows the label for that step; false once the user has cancelled.
  bool showStep(int step, const QString& label);

 private:
  void placeBelowMiddle(const QWidget* owner);
};

}  // namespace veltra::app
