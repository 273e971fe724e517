#pragma once
// The commands of dvreg, run against one registry, writing to the given
// streams. Exit codes: 0 done, 1 key or value missing, 2 bad usage,
// 3 the registry could not be written.

#include <registry/Registry.h>

#include <ostream>
#include <string>
#include <vector>

namespace dvreg {

class DvregCommand {
public:
  enum ExitCode { kOk = 0, kMissing = 1, kUsage = 2, kWriteFailed = 3 };

  DvregCommand(std::ostream &out, std::ostream &err) : out_(out), err_(err) {}

  // `args` without the program name.
  int Run(const std::vector<std::string> &args);

  static void PrintHelp(std::ostream &out);

private:
  int Set(registry::Registry &reg, const std::vector<std::string> &args);
  int Get(registry::Registry &reg, const std::vector<std::string> &args);
  int List(registry::Registry &reg, const std::vector<std::string> &args);
  int Delete(registry::Registry &reg, const std::vector<std::string> &args);

  bool ParseKey(const std::string &text, registry::Hive &hive, std::string &key);
  int Usage(const std::string &message);

  std::ostream &out_;
  std::ostream &err_;
};

} // namespace dvreg
