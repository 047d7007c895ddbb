#pragma once
#include <benchmark/benchmark.h>

#include <QByteArray>
#include <QTemporaryDir>
#include <QtGlobal>

// Runs the registered benchmarks inside the Qt application they need, on
// the offscreen platform unless another is asked for.
template <class App>
int runBenchmarks(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  // The loader's thumbnails go to a cache of the run's own.
  QTemporaryDir cache;
  qputenv("XDG_CACHE_HOME", cache.path().toLocal8Bit());
  App app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
