#include <benchmark/benchmark.h>

#include <QGuiApplication>

// Benchmarks run with an application object on the offscreen platform, so fonts and images
// behave as in the program.
int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
