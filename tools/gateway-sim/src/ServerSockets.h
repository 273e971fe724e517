#pragma once
// The sockets of this process's listeners. The HTTP library does not hand
// its sockets to request handlers, so the socket of a request is looked up
// by its addresses in the kernel's connection table (/proc/net/tcp and
// tcp6) and then by its inode among the process's descriptors. Only names
// are read on the way, so no other thread's descriptor is touched; sockets
// are only ever shut down here, never closed: their owner closes them.

#include <string>

namespace gatewaysim {

class ServerSockets {
public:
  // The descriptor of the accepted socket local port `localPort` <- remote
  // `remoteAddr`:`remotePort`, or -1. Only the thread serving that
  // connection may use the result: nobody else closes it meanwhile.
  static int Find(int localPort, const std::string &remoteAddr, int remotePort);
  // Shuts down that socket in both directions (the peer sees the
  // connection end without a reply). False when it cannot be found.
  static bool Drop(int localPort, const std::string &remoteAddr, int remotePort);
  // Raises the listen backlog of this process's listening socket on
  // `localPort` (the HTTP library listens with a backlog of 5, which makes
  // bursts of new connections wait for SYN retries).
  static bool WidenBacklog(int localPort, int backlog);
};

} // namespace gatewaysim
