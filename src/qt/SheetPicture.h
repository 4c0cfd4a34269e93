#pragma once
// One page of a report recorded as a picture, measured as a sheet of paper
// at the resolution of the report's PDF: text is measured for the page as
// the PDF measures it, and the picture can be shown at any size later.

#include <QPicture>
#include <QSize>

namespace veltra::qt {

class SheetPicture : public QPicture {
 public:
  // pixels: the printable area of the sheet at resolution dots per inch.
  SheetPicture(QSize pixels, int resolution) : pixels_(pixels), resolution_(resolution) {}

 protected:
  int metric(PaintDeviceMetric metric) const override;

 private:
  QSize pixels_;
  int resolution_;
};

}  // namespace veltra::qt
