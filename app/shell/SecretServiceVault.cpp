#include "shell/SecretServiceVault.h"

#include <codepage/Codepage.h>

#include <libsecret/secret.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace shell {

namespace {

constexpr const char *kApplication = "dovetext";

const SecretSchema *Schema() {
  // Items are matched by their attributes alone, so that items made with
  // secret-tool and the same attributes count too.
  static const SecretSchema schema = {
      "org.quorvane.Dovetext.Password",
      SECRET_SCHEMA_DONT_MATCH_NAME,
      {{"application", SECRET_SCHEMA_ATTRIBUTE_STRING},
       {"setting", SECRET_SCHEMA_ATTRIBUTE_STRING},
       {"user", SECRET_SCHEMA_ATTRIBUTE_STRING},
       {nullptr, SECRET_SCHEMA_ATTRIBUTE_STRING}},
      0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr};
  return &schema;
}

// Cancels a blocking call that has not finished within its time.
class Deadline {
public:
  explicit Deadline(int timeoutMs) : cancellable_(g_cancellable_new()) {
    watcher_ = std::thread([this, timeoutMs] {
      std::unique_lock<std::mutex> hold(lock_);
      if (!done_.wait_for(hold, std::chrono::milliseconds(timeoutMs), [this] { return finished_; }))
        g_cancellable_cancel(cancellable_);
    });
  }
  ~Deadline() {
    {
      std::lock_guard<std::mutex> hold(lock_);
      finished_ = true;
    }
    done_.notify_all();
    watcher_.join();
    g_object_unref(cancellable_);
  }
  GCancellable *Cancellable() const { return cancellable_; }

private:
  GCancellable *cancellable_;
  std::mutex lock_;
  std::condition_variable done_;
  bool finished_ = false;
  std::thread watcher_;
};

// The keyring holds UTF-8; settings are Windows-1252.
std::string Text(std::string_view ansi) {
  return codepage::AnsiToUtf8(ansi);
}

} // namespace

struct SecretServiceVault::Impl {
  int timeoutMs;
  std::mutex lock; // one keyring call at a time
  bool asked = false;
  bool available = false;
  std::string problem;
  std::function<void(const std::string &)> onGiveUp;
};

SecretServiceVault::SecretServiceVault(int timeoutMs) : impl_(std::make_unique<Impl>()) {
  impl_->timeoutMs = timeoutMs;
}

SecretServiceVault::~SecretServiceVault() = default;

void SecretServiceVault::OnGiveUp(std::function<void(const std::string &)> note) {
  std::lock_guard<std::mutex> hold(impl_->lock);
  impl_->onGiveUp = std::move(note);
}

void SecretServiceVault::GiveUp(const char *problem) {
  if (!impl_->available) return;
  impl_->available = false;
  impl_->problem = problem;
  if (impl_->onGiveUp) impl_->onGiveUp(Unavailable());
}

bool SecretServiceVault::Available() {
  std::lock_guard<std::mutex> hold(impl_->lock);
  if (impl_->asked) return impl_->available;
  impl_->asked = true;
  Deadline deadline(impl_->timeoutMs);
  GError *error = nullptr;
  SecretService *service =
      secret_service_get_sync(SECRET_SERVICE_OPEN_SESSION, deadline.Cancellable(), &error);
  if (service) {
    impl_->available = true;
    g_object_unref(service);
  } else {
    impl_->problem = error ? error->message : "no Secret Service";
  }
  if (error) g_error_free(error);
  return impl_->available;
}

std::optional<std::string> SecretServiceVault::Lookup(std::string_view setting,
                                                      std::string_view user) {
  if (!Available()) return std::nullopt;
  std::lock_guard<std::mutex> hold(impl_->lock);
  Deadline deadline(impl_->timeoutMs);
  GError *error = nullptr;
  const std::string s = Text(setting), u = Text(user);
  gchar *secret = secret_password_lookup_sync(Schema(), deadline.Cancellable(), &error,
                                              "application", kApplication, "setting", s.c_str(),
                                              "user", u.c_str(), nullptr);
  if (error) {
    // A keyring that stays locked (or does not answer) is given up for this
    // run, so that no later call waits for it again.
    GiveUp(error->message);
    g_error_free(error);
  }
  if (!secret) return std::nullopt;
  std::string value = codepage::Utf8ToAnsi(secret);
  secret_password_free(secret);
  return value;
}

bool SecretServiceVault::Store(std::string_view setting, std::string_view user,
                               std::string_view secret) {
  if (!Available()) return false;
  std::lock_guard<std::mutex> hold(impl_->lock);
  Deadline deadline(impl_->timeoutMs);
  GError *error = nullptr;
  const std::string s = Text(setting), u = Text(user), v = Text(secret);
  const std::string label = "Dovetext " + s + (u.empty() ? std::string() : " for " + u);
  gboolean ok = secret_password_store_sync(Schema(), SECRET_COLLECTION_DEFAULT, label.c_str(),
                                           v.c_str(), deadline.Cancellable(), &error,
                                           "application", kApplication, "setting", s.c_str(),
                                           "user", u.c_str(), nullptr);
  if (!ok) GiveUp(error ? error->message : "the keyring refused the secret");
  if (error) g_error_free(error);
  return ok;
}

bool SecretServiceVault::Clear(std::string_view setting, std::string_view user) {
  if (!Available()) return false;
  std::lock_guard<std::mutex> hold(impl_->lock);
  Deadline deadline(impl_->timeoutMs);
  GError *error = nullptr;
  const std::string s = Text(setting), u = Text(user);
  secret_password_clear_sync(Schema(), deadline.Cancellable(), &error, "application",
                             kApplication, "setting", s.c_str(), "user", u.c_str(), nullptr);
  // Nothing to clear is not a failure.
  const bool ok = error == nullptr;
  if (!ok) GiveUp(error ? error->message : "the keyring refused the secret");
  if (error) g_error_free(error);
  return ok;
}

std::string SecretServiceVault::Describe() {
  if (Available()) return "Passwords are kept in the desktop keyring (Secret Service).";
  std::lock_guard<std::mutex> hold(impl_->lock);
  return Unavailable();
}

std::string SecretServiceVault::Unavailable() const {
  return "No desktop keyring (" + impl_->problem + "): passwords are kept in SMS.dat.";
}

} // namespace shell
