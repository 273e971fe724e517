// The Outbox page through its real widgets inside the main window: the
// list's cells and sorting, the worker's rebuild requests, the context menu
// and its commands, "Send Now" and "Refresh" against the gateway simulator
// through the real worker, the export dialog, the status legend, the
// accessible names, and screenshots of the page and the legend.
#include "UiTestSupport.h"

#include "AnimatedIndicator.h"
#include "ControlIds.h"
#include "ExpandedChildren.h"
#include "MainWindow.h"
#include "OutboxExportDialog.h"
#include "OutboxPage.h"
#include "OutboxTableModel.h"
#include "QtMessagePoster.h"
#include "QtUserDialogs.h"
#include "QtUserPrompt.h"
#include "StatusIcons.h"
#include "StatusLegendDialog.h"
#include "TabButton.h"
#include "WorkerLists.h"

#include "contacts/OutboxCsvExporter.h"
#include "contacts/OutboxExportDialogModel.h"
#include "engine/CommsWorker.h"
#include "engine/GatewayBinding.h"
#include "engine/LoginOperation.h"
#include "shell/Logger.h"
#include "shell/NameTables.h"
#include "shell/Settings.h"
#include "shell/StringTable.h"
#include "store/SmsStore.h"

#include <gatewaysim/GatewaySimServer.h>
#include <parlink/Parlink.h>
#include <testsupport/TestEnv.h>

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTableView>
#include <QtTest>

#include <cstdlib>
#include <ctime>
#include <fstream>
#include <sstream>
#include <thread>

namespace {

constexpr int kMarch5 = 1078495620;    // 05/03/2004 14:07 UTC
constexpr int kMarch6 = 1078565400;    // 06/03/2004 09:30 UTC
constexpr int kDecember24 = 1072289100; // 24/12/2003 18:05 UTC

struct PostedList {
  engine::JobKind kind;
  bool goOfflineAfter;
  std::vector<int> ids;
};

// A main window on the Outbox page over a store of its own; the lists the
// page hands to the worker are recorded.
struct Fixture {
  std::filesystem::path data = uitest::MakeDataFolder();
  shell::Settings settings;
  store::SmsStore store{data.string()};
  ui::QtMessagePoster poster;
  std::vector<PostedList> posted;
  std::unique_ptr<ui::MainWindow> window;

  Fixture() { settings.WorkingOnLine = true; }

  ui::UiContext Context() {
    ui::UiContext c;
    c.settings = &settings;
    c.store = &store;
    c.poster = &poster;
    c.startWorker = [] { return true; };
    c.postList = [this](engine::JobKind kind, std::unique_ptr<engine::IdList> list) {
      posted.push_back({kind, list->goOfflineAfter, list->ids});
    };
    return c;
  }
  ui::OutboxPage &Open(ui::UiContext c) {
    window = std::make_unique<ui::MainWindow>(c);
    window->show();
    if (!QTest::qWaitForWindowExposed(window.get())) qWarning("window not exposed");
    window->Command(ui::ids::kLoginDone);
    window->SelectTab(ui::ids::kTabOutbox);
    return Page();
  }
  ui::OutboxPage &Open() { return Open(Context()); }
  ui::OutboxPage &Page() { return *window->Outbox(); }
  ui::OutboxTableModel &Model() { return *Page().Model(); }

  int Add(int status, int time, const std::string &to, const std::string &msg,
          const std::string &charge = "?") {
    return store.AddSms(status, time, 0, 0, to, msg, "", 0, charge, 0);
  }
  QString Cell(int row, int column) {
    return Model().data(Model().index(row, column), Qt::DisplayRole).toString();
  }
  int Row(int id) {
    const auto &ids = Model().Order().Ids();
    auto it = std::find(ids.begin(), ids.end(), id);
    return it == ids.end() ? -1 : static_cast<int>(it - ids.begin());
  }
  void Select(std::initializer_list<int> ids) {
    QItemSelectionModel *selection = Page().List()->selectionModel();
    selection->clearSelection();
    for (int id : ids)
      selection->select(Model().index(Row(id), 0),
                        QItemSelectionModel::Select | QItemSelectionModel::Rows);
  }
  void ClickHeader(int column) {
    QHeaderView *header = Page().List()->horizontalHeader();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(column) + 8, header->height() / 2));
  }
  // The context menu of the row showing `id` (-1: below the last row).
  std::unique_ptr<QMenu> Menu(int id) { return Page().ContextMenu(id < 0 ? -1 : Row(id)); }
};

QAction *Item(QMenu &menu, const QString &text) {
  for (QAction *a : menu.actions())
    if (a->text() == text) return a;
  return nullptr;
}

QStringList EnabledItems(QMenu &menu) {
  QStringList items;
  for (QAction *a : menu.actions())
    if (!a->isSeparator() && a->isEnabled()) items << a->text();
  return items;
}

QString Shot(QWidget &w, const QString &name) {
  auto dir = testsupport::BuildDir() / "screenshots";
  std::filesystem::create_directories(dir);
  QString path = QString::fromStdString((dir / (name.toStdString() + ".png")).string());
  w.grab().save(path);
  return path;
}

std::string ReadFile(const std::filesystem::path &path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

} // namespace

class OutboxPageTest : public QObject {
  Q_OBJECT

private slots:
  void initTestCase();
  void emptyStoreOffersOnlySelectAll();
  void cellsShowTheRowsAndUnreadableRowsShowQuestionMarks();
  void headerClicksSortAndReverse();
  void workerRequestsFoldIntoOneRebuild();
  void menuFollowsTheRowsStatus();
  void editResendAndCopyActOnTheRowUnderTheCursor();
  void deleteRemovesLocalRowsAndWithdrawsServerOnes();
  void goingOnlineForSendAndRefresh();
  void sendNowAndRefreshThroughTheWorker();
  void resendToUndeliveredAddressesTheFailedChildren();
  void selectAllSelectsEveryRowFromTheTop();
  void exportWritesTheSelectedMessages();
  void legendDescribesEveryStatus();
  void everyControlHasAnAccessibleName();
  void screenshots();
};

void OutboxPageTest::initTestCase() {
  ::setenv("TZ", "UTC", 1);
  ::tzset();
}

void OutboxPageTest::emptyStoreOffersOnlySelectAll() {
  Fixture f;
  ui::OutboxPage &page = f.Open();
  QCOMPARE(f.Model().rowCount(), 0);
  auto menu = f.Menu(-1);
  QCOMPARE(EnabledItems(*menu), QStringList{"Select All"});
  Item(*menu, "Select All")->trigger();
  QVERIFY(page.SelectedIds().empty());
  QCOMPARE(menu->title(), QString("Context"));
}

void OutboxPageTest::cellsShowTheRowsAndUnreadableRowsShowQuestionMarks() {
  Fixture f;
  f.Add(store::StatExpired, kMarch5, "0821234567", "Line one\r\nline two", "0.35");
  const int gone = f.Add(store::StatPending, kMarch6, "0827654321", "Gone soon");
  ui::OutboxPage &page = f.Open();
  QHeaderView *header = page.List()->horizontalHeader();
  const QStringList headers{"Sent", "Recipient", "Status", "Charge", "Message"};
  const int widths[] = {110, 90, 70, 50, 350};
  for (int c = 0; c < 5; ++c) {
    QCOMPARE(f.Model().headerData(c, Qt::Horizontal, Qt::DisplayRole).toString(), headers[c]);
    QVERIFY(header->sectionSize(c) >= widths[c]);
  }
  QCOMPARE(header->sectionSize(1), 90);
  QCOMPARE(header->sectionSize(4), 350);
  QCOMPARE(f.Cell(0, 0), QString("05/03/2004 14:07"));
  QCOMPARE(f.Cell(0, 1), QString("0821234567"));
  QCOMPARE(f.Cell(0, 2), QString("Message expired"));
  QCOMPARE(f.Cell(0, 3), QString("0.35"));
  QCOMPARE(f.Cell(0, 4), QString("Line one  line two"));
  auto icon = [&](int row) {
    return f.Model()
        .data(f.Model().index(row, 0), Qt::DecorationRole)
        .value<QIcon>()
        .pixmap(QSize(14, 14))
        .toImage();
  };
  QCOMPARE(icon(0), ui::StatusIcons::Pixmap(17).toImage());

  // A row deleted behind the list's back reads as "?" with icon 10 once
  // control has been back in the event loop.
  {
    std::lock_guard table(f.store.MessageLock());
    f.store.DeleteSms(gone);
  }
  QCoreApplication::processEvents();
  for (int c = 0; c < 5; ++c)
    QCOMPARE(f.Cell(1, c), QString("?"));
  QCOMPARE(icon(1), ui::StatusIcons::Pixmap(10).toImage());
}

void OutboxPageTest::headerClicksSortAndReverse() {
  Fixture f;
  const int older = f.Add(store::StatSent, kDecember24, "anna", "b text");
  const int newest = f.Add(store::StatDelivered, kMarch6, "Bob", "a text");
  const int middle = f.Add(store::StatPending, kMarch5, "carl", "C text");
  ui::OutboxPage &page = f.Open();
  auto order = [&] { return f.Model().Order().Ids(); };
  QCOMPARE(order(), (std::vector<int>{older, middle, newest}));

  // The Sent header once more: the newest message first.
  f.Select({middle});
  f.ClickHeader(ui::OutboxOrder::kSent);
  QCOMPARE(order(), (std::vector<int>{newest, middle, older}));
  QCOMPARE(page.List()->horizontalHeader()->sortIndicatorOrder(), Qt::DescendingOrder);
  // Another column sorts ascending by bytes (capitals first); the selection
  // stays on its message.
  f.ClickHeader(ui::OutboxOrder::kRecipient);
  QCOMPARE(order(), (std::vector<int>{newest, older, middle}));
  QCOMPARE(page.SelectedIds(), std::vector<int>{middle});
  f.ClickHeader(ui::OutboxOrder::kMessage);
  QCOMPARE(order(), (std::vector<int>{middle, newest, older}));
  f.ClickHeader(ui::OutboxOrder::kStatus);
  QCOMPARE(order(), (std::vector<int>{middle, older, newest}));
  // The direction survives a rebuild.
  f.ClickHeader(ui::OutboxOrder::kStatus);
  page.Rebuild(false);
  QCOMPARE(order(), (std::vector<int>{newest, older, middle}));
  QCOMPARE(page.List()->horizontalHeader()->sortIndicatorSection(), 2);
}

void OutboxPageTest::workerRequestsFoldIntoOneRebuild() {
  Fixture f;
  for (int i = 0; i < 60; ++i)
    f.Add(store::StatPending, kMarch5 + i, "0821234567", "Text " + std::to_string(i));
  ui::QtOutboxRebuilder rebuilder;
  ui::OutboxPage &page = f.Open();
  rebuilder.SetPage(&page);
  page.List()->verticalScrollBar()->setValue(10);
  f.Select({1, 2});

  // A re-sort by status keeps the selection on its messages.
  f.ClickHeader(ui::OutboxOrder::kStatus);
  {
    std::lock_guard table(f.store.MessageLock());
    f.store.SetSmsStatus(2, store::StatProcessing);
  }
  const int before = page.RebuildCount();
  std::thread([&] { rebuilder.Rebuild(true); }).join();
  QTRY_COMPARE(page.RebuildCount(), before + 1);
  QCOMPARE(f.Model().IdAt(f.Model().rowCount() - 1), 2);
  QCOMPARE(page.SelectedIds(), (std::vector<int>{1, 2}));

  // Many requests from the worker while the page is busy: one full rebuild
  // on this thread, which clears the selection and keeps the scroll.
  f.Add(store::StatPending, kMarch6, "0820000000", "Added by the worker");
  QSignalSpy changed(&page, &ui::OutboxPage::Changed);
  std::thread([&] {
    for (int i = 0; i < 200; ++i)
      rebuilder.Rebuild(i % 2 == 0);
  }).join();
  QTRY_COMPARE(page.RebuildCount(), before + 2);
  QCoreApplication::processEvents();
  QCOMPARE(page.RebuildCount(), before + 2);
  QCOMPARE(f.Model().rowCount(), 61);
  QVERIFY(page.SelectedIds().empty());
  QCOMPARE(page.List()->verticalScrollBar()->value(), 10);
  QCOMPARE(changed.count(), 1);
  QCOMPARE(f.window->Tab(ui::ids::kTabOutbox)->text(), QString("Outbox (60)"));

  // On another page only the caption follows, until the Outbox shows again.
  f.window->SelectTab(ui::ids::kTabSms);
  f.Add(store::StatPending, kMarch6, "0820000001", "Another one");
  rebuilder.Rebuild(false);
  QTRY_COMPARE(f.window->Tab(ui::ids::kTabOutbox)->text(), QString("Outbox (61)"));
  QCOMPARE(f.Model().rowCount(), 61);
  f.window->SelectTab(ui::ids::kTabOutbox);
  QCOMPARE(f.Model().rowCount(), 62);
  rebuilder.SetPage(nullptr);
}

void OutboxPageTest::menuFollowsTheRowsStatus() {
  Fixture f;
  const int pending = f.Add(store::StatPending, kMarch5, "0821234567", "Pending");
  const int scheduled = f.Add(store::StatScheduled, kMarch5, "0821234567", "Scheduled");
  const int editing = f.Add(store::StatEditing, kMarch5, "0821234567", "Editing");
  const int processing = f.Add(store::StatProcessing, kMarch5, "0821234567", "Processing");
  const int expanded = f.Add(store::StatExpanded, kMarch5, "0821,0822", "Expanded");
  f.Open();
  const QStringList all{"&Edit message", "&Copy", "&Delete", "Send &Now", "Select All",
                        "&Resend this SMS", "Re&fresh Message Status"};
  auto menu = f.Menu(scheduled);
  QStringList texts;
  for (QAction *a : menu->actions())
    texts << (a->isSeparator() ? QString("-") : a->text());
  QCOMPARE(texts, (QStringList{"&Edit message", "-", "&Copy", "&Delete", "-", "Send &Now",
                               "Select All", "&Resend this SMS", "Re&fresh Message Status"}));
  QCOMPARE(EnabledItems(*menu), all);

  // Edit on a Pending message only while offline.
  QCOMPARE(EnabledItems(*f.Menu(pending)), all.mid(1));
  engine::SetWorkingOnLine(f.settings, false);
  QCOMPARE(EnabledItems(*f.Menu(pending)), all);
  for (int busy : {editing, processing})
    QCOMPARE(EnabledItems(*f.Menu(busy)), QStringList{"Select All"});
  // Expanded: no status query, and the resend to failed destinations (none
  // failed here) comes last.
  auto onExpanded = f.Menu(expanded);
  QCOMPARE(EnabledItems(*onExpanded), (all.mid(1, 5)));
  QCOMPARE(onExpanded->actions().last()->text(), QString("Resend to &undelivered"));
  QVERIFY(!onExpanded->actions().last()->isEnabled());
}

void OutboxPageTest::editResendAndCopyActOnTheRowUnderTheCursor() {
  Fixture f;
  const int scheduled = f.store.AddSms(store::StatScheduled, kMarch5, 1, 0, "0821234567",
                                       "Flash text", "", 0, "?", 0);
  const int pending = f.Add(store::StatPending, kMarch6, "0827654321", "Plain text");
  std::vector<std::pair<std::string, int>> calls;
  bool opens = true;
  ui::OutboxPage &page = f.Open();
  page.SetComposer({[&](int id) {
                      calls.push_back({"edit", id});
                      return opens;
                    },
                    [&](int id) {
                      calls.push_back({"resend", id});
                      return opens;
                    },
                    {}});

  Item(*f.Menu(scheduled), "&Edit message")->trigger();
  QTRY_COMPARE(f.window->SelectedTab(), ui::ids::kTabSms);
  f.window->SelectTab(ui::ids::kTabOutbox);
  // The edit rule is asked again when the command runs.
  auto menu = f.Menu(pending);
  engine::SetWorkingOnLine(f.settings, false);
  auto offlineMenu = f.Menu(pending);
  engine::SetWorkingOnLine(f.settings, true);
  Item(*offlineMenu, "&Edit message")->trigger();
  Item(*menu, "&Resend this SMS")->trigger();
  QTRY_COMPARE(f.window->SelectedTab(), ui::ids::kTabSms);
  QCOMPARE(calls, (std::vector<std::pair<std::string, int>>{{"edit", scheduled},
                                                            {"resend", pending}}));
  // A message the SMS page cannot open leaves the Outbox where it is.
  f.window->SelectTab(ui::ids::kTabOutbox);
  opens = false;
  Item(*f.Menu(pending), "&Resend this SMS")->trigger();
  QCoreApplication::processEvents();
  QCOMPARE(f.window->SelectedTab(), ui::ids::kTabOutbox);

  Item(*f.Menu(scheduled), "&Copy")->trigger();
  const QString copied = QGuiApplication::clipboard()->text();
  QCOMPARE(copied, QString::fromStdString(*f.store.SmsDetailsText(scheduled)));
  QVERIFY(copied.contains("Binary message"));
}

void OutboxPageTest::deleteRemovesLocalRowsAndWithdrawsServerOnes() {
  uitest::BoxRecorder boxes(engine::kAnswerNo);
  Fixture f;
  const int local = f.Add(store::StatPending, kMarch5, "0821234567", "Local");
  const int onServer = f.Add(store::StatScheduledOnServer, kMarch5, "0821234567", "Server");
  const int other = f.Add(store::StatDelivered, kMarch5, "0821234567", "Stays");
  ui::OutboxPage &page = f.Open();
  QCOMPARE(f.window->Tab(ui::ids::kTabOutbox)->text(), QString("Outbox (1)"));
  f.Select({local, onServer});
  auto menu = f.Menu(local);

  Item(*menu, "&Delete")->trigger();
  QCOMPARE(boxes.Count(), 1);
  QCOMPARE(boxes.Last().caption, QString("Confirm Message Delete"));
  QVERIFY(boxes.Last().text.startsWith("Are you sure you want to delete 2 message(s)?\n\nNOTE:"));
  QCOMPARE(f.store.MessageCount(), 3);
  QVERIFY(f.posted.empty());

  boxes.SetAnswer(engine::kAnswerYes);
  Item(*menu, "&Delete")->trigger();
  QVERIFY(!f.store.FindMessage(local));
  QVERIFY(f.store.FindMessage(onServer));
  QVERIFY(f.store.FindMessage(other));
  QCOMPARE(f.posted.size(), 1u);
  QCOMPARE(f.posted[0].kind, engine::JobKind::DeleteList);
  QCOMPARE(f.posted[0].ids, std::vector<int>{onServer});
  QVERIFY(!f.posted[0].goOfflineAfter);
  QCOMPARE(f.Model().rowCount(), 2);
  QCOMPARE(f.window->Tab(ui::ids::kTabOutbox)->text(), QString("Outbox (0)"));

  // Only local messages: the short question.
  f.Select({other});
  Item(*f.Menu(other), "&Delete")->trigger();
  QCOMPARE(boxes.Last().text, QString("Are you sure you want to delete 1 message(s)?"));
  QCOMPARE(page.Model()->rowCount(), 1);
}

void OutboxPageTest::goingOnlineForSendAndRefresh() {
  uitest::BoxRecorder boxes;
  uitest::FakeGateway gateway;
  Fixture f;
  f.settings.WorkingOnLine = false;
  f.settings.Login = "demo";
  f.settings.Password = "demo123";
  const int id = f.Add(store::StatPending, kMarch5, "0821234567", "Text");
  ui::UiContext c = f.Context();
  c.gateway = &gateway;
  ui::OutboxPage &page = f.Open(c);
  f.Select({id});

  gateway.errors["AuthenticateClient"] = 5;
  QTest::mouseClick(page.SendNowButton(), Qt::LeftButton);
  QCOMPARE(boxes.Last().caption, QString("Send Now failed"));
  QCOMPARE(boxes.Last().text, QString("Unable to go online and send the outbox items!"));
  Item(*f.Menu(id), "Send &Now")->trigger();
  QCOMPARE(boxes.Last().text,
           QString("Unable to go online and send the highlighted outbox items!"));
  Item(*f.Menu(id), "Re&fresh Message Status")->trigger();
  QCOMPARE(boxes.Last().caption, QString("Query failed"));
  QCOMPARE(boxes.Last().text,
           QString("Unable to go online and query the status of the highlighted outbox items!"));
  QVERIFY(f.posted.empty());
  QVERIFY(!f.settings.WorkingOnLine);
  QTRY_VERIFY(f.window->Offline()->isVisible());

  gateway.errors["AuthenticateClient"] = 0;
  Item(*f.Menu(id), "Re&fresh Message Status")->trigger();
  QVERIFY(f.settings.WorkingOnLine);
  QTRY_VERIFY(!f.window->Offline()->isVisible());
  QTest::mouseClick(page.SendNowButton(), Qt::LeftButton);
  QCOMPARE(gateway.CallCount("AuthenticateClient"), 4);
  QCOMPARE(f.posted.size(), 2u);
  QCOMPARE(f.posted[0].kind, engine::JobKind::QueryList);
  QCOMPARE(f.posted[0].ids, std::vector<int>{id});
  QVERIFY(f.posted[0].goOfflineAfter);
  QCOMPARE(f.posted[1].kind, engine::JobKind::SendList);
  QCOMPARE(f.posted[1].ids, std::vector<int>{-1});
  QVERIFY(!f.posted[1].goOfflineAfter);
}

void OutboxPageTest::sendNowAndRefreshThroughTheWorker() {
  uitest::BoxRecorder boxes;
  gatewaysim::SimOptions options;
  options.speed = 0;
  gatewaysim::GatewaySimServer sim(options);
  std::string error;
  QVERIFY2(sim.Start(&error), error.c_str());
  QString regError;
  QVERIFY2(uitest::RegisterParlink(&regError), qPrintable(regError));
  std::unique_ptr<engine::GatewayBinding> gateway = engine::GatewayBinding::Create();
  QVERIFY(gateway);
  const std::string url = sim.BaseUrl();
  std::string result;
  QVERIFY(SUCCEEDED(gateway->SetBaseURL(
      false, url.c_str(), parlink::BaseUrlKey(static_cast<uint32_t>(url.size())), &result)));

  Fixture f;
  QVERIFY(engine::LoginOperation::Login(*gateway, f.settings.client_id, "demo", "demo123",
                                        nullptr, shell::StringTable::BuiltIn())
              .ok);
  const int id = f.Add(store::StatPending, 0, "0821234567", "Through the worker");
  ui::QtUserPrompt prompt(qApp);
  ui::QtOutboxRebuilder rebuilder;
  shell::Logger log((f.data / "SMS.log").string());
  engine::EngineServices services;
  services.store = &f.store;
  services.gateway = gateway.get();
  services.settings = &f.settings;
  services.strings = &shell::StringTable::BuiltIn();
  services.log = &log;
  services.poster = &f.poster;
  services.prompt = &prompt;
  services.outbox = &rebuilder;
  services.clock = &engine::SystemClock::Instance();
  f.settings.WorkingOnLine = false; // the worker's start sends nothing
  engine::CommsWorker worker(services);
  ui::UiContext c = f.Context();
  c.gateway = gateway.get();
  c.postList = ui::WorkerLists::For(&worker);
  ui::OutboxPage &page = f.Open(c);
  rebuilder.SetPage(&page);
  QVERIFY(worker.Start());
  engine::SetWorkingOnLine(f.settings, true);
  QCOMPARE(f.Cell(0, 2), QString("Pending"));

  QTest::mouseClick(page.SendNowButton(), Qt::LeftButton);
  QTRY_COMPARE_WITH_TIMEOUT(f.Cell(0, 2), QString("Unknown"), 20000);
  sim.AdvanceMs(60000);
  f.Select({id});
  Item(*f.Menu(id), "Re&fresh Message Status")->trigger();
  QTRY_COMPARE_WITH_TIMEOUT(f.Cell(0, 2), QString("Delivered"), 20000);
  const std::string charge = f.store.FindMessage(id)->Charge;
  QVERIFY(charge != "?" && !charge.empty());
  QCOMPARE(f.Cell(0, 3), QString::fromStdString(charge));
  QCOMPARE(boxes.Count(), 0);
  worker.StopAndWait();
  rebuilder.SetPage(nullptr);
}

void OutboxPageTest::resendToUndeliveredAddressesTheFailedChildren() {
  Fixture f;
  const int cid = [&] {
    store::ContactRecord record;
    record.SetName("Ann");
    record.SetMobile("0831111111");
    return f.store.AddContact(record);
  }();
  const std::string to = ",0821111111,A" + std::to_string(cid) + ",0822222222,0823333333";
  const int parent = f.Add(store::StatPending, kMarch5, to, "Hello all");
  // A copy of the same message (a later occurrence of a schedule), expanded
  // after the parent to the same destinations.
  const int sibling = f.store.CopySms(parent, false, 0);
  auto expand = [&](int id, std::vector<std::pair<std::string, int>> children) {
    std::vector<int> made;
    {
      std::lock_guard table(f.store.MessageLock());
      f.store.SetSmsStatus(id, store::StatExpanded);
    }
    for (auto &[token, status] : children)
      made.push_back(f.store.ExpandSms(id, status, token));
    return made;
  };
  const std::vector<int> children =
      expand(parent, {{"0821111111", store::StatDelivered},
                      {"A" + std::to_string(cid), store::StatFailed},
                      {"0822222222", store::StatRoutingError},
                      {"0823333333", store::StatDelivered}});
  const std::vector<int> siblings = expand(sibling, {{"0821111111", store::StatDeliveryError},
                                                     {"A" + std::to_string(cid), store::StatDelivered},
                                                     {"0822222222", store::StatDelivered},
                                                     {"0823333333", store::StatDelivered}});
  auto idsOf = [&](int id) {
    std::vector<int> ids;
    for (const store::MessageRow &row : ui::ExpandedChildren::Of(f.store, id))
      ids.push_back(row.ID);
    return ids;
  };
  QCOMPARE(idsOf(parent), children);
  QCOMPARE(idsOf(sibling), siblings);

  std::vector<ui::SmsPage::Recipients> opened;
  ui::OutboxPage &page = f.Open();
  page.SetComposer({{}, {}, [&](const ui::SmsPage::Recipients &r) { opened.push_back(r); }});
  auto menu = f.Menu(parent);
  QAction *item = menu->actions().last();
  QCOMPARE(item->text(), QString("Resend to &undelivered"));
  QVERIFY(item->isEnabled());
  item->trigger();
  QCOMPARE(opened.size(), 1u);
  QCOMPARE(opened[0].numbers, std::vector<std::string>{"0822222222"});
  QCOMPARE(opened[0].contactIds, std::vector<int>{cid});
  QVERIFY(opened[0].groupIds.empty());
  QTRY_COMPARE(f.window->SelectedTab(), ui::ids::kTabSms);
  f.window->SelectTab(ui::ids::kTabOutbox);
  f.Menu(sibling)->actions().last()->trigger();
  QCOMPARE(opened.size(), 2u);
  QCOMPARE(opened[1].numbers, std::vector<std::string>{"0821111111"});
  QVERIFY(opened[1].contactIds.empty());
}

void OutboxPageTest::selectAllSelectsEveryRowFromTheTop() {
  Fixture f;
  for (int i = 0; i < 50; ++i)
    f.Add(store::StatDelivered, kMarch5 + i, "0821234567", "Row " + std::to_string(i));
  ui::OutboxPage &page = f.Open();
  QTableView *list = page.List();
  list->verticalScrollBar()->setValue(list->verticalScrollBar()->maximum());
  list->setFocus();
  QTest::keyClick(list, Qt::Key_A, Qt::ControlModifier);
  QCOMPARE(page.SelectedIds().size(), 50u);
  QCOMPARE(list->verticalScrollBar()->value(), 0);
  QCOMPARE(list->selectionModel()->currentIndex().row(), 49);
  // The selection stays visible without the focus.
  QCOMPARE(list->palette().color(QPalette::Inactive, QPalette::Highlight),
           list->palette().color(QPalette::Active, QPalette::Highlight));
}

void OutboxPageTest::exportWritesTheSelectedMessages() {
  uitest::BoxRecorder boxes;
  Fixture f;
  f.settings.prefix = "27";
  ui::OutboxPage &page = f.Open();
  QTest::mouseClick(page.ExportButton(), Qt::LeftButton);
  QCOMPARE(boxes.Last().caption, QString("Export failed"));
  QCOMPARE(boxes.Last().text, QString("There is nothing to export"));

  const int a = f.Add(store::StatDelivered, kMarch5, "0821234567", "Say \"hi\"", "0.35");
  f.Add(store::StatPending, kMarch6, "0827654321", "Not selected");
  const int c = f.Add(store::StatSent, kDecember24, "0820000000", "Third");
  page.Rebuild(false);
  f.ClickHeader(ui::OutboxOrder::kSent); // newest first: a before c
  f.Select({c, a});
  const auto path = f.data / "Outbox.csv";
  bool sawDialog = false;
  QTimer::singleShot(0, [&] {
    auto *dialog = qobject_cast<ui::OutboxExportDialog *>(QApplication::activeModalWidget());
    if (!dialog) return;
    sawDialog = true;
    QVERIFY(!dialog->OkButton()->isEnabled());
    QVERIFY(dialog->SelectedChoice()->isChecked());
    dialog->FileField()->setText(QString::fromStdString(path.string()));
    QTest::mouseClick(dialog->OkButton(), Qt::LeftButton);
  });
  QTest::mouseClick(page.ExportButton(), Qt::LeftButton);
  QVERIFY(sawDialog);
  QCOMPARE(boxes.Last().text, QString("Your outbox was exported!"));

  const auto expected = f.data / "expected.csv";
  contacts::OutboxCsvExporter exporter(f.store, shell::NameTables::Defaults(),
                                       shell::StringTable::BuiltIn(), "27");
  QCOMPARE(exporter.ExportSelected(expected.string(), {a, c}), contacts::ExportResult::Done);
  QCOMPARE(ReadFile(path), ReadFile(expected));
  QVERIFY(ReadFile(path).find("\"2782") != std::string::npos);
}

void OutboxPageTest::legendDescribesEveryStatus() {
  Fixture f;
  ui::OutboxPage &page = f.Open();
  QStringList shown;
  QTimer::singleShot(0, [&] {
    auto *legend = qobject_cast<ui::StatusLegendDialog *>(QApplication::activeModalWidget());
    if (!legend) return;
    for (QLabel *label : legend->findChildren<QLabel *>())
      if (label->text().size() > 20) shown << label->text();
    legend->accept();
  });
  QTest::mouseClick(page.HelpButton(), Qt::LeftButton);
  QCOMPARE(shown.size(), 18);
  QCOMPARE(shown.first(), QString("The message is waiting to be sent to the distribution server."));
  QCOMPARE(shown.last(),
           QString("Failed SMS: The SMS has expired before it could be delivered."));
  QCOMPARE(shown, ui::StatusLegendDialog::Descriptions());
  // 18 different pictures.
  QSet<QByteArray> pictures;
  for (int code = 0; code < 18; ++code) {
    const QImage image = ui::StatusIcons::Pixmap(code).toImage();
    QCOMPARE(image.size(), QSize(14, 14));
    pictures.insert(QByteArray(reinterpret_cast<const char *>(image.constBits()),
                               static_cast<int>(image.sizeInBytes())));
  }
  QCOMPARE(pictures.size(), 18);
}

void OutboxPageTest::everyControlHasAnAccessibleName() {
  Fixture f;
  f.Add(store::StatPending, kMarch5, "0821234567", "Text");
  ui::OutboxPage &page = f.Open();
  auto check = [](QWidget &root) {
    for (QWidget *w : root.findChildren<QWidget *>()) {
      bool numbered = false;
      w->objectName().toInt(&numbered);
      if (!numbered) continue;
      QAccessibleInterface *a = QAccessible::queryAccessibleInterface(w);
      QVERIFY2(a && !a->text(QAccessible::Name).isEmpty(), qPrintable(w->objectName()));
    }
  };
  check(page);
  ui::StatusLegendDialog legend;
  check(legend);
  QVERIFY(!QAccessible::queryAccessibleInterface(&legend)->text(QAccessible::Name).isEmpty());
}

void OutboxPageTest::screenshots() {
  Fixture f;
  f.settings.LastBalance = 985;
  const char *const numbers[] = {"0821234567", "0834567890", "0729876543", "0615551234"};
  const char *const texts[] = {"Meeting moved to 15:00, see you there",
                               "Your order 4471 has shipped",
                               "Happy birthday! Have a great day",
                               "Reminder: invoice due Friday",
                               "Code 731 expires in 10 minutes"};
  for (int i = 0; i < 360; ++i) {
    const int status = i % 18;
    const char *charge = status == 9 || status == 8 ? "0.35" : (status == 0 ? "?" : "0.00");
    std::string to = numbers[i % 4];
    if (status == store::StatExpanded) to += std::string(",") + numbers[(i + 1) % 4] + ",0821111111";
    f.Add(status, kMarch5 - 3600 * i, to, texts[i % 5], charge);
  }
  ui::OutboxPage &page = f.Open();
  f.ClickHeader(ui::OutboxOrder::kSent);
  f.Select({3, 4, 6});
  page.SetStatusLine("Sending SMS:12 SMS to go. Expanding(0)");
  QString path = Shot(*f.window, "outbox-page");
  QCOMPARE(QImage(path).size(), f.window->size());
  // The rows further down, the list without the focus.
  page.SendNowButton()->setFocus();
  f.Select({11, 12});
  page.List()->verticalScrollBar()->setValue(9);
  Shot(page, "outbox-page-scrolled");

  ui::StatusLegendDialog legend;
  legend.show();
  QVERIFY(QTest::qWaitForWindowExposed(&legend));
  Shot(legend, "outbox-legend");

  // The 18 icons drawn four times as large, for a close look.
  QImage sheet(18 * 64, 64, QImage::Format_ARGB32);
  sheet.fill(Qt::white);
  {
    QPainter p(&sheet);
    for (int code = 0; code < 18; ++code)
      p.drawImage(QRect(code * 64 + 4, 4, 56, 56), ui::StatusIcons::Pixmap(code, 4.0).toImage());
  }
  sheet.save(QString::fromStdString(
      (testsupport::BuildDir() / "screenshots" / "outbox-icons.png").string()));

  ui::QtUserDialogs dialogs(nullptr);
  contacts::OutboxExportDialogModel model(f.store, shell::NameTables::Defaults(),
                                          shell::StringTable::BuiltIn(), "", dialogs,
                                          page.SelectedIds());
  ui::OutboxExportDialog exportDialog(model);
  exportDialog.FileField()->setText("/home/user/Outbox.csv");
  exportDialog.show();
  QVERIFY(QTest::qWaitForWindowExposed(&exportDialog));
  Shot(exportDialog, "outbox-export");
}

DV_QTEST_MAIN(OutboxPageTest)
#include "OutboxPageTest.moc"
