// The download routine against an in-process HTTP server on 127.0.0.1.
#include <download/Downloader.h>

#include <testsupport/TestEnv.h>

#include <gtest/gtest.h>
#include <httplib.h>

#include <sys/stat.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>
#include <type_traits>

namespace {

namespace fs = std::filesystem;
using download::Downloader;

// An HTTP (or, with certificate and key, HTTPS) server on a free loopback
// port.
template <class Server = httplib::Server> class LocalServer {
public:
  template <class... Args> explicit LocalServer(Args &&...args) : server_(args...) {
    port_ = server_.bind_to_any_port("127.0.0.1");
    thread_ = std::thread([this] { server_.listen_after_bind(); });
    while (!server_.is_running())
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  ~LocalServer() {
    server_.stop();
    thread_.join();
  }
  Server &Http() { return server_; }
  std::string Url(const std::string &path) const {
    const char *scheme = std::is_same_v<Server, httplib::Server> ? "http" : "https";
    return std::string(scheme) + "://127.0.0.1:" + std::to_string(port_) + path;
  }

private:
  Server server_;
  int port_ = 0;
  std::thread thread_;
};

std::string Pattern(size_t n) {
  std::string s(n, '\0');
  for (size_t i = 0; i < n; ++i)
    s[i] = static_cast<char>((i * 7 + 3) & 0xFF);
  return s;
}

TEST(DownloaderTest, WritesThroughTmpFileAndRenamesOnSuccess) {
  LocalServer server;
  const std::string body = Pattern(5000);
  server.Http().Get("/banner.png", [&](const httplib::Request &req, httplib::Response &res) {
    EXPECT_EQ(req.get_header_value("User-Agent"), "Dovetext.exe");
    res.set_content(body, "image/png");
  });
  fs::path dest = testsupport::MakeTempDir("dl") / "sub" / "Veltrum.dll";
  fs::path tmp = dest.string() + ".tmp";

  Downloader d;
  std::vector<uint64_t> totals;
  bool sawTmpOnly = false;
  int rc = d.Download(server.Url("/banner.png"), dest, nullptr, [&](uint64_t total) {
    if (totals.empty() || totals.back() != total) totals.push_back(total);
    if (total > 0 && fs::exists(tmp) && !fs::exists(dest)) sawTmpOnly = true;
  });
  ASSERT_EQ(rc, download::kDownloadOk) << d.ErrorText();
  EXPECT_TRUE(d.ErrorText().empty());
  EXPECT_EQ(testsupport::ReadFile(dest), body);
  EXPECT_FALSE(fs::exists(tmp));
  EXPECT_TRUE(sawTmpOnly);
  ASSERT_FALSE(totals.empty());
  EXPECT_EQ(totals.back(), 5000u);
  // Chunks are at most 1024 bytes, so 5000 bytes report at least five totals.
  EXPECT_GE(totals.size(), 5u);
}

TEST(DownloaderTest, NotFoundLeavesDestinationUntouched) {
  LocalServer server;
  server.Http().Get("/missing", [](const httplib::Request &, httplib::Response &res) {
    res.status = 404;
    res.set_content("not here", "text/plain");
  });
  fs::path dest = testsupport::MakeTempDir("dl") / "update.ver";
  testsupport::WriteFile(dest, "old contents");
  Downloader d;
  std::string url = server.Url("/missing");
  EXPECT_EQ(d.Download(url, dest), download::kDownloadFailed);
  EXPECT_EQ(d.ErrorText(), "Could not read file " + url + "\n");
  EXPECT_EQ(testsupport::ReadFile(dest), "old contents");
}

TEST(DownloaderTest, StatusWithoutBodyOutside20xFails) {
  LocalServer server;
  server.Http().Get("/err",
                    [](const httplib::Request &, httplib::Response &res) { res.status = 500; });
  fs::path dest = testsupport::MakeTempDir("dl") / "f.bin";
  Downloader d;
  EXPECT_EQ(d.Download(server.Url("/err"), dest), download::kDownloadFailed);
  EXPECT_EQ(d.ErrorText(), "Could not read file " + server.Url("/err") + "\n");
  EXPECT_FALSE(fs::exists(dest));
}

TEST(DownloaderTest, EmptyBodyWithOkStatusGivesEmptyFile) {
  LocalServer server;
  server.Http().Get("/empty",
                    [](const httplib::Request &, httplib::Response &res) { res.status = 204; });
  fs::path dest = testsupport::MakeTempDir("dl") / "e.bin";
  testsupport::WriteFile(dest, "previous");
  Downloader d;
  ASSERT_EQ(d.Download(server.Url("/empty"), dest), download::kDownloadOk) << d.ErrorText();
  EXPECT_TRUE(fs::exists(dest));
  EXPECT_EQ(fs::file_size(dest), 0u);
}

TEST(DownloaderTest, CancelStopsAfterTheCurrentChunk) {
  LocalServer server;
  std::atomic<bool> release{false};
  server.Http().Get("/big", [&](const httplib::Request &, httplib::Response &res) {
    res.set_chunked_content_provider("application/octet-stream",
                                     [&](size_t offset, httplib::DataSink &sink) {
                                       std::string chunk(1024, 'x');
                                       sink.write(chunk.data(), chunk.size());
                                       if (offset > 4 * 1024 * 1024) sink.done();
                                       return !release.load();
                                     });
  });
  fs::path dest = testsupport::MakeTempDir("dl") / "Update.exe";
  testsupport::WriteFile(dest, "installer v1");
  std::atomic<bool> cancel{false};
  Downloader d;
  int rc = d.Download(server.Url("/big"), dest, &cancel, [&](uint64_t total) {
    if (total >= 2048) cancel = true;
  });
  release = true;
  EXPECT_EQ(rc, download::kDownloadCancelled);
  EXPECT_EQ(testsupport::ReadFile(dest), "installer v1");
}

TEST(DownloaderTest, UnreachableServerCannotBeOpened) {
  int port = testsupport::FreeLoopbackPort();
  std::string url = "http://127.0.0.1:" + std::to_string(port) + "/x";
  fs::path dest = testsupport::MakeTempDir("dl") / "x";
  Downloader d;
  EXPECT_EQ(d.Download(url, dest), download::kDownloadFailed);
  EXPECT_EQ(d.ErrorText(), "Could not open internet file " + url + "\n");
  EXPECT_FALSE(fs::exists(dest));
  EXPECT_FALSE(fs::exists(dest.string() + ".tmp"));
}

TEST(DownloaderTest, OnlyWebAddressesAreFetched) {
  fs::path dir = testsupport::MakeTempDir("dl");
  testsupport::WriteFile(dir / "secret", "local file");
  fs::path dest = dir / "copy";
  Downloader d;
  std::string url = "file://" + (dir / "secret").string();
  EXPECT_EQ(d.Download(url, dest), download::kDownloadFailed);
  EXPECT_EQ(d.ErrorText(), "Could not open internet file " + url + "\n");
  EXPECT_FALSE(fs::exists(dest));
}

TEST(DownloaderTest, FollowsRedirects) {
  LocalServer server;
  server.Http().Get("/old", [&](const httplib::Request &, httplib::Response &res) {
    res.set_redirect(server.Url("/new"));
  });
  server.Http().Get("/new", [](const httplib::Request &, httplib::Response &res) {
    res.set_content("moved body", "text/plain");
  });
  fs::path dest = testsupport::MakeTempDir("dl") / "r";
  Downloader d;
  ASSERT_EQ(d.Download(server.Url("/old"), dest), download::kDownloadOk) << d.ErrorText();
  EXPECT_EQ(testsupport::ReadFile(dest), "moved body");
}

TEST(DownloaderTest, UncreatableTmpFileIsReported) {
  LocalServer server;
  server.Http().Get("/f", [](const httplib::Request &, httplib::Response &res) {
    res.set_content("data", "text/plain");
  });
  fs::path dir = testsupport::MakeTempDir("dl");
  fs::path dest = dir / "f";
  fs::create_directory(dest.string() + ".tmp"); // a folder where the file should go
  Downloader d;
  EXPECT_EQ(d.Download(server.Url("/f"), dest), download::kDownloadFailed);
  EXPECT_EQ(d.ErrorText(), "Could not create file " + dest.string() + ".tmp\n");
  EXPECT_FALSE(fs::exists(dest));
}

TEST(DownloaderTest, DestinationThatCannotBeReplacedIsReported) {
  LocalServer server;
  server.Http().Get("/f", [](const httplib::Request &, httplib::Response &res) {
    res.set_content("data", "text/plain");
  });
  fs::path dir = testsupport::MakeTempDir("dl");
  fs::path dest = dir / "f";
  fs::create_directory(dest);
  Downloader d;
  EXPECT_EQ(d.Download(server.Url("/f"), dest), download::kDownloadFailed);
  EXPECT_EQ(d.ErrorText().rfind("Could not delete file " + dest.string() + "\tReason: ", 0), 0u)
      << d.ErrorText();
  EXPECT_TRUE(fs::is_directory(dest));
}

TEST(DownloaderTest, ReadOnlyTmpLeftoverIsOverwritten) {
  LocalServer server;
  server.Http().Get("/f", [](const httplib::Request &, httplib::Response &res) {
    res.set_content("fresh", "text/plain");
  });
  fs::path dest = testsupport::MakeTempDir("dl") / "f";
  std::string tmp = dest.string() + ".tmp";
  testsupport::WriteFile(tmp, "stale partial download");
  chmod(tmp.c_str(), 0444);
  Downloader d;
  ASSERT_EQ(d.Download(server.Url("/f"), dest), download::kDownloadOk) << d.ErrorText();
  EXPECT_EQ(testsupport::ReadFile(dest), "fresh");
}

TEST(DownloaderTest, FailureTextsComeFromTheGivenTable) {
  LocalServer server;
  server.Http().Get("/gone",
                    [](const httplib::Request &, httplib::Response &res) { res.status = 410; });
  Downloader d([](int id) -> std::string {
    if (id == download::kTextCannotRead) return "Lesefehler bei %1!s!";
    return {};
  });
  fs::path dest = testsupport::MakeTempDir("dl") / "g";
  EXPECT_EQ(d.Download(server.Url("/gone"), dest), download::kDownloadFailed);
  EXPECT_EQ(d.ErrorText(), "Lesefehler bei " + server.Url("/gone"));
}

TEST(DownloaderTest, HttpsNeverFollowsARedirectToPlainHttp) {
  // A certificate for 127.0.0.1 that the download trusts through
  // SSL_CERT_FILE.
  fs::path dir = testsupport::MakeTempDir("tls");
  std::string cert = (dir / "cert.pem").string();
  std::string key = (dir / "key.pem").string();
  std::string make = "openssl req -x509 -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes "
                     "-days 2 -subj /CN=127.0.0.1 -addext subjectAltName=IP:127.0.0.1 -keyout '" +
                     key + "' -out '" + cert + "' 2>/dev/null";
  ASSERT_EQ(std::system(make.c_str()), 0);
  setenv("SSL_CERT_FILE", cert.c_str(), 1);

  LocalServer plain;
  int plainRequests = 0;
  plain.Http().Get("/file", [&](const httplib::Request &, httplib::Response &res) {
    ++plainRequests;
    res.set_content("over plain http", "text/plain");
  });
  LocalServer<httplib::SSLServer> secure(cert.c_str(), key.c_str());
  ASSERT_TRUE(secure.Http().is_valid());
  secure.Http().Get("/file", [](const httplib::Request &, httplib::Response &res) {
    res.set_content("over https", "text/plain");
  });
  secure.Http().Get("/down", [&](const httplib::Request &, httplib::Response &res) {
    res.set_redirect(plain.Url("/file"));
  });

  fs::path dest = testsupport::MakeTempDir("dl") / "Update.run";
  Downloader d;
  ASSERT_EQ(d.Download(secure.Url("/file"), dest), download::kDownloadOk) << d.ErrorText();
  EXPECT_EQ(testsupport::ReadFile(dest), "over https");
  EXPECT_EQ(d.Download(secure.Url("/down"), dest), download::kDownloadFailed);
  EXPECT_EQ(plainRequests, 0);
  EXPECT_EQ(testsupport::ReadFile(dest), "over https");
  unsetenv("SSL_CERT_FILE");
}

} // namespace
