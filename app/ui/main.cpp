// The Dovetext program.
#include "CommandLineInfo.h"
#include "GuardedApplication.h"
#include "Program.h"
#include "Theme.h"

#include <cstdio>
#include <cstdlib>

int main(int argc, char **argv) {
  if (auto answered = ui::CommandLineInfo::Answer(argc, argv, stdout)) return *answered;
  ui::GuardedApplication app(argc, argv);
  QApplication::setApplicationName("Dovetext");
  QApplication::setOrganizationName("Quorvane");
  // The desktop entry's name, so that the desktop shows its icon for the window.
  QGuiApplication::setDesktopFileName("com.quorvane.Dovetext");
  ui::theme::ApplyApplicationLook();
  ui::Program program;
  int code = program.Run();
  if (program.WorkerLeftRunning()) {
    // The worker thread is still inside a gateway call, with objects it
    // uses left alive: no destructor may run while it does.
    std::fflush(nullptr);
    std::_Exit(code);
  }
  return code;
}
