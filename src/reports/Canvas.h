#pragma once
// The surface every report draws on, in units of 1/600 inch whatever the
// device: the preview, the printer and the PDF writer implement it on a
// painter, the tests record what is drawn. Pagination depends on the device
// only through what measure() answers.

#include <algorithm>
#include <string_view>
#include <vector>

namespace veltra::reports {

struct Rgb {
  int red = 0;
  int green = 0;
  int blue = 0;

  friend bool operator==(const Rgb&, const Rgb&) = default;
};

inline constexpr Rgb White{255, 255, 255};

struct Font {
  std::string_view family;
  int points = 0;
  int weight = 0;  // 400 is normal

  friend bool operator==(const Font&, const Font&) = default;
};

struct TextSize {
  int width = 0;
  int height = 0;
};

class Canvas {
 public:
  virtual ~Canvas() = default;

  // The paper, in 1/600 inch.
  virtual int pageWidth() const = 0;
  virtual int pageHeight() const = 0;

  // The state a page's drawing starts from, and leaves behind.
  virtual void save() = 0;
  virtual void restore() = 0;
  // Draws everything after it smaller (factor below 1) until restore.
  virtual void scale(double factor) = 0;

  virtual void selectFont(const Font& font) = 0;
  // A solid black pen of that width for every line.
  virtual void selectPen(int width) = 0;
  // The text's size in the selected font.
  virtual TextSize measure(std::string_view text) = 0;
  // The width of the widest of many texts, as measure() gives it; 0 for
  // none. A canvas may leave out texts it can tell are narrower.
  virtual int widest(const std::vector<std::string_view>& texts) {
    int widest = 0;
    for (std::string_view text : texts) widest = std::max(widest, measure(text).width);
    return widest;
  }
  // Texts are placed by their top-left corner.
  virtual void text(int x, int y, std::string_view text) = 0;
  virtual void line(int x1, int y1, int x2, int y2) = 0;
  virtual void fillRect(int left, int top, int right, int bottom, Rgb colour) = 0;
  // What texts are drawn over.
  virtual void setTextBackground(Rgb colour) = 0;
};

}  // namespace veltra::reports
