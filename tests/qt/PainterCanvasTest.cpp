// The report canvas on real painters: texts set from their letters or shaped,
// and drawn as glyph runs, must land where the painter's own text drawing
// puts them, and what is measured once must follow the font selected.

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <string>
#include <string_view>
#include <vector>

#include "qt/PainterCanvas.h"
#include "reports/PrintReport.h"

namespace veltra::qt {
namespace {

constexpr int Resolution = 150;
const QSize Sheet(600, 200);

class PainterCanvasTest : public ::testing::Test {
 protected:
  static QImage blankSheet() {
    QImage image(Sheet, QImage::Format_RGB32);
    const int dotsPerMetre = static_cast<int>(Resolution / 0.0254 + 0.5);
    image.setDotsPerMeterX(dotsPerMetre);
    image.setDotsPerMeterY(dotsPerMetre);
    image.fill(Qt::white);
    return image;
  }
};

// A header line, an accented heading and an amount, twice each as a report
// repeats its texts, in report units (1/600 inch).
struct PlacedText {
  int x;
  int y;
  const char* text;
};
const PlacedText Texts[] = {
    {100, 100, "Veltra - \"DataBase Bus - Regione Ombrena\""},
    {100, 250, "Propriet\u00e0"},
    {1800, 250, "261000,00"},
    {100, 400, "Veltra - \"DataBase Bus - Regione Ombrena\""},
    {100, 550, "Propriet\u00e0"},
    {1800, 550, "261000,00"},
    // Kerned pairs and plain letters in one text, and plain letters alone.
    {100, 700, "AVATAR Toyota 1111 office"},
    {1400, 700, "OM00001A 12/05/2015"},
};

int inkedPixels(const QImage& image) {
  int inked = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) inked += image.pixel(x, y) != qRgb(255, 255, 255);
  return inked;
}

int differingPixels(const QImage& a, const QImage& b) {
  int differing = 0;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x) differing += a.pixel(x, y) != b.pixel(x, y);
  return differing;
}

TEST_F(PainterCanvasTest, GlyphRunsLandWhereThePaintersTextGoes) {
  QImage shaped = blankSheet();
  {
    QPainter painter(&shaped);
    PainterCanvas canvas(painter);
    canvas.selectFont(reports::ReportFont);
    for (const PlacedText& placed : Texts) canvas.text(placed.x, placed.y, placed.text);
  }
  // The painter's own text, placed by its top-left corner likewise.
  QImage drawn = blankSheet();
  {
    QPainter painter(&drawn);
    painter.setFont(QFont("Arial", reports::ReportFont.points, reports::ReportFont.weight));
    const double scale = Resolution / PainterCanvas::UnitsPerInch;
    const double ascent = QFontMetricsF(painter.font(), &drawn).ascent();
    for (const PlacedText& placed : Texts)
      painter.drawText(QPointF(placed.x * scale, placed.y * scale + ascent),
                       QString::fromUtf8(placed.text));
  }
  const int inked = inkedPixels(drawn);
  ASSERT_GT(inked, 1000);
  EXPECT_EQ(inkedPixels(shaped), inked);
  EXPECT_EQ(differingPixels(shaped, drawn), 0);
}

TEST_F(PainterCanvasTest, MeasuresFollowTheSelectedFont) {
  QImage image = blankSheet();
  QPainter painter(&image);
  PainterCanvas canvas(painter);
  canvas.selectFont(reports::ReportFont);
  const reports::TextSize small = canvas.measure("Marca Tipo");
  EXPECT_EQ(canvas.measure("Marca Tipo").width, small.width);
  canvas.selectFont({"Arial", 16, 400});
  const reports::TextSize large = canvas.measure("Marca Tipo");
  EXPECT_NEAR(large.width, 2 * small.width, small.width / 10);
  EXPECT_GT(large.height, small.height);
  canvas.selectFont(reports::ReportFont);
  EXPECT_EQ(canvas.measure("Marca Tipo").width, small.width);
}

// A long batch is shared with a helper thread and its own font: every width
// must still be what the selected font gives, kerned pairs and accents too.
// The widest is found without shaping every text: what is left out must
// never be wider, kerned pairs and letters beyond ASCII included.
TEST_F(PainterCanvasTest, TheWidestOfManyTextsIsTheWidestMeasuredAlone) {
  std::vector<std::string> owned;
  for (int i = 0; i < 3000; ++i)
    owned.push_back(std::string(i % 2 ? "AVATAR " : "Propriet\u00e0 ") + std::to_string(i * 7919) +
                    std::string(static_cast<std::size_t>(i % 5), i % 3 ? 'W' : 'i'));
  const std::vector<std::string_view> texts(owned.begin(), owned.end());
  QImage image = blankSheet();
  QPainter painter(&image);
  PainterCanvas canvas(painter);
  for (const reports::Font& font : {reports::ReportFont, reports::Font{"Arial", 16, 700}}) {
    canvas.selectFont(font);
    const int widest = canvas.widest(texts);
    int measured = 0;
    for (std::string_view text : texts) measured = std::max(measured, canvas.measure(text).width);
    EXPECT_EQ(widest, measured);
    const std::vector<std::string_view> ascii{"AVAVAVAV", "WWWW", "iiiiiiiiiiiiiiii", "1.234"};
    int asciiMeasured = 0;
    for (std::string_view text : ascii)
      asciiMeasured = std::max(asciiMeasured, canvas.measure(text).width);
    EXPECT_EQ(canvas.widest(ascii), asciiMeasured);
  }
}

}  // namespace
}  // namespace veltra::qt
