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
#include <vector>

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
  // The text shaped for the selected font, its glyphs placed from its
  // top-left corner; the last few shaped are kept.
  const QList<QGlyphRun>& glyphRuns(std::string_view text);
  QList<QGlyphRun> shaped(const QString& text) const;
  // Gathers the text from its letters' own glyphs when shaping would place
  // them alike: every letter ASCII with a glyph of the font's own, and no
  // two neighbours kerned or joined. False, gathering nothing, otherwise.
  bool gatherLetters(QPointF corner, std::string_view text);
  // True when every letter of the text is set alone and no two neighbours
  // are kerned or joined.
  bool setFromLetters(std::string_view text);
  // The letter shaped alone: one glyph of the font's own, or none.
  struct Letter {
    bool known = false;
    bool single = false;
    quint32 glyph = 0;
    QPointF offset;
    double advance = 0;
  };
  const Letter& letter(unsigned char code);
  // True when the two letters shaped together sit as each does alone, the
  // second one advance of the first further on.
  bool setApart(unsigned char first, unsigned char second);
  double asciiAdvance(unsigned char code);
  // Texts wait until the next drawing of another kind or change of state,
  // and then go out together.
  void gather(QPointF corner, const QGlyphRun& run);
  // Makes room for texts of the font among those gathered.
  void gatherWith(const QRawFont& font);
  void drawGathered();
  int toUnits(double pixels) const;
  const QFontMetricsF& metrics();
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
  std::optional<QFontMetricsF> metrics_;  // of the selected font, made when first needed
  int textHeight_ = 0;                    // of its texts, in report units
  // A list repeats its texts (dates, makes, counts) thousands of times: each
  // is measured once for the selected font.
  TextMap<int> widths_;
  std::array<double, 128> asciiAdvances_{};  // of the selected font; 0 until asked
  // For engines that keep glyphs as they are given: a picture keeps texts,
  // and glyphs only as outlines.
  bool drawsGlyphRuns_;
  // A list's texts are mostly set from their letters, which takes neither
  // shaping nor memory for each of its hundred thousand distinct texts; the
  // others are shaped and the latest of them kept.
  std::array<Letter, 128> letters_{};
  std::vector<std::uint8_t> pairs_;  // per two ASCII letters: 0 not yet tried, 1 apart, 2 not
  std::optional<QRawFont> letterFont_;
  TextMap<QList<QGlyphRun>> runs_;
  struct Gathered {
    QRawFont font;
    QList<quint32> glyphs;
    QList<QPointF> positions;
  } gathered_;
};

}  // namespace veltra::qt
