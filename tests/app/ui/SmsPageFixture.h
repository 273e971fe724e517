#pragma once
// An SMS page over a real store in a fresh data folder, with the settings,
// the settings file, a recent list and a queuer that stores messages as the
// worker does (without sending them); the clock stands still at 2024-03-01
// 12:00 UTC (a Friday). Also: GIF files for the picture preview and a
// driver for the modal schedule dialog.

#include "UiTestSupport.h"

#include "ControlIds.h"
#include "MainWindow.h"
#include "QtMessagePoster.h"
#include "ScheduleDialog.h"
#include "SmsPage.h"

#include "contacts/RecentList.h"
#include "engine/MessageQueuer.h"
#include "shell/Settings.h"
#include "shell/SettingsFile.h"
#include "store/SmsStore.h"

#include <testsupport/TestEnv.h>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QTimer>
#include <QtTest>

#include <cstdlib>
#include <ctime>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace smstest {

inline constexpr std::int64_t kNow = 1709294400; // 2024-03-01 12:00:00 UTC

class StoreQueuer : public engine::MessageQueuer {
public:
  explicit StoreQueuer(store::SmsStore &store) : store_(store) {}
  int QueueMessage(int status, int time, int type, int refId, const std::string &to,
                   const std::string &text, int delay, bool force) override {
    const int id =
        store_.AddSms(status, time, type, refId, to, text, "", delay, "?", force ? 1 : 0);
    ids.push_back(id);
    return id;
  }
  std::vector<int> ids;

private:
  store::SmsStore &store_;
};

struct Fixture {
  Fixture() {
    setenv("TZ", "UTC", 1);
    tzset();
  }
  std::filesystem::path data = uitest::MakeDataFolder();
  shell::Settings settings;
  shell::SettingsFile settingsFile{(data / "SMS.dat").string(), false};
  store::SmsStore store{data.string()};
  contacts::RecentList recent;
  StoreQueuer queuer{store};
  std::unique_ptr<ui::SmsPage> page;
  // Fills the page's address-book node when set before Make.
  ui::AddressBookLoader *addressBooks = nullptr;

  // What the page (or a main window) runs on: these files and lists.
  ui::UiContext Context(engine::MessageQueuer *useQueuer = nullptr) {
    ui::UiContext c;
    c.settings = &settings;
    c.settingsFile = &settingsFile;
    c.store = &store;
    c.queuer = useQueuer ? useQueuer : &queuer;
    c.recent = &recent;
    c.addressBooks = addressBooks;
    return c;
  }

  // The main window over these files, shown and past its login (the SMS
  // page up); its messages go through `poster`, which outlives it.
  std::unique_ptr<ui::MainWindow> ShowWindow(ui::QtMessagePoster &poster) {
    ui::UiContext c = Context();
    c.poster = &poster;
    c.startWorker = [] { return true; };
    auto window = std::make_unique<ui::MainWindow>(c);
    window->show();
    if (!QTest::qWaitForWindowExposed(window.get())) qWarning("the main window is not shown");
    window->Command(ui::ids::kLoginDone);
    return window;
  }

  // The page shown as a window of its own, activated, as after a switch to
  // it.
  ui::SmsPage &Make(engine::MessageQueuer *useQueuer = nullptr) {
    page = std::make_unique<ui::SmsPage>(Context(useQueuer));
    if (addressBooks) page->UseAddressBooks(*addressBooks);
    page->SetClock([] { return kNow; });
    page->show();
    page->activateWindow();
    if (!QTest::qWaitForWindowActive(page.get())) qWarning("the page window is not active");
    page->Activated();
    return *page;
  }

  // The new group's GID.
  int AddGroup(const std::string &name) {
    return store.GroupAt(store.AddGroup(name)).value_or(store::GroupRow{}).GID;
  }

  int AddContact(const std::string &name, const std::string &surname, const std::string &mobile,
                 std::vector<int> groups) {
    store::ContactRecord record;
    record.SetName(name);
    record.SetSurname(surname);
    record.SetMobile(mobile);
    record.groupIds = groups.data();
    record.groupCount = static_cast<int>(groups.size());
    return store.AddContact(record);
  }

  store::MessageRow Row(int id) {
    std::lock_guard lock(store.MessageLock());
    return store.FindMessage(id).value_or(store::MessageRow{});
  }
};

template <class W = QWidget> W *Control(QWidget *parent, int id) {
  return parent->findChild<W *>(QString::number(id));
}

// Gives the widget's window the focus back (a closed dialog leaves none).
inline void Activate(QWidget *w) {
  if (QApplication::activeWindow() == w->window()) return;
  w->window()->activateWindow();
  if (!QTest::qWaitForWindowActive(w->window())) qWarning("the window is not active");
}

// Types into a widget that has the focus.
inline void Type(QWidget *w, const QString &text) {
  Activate(w);
  w->setFocus();
  QTest::keyClicks(w, text);
}

// Selects a type list entry by its type value, as the user would.
inline void ChooseType(ui::SmsPage &page, int type) {
  QComboBox *list = page.TypeList();
  list->setCurrentIndex(list->findData(type));
}

// Answers the next schedule dialog: `fill` sets its controls, then OK (or
// Cancel when `ok` is false) is clicked.
inline void AnswerSchedule(std::function<void(ui::ScheduleDialog &)> fill, bool ok = true) {
  QTimer::singleShot(0, [fill, ok] {
    auto *dialog = qobject_cast<ui::ScheduleDialog *>(QApplication::activeModalWidget());
    if (!dialog) return;
    fill(*dialog);
    Control<QAbstractButton>(dialog, ok ? ui::ids::kOk : ui::ids::kCancel)->click();
  });
}

inline void Pick(QWidget *dialog, int id, int index) {
  Control<QComboBox>(dialog, id)->setCurrentIndex(index);
}

inline void Check(QWidget *dialog, int id, bool on = true) {
  Control<QAbstractButton>(dialog, id)->setChecked(on);
}

// A GIF file (palette of at most 256 colours, one index per pixel). The
// image data is stored without compression: a clear code before the code
// table would widen the codes.
inline std::string GifBytes(int width, int height, const std::vector<unsigned> &palette,
                            const std::vector<unsigned char> &pixels) {
  int bits = 1;
  while ((1u << bits) < palette.size())
    ++bits;
  const int minCode = bits < 2 ? 2 : bits;
  std::string out = "GIF89a";
  auto u16 = [&out](int v) {
    out.push_back(static_cast<char>(v & 0xFF));
    out.push_back(static_cast<char>((v >> 8) & 0xFF));
  };
  u16(width);
  u16(height);
  out.push_back(static_cast<char>(0x80 | ((bits - 1) << 4) | (bits - 1)));
  out.push_back(0);
  out.push_back(0);
  for (int i = 0; i < (1 << bits); ++i) {
    const unsigned c = i < static_cast<int>(palette.size()) ? palette[i] : 0;
    out.push_back(static_cast<char>((c >> 16) & 0xFF));
    out.push_back(static_cast<char>((c >> 8) & 0xFF));
    out.push_back(static_cast<char>(c & 0xFF));
  }
  out.push_back(',');
  u16(0);
  u16(0);
  u16(width);
  u16(height);
  out.push_back(0);
  out.push_back(static_cast<char>(minCode));
  const int clear = 1 << minCode;
  const int codeBits = minCode + 1;
  std::string codes;
  unsigned long acc = 0;
  int filled = 0;
  auto put = [&](int code) {
    acc |= static_cast<unsigned long>(code) << filled;
    filled += codeBits;
    while (filled >= 8) {
      codes.push_back(static_cast<char>(acc & 0xFF));
      acc >>= 8;
      filled -= 8;
    }
  };
  put(clear);
  int run = 0;
  for (unsigned char p : pixels) {
    if (run == clear - 2) {
      put(clear);
      run = 0;
    }
    put(p);
    ++run;
  }
  put(clear + 1);
  if (filled > 0) codes.push_back(static_cast<char>(acc & 0xFF));
  for (std::size_t i = 0; i < codes.size(); i += 255) {
    const std::size_t n = std::min<std::size_t>(255, codes.size() - i);
    out.push_back(static_cast<char>(n));
    out.append(codes, i, n);
  }
  out.push_back(0);
  out.push_back(';');
  return out;
}

// A 48 x 48 black-and-white GIF: the left half black.
inline std::filesystem::path OneBitGif(const std::filesystem::path &folder) {
  std::vector<unsigned char> pixels(48 * 48);
  for (int y = 0; y < 48; ++y)
    for (int x = 0; x < 48; ++x)
      pixels[y * 48 + x] = x < 24 ? 0 : 1;
  auto path = folder / "half.gif";
  testsupport::WriteFile(path, GifBytes(48, 48, {0x000000, 0xFFFFFF}, pixels));
  return path;
}

// A 96 x 64 GIF of 256 colours: a black band, a blue-to-yellow gradient and
// a white band.
inline std::filesystem::path ColourGif(const std::filesystem::path &folder) {
  std::vector<unsigned> palette(256);
  for (unsigned i = 1; i < 255; ++i)
    palette[i] = (i << 16) | (i << 8) | (255 - i); // blue to yellow
  palette[255] = 0xFFFFFF;
  std::vector<unsigned char> pixels(96 * 64);
  for (int y = 0; y < 64; ++y)
    for (int x = 0; x < 96; ++x)
      pixels[y * 96 + x] = static_cast<unsigned char>(y < 16    ? 0
                                                      : y >= 48 ? 255
                                                                : 1 + x * 253 / 95);
  auto path = folder / "colour.gif";
  testsupport::WriteFile(path, GifBytes(96, 64, palette, pixels));
  return path;
}

} // namespace smstest
