#include "support/RecordingCanvas.h"

#include "db/PlainText.h"

namespace veltra::testing {

reports::TextSize RecordingCanvas::measure(std::string_view text) {
  return {static_cast<int>(db::Utf8Length(text)) * CharWidth, TextHeight};
}

void RecordingCanvas::text(int x, int y, std::string_view text) {
  texts.push_back({x, y, std::string(text), background_});
}

void RecordingCanvas::clear() {
  texts.clear();
  lines.clear();
  rects.clear();
  fonts.clear();
  pens.clear();
  saves = restores = 0;
}

std::vector<DrawnText> RecordingCanvas::textsEqualTo(std::string_view text) const {
  std::vector<DrawnText> found;
  for (const DrawnText& drawn : texts)
    if (drawn.text == text) found.push_back(drawn);
  return found;
}

}  // namespace veltra::testing
