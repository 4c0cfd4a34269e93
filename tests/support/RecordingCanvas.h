#pragma once
// The Canvas the tests draw on: keeps every text, line, rectangle and
// selection with its coordinates, and measures every character alike so
// that pagination comes out exact. The paper is A4 turned sideways. Header
// only, so that the benchmarks paginate on it too.

#include <string>
#include <vector>

#include "db/PlainText.h"
#include "reports/Canvas.h"

namespace veltra::testing {

struct DrawnText {
  int x = 0;
  int y = 0;
  std::string text;
  reports::Rgb background;
};

struct DrawnLine {
  int x1 = 0;
  int y1 = 0;
  int x2 = 0;
  int y2 = 0;

  friend bool operator==(const DrawnLine&, const DrawnLine&) = default;
};

struct FilledRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  reports::Rgb colour;

  friend bool operator==(const FilledRect&, const FilledRect&) = default;
};

class RecordingCanvas : public reports::Canvas {
 public:
  static constexpr int CharWidth = 40;
  static constexpr int TextHeight = 80;

  explicit RecordingCanvas(int width = 7016, int height = 4961) : width_(width), height_(height) {}

  int pageWidth() const override { return width_; }
  int pageHeight() const override { return height_; }
  void save() override { ++saves; }
  void restore() override { ++restores; }
  void scale(double factor) override { scales.push_back(factor); }
  void selectFont(const reports::Font& font) override { fonts.push_back(font); }
  void selectPen(int width) override { pens.push_back(width); }
  // Every character CharWidth wide, every text TextHeight high.
  reports::TextSize measure(std::string_view text) override {
    return {static_cast<int>(db::Utf8Length(text)) * CharWidth, TextHeight};
  }
  void text(int x, int y, std::string_view text) override {
    texts.push_back({x, y, std::string(text), background_});
  }
  void line(int x1, int y1, int x2, int y2) override { lines.push_back({x1, y1, x2, y2}); }
  void fillRect(int left, int top, int right, int bottom, reports::Rgb colour) override {
    rects.push_back({left, top, right, bottom, colour});
  }
  void setTextBackground(reports::Rgb colour) override { background_ = colour; }

  // Forgets what was drawn, keeping the paper.
  void clear() { *this = RecordingCanvas(width_, height_); }
  // The drawn texts equal to text, in drawing order.
  std::vector<DrawnText> textsEqualTo(std::string_view text) const {
    std::vector<DrawnText> found;
    for (const DrawnText& drawn : texts)
      if (drawn.text == text) found.push_back(drawn);
    return found;
  }

  // The texts drawn at height y, in drawing order: a table row's cells.
  std::vector<std::string> textsOnLine(int y) const {
    std::vector<std::string> found;
    for (const DrawnText& drawn : texts)
      if (drawn.y == y) found.push_back(drawn.text);
    return found;
  }

  std::vector<DrawnText> texts;
  std::vector<DrawnLine> lines;
  std::vector<FilledRect> rects;
  std::vector<reports::Font> fonts;
  std::vector<int> pens;
  int saves = 0;
  int restores = 0;
  std::vector<double> scales;

 private:
  int width_;
  int height_;
  reports::Rgb background_ = reports::White;
};

}  // namespace veltra::testing
