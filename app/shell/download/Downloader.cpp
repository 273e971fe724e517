#include "Downloader.h"

#include "shell/InsertFormat.h"
#include "shell/StringTable.h"

#include <curl/curl.h>
#include <fcntl.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <mutex>

namespace download {

namespace {

struct Transfer {
  CURL *curl = nullptr;
  std::string tempPath;
  int fd = -1;
  uint64_t total = 0;
  const std::atomic<bool> *cancel = nullptr;
  const Downloader::Progress *progress = nullptr;
  bool gotResponse = false;
  bool cancelled = false;
  bool badStatus = false;
  int failId = 0; // a create or write failure found inside a callback
};

bool IsCancelled(const Transfer &t) {
  return t.cancel != nullptr && t.cancel->load(std::memory_order_relaxed);
}

bool StatusIsSuccess(CURL *curl) {
  long code = 0;
  if (curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &code) != CURLE_OK) return true;
  return code >= 200 && code <= 299;
}

bool OpenTemp(Transfer &t) {
  struct stat st {};
  if (stat(t.tempPath.c_str(), &st) == 0 && !(st.st_mode & S_IWUSR))
    chmod(t.tempPath.c_str(), st.st_mode | S_IWUSR);
  t.fd = open(t.tempPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  return t.fd >= 0;
}

size_t OnHeader(char *, size_t size, size_t count, void *user) {
  static_cast<Transfer *>(user)->gotResponse = true;
  return size * count;
}

size_t OnData(char *data, size_t size, size_t count, void *user) {
  auto &t = *static_cast<Transfer *>(user);
  size_t n = size * count;
  if (IsCancelled(t)) {
    t.cancelled = true;
    return 0;
  }
  if (!StatusIsSuccess(t.curl)) {
    t.badStatus = true;
    return 0;
  }
  if (t.fd < 0 && !OpenTemp(t)) {
    t.failId = kTextCannotCreate;
    return 0;
  }
  size_t done = 0;
  while (done < n) {
    ssize_t w = write(t.fd, data + done, n - done);
    if (w < 0) {
      if (errno == EINTR) continue;
      t.failId = done == 0 ? kTextCannotWrite : kTextShortWrite;
      return 0;
    }
    if (w == 0) {
      t.failId = kTextShortWrite;
      return 0;
    }
    done += static_cast<size_t>(w);
  }
  t.total += n;
  if (t.progress && *t.progress) (*t.progress)(t.total);
  return n;
}

int OnTick(void *user, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
  auto &t = *static_cast<Transfer *>(user);
  if (IsCancelled(t)) {
    t.cancelled = true;
    return 1;
  }
  if (t.progress && *t.progress) (*t.progress)(t.total);
  return 0;
}

void GlobalInit() {
  static std::once_flag once;
  std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

} // namespace

std::string DefaultText(int id) {
  if (id < kTextNoSession || id > kTextCannotMove) return {};
  return shell::StringTable::BuiltIn().Get(id);
}

Downloader::Downloader(TextSource texts) : texts_(std::move(texts)) {}

void Downloader::SetTimeouts(long connectSeconds, long stallSeconds) {
  connectTimeout_ = connectSeconds;
  stallTimeout_ = stallSeconds;
}

std::string Downloader::Text(int id) const {
  if (texts_) {
    std::string t = texts_(id);
    if (!t.empty()) return t;
  }
  return DefaultText(id);
}

int Downloader::Download(const std::string &address, const std::filesystem::path &destination,
                         const std::atomic<bool> *cancel, const Progress &progress) {
  error_.clear();
  const std::string dest = destination.string();
  auto fail = [&](int id, auto... inserts) {
    error_ = shell::InsertFormat(Text(id), inserts...);
    return kDownloadFailed;
  };

  GlobalInit();
  CURL *curl = curl_easy_init();
  if (!curl) return fail(kTextNoSession);
  struct Cleanup {
    CURL *curl;
    ~Cleanup() { curl_easy_cleanup(curl); }
  } cleanup{curl};

  std::error_code ec;
  if (destination.has_parent_path())
    std::filesystem::create_directories(destination.parent_path(), ec);

  Transfer t;
  t.curl = curl;
  t.tempPath = dest + ".tmp";
  t.cancel = cancel;
  t.progress = &progress;

  curl_slist *headers = nullptr;
  headers = curl_slist_append(headers, "Cache-Control: no-cache");
  headers = curl_slist_append(headers, "Pragma: no-cache");
  struct HeaderCleanup {
    curl_slist *list;
    ~HeaderCleanup() { curl_slist_free_all(list); }
  } headerCleanup{headers};

  curl_easy_setopt(curl, CURLOPT_URL, address.c_str());
  curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
  // An https address never falls back to plain http through a redirect, so
  // what arrives was protected all the way.
  const bool secure = strncasecmp(address.c_str(), "https://", 8) == 0;
  curl_easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, secure ? "https" : "http,https");
  // The trust store can be replaced the way OpenSSL's own default can.
  if (const char *caFile = std::getenv("SSL_CERT_FILE"); caFile && *caFile)
    curl_easy_setopt(curl, CURLOPT_CAINFO, caFile);
  curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
  curl_easy_setopt(curl, CURLOPT_MAXREDIRS, 10L);
  curl_easy_setopt(curl, CURLOPT_USERAGENT, "Dovetext.exe");
  curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers);
  curl_easy_setopt(curl, CURLOPT_BUFFERSIZE, 1024L);
  curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, connectTimeout_);
  curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, 1L);
  curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, stallTimeout_);
  curl_easy_setopt(curl, CURLOPT_HEADERFUNCTION, OnHeader);
  curl_easy_setopt(curl, CURLOPT_HEADERDATA, &t);
  curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, OnData);
  curl_easy_setopt(curl, CURLOPT_WRITEDATA, &t);
  curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, OnTick);
  curl_easy_setopt(curl, CURLOPT_XFERINFODATA, &t);
  curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);

  CURLcode rc = curl_easy_perform(curl);

  auto closeTemp = [&]() {
    bool ok = true;
    if (t.fd >= 0) {
      ok = fsync(t.fd) == 0 || errno == EINVAL;
      ok = close(t.fd) == 0 && ok;
      t.fd = -1;
    }
    return ok;
  };

  if (t.cancelled || (rc != CURLE_OK && IsCancelled(t))) {
    closeTemp();
    return kDownloadCancelled;
  }
  if (t.failId == kTextCannotCreate) {
    closeTemp();
    return fail(kTextCannotCreate, t.tempPath);
  }
  if (t.failId == kTextCannotWrite) {
    closeTemp();
    return fail(kTextCannotWrite, dest);
  }
  if (t.failId == kTextShortWrite) {
    closeTemp();
    return fail(kTextShortWrite, address, dest);
  }
  if (t.badStatus || (rc == CURLE_OK && !StatusIsSuccess(curl))) {
    closeTemp();
    return fail(kTextCannotRead, address);
  }
  if (rc != CURLE_OK) {
    closeTemp();
    return fail(t.gotResponse ? kTextCannotRead : kTextCannotOpen, address);
  }
  if (t.fd < 0 && !OpenTemp(t)) return fail(kTextCannotCreate, t.tempPath);
  if (!closeTemp()) return fail(kTextCannotWrite, dest);
  if (IsCancelled(t)) return kDownloadCancelled;

  // rename() replaces the old file atomically, so the destination is never
  // missing in between; only something rename cannot replace (a folder)
  // is reported as undeletable.
  struct stat st {};
  if (lstat(dest.c_str(), &st) == 0 && S_ISDIR(st.st_mode))
    return fail(kTextCannotDelete, dest, std::strerror(EISDIR));
  if (std::rename(t.tempPath.c_str(), dest.c_str()) != 0) {
    int err = errno;
    return fail(kTextCannotMove, t.tempPath, dest, std::strerror(err));
  }
  return IsCancelled(t) ? kDownloadCancelled : kDownloadOk;
}

} // namespace download
