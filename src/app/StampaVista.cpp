#include "app/StampaVista.h"

#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPrintDialog>
#include <QPushButton>
#include <QShortcut>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <QVBoxLayout>
#include <algorithm>
#include <optional>

#include "app/PageView.h"
#include "app/ProgressBox.h"
#include "comms/ExportFile.h"
#include "db/platform/Files.h"
#include "qt/PainterCanvas.h"
#include "qt/PdfReport.h"
#include "qt/ResponsiveCanvas.h"
#include "qt/SheetPicture.h"
#include "ui/Prompter.h"

namespace veltra::app {

namespace {

constexpr const char* PrinterFailureMessage =
    "Non è possibile aprire la stampante.\n\n"
    "Verificare l'impostazione della stampante associata\n"
    "all'applicazione e riprovare successivamente.\n";

// Where "Salva PDF..." proposes to save: the folder of the last PDF saved
// in this session; before the first, the user's documents, or home.
QString& pdfFolder() {
  static QString folder = [] {
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QDir(documents).exists() ? documents : QDir::homePath();
  }();
  return folder;
}

struct PageRange {
  int first;
  int last;
};

PageRange chosenPages(const QPrinter& printer, int pageCount) {
  if (printer.printRange() != QPrinter::PageRange) return {1, pageCount};
  return {std::max(1, printer.fromPage()), std::min(printer.toPage(), pageCount)};
}

// The printing progress box, with the document, the page, the printer and
// where it goes; a file printed to names itself as the printer.
class PrintProgress {
 public:
  // file: the file printed to, empty for a printer.
  PrintProgress(QWidget* owner, const QString& document, const QString& file,
                const QPrinter& printer, PageRange pages)
      : box_(owner, QStringLiteral("Stampa in corso"), pages.first, pages.last, 500),
        document_(document),
        printer_(file.isEmpty() ? printer.printerName() : file) {}

  // False once the user has cancelled.
  bool showPage(int page) {
    return box_.showStep(page,
                         QStringLiteral("Documento : %1\nPagina : %2\nStampante : %3\nPorta : %4")
                             .arg(document_)
                             .arg(page)
                             .arg(printer_, QStringLiteral("su %1").arg(printer_)));
  }

 private:
  ProgressBox box_;
  QString document_;
  QString printer_;
};

// Printing to a file goes into a temporary file beside it, put in its place
// only once every page is there: a cancelled or failed print leaves the file
// that was there before, never part of a document.
class PrintFileStaging {
 public:
  explicit PrintFileStaging(QPrinter& printer)
      : printer_(printer), target_(printer.outputFileName()) {
    if (target_.isEmpty()) return;
    const QFileInfo target(target_);
    QTemporaryFile reserved(
        target.absoluteDir().filePath(QStringLiteral(".%1.XXXXXX").arg(target.fileName())));
    reserved.setAutoRemove(false);
    if (!reserved.open() || !platform::GiveOrdinaryFileMode(static_cast<int>(reserved.handle())))
      return;
    temporary_ = reserved.fileName();
    printer_.setOutputFileName(temporary_);
  }
  ~PrintFileStaging() {
    if (temporary_.isEmpty()) return;
    QFile::remove(temporary_);
    printer_.setOutputFileName(target_);
  }
  PrintFileStaging(const PrintFileStaging&) = delete;
  PrintFileStaging& operator=(const PrintFileStaging&) = delete;

  // False when the output is a file and no temporary file could be made beside it.
  bool ready() const { return target_.isEmpty() || !temporary_.isEmpty(); }
  const QString& target() const { return target_; }
  // The whole file in its place; false when the system refused.
  bool publish() {
    if (temporary_.isEmpty()) return true;
    if (!platform::ReplaceFile(temporary_.toStdString(), target_.toStdString())) return false;
    temporary_.clear();
    printer_.setOutputFileName(target_);
    return true;
  }

 private:
  QPrinter& printer_;
  QString target_;
  QString temporary_;
};

// While the report is paginated or written, the page view shows only the
// pages it has drawn already: the report draws one page at a time.
class PausedDrawing {
 public:
  explicit PausedDrawing(PageView* view) : view_(view) {
    if (view_ != nullptr) view_->setDrawingPaused(true);
  }
  ~PausedDrawing() {
    if (view_ != nullptr) view_->setDrawingPaused(false);
  }
  PausedDrawing(const PausedDrawing&) = delete;
  PausedDrawing& operator=(const PausedDrawing&) = delete;

 private:
  PageView* view_;
};

}  // namespace

StampaVista::StampaVista(QString title, ui::Prompter& prompter, QWidget* parent)
    : ReportWindow(parent), title_(std::move(title)), prompter_(prompter) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  buildButtonBar();
  status_ = new QLabel(this);
  status_->setContentsMargins(6, 2, 6, 2);
  layout->addStretch();
  layout->addWidget(status_);
  addKeys();
}

// The keys of a print preview: a page (or a pair) on, back, the first and
// last, and Escape as "Chiudi".
void StampaVista::addKeys() {
  const auto onKeys = [this](std::initializer_list<QKeySequence> keys, auto act) {
    for (const QKeySequence& key : keys) {
      auto* shortcut = new QShortcut(key, this);
      connect(shortcut, &QShortcut::activated, this, [this, act] {
        if (previewing_) act();
      });
    }
  };
  onKeys({QKeySequence(Qt::Key_PageDown)}, [this] { nextPage(); });
  onKeys({QKeySequence(Qt::Key_PageUp)}, [this] { previousPage(); });
  onKeys({QKeySequence(Qt::Key_Home), QKeySequence(Qt::CTRL | Qt::Key_Home)},
         [this] { turnTo(1); });
  onKeys({QKeySequence(Qt::Key_End), QKeySequence(Qt::CTRL | Qt::Key_End)},
         [this] { turnTo(pageView_->pageCount()); });
  onKeys({QKeySequence(Qt::Key_Escape)}, [this] { closeView(); });
}

StampaVista::~StampaVista() = default;

void StampaVista::buildButtonBar() {
  auto* bar = new QHBoxLayout;
  bar->setContentsMargins(6, 6, 6, 6);
  static_cast<QVBoxLayout*>(layout())->addLayout(bar);
  addButton(*bar, "Stam&pa...", &StampaVista::print);
  // Its letter is one the main menu does not use.
  addButton(*bar, "S&alva PDF...", &StampaVista::savePdf);
  next_ = addButton(*bar, "Pag. &succes.", &StampaVista::nextPage);
  previous_ = addButton(*bar, "Pag. p&reced.", &StampaVista::previousPage);
  pages_ = addButton(*bar, "&Una pagina", &StampaVista::togglePages);
  addButton(*bar, "Ingrand&isci", &StampaVista::zoomIn);
  addButton(*bar, "Ri&duci", &StampaVista::zoomOut);
  addButton(*bar, "&Chiudi", &StampaVista::closeView);
  bar->addStretch();
}

// The buttons wait for the preview to start.
QPushButton* StampaVista::addButton(QHBoxLayout& bar, const char* text,
                                    void (StampaVista::*slot)()) {
  auto* button = new QPushButton(QString::fromUtf8(text), this);
  button->setEnabled(false);
  bar.addWidget(button);
  connect(button, &QPushButton::clicked, this, [this, slot] { (this->*slot)(); });
  return button;
}

bool StampaVista::attach(std::unique_ptr<reports::PrintReport> report) {
  if (report_ || !report) return false;
  report_ = std::move(report);
  return true;
}

void StampaVista::startPreview() {
  if (!report_) return;
  job_.startJob();
  previewing_ = true;
  pageView_ = new PageView(this);
  auto* column = static_cast<QVBoxLayout*>(layout());
  delete column->takeAt(1);  // the stretch that held the place
  column->insertWidget(1, pageView_, 1);
  connect(pageView_, &PageView::pageInSightChanged, this, &StampaVista::followScroll);
  for (QPushButton* button : findChildren<QPushButton*>(Qt::FindDirectChildrenOnly))
    button->setEnabled(true);
  paginatePreview();
  pageView_->show();
}

void StampaVista::paginatePreview() {
  // Pagination of a long report takes a while.
  prompter_.beginBusy(true);
  const PausedDrawing paused(pageView_);
  // The preview's paper is the PDF's: "Salva PDF..." writes the pages shown.
  const QPageLayout paper = qt::PaperLayout(qt::PdfPaper::A4Landscape);
  const int resolution = static_cast<int>(qt::PainterCanvas::UnitsPerInch);
  qt::SheetPicture sheet(paper.paintRectPixels(resolution).size(), resolution);
  QPainter measuring(&sheet);
  qt::PainterCanvas device(measuring);
  qt::ResponsiveCanvas canvas(device, [this] { prompter_.keepResponsive(); });
  job_.begin(*report_, canvas);
  measuring.end();
  pageView_->setPages(report_->pageCount(), paper, resolution, [this](QPainter& painter, int page) {
    qt::PainterCanvas pageCanvas(painter);
    job_.drawPage(*report_, pageCanvas, page);
  });
  showPageState();
}

// Ending the preview: the buttons that act on it go, the pages stay in sight
// until the view itself goes.
void StampaVista::endPreview() {
  if (!previewing_) return;
  previewing_ = false;
  for (QPushButton* button : findChildren<QPushButton*>(Qt::FindDirectChildrenOnly))
    button->setEnabled(false);
}

void StampaVista::closeView() {
  endPreview();
  job_.finish();
}

void StampaVista::print() {
  if (!report_) return;
  endPreview();
  job_.startJob();
  QPrinter printer(QPrinter::HighResolution);
  printer.setDocName(title_);
  printer.setCopyCount(1);
  // The lists' columns are wider than an upright sheet; the dialog can still turn it.
  printer.setPageOrientation(QPageLayout::Landscape);
  const int pageCount = pageCountForDialog(printer);
  printer.setFromTo(1, pageCount);
  QPrintDialog dialog(&printer, this);
  dialog.setMinMax(1, pageCount);
  showOutputFileWhole(dialog);
  if (dialog.exec() == QDialog::Accepted && !printPages(printer))
    prompter_.message(PrinterFailureMessage, ui::Icon::Information);
  job_.finish();
}

// The output file's name shows from its start, and most paths whole: the
// dialog puts a name there as a printer is chosen, and Qt shows its end.
void StampaVista::showOutputFileWhole(QPrintDialog& dialog) {
  auto* name = dialog.findChild<QLineEdit*>(QStringLiteral("filename"));
  if (name == nullptr) return;
  name->setMinimumWidth(name->fontMetrics().averageCharWidth() * 60);
  const auto fromStart = [name] {
    if (!name->hasFocus()) name->setCursorPosition(0);
  };
  connect(name, &QLineEdit::textChanged, name, fromStart);
  fromStart();
}

// Known once the preview has paginated; counted for the printer's paper otherwise.
int StampaVista::pageCountForDialog(QPrinter& printer) {
  if (report_->pageCount() > 0) return report_->pageCount();
  return qt::CountReportPages(*report_, printer.pageLayout(), printer.resolution());
}

bool StampaVista::printPages(QPrinter& printer) {
  PrintFileStaging file(printer);
  if (!file.ready()) {
    cannotCreate(file.target());
    return true;
  }
  QPainter painter;
  if (!painter.begin(&printer)) return false;
  prompter_.beginBusy(true);
  const PausedDrawing paused(pageView_);
  qt::PainterCanvas device(painter);
  qt::ResponsiveCanvas canvas(device, [this] { prompter_.keepResponsive(); });
  job_.begin(*report_, canvas);
  const PageRange pages = chosenPages(printer, report_->pageCount());
  PrintProgress progress(this, title_, file.target(), printer, pages);
  for (int page = pages.first; page <= pages.last; ++page) {
    if (!progress.showPage(page)) {
      printer.abort();
      return true;
    }
    if (page > pages.first) printer.newPage();
    job_.drawPage(*report_, canvas, page);
  }
  const bool ended = painter.end();
  if (file.target().isEmpty()) return ended;
  if (!ended || !file.publish()) cannotCreate(file.target());
  return true;
}

void StampaVista::cannotCreate(const QString& file) {
  prompter_.message(comms::CannotCreateText(file.toStdString()), ui::Icon::Exclamation);
}

void StampaVista::savePdf() {
  ui::FileChoice choice;
  choice.title = "Salva PDF";
  choice.filter = "File PDF (*.pdf)|*.pdf||";
  choice.defaultExtension = "pdf";
  choice.proposedName = QDir(pdfFolder()).filePath(title_ + QStringLiteral(".pdf")).toStdString();
  choice.confirmOverwrite = true;
  const auto path = prompter_.saveFile(choice);
  if (!path) return;
  pdfFolder() = QFileInfo(QString::fromStdString(*path)).absolutePath();
  writePdf(*path);
  // The report was paginated again for the file: the preview takes its pages afresh.
  paginatePreview();
  turnTo(page_);
}

void StampaVista::writePdf(const std::string& path) {
  prompter_.beginBusy(true);
  const PausedDrawing paused(pageView_);
  std::optional<ProgressBox> box;
  const auto progress = [this, &box](int page, int pageCount) {
    if (!box) box.emplace(this, QStringLiteral("Salva PDF"), 1, pageCount, 0);
    return box->showStep(page, QStringLiteral("Pagina %1 di %2").arg(page).arg(pageCount));
  };
  qt::WritePdfReport(*report_, path, qt::PdfPaper::A4Landscape, prompter_, progress);
}

bool StampaVista::twoPages() const {
  return pageView_ != nullptr && pageView_->twoPages();
}

int StampaVista::firstShownPage() const {
  const int page = std::max(page_, 1);
  return twoPages() ? page - (page - 1) % 2 : page;
}

int StampaVista::lastShownPage() const {
  const int first = firstShownPage();
  return twoPages() ? std::max(first, std::min(first + 1, pageView_->pageCount())) : first;
}

void StampaVista::turnTo(int page) {
  page_ = std::clamp(page, 1, std::max(1, pageView_->pageCount()));
  // Near the end the last rows cannot scroll to the top: the page turned to stays named.
  turning_ = true;
  pageView_->showPage(page_);
  turning_ = false;
  showPageState();
}

void StampaVista::followScroll(int page) {
  if (turning_) return;
  page_ = page;
  showPageState();
}

void StampaVista::nextPage() {
  const int first = firstShownPage();
  turnTo(first + (twoPages() ? 2 : 1));
}

void StampaVista::previousPage() {
  const int first = firstShownPage();
  turnTo(twoPages() ? first - 2 : first - 1);
}

void StampaVista::zoomIn() {
  pageView_->zoomIn();
}

void StampaVista::zoomOut() {
  pageView_->zoomOut();
}

void StampaVista::togglePages() {
  pageView_->setTwoPages(!twoPages());
  pageView_->fitInView();
  turnTo(firstShownPage());
}

QString StampaVista::statusText() const {
  const int first = firstShownPage();
  const int last = lastShownPage();
  if (last == first) return QStringLiteral("Pagina %1").arg(first);
  return QStringLiteral("Pagine %1-%2").arg(first).arg(last);
}

void StampaVista::showPageState() {
  if (pageView_ == nullptr) return;
  status_->setText(statusText());
  pages_->setText(twoPages() ? QStringLiteral("&Una pagina") : QStringLiteral("Due pa&gine"));
  if (!previewing_) return;
  next_->setEnabled(lastShownPage() < pageView_->pageCount());
  previous_->setEnabled(firstShownPage() > 1);
}

}  // namespace veltra::app
