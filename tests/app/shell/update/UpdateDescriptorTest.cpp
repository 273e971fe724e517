#include <update/UpdateDescriptor.h>

#include <testsupport/TestEnv.h>

#include <gtest/gtest.h>

namespace {

using update::UpdateDescriptor;
using Digest = update::UpdateDescriptor::Digest;

const std::string kHash = "9F86D081884C7D659A2FEAA0C55AD015A3BF4F1B2B0B822CD15D6C15B0F00A08";

TEST(UpdateDescriptorTest, AnOldFileHoldsOnlyTheVersion) {
  UpdateDescriptor d = UpdateDescriptor::Parse("3.0.1.7\r\n");
  EXPECT_EQ(d.version.Text(), "3.0.1.7");
  EXPECT_EQ(d.digest, Digest::None);
}

TEST(UpdateDescriptorTest, ASha256LineOnALaterLineGivesTheDigest) {
  UpdateDescriptor d =
      UpdateDescriptor::Parse("3.0.1.7\r\nreleased 2024-05-01\r\nsha256  " + kHash + " \r\n");
  EXPECT_EQ(d.version.Text(), "3.0.1.7");
  ASSERT_EQ(d.digest, Digest::Given);
  EXPECT_EQ(d.sha256, "9f86d081884c7d659a2feaa0c55ad015a3bf4f1b2b0b822cd15d6c15b0f00a08");
  // Only later lines carry it; the first line is the version.
  EXPECT_EQ(UpdateDescriptor::Parse("sha256 " + kHash).digest, Digest::None);
  EXPECT_EQ(UpdateDescriptor::Parse("1.0\nsha256sum " + kHash).digest, Digest::None);
}

TEST(UpdateDescriptorTest, ASha256LineWithoutSixtyFourHexDigitsIsMalformed) {
  EXPECT_EQ(UpdateDescriptor::Parse("1.0\nsha256 " + kHash.substr(1)).digest, Digest::Malformed);
  EXPECT_EQ(UpdateDescriptor::Parse("1.0\nsha256 " + kHash.substr(1) + "g").digest,
            Digest::Malformed);
  EXPECT_EQ(UpdateDescriptor::Parse("1.0\nsha256 ").digest, Digest::Malformed);
}

TEST(UpdateDescriptorTest, AMissingFileReadsAsVersionZero) {
  auto dir = testsupport::MakeTempDir("ver");
  UpdateDescriptor d = UpdateDescriptor::Read(dir / "update.ver");
  EXPECT_EQ(d.version.Text(), "0.0.0.0");
  EXPECT_EQ(d.digest, Digest::None);
  testsupport::WriteFile(dir / "update.ver", "7.1\nsha256 " + kHash + "\n");
  EXPECT_EQ(UpdateDescriptor::Read(dir / "update.ver").digest, Digest::Given);
}

} // namespace
