#include "qt/ResponsiveCanvas.h"

namespace veltra::qt {

ResponsiveCanvas::ResponsiveCanvas(reports::Canvas& canvas, std::function<void()> keepResponsive)
    : canvas_(canvas), keepResponsive_(std::move(keepResponsive)) {}

reports::TextSize ResponsiveCanvas::measure(std::string_view text) {
  keepResponsive_();
  return canvas_.measure(text);
}

// A batch takes a fraction of a second however many texts it holds.
int ResponsiveCanvas::widest(const std::vector<std::string_view>& texts) {
  keepResponsive_();
  const int widest = canvas_.widest(texts);
  keepResponsive_();
  return widest;
}

void ResponsiveCanvas::text(int x, int y, std::string_view text) {
  keepResponsive_();
  canvas_.text(x, y, text);
}

}  // namespace veltra::qt
