#pragma once
// Runs the calling program again inside a session bus of its own, so that
// services the bus starts (Evolution Data Server) never see the user's bus
// or files:
//
//   int main(int argc, char **argv) {
//     if (int rc = testsupport::RunInPrivateSessionBus(argc, argv); rc >= 0) return rc;
//     ... // inside the bus (or no bus to be had)
//   }
//
// The copy runs under dbus-run-session with HOME, the XDG folders and
// XDG_RUNTIME_DIR in a fresh temporary folder and GSETTINGS_BACKEND=memory,
// all set before the bus starts; the folder is removed when it ends.

namespace testsupport {

// The copy's exit status, or -1 in the copy itself, when dbus-run-session is
// not installed, or when `argv` only asks for a list of tests.
int RunInPrivateSessionBus(int argc, char **argv);

// True inside such a copy.
bool InPrivateSessionBus();

} // namespace testsupport
