// The crash-consistency harness: queues 1,000 messages (single sends,
// merged messages to three contacts each, a batch of 300 numbers), then
// runs the program's store, engine and Parlink (through the automation
// runtime) against the gateway simulator in child processes, killing each
// with SIGKILL at a random moment (seeded, printed) and starting the next,
// and finally lets one run to the end. It then compares the store with the
// simulator's request log: every queued destination must have been
// accepted by the gateway exactly once, or be Failed with a reason; none
// may be lost, sent twice or left Processing, and the store must open.
//
//   engine_crash_harness [--kills N] [--seed S] [--keep]
//
// Prints one summary line; exits 0 when nothing is wrong.
#include "HarnessChild.h"
#include "OutboxAudit.h"

#include "store/SmsStore.h"

#include <automation/automation.h>
#include <gatewaysim/GatewaySimServer.h>

#include <dlfcn.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <random>
#include <string>
#include <thread>

extern char **environ;

namespace {

namespace fs = std::filesystem;
using namespace crashharness;

struct Options {
  int kills = 10;
  std::uint64_t seed = 0;
  bool seeded = false;
  bool keep = false;
};

// Queues the messages and returns their destinations. Every destination
// has a number of its own, so the gateway's log tells them apart.
std::vector<QueuedDestination> QueueMessages(store::SmsStore &store) {
  std::vector<QueuedDestination> queued;
  int merged = 0;
  for (int i = 0; i < 1000; ++i) {
    if (i == 990) { // among the first sent (newest first)
      std::string to;
      std::vector<QueuedDestination> batch;
      for (int k = 0; k < 300; ++k) {
        const std::string number = std::to_string(27830000000LL + k);
        to += (k ? "," : "") + number;
        batch.push_back({0, true, number, number});
      }
      const int id = store.AddSms(0, 0, 0, 0, to, "Batch for all", "", 0, "?", 0);
      for (QueuedDestination &d : batch) {
        d.messageId = id;
        queued.push_back(d);
      }
    } else if (i % 10 == 5 && merged < 99) {
      std::string to;
      std::vector<QueuedDestination> people;
      for (int k = 0; k < 3; ++k) {
        const std::string mobile = std::to_string(27840000000LL + merged * 3 + k);
        store::ContactRecord contact;
        contact.SetName("C" + std::to_string(merged * 3 + k));
        contact.SetMobile(mobile);
        const int cid = store.AddContact(contact);
        to += (k ? ",A" : "A") + std::to_string(cid);
        people.push_back({0, true, "A" + std::to_string(cid), mobile});
      }
      const int id = store.AddSms(0, 0, 0, 0, to, "Hello <<FIRSTNAME>>", "", 0, "?", 0);
      for (QueuedDestination &d : people) {
        d.messageId = id;
        queued.push_back(d);
      }
      ++merged;
    } else {
      const std::string number = std::to_string(27820000000LL + i);
      const int id = store.AddSms(0, 0, 0, 0, number, "Single " + std::to_string(i), "", 0, "?", 0);
      queued.push_back({id, false, number, number});
    }
  }
  store.Commit();
  return queued;
}

// Starts one life of the program; `out` receives its standard output.
pid_t SpawnChild(const std::string &dataFolder, int &out) {
  int pipeFds[2];
  if (::pipe(pipeFds) != 0) return -1;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
  posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
  std::string self = fs::read_symlink("/proc/self/exe").string();
  std::string flag = "--child";
  std::string folder = dataFolder;
  char *argv[] = {self.data(), flag.data(), folder.data(), nullptr};
  pid_t pid = -1;
  if (posix_spawn(&pid, self.c_str(), &actions, nullptr, argv, environ) != 0) pid = -1;
  posix_spawn_file_actions_destroy(&actions);
  ::close(pipeFds[1]);
  out = pipeFds[0];
  return pid;
}

// Waits for the child's "ready" (it has logged in); false when it ended or
// took longer than `timeoutMs`.
bool WaitReady(int fd, int timeoutMs) {
  pollfd p{fd, POLLIN, 0};
  if (::poll(&p, 1, timeoutMs) <= 0) return false;
  char buffer[16] = {};
  return ::read(fd, buffer, sizeof buffer - 1) > 0 && std::strncmp(buffer, "ready", 5) == 0;
}

int ExitStatus(pid_t pid) {
  int status = 0;
  if (::waitpid(pid, &status, 0) != pid) return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

bool RegisterParlink() {
  void *module = dlopen(DV_HARNESS_LIB_DIR "/libparlink.so", RTLD_NOW);
  auto reg = module ? reinterpret_cast<PFN_DllRegisterServer>(dlsym(module, "DllRegisterServer"))
                    : nullptr;
  return reg != nullptr && SUCCEEDED(reg());
}

int RunHarness(const Options &options) {
  std::string pattern = (fs::temp_directory_path() / "dv-crash-XXXXXX").string();
  if (!mkdtemp(pattern.data())) return 2;
  const fs::path root = pattern;
  const fs::path data = root / "data";
  fs::create_directories(data);
  setenv("DOVETEXT_REGISTRY", (root / "registry").c_str(), 1);
  setenv("XDG_CONFIG_HOME", (root / "config").c_str(), 1);
  setenv("XDG_DATA_HOME", (root / "xdg").c_str(), 1);
  setenv("XDG_RUNTIME_DIR", root.c_str(), 1);
  if (!RegisterParlink()) {
    std::fprintf(stderr, "libparlink.so could not be registered\n");
    return 2;
  }

  gatewaysim::SimOptions simOptions;
  gatewaysim::AccountSpec demo = gatewaysim::SimOptions::DemoAccount();
  demo.balance = 1e9;
  simOptions.accounts = {demo};
  simOptions.sessionIdleMs = 24LL * 3600 * 1000;
  simOptions.threads = 8;
  simOptions.logLimit = 2000000;
  // Requests take a little time, as over a network, and batch requests
  // longer: the kills then fall on requests in flight as often as between
  // them.
  gatewaysim::FaultSpec latency;
  latency.kind = gatewaysim::FaultKind::Latency;
  latency.latencyMs = 1;
  simOptions.faults.push_back(latency);
  latency.pattern = "http_batch/quicksend";
  latency.latencyMs = 20;
  simOptions.faults.push_back(latency);
  gatewaysim::GatewaySimServer sim(simOptions);
  std::string error;
  if (!sim.Start(&error)) {
    std::fprintf(stderr, "gateway-sim: %s\n", error.c_str());
    return 2;
  }
  setenv("PARLINK_BASE_URL", sim.BaseUrl().c_str(), 1);

  std::vector<QueuedDestination> queued;
  {
    store::SmsStore store(data.string());
    if (!store.IsUsable()) return 2;
    queued = QueueMessages(store);
  }

  const std::uint64_t seed = options.seeded ? options.seed : std::random_device{}();
  std::printf("crash harness: seed %llu, %d kills, data in %s\n",
              static_cast<unsigned long long>(seed), options.kills, data.c_str());
  std::fflush(stdout);
  std::mt19937_64 random(seed);
  std::uniform_int_distribution<int> delayMs(0, 40);
  int killed = 0;
  for (int life = 0; life < options.kills; ++life) {
    int out = -1;
    const pid_t pid = SpawnChild(data.string(), out);
    if (pid < 0) return 2;
    const int delay = delayMs(random);
    if (WaitReady(out, 30000)) {
      std::this_thread::sleep_for(std::chrono::milliseconds(delay));
      ::kill(pid, SIGKILL);
    }
    const int status = ExitStatus(pid);
    ::close(out);
    if (status == 128 + SIGKILL) {
      ++killed;
    } else if (status != 0) {
      std::fprintf(stderr, "life %d ended with status %d\n", life, status);
      return 1;
    }
  }
  int out = -1;
  const pid_t last = SpawnChild(data.string(), out);
  WaitReady(out, 30000);
  const int lastStatus = ExitStatus(last);
  ::close(out);
  sim.Stop();

  const AuditCounts c = Audit(data.string(), queued, AcceptedByNumber(sim.LogJsonLines()));
  std::printf("crash harness: seed=%llu kills=%d messages=1000 destinations=%d sent=%d "
              "never_reached=%d outcome_unknown=%d lost=%d duplicates=%d processing=%d "
              "phantom=%d contradicted=%d unexplained=%d unsettled=%d extra_rows=%d "
              "store_opens=%s last_run=%d\n",
              static_cast<unsigned long long>(seed), killed, c.destinations, c.sent, c.neverReached,
              c.unknown, c.lost, c.duplicates, c.processing, c.phantom, c.contradicted,
              c.unexplained, c.unsettled, c.extraRows, c.storeUsable ? "yes" : "no", lastStatus);
  const bool ok = c.Errors() == 0 && lastStatus == 0;
  if (ok && !options.keep) {
    std::error_code ec;
    fs::remove_all(root, ec);
  }
  return ok ? 0 : 1;
}

} // namespace

int main(int argc, char **argv) {
  if (argc == 3 && std::strcmp(argv[1], "--child") == 0) return RunChild(argv[2]);
  Options options;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--kills" && i + 1 < argc) {
      options.kills = std::atoi(argv[++i]);
    } else if (arg == "--seed" && i + 1 < argc) {
      options.seed = std::strtoull(argv[++i], nullptr, 10);
      options.seeded = true;
    } else if (arg == "--keep") {
      options.keep = true;
    } else {
      std::fprintf(stderr, "usage: %s [--kills N] [--seed S] [--keep]\n", argv[0]);
      return 2;
    }
  }
  return RunHarness(options);
}
