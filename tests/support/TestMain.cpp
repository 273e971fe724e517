// Test main shared by every GoogleTest program: each test process gets its
// own sandbox (registry, config, data and runtime folders) before any test
// runs, and the sandbox is removed afterwards.
#include <gtest/gtest.h>

namespace testsupport {
void InitSandbox();
void CleanupSandbox();
} // namespace testsupport

int main(int argc, char **argv) {
  testsupport::InitSandbox();
  ::testing::InitGoogleTest(&argc, argv);
  int rc = RUN_ALL_TESTS();
  testsupport::CleanupSandbox();
  return rc;
}
