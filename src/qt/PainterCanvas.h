#pragma once
// The report canvas on a QPainter: the preview, the printer and PDF files
// all draw through it. Report units are 1/600 inch; they become the device's
// pixels here, and the font is taken at the device's own resolution so that
// text measured for pagination is the text printed.

#include <QFontMetricsF>
#include <QGlyphRun>
#include <QList>
#include <QPointF>
#include <QRawFont>
#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "reports/Canvas.h"

class QPainter;

namespace veltra::qt {

class PainterCanvas : public reports::Canvas {
 public:
  static constexpr double UnitsPerInch = 600.0;

  // The painter must be active on its device for as long as the canvas is used.
  explicit PainterCanvas(QPainter& painter);
  // Draws the texts still gathered when the painter is still active.
  ~PainterCanvas() override;

  int pageWidth() const override;
  int pageHeight() const override;
  void save() override;
  void restore() override;
  void scale(double factor) override;
  void selectFont(const reports::Font& font) override;
  void selectPen(int width) override;
  reports::TextSize measure(std::string_view text) override;
  int widest(const std::vector<std::string_view>& texts) override;
  void text(int x, int y, std::string_view text) override;
  void line(int x1, int y1, int x2, int y2) override;
  void fillRect(int left, int top, int right, int bottom, reports::Rgb colour) override;
  void setTextBackground(reports::Rgb colour) override;

 private:
  double toDevice(int units) const { return units * scale_; }
  // The text shaped once for the selected font, its glyphs placed from its
  // top-left corner.
  const QList<QGlyphRun>& glyphRuns(std::string_view text);
  // Texts wait until the next drawing of another kind or change of state,
  // and then go out together.
  void gather(QPointF corner, const QGlyphRun& run);
  void drawGathered();
  int toUnits(double pixels) const;
  int widthOf(const QFontMetricsF& metrics, std::string_view text) const;
  // At least the text's width in device pixels, from its letters' advances.
  double widthBound(std::string_view text);

  // Lets the maps of texts be searched with a view, without a copy.
  struct TextHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view text) const {
      return std::hash<std::string_view>{}(text);
    }
  };
  template <class Value>
  using TextMap = std::unordered_map<std::string, Value, TextHash, std::equal_to<>>;

  QPainter& painter_;
  double scale_;  // device pixels per report unit
  std::optional<reports::Font> selected_;
  std::optional<QFontMetricsF> metrics_;
  // A list repeats its texts (dates, makes, counts) thousands of times: each
  // is measured once for the selected font.
  TextMap<int> widths_;
  std::array<double, 128> asciiAdvances_{};  // of the selected font; 0 until asked
  // Likewise shaped once, for engines that keep glyphs as they are given:
  // a picture keeps texts, and glyphs only as outlines.
  bool drawsGlyphRuns_;
  TextMap<QList<QGlyphRun>> runs_;
  struct Gathered {
    QRawFont font;
    QList<quint32> glyphs;
    QList<QPointF> positions;
  } gathered_;
};

}  // namespace veltra::qt
