// Runs the C11 client against the registered library.

#include "FrameCClient.h"
#include "FrameTestSupport.h"

#include <gtest/gtest.h>

namespace {

TEST(FrameCClient, CreatesByProgIdAndCallsByName) {
  ASSERT_EQ(S_OK, frametest::Module().registerServer());
  char message[256];
  EXPECT_EQ(0, RunCClient(message, sizeof message)) << message;
}

} // namespace
