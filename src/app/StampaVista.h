#pragma once
// The print view: while a report is shown it takes the main window's place,
// with the preview of its pages under the program's own button bar. The
// report is paginated afresh for the paper of every job (the preview, the
// printer, a PDF file), and the view ends with the job: the main window's
// next idle step then discards it.

#include <QPrinter>
#include <QString>
#include <memory>
#include <string>

#include "app/ReportWindow.h"
#include "reports/PrintPagination.h"
#include "reports/PrintReport.h"

class QHBoxLayout;
class QLabel;
class QPrintDialog;
class QPushButton;

namespace veltra::ui {
class Prompter;
}

namespace veltra::app {

class PageView;

class StampaVista : public ReportWindow {
  Q_OBJECT
 public:
  // title: the report's, which the main window shows while the view is there.
  StampaVista(QString title, ui::Prompter& prompter, QWidget* parent = nullptr);
  ~StampaVista() override;

  // Takes the report to show; false when the view already holds one, or none is given.
  bool attach(std::unique_ptr<reports::PrintReport> report);
  // The preview of the pages, two side by side, each drawn when it comes into sight.
  void startPreview();
  // Direct printing: the printer dialog, then the pages chosen there.
  void print() override;

  QString title() const override { return title_; }
  bool isFinished() const override { return job_.finished(); }

  PageView* pageView() const { return pageView_; }
  // "Pagina n", or "Pagine n-m" while two pages show.
  QString statusText() const;

 private:
  void buildButtonBar();
  void addKeys();
  QPushButton* addButton(QHBoxLayout& bar, const char* text, void (StampaVista::*slot)());
  // Paginates for the preview's paper and hands the pages to the view.
  void paginatePreview();
  int pageCountForDialog(QPrinter& printer);
  void showOutputFileWhole(QPrintDialog& dialog);
  bool printPages(QPrinter& printer);
  void cannotCreate(const QString& file);
  void endPreview();
  void closeView();
  void savePdf();
  // The file written with a progress box whose "Annulla" stops it.
  void writePdf(const std::string& path);
  void turnTo(int page);
  // The user scrolled: the label and the buttons follow the page now at the top.
  void followScroll(int page);
  void nextPage();
  void previousPage();
  void togglePages();
  void zoomIn();
  void zoomOut();
  void showPageState();
  bool twoPages() const;
  // The first page of what shows now: pages come in pairs 1-2, 3-4...
  int firstShownPage() const;
  int lastShownPage() const;

  QString title_;
  ui::Prompter& prompter_;
  std::unique_ptr<reports::PrintReport> report_;
  reports::PrintPagination job_;
  bool previewing_ = false;
  int page_ = 1;  // the page turned to, or scrolled to
  bool turning_ = false;
  PageView* pageView_ = nullptr;
  QLabel* status_ = nullptr;
  QPushButton* next_ = nullptr;
  QPushButton* previous_ = nullptr;
  QPushButton* pages_ = nullptr;
};

}  // namespace veltra::app
