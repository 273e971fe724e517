#pragma once
// The one main of bench_ui: a QApplication on Qt's offscreen platform around
// the benchmarks of every page. A page's fixture that must go before the
// application registers its release here.

#include <functional>

namespace benchui {

// Runs `release` after the benchmarks, before the application ends.
bool AtExit(std::function<void()> release);

} // namespace benchui
