#pragma once
// Runs a tool of the build as a child process with a given standard input
// and collects its exit status and output. The child inherits this test's
// environment (its sandboxed registry included).

#include <filesystem>
#include <string>
#include <vector>

namespace tooltest {

struct ToolResult {
  int exitCode = -1; // -1 when the tool did not exit normally
  std::string out;
  std::string err;
};

ToolResult RunTool(const std::filesystem::path &program, const std::vector<std::string> &args,
                   const std::string &input = {}, const std::filesystem::path &workDir = {});

// The output split at line ends.
std::vector<std::string> Lines(const std::string &text);

} // namespace tooltest
