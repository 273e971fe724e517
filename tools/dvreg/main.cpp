// dvreg: get, set, list and delete registry keys and values.
#include "DvregCommand.h"

#include <iostream>

int main(int argc, char **argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  dvreg::DvregCommand command(std::cout, std::cerr);
  int rc = command.Run(args);
  std::cout.flush();
  if (!std::cout) return rc == 0 ? dvreg::DvregCommand::kWriteFailed : rc;
  return rc;
}
