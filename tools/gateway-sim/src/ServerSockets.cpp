#include "ServerSockets.h"

#include <arpa/inet.h>
#include <dirent.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <optional>

namespace gatewaysim {

namespace {
constexpr unsigned kListen = 0x0A;

struct TableEntry {
  std::string localAddr;
  int localPort = -1;
  std::string remoteAddr;
  int remotePort = -1;
  unsigned state = 0;
  unsigned long inode = 0;
};

// An address of /proc/net/tcp (8 hex digits) or tcp6 (32), as text.
std::string AddressText(const char *hex) {
  size_t digits = std::strlen(hex);
  char text[INET6_ADDRSTRLEN] = {};
  if (digits == 8) {
    in_addr addr{};
    addr.s_addr = static_cast<uint32_t>(std::strtoul(hex, nullptr, 16));
    inet_ntop(AF_INET, &addr, text, sizeof text);
  } else if (digits == 32) {
    in6_addr addr{};
    for (int word = 0; word < 4; ++word) {
      char part[9] = {};
      std::memcpy(part, hex + word * 8, 8);
      uint32_t value = static_cast<uint32_t>(std::strtoul(part, nullptr, 16));
      std::memcpy(&addr.s6_addr[word * 4], &value, 4);
    }
    inet_ntop(AF_INET6, &addr, text, sizeof text);
  }
  return text;
}

// Calls `visit` for every entry of the kernel's TCP tables until it
// returns false.
void ForEachTableEntry(const std::function<bool(const TableEntry &)> &visit) {
  for (const char *table : {"/proc/net/tcp", "/proc/net/tcp6"}) {
    std::FILE *file = std::fopen(table, "r");
    if (!file) continue;
    char line[512];
    bool go = std::fgets(line, sizeof line, file) != nullptr; // header
    while (go && std::fgets(line, sizeof line, file)) {
      char local[33] = {}, remote[33] = {};
      TableEntry e;
      if (std::sscanf(line, " %*d: %32[0-9A-Fa-f]:%X %32[0-9A-Fa-f]:%X %X %*s %*s %*s %*s %*s %lu",
                      local, &e.localPort, remote, &e.remotePort, &e.state, &e.inode) != 6) {
        continue;
      }
      e.localAddr = AddressText(local);
      e.remoteAddr = AddressText(remote);
      go = visit(e);
    }
    std::fclose(file);
    if (!go) return;
  }
}

// The descriptor of this process that refers to socket `inode`, or -1.
int DescriptorOf(unsigned long inode) {
  DIR *dir = opendir("/proc/self/fd");
  if (!dir) return -1;
  char wanted[64];
  std::snprintf(wanted, sizeof wanted, "socket:[%lu]", inode);
  int found = -1;
  while (dirent *entry = readdir(dir)) {
    std::string path = std::string("/proc/self/fd/") + entry->d_name;
    char target[64] = {};
    ssize_t n = readlink(path.c_str(), target, sizeof target - 1);
    if (n > 0 && std::strcmp(target, wanted) == 0) {
      found = std::atoi(entry->d_name);
      break;
    }
  }
  closedir(dir);
  return found;
}

bool SameHost(const std::string &a, const std::string &b) {
  if (a == b) return true;
  // An IPv4 peer on a dual-stack socket shows as ::ffff:a.b.c.d.
  static const std::string kMapped = "::ffff:";
  return (a.rfind(kMapped, 0) == 0 && a.substr(kMapped.size()) == b) ||
         (b.rfind(kMapped, 0) == 0 && b.substr(kMapped.size()) == a);
}
} // namespace

int ServerSockets::Find(int localPort, const std::string &remoteAddr, int remotePort) {
  std::optional<unsigned long> inode;
  ForEachTableEntry([&](const TableEntry &e) {
    if (e.state != kListen && e.localPort == localPort && e.remotePort == remotePort &&
        SameHost(e.remoteAddr, remoteAddr) && e.inode != 0) {
      inode = e.inode;
      return false;
    }
    return true;
  });
  return inode ? DescriptorOf(*inode) : -1;
}

bool ServerSockets::Drop(int localPort, const std::string &remoteAddr, int remotePort) {
  int fd = Find(localPort, remoteAddr, remotePort);
  return fd >= 0 && shutdown(fd, SHUT_RDWR) == 0;
}

bool ServerSockets::WidenBacklog(int localPort, int backlog) {
  int fd = -1;
  ForEachTableEntry([&](const TableEntry &e) {
    // Several processes may listen on the port of another address family;
    // only a descriptor of this process counts.
    if (e.state == kListen && e.localPort == localPort && e.inode != 0) fd = DescriptorOf(e.inode);
    return fd < 0;
  });
  return fd >= 0 && listen(fd, backlog) == 0;
}

} // namespace gatewaysim
