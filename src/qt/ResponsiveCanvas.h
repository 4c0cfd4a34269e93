#pragma once
// A canvas that passes every call on to another and, as texts are measured
// and drawn, lets the program keep its window painted and its busy indicator
// counting: paginating or drawing a report of thousands of pages takes
// seconds in which no statement of the engine reports progress.

#include <functional>

#include "reports/Canvas.h"

namespace veltra::qt {

class ResponsiveCanvas : public reports::Canvas {
 public:
  // keepResponsive: called between texts; it must be cheap when nothing is due.
  ResponsiveCanvas(reports::Canvas& canvas, std::function<void()> keepResponsive);

  int pageWidth() const override { return canvas_.pageWidth(); }
  int pageHeight() const override { return canvas_.pageHeight(); }
  void save() override { canvas_.save(); }
  void restore() override { canvas_.restore(); }
  void scale(double factor) override { canvas_.scale(factor); }
  void selectFont(const reports::Font& font) override { canvas_.selectFont(font); }
  void selectPen(int width) override { canvas_.selectPen(width); }
  reports::TextSize measure(std::string_view text) override;
  int widest(const std::vector<std::string_view>& texts) override;
  void text(int x, int y, std::string_view text) override;
  void line(int x1, int y1, int x2, int y2) override { canvas_.line(x1, y1, x2, y2); }
  void fillRect(int left, int top, int right, int bottom, reports::Rgb colour) override {
    canvas_.fillRect(left, top, right, bottom, colour);
  }
  void setTextBackground(reports::Rgb colour) override { canvas_.setTextBackground(colour); }

 private:
  reports::Canvas& canvas_;
  std::function<void()> keepResponsive_;
};

}  // namespace veltra::qt
