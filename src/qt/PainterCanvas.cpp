#include "qt/PainterCanvas.h"

#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QTextLayout>
#include <algorithm>
#include <cmath>
#include <limits>

namespace veltra::qt {

namespace {

// Enough for the texts a list repeats on every page: headings, dates, makes.
constexpr std::size_t KeptShapings = 4096;

QColor qtColour(reports::Rgb colour) {
  return QColor(colour.red, colour.green, colour.blue);
}

QString qtText(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

PainterCanvas::PainterCanvas(QPainter& painter)
    : painter_(painter),
      scale_(painter.device()->logicalDpiX() / UnitsPerInch),
      drawsGlyphRuns_(painter.paintEngine()->type() != QPaintEngine::Picture),
      pairs_(letters_.size() * letters_.size(), 0) {}

PainterCanvas::~PainterCanvas() {
  if (painter_.isActive()) drawGathered();
}

// Rounded up: a column is never narrower than its widest text.
int PainterCanvas::toUnits(double pixels) const {
  return static_cast<int>(std::ceil(pixels / scale_ - 1e-6));
}

int PainterCanvas::pageWidth() const {
  return static_cast<int>(painter_.device()->width() / scale_);
}

int PainterCanvas::pageHeight() const {
  return static_cast<int>(painter_.device()->height() / scale_);
}

void PainterCanvas::save() {
  drawGathered();
  painter_.save();
}

void PainterCanvas::restore() {
  drawGathered();
  painter_.restore();
}

void PainterCanvas::scale(double factor) {
  drawGathered();
  painter_.scale(factor, factor);
}

void PainterCanvas::selectFont(const reports::Font& font) {
  drawGathered();
  painter_.setFont(QFont(qtText(font.family), font.points, font.weight));
  // Selected again for every page: what was measured and shaped stays.
  if (selected_ == font) return;
  selected_ = font;
  metrics_.reset();
  widths_.clear();
  asciiAdvances_.fill(0);
  letters_.fill({});
  std::fill(pairs_.begin(), pairs_.end(), 0);
  letterFont_.reset();
  runs_.clear();
}

void PainterCanvas::selectPen(int width) {
  drawGathered();
  QPen pen(Qt::black, toDevice(width), Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
  painter_.setPen(pen);
}

int PainterCanvas::widthOf(const QFontMetricsF& metrics, std::string_view text) const {
  return toUnits(metrics.horizontalAdvance(qtText(text)));
}

const QFontMetricsF& PainterCanvas::metrics() {
  if (!metrics_) {
    metrics_.emplace(painter_.font(), painter_.device());
    textHeight_ = toUnits(metrics_->height());
  }
  return *metrics_;
}

reports::TextSize PainterCanvas::measure(std::string_view text) {
  auto known = widths_.find(text);
  if (known == widths_.end()) known = widths_.emplace(text, widthOf(metrics(), text)).first;
  return {known->second, textHeight_};
}

// Shaping is most of a long list's pagination, though a column's width
// needs only its widest text. Letters set side by side are never narrower
// than the text shaped (kerning only draws them closer), so the text of the
// widest bound is shaped first, and after it only those whose bound, rounded
// as widths are, is wider than the widest found: of tens of thousands, a few.
int PainterCanvas::widest(const std::vector<std::string_view>& texts) {
  std::vector<double> bounds;
  bounds.reserve(texts.size());
  for (std::string_view text : texts) bounds.push_back(widthBound(text));
  const auto first = std::max_element(bounds.begin(), bounds.end());
  if (first == bounds.end()) return 0;
  int widest = measure(texts[static_cast<std::size_t>(first - bounds.begin())]).width;
  for (std::size_t i = 0; i < texts.size(); ++i)
    if (!std::isfinite(bounds[i]) || toUnits(bounds[i]) > widest)
      widest = std::max(widest, measure(texts[i]).width);
  return widest;
}

// A letter beyond ASCII may join with its neighbour or come from another
// font: such a text has no bound and is always shaped.
double PainterCanvas::widthBound(std::string_view text) {
  double width = 0;
  for (const char letter : text) {
    const auto code = static_cast<unsigned char>(letter);
    if (code >= asciiAdvances_.size()) return std::numeric_limits<double>::infinity();
    width += asciiAdvance(code);
  }
  return width;
}

double PainterCanvas::asciiAdvance(unsigned char code) {
  double& advance = asciiAdvances_[code];
  if (advance == 0) advance = metrics().horizontalAdvance(QChar(code));
  return advance;
}

void PainterCanvas::text(int x, int y, std::string_view text) {
  const QPointF corner(toDevice(x), toDevice(y));
  if (drawsGlyphRuns_) {
    if (!gatherLetters(corner, text))
      for (const QGlyphRun& run : glyphRuns(text)) gather(corner, run);
    return;
  }
  const double ascent = metrics().ascent();
  painter_.drawText(corner + QPointF(0, ascent), qtText(text));
}

// The texts of a row go to the engine as one run: an engine writes its
// state and font with every run, and a list has a million texts.
void PainterCanvas::gather(QPointF corner, const QGlyphRun& run) {
  gatherWith(run.rawFont());
  gathered_.glyphs.append(run.glyphIndexes());
  for (const QPointF& position : run.positions()) gathered_.positions.append(corner + position);
}

void PainterCanvas::drawGathered() {
  if (gathered_.glyphs.isEmpty()) return;
  QGlyphRun run;
  run.setRawFont(gathered_.font);
  run.setGlyphIndexes(gathered_.glyphs);
  run.setPositions(gathered_.positions);
  painter_.drawGlyphRun(QPointF(), run);
  gathered_.glyphs.clear();
  gathered_.positions.clear();
}

// The texts a list repeats come back soon after a clearing; keeping every
// distinct one would keep one shaping per row.
const QList<QGlyphRun>& PainterCanvas::glyphRuns(std::string_view text) {
  auto known = runs_.find(text);
  if (known != runs_.end()) return known->second;
  if (runs_.size() >= KeptShapings) runs_.clear();
  return runs_.emplace(text, shaped(qtText(text))).first->second;
}

QList<QGlyphRun> PainterCanvas::shaped(const QString& text) const {
  QTextLayout layout(text, painter_.font(), painter_.device());
  layout.beginLayout();
  layout.createLine();
  layout.endLayout();
  return layout.glyphRuns();
}

bool PainterCanvas::gatherLetters(QPointF corner, std::string_view text) {
  if (!setFromLetters(text)) return false;
  if (text.empty()) return true;
  gatherWith(*letterFont_);
  const qsizetype first = gathered_.glyphs.size();
  const auto count = static_cast<qsizetype>(text.size());
  gathered_.glyphs.resize(first + count);
  gathered_.positions.resize(first + count);
  quint32* glyph = gathered_.glyphs.data() + first;
  QPointF* position = gathered_.positions.data() + first;
  double advanced = 0;
  for (const char code : text) {
    const Letter& alone = letters_[static_cast<unsigned char>(code)];
    *glyph++ = alone.glyph;
    *position++ = corner + (alone.offset + QPointF(advanced, 0));
    advanced += alone.advance;
  }
  return true;
}

bool PainterCanvas::setFromLetters(std::string_view text) {
  unsigned char previous = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto code = static_cast<unsigned char>(text[i]);
    if (code >= letters_.size() || !letter(code).single) return false;
    if (i > 0 && !setApart(previous, code)) return false;
    previous = code;
  }
  return true;
}

// Texts of another font first go out with their own.
void PainterCanvas::gatherWith(const QRawFont& font) {
  if (gathered_.glyphs.isEmpty()) {
    gathered_.font = font;
  } else if (!(font == gathered_.font)) {
    drawGathered();
    gathered_.font = font;
  }
}

// A letter another font has to supply is never set alone.
const PainterCanvas::Letter& PainterCanvas::letter(unsigned char code) {
  Letter& letter = letters_[code];
  if (letter.known) return letter;
  letter.known = true;
  letter.advance = asciiAdvance(code);
  const QList<QGlyphRun> runs = shaped(QString(QChar(code)));
  if (runs.size() != 1 || runs.front().glyphIndexes().size() != 1) return letter;
  if (!letterFont_) letterFont_ = runs.front().rawFont();
  if (!(runs.front().rawFont() == *letterFont_)) return letter;
  letter.single = true;
  letter.glyph = runs.front().glyphIndexes().front();
  letter.offset = runs.front().positions().front();
  return letter;
}

bool PainterCanvas::setApart(unsigned char first, unsigned char second) {
  std::uint8_t& known = pairs_[first * letters_.size() + second];
  if (known == 0) {
    const Letter& a = letters_[first];
    const Letter& b = letters_[second];
    const QChar pair[] = {QChar(first), QChar(second)};
    const QList<QGlyphRun> runs = shaped(QString(pair, 2));
    const bool apart = runs.size() == 1 && runs.front().rawFont() == *letterFont_ &&
                       runs.front().glyphIndexes() == QList<quint32>{a.glyph, b.glyph} &&
                       runs.front().positions() ==
                           QList<QPointF>{a.offset, b.offset + QPointF(asciiAdvance(first), 0)};
    known = apart ? 1 : 2;
  }
  return known == 1;
}

void PainterCanvas::line(int x1, int y1, int x2, int y2) {
  drawGathered();
  painter_.drawLine(QPointF(toDevice(x1), toDevice(y1)), QPointF(toDevice(x2), toDevice(y2)));
}

void PainterCanvas::fillRect(int left, int top, int right, int bottom, reports::Rgb colour) {
  drawGathered();
  painter_.fillRect(
      QRectF(QPointF(toDevice(left), toDevice(top)), QPointF(toDevice(right), toDevice(bottom))),
      qtColour(colour));
}

// Texts go over what is there: the paper is white and the band is filled
// before its headings, so a box of the same colour behind every text would
// change nothing on the page, yet cost a rectangle per text in the PDF.
void PainterCanvas::setTextBackground(reports::Rgb) {}

}  // namespace veltra::qt
