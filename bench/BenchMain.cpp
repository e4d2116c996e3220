#include <benchmark/benchmark.h>

#include <QApplication>

// Benchmarks run with an application object on the offscreen platform, so fonts, images and the
// dialogs behave as in the program.
int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
