#include "BenchUiMain.h"

#include "Theme.h"

#include <benchmark/benchmark.h>

#include <QApplication>

#include <cstdlib>
#include <vector>

namespace benchui {

namespace {
std::vector<std::function<void()>> &Releases() {
  static std::vector<std::function<void()>> releases;
  return releases;
}
} // namespace

bool AtExit(std::function<void()> release) {
  Releases().push_back(std::move(release));
  return true;
}

} // namespace benchui

int main(int argc, char **argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication app(argc, argv);
  ui::theme::ApplyApplicationLook();
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  for (auto &release : benchui::Releases())
    release();
  return 0;
}
