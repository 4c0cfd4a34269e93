#include "qt/ResponsiveCanvas.h"

namespace veltra::qt {

ResponsiveCanvas::ResponsiveCanvas(reports::Canvas& canvas, std::function<void()> keepResponsive)
    : canvas_(canvas), keepResponsive_(std::move(keepResponsive)) {}

reports::TextSize ResponsiveCanvas::measure(std::string_view text) {
  keepResponsive_();
  return canvas_.measure(text);
}

void ResponsiveCanvas::text(int x, int y, std::string_view text) {
  keepResponsive_();
  canvas_.text(x, y, text);
}

}  // namespace veltra::qt
