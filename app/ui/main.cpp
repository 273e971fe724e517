// The Dovetext program.
#include "Program.h"
#include "Theme.h"

#include <QApplication>

int main(int argc, char **argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("Dovetext");
  QApplication::setOrganizationName("Quorvane");
  ui::theme::ApplyApplicationLook();
  ui::Program program;
  return program.Run();
}
