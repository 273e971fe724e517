#pragma once
// Fetches one web address into a file. The bytes go to "<destination>.tmp"
// first; only a complete download with a 2xx status replaces the
// destination, in one atomic rename, so a failed or cancelled download never
// touches the previous file. https certificates are checked against the
// system's trust store, or the file SSL_CERT_FILE names when it is set.
//
// Result codes: 0 success, -1 failure (ErrorText() tells why, in the texts
// 1264 to 1271 of the program's string table), -2 cancelled.

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>

namespace download {

inline constexpr int kDownloadOk = 0;
inline constexpr int kDownloadFailed = -1;
inline constexpr int kDownloadCancelled = -2;

// String ids of the failure texts (Windows-1252, with %1!s! inserts).
inline constexpr int kTextNoSession = 1264;
inline constexpr int kTextCannotOpen = 1265;
inline constexpr int kTextCannotCreate = 1266;
inline constexpr int kTextCannotRead = 1267;
inline constexpr int kTextCannotWrite = 1268;
inline constexpr int kTextShortWrite = 1269;
inline constexpr int kTextCannotDelete = 1270;
inline constexpr int kTextCannotMove = 1271;

// The program's built-in text of one of the ids above (empty for other
// ids).
std::string DefaultText(int id);

class Downloader {
public:
  // Looks a string id up in the program's string table (the translated
  // one); an empty answer falls back to the built-in text.
  using TextSource = std::function<std::string(int id)>;
  // Called after every chunk with the bytes received so far, and now and
  // then while waiting for data (so a caller on the UI thread can keep its
  // window alive). Runs on the calling thread.
  using Progress = std::function<void(uint64_t totalBytes)>;

  explicit Downloader(TextSource texts = {});

  // Downloads `address` (http or https) to `destination`, following
  // redirects (from an https address only to https). `cancel` may be
  // null; once it is set the download stops after its current chunk.
  int Download(const std::string &address, const std::filesystem::path &destination,
               const std::atomic<bool> *cancel = nullptr, const Progress &progress = {});

  // The failure text of the last Download that returned -1.
  const std::string &ErrorText() const { return error_; }

  // Seconds to wait for a connection, and for the next byte once connected.
  void SetTimeouts(long connectSeconds, long stallSeconds);

private:
  std::string Text(int id) const;

  TextSource texts_;
  std::string error_;
  long connectTimeout_ = 30;
  long stallTimeout_ = 60;
};

} // namespace download
