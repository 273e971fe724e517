#include <update/InstallerTrust.h>

#include <testsupport/TestEnv.h>

#include <gtest/gtest.h>

namespace {

using update::InstallerTrust;
using update::UpdateDescriptor;
using Verdict = update::InstallerTrust::Verdict;

// SHA-256 of "abc".
const std::string kAbc = "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad";

struct Installer {
  std::filesystem::path file = testsupport::MakeTempDir("trust") / "Update.run";
  Installer() { testsupport::WriteFile(file, "abc"); }

  Verdict Judge(const std::string &descriptor, const std::string &versionUrl,
                const std::string &fileUrl) const {
    return InstallerTrust::Judge(UpdateDescriptor::Parse(descriptor), versionUrl, fileUrl, file)
        .verdict;
  }
};

TEST(InstallerTrustTest, Sha256OfAFile) {
  Installer installer;
  EXPECT_EQ(InstallerTrust::Sha256Hex(installer.file), kAbc);
  EXPECT_FALSE(InstallerTrust::Sha256Hex(installer.file.parent_path() / "absent"));
}

TEST(InstallerTrustTest, ADeclaredDigestDecidesWhateverTheTransport) {
  Installer i;
  const std::string http = "http://updates.example/x";
  const std::string https = "https://updates.example/x";
  EXPECT_EQ(i.Judge("3.1\nsha256 " + kAbc, http, http), Verdict::DigestMatches);
  std::string other(64, 'a');
  EXPECT_EQ(i.Judge("3.1\nsha256 " + other, https, https), Verdict::Mismatch);
  EXPECT_EQ(i.Judge("3.1\nsha256 abc", https, https), Verdict::Mismatch);
}

TEST(InstallerTrustTest, WithoutADigestOnlyHttpsForBothAddressesIsTrusted) {
  Installer i;
  EXPECT_EQ(i.Judge("3.1", "HTTPS://updates.example/v", "https://cdn.example/f"),
            Verdict::SecureTransport);
  EXPECT_EQ(i.Judge("3.1", "https://updates.example/v", "http://cdn.example/f"),
            Verdict::Unverified);
  EXPECT_EQ(i.Judge("3.1", "http://updates.example/v", "https://cdn.example/f"),
            Verdict::Unverified);
}

} // namespace
