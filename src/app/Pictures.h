#pragma once
// The program's pictures, drawn in code so they stay sharp and need no files:
// the application icon (101), the main window's background (102), the
// indicator's digits (103 for 9 down to 112 for 0) and its separator (113).
// Each is drawn for the screen's pixel ratio: its size in the window's units
// is deviceIndependentSize(), not size().

#include <QIcon>
#include <QImage>

namespace veltra::app::pictures {

QIcon applicationIcon();     // 101
const QImage& background();  // 102
const QImage& digit(int d);  // 112 - d, for d in 0..9
const QImage& separator();   // 113

}  // namespace veltra::app::pictures
