// The glue to Evolution Data Server. Its headers use names that Qt defines as
// keywords ("signals"), so this file never sees a Qt header.
#include "contacts/EdsSource.h"

#include "contacts/ContainerBuilder.h"
#include "contacts/VCardReader.h"

#include <libebook/libebook.h>

#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <strings.h>
#include <vector>

namespace contacts {

namespace {

struct ObjectUnref {
  void operator()(gpointer object) const {
    if (object) g_object_unref(object);
  }
};
template <class T> using GObjectPtr = std::unique_ptr<T, ObjectUnref>;


// The reads run on a thread of their own: the objects they create attach to
// a main context of that thread, never to the one the user interface runs.
class ThreadContext {
public:
  ThreadContext() : context_(g_main_context_new()) { g_main_context_push_thread_default(context_); }
  ~ThreadContext() {
    while (g_main_context_iteration(context_, FALSE)) {
    }
    g_main_context_pop_thread_default(context_);
    g_main_context_unref(context_);
  }
  ThreadContext(const ThreadContext &) = delete;
  ThreadContext &operator=(const ThreadContext &) = delete;

private:
  GMainContext *context_;
};

bool SameName(const char *a, const std::string &b) {
  return a && strcasecmp(a, b.c_str()) == 0;
}

std::string SessionBusAddress() {
  const char *address = std::getenv("DBUS_SESSION_BUS_ADDRESS");
  if (address && *address) return address;
  const char *runtime = std::getenv("XDG_RUNTIME_DIR");
  if (!runtime || !*runtime) return {};
  std::string socket = std::string(runtime) + "/bus";
  struct stat st {};
  if (stat(socket.c_str(), &st) != 0 || !S_ISSOCK(st.st_mode)) return {};
  gchar *escaped = g_dbus_address_escape_value(socket.c_str());
  std::string result = std::string("unix:path=") + escaped;
  g_free(escaped);
  return result;
}

bool BusHasName(GDBusConnection *bus, const char *method, int timeoutMs) {
  GError *error = nullptr;
  GVariant *reply = g_dbus_connection_call_sync(
      bus, "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus", method,
      nullptr, G_VARIANT_TYPE("(as)"), G_DBUS_CALL_FLAGS_NONE, timeoutMs, nullptr, &error);
  if (!reply) {
    g_error_free(error);
    return false;
  }
  bool found = false;
  GVariantIter *names = nullptr;
  g_variant_get(reply, "(as)", &names);
  const gchar *name = nullptr;
  while (g_variant_iter_loop(names, "&s", &name))
    if (g_str_has_prefix(name, EdsSource::kRegistryBusName)) found = true;
  g_variant_iter_free(names);
  g_variant_unref(reply);
  return found;
}

bool Cancelled(GError *error) {
  return error && g_error_matches(error, G_IO_ERROR, G_IO_ERROR_CANCELLED);
}

} // namespace

bool EdsSource::RegistryAvailable(int timeoutMs) {
  std::string address = SessionBusAddress();
  if (address.empty()) return false;
  GError *error = nullptr;
  GObjectPtr<GDBusConnection> bus(g_dbus_connection_new_for_address_sync(
      address.c_str(),
      static_cast<GDBusConnectionFlags>(G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT |
                                        G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION),
      nullptr, nullptr, &error));
  if (!bus) {
    g_error_free(error);
    return false;
  }
  bool available = BusHasName(bus.get(), "ListNames", timeoutMs) ||
                   BusHasName(bus.get(), "ListActivatableNames", timeoutMs);
  g_dbus_connection_close_sync(bus.get(), nullptr, nullptr);
  return available;
}

ReadOutcome EdsSource::Read(AddressBookNode &root, std::stop_token stop) {
  ThreadContext context;
  GObjectPtr<GCancellable> cancellable(g_cancellable_new());
  std::stop_callback onStop(stop, [c = cancellable.get()] { g_cancellable_cancel(c); });

  GError *error = nullptr;
  GObjectPtr<ESourceRegistry> registry(e_source_registry_new_sync(cancellable.get(), &error));
  if (!registry) {
    bool cancelled = Cancelled(error);
    g_clear_error(&error);
    return cancelled ? ReadOutcome::Cancelled : ReadOutcome::OpenFailed;
  }

  std::vector<GObjectPtr<ESource>> books;
  GList *enabled = e_source_registry_list_enabled(registry.get(), E_SOURCE_EXTENSION_ADDRESS_BOOK);
  for (GList *s = enabled; s; s = s->next) {
    auto *source = static_cast<ESource *>(s->data);
    bool wanted = profileName_.empty() || SameName(e_source_get_display_name(source), profileName_);
    if (!wanted && e_source_get_parent(source)) {
      GObjectPtr<ESource> parent(
          e_source_registry_ref_source(registry.get(), e_source_get_parent(source)));
      wanted = parent && SameName(e_source_get_display_name(parent.get()), profileName_);
    }
    if (wanted) books.emplace_back(static_cast<ESource *>(g_object_ref(source)));
  }
  g_list_free_full(enabled, g_object_unref);
  if (books.empty()) return ReadOutcome::OpenFailed;

  // The personal book first, then by name.
  std::stable_sort(books.begin(), books.end(), [](const auto &a, const auto &b) {
    bool aPersonal = g_strcmp0(e_source_get_uid(a.get()), "system-address-book") == 0;
    bool bPersonal = g_strcmp0(e_source_get_uid(b.get()), "system-address-book") == 0;
    if (aPersonal != bPersonal) return aPersonal;
    return e_source_compare_by_display_name(a.get(), b.get()) < 0;
  });

  for (const auto &source : books) {
    const char *name = e_source_get_display_name(source.get());
    ContainerBuilder builder(name ? name : "");
    // A wait of -1: the backend is not waited for (a positive wait needs a
    // running main loop, or it stalls for that long).
    GObjectPtr<EClient> client(e_book_client_connect_sync(source.get(), static_cast<guint32>(-1),
                                                          cancellable.get(), &error));
    GSList *found = nullptr;
    if (client && e_book_client_get_contacts_sync(E_BOOK_CLIENT(client.get()), kQuery, &found,
                                                  cancellable.get(), &error)) {
      std::unique_ptr<GSList, void (*)(GSList *)> contacts(
          found, [](GSList *list) { g_slist_free_full(list, g_object_unref); });
      for (GSList *c = found; c; c = c->next)
        builder.Add(VCardReader::FromParsed(E_VCARD(c->data)));
    }
    bool cancelled = Cancelled(error) || stop.stop_requested();
    g_clear_error(&error);
    if (cancelled) return ReadOutcome::Cancelled;
    root.Add(builder.Build());
  }
  return ReadOutcome::Read;
}

} // namespace contacts
