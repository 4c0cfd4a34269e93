#pragma once
// What the main window needs of a report's print view, which takes the place
// of its picture while a report is shown.

#include <QString>
#include <QWidget>

namespace veltra::app {

class ReportWindow : public QWidget {
  Q_OBJECT
 public:
  using QWidget::QWidget;

  // The main window's caption while the report is shown.
  virtual QString title() const = 0;
  // The standard print command, which the main window passes on.
  virtual void print() = 0;
  // True once its print or preview job has ended: the next idle step
  // discards the view and the main window shows its picture again.
  virtual bool isFinished() const = 0;
};

}  // namespace veltra::app
