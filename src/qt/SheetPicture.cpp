#include "qt/SheetPicture.h"

#include <cmath>

namespace veltra::qt {

namespace {

int millimetres(int pixels, int resolution) {
  return static_cast<int>(std::lround(pixels * 25.4 / resolution));
}

}  // namespace

int SheetPicture::metric(PaintDeviceMetric metric) const {
  switch (metric) {
    case PdmWidth:
      return pixels_.width();
    case PdmHeight:
      return pixels_.height();
    case PdmWidthMM:
      return millimetres(pixels_.width(), resolution_);
    case PdmHeightMM:
      return millimetres(pixels_.height(), resolution_);
    case PdmDpiX:
    case PdmDpiY:
    case PdmPhysicalDpiX:
    case PdmPhysicalDpiY:
      return resolution_;
    default:
      return QPicture::metric(metric);
  }
}

}  // namespace veltra::qt
