#pragma once
// The main of a benchmark program that draws: fonts and the PDF writer need
// a GUI application, here on the offscreen platform.

#include <benchmark/benchmark.h>

#include <QGuiApplication>

namespace veltra::bench {

inline int runOffscreenBenchmarks(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication application(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}

}  // namespace veltra::bench
