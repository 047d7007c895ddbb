#pragma once
#include <benchmark/benchmark.h>

#include <QByteArray>
#include <QtGlobal>

// Runs the registered benchmarks inside the Qt application they need, on
// the offscreen platform unless another is asked for.
template <class App>
int runBenchmarks(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  App app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
