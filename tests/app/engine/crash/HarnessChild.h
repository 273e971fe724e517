#pragma once
// One life of the program under test: opens the store in the data folder,
// creates the Parlink object through the automation runtime, logs in, says
// "ready" on standard output and lets the communications worker (on a fast
// clock) send, settle and ask until nothing is left to do. The harness
// kills it with SIGKILL at a moment of its choosing.

#include <string>

namespace crashharness {

// Returns the process's exit status: 0 when everything was settled.
int RunChild(const std::string &dataFolder);

} // namespace crashharness
