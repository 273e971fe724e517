// The Addresses page through its real widgets: the context menus and their
// rules, the group and contact dialogs, Copy, Cut and Paste, dragging onto
// a group, the quick search, the CSV dialogs and "New Message", over a real
// store in a fresh data folder. Menus are answered by PopupMenu's hook,
// message boxes by the box recorder, and the page's own dialogs by a timer
// that acts on them once they are open.
#include "UiTestSupport.h"

#include "AddressesPage.h"
#include "ContactDialog.h"
#include "ContactsExportDialog.h"
#include "ContactsImportDialog.h"
#include "ControlIds.h"
#include "DeleteContactDialog.h"
#include "FileField.h"
#include "GroupCheckList.h"
#include "GroupDialog.h"
#include "GroupListWidget.h"
#include "MainWindow.h"
#include "MemberListView.h"
#include "PopupMenu.h"
#include "QtMessagePoster.h"
#include "UiText.h"

#include "addresses/AddressesIds.h"
#include "engine/UserPrompt.h"
#include "shell/Settings.h"
#include "store/SmsStore.h"

#include <testsupport/SqlExec.h>
#include <testsupport/TestEnv.h>

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QtTest>

#include <functional>
#include <map>
#include <memory>

namespace ids = ui::ids;

namespace {

// A page over a store with "All Contacts", "Friends" and "Work".
struct Fixture {
  std::filesystem::path data = uitest::MakeDataFolder();
  std::unique_ptr<store::SmsStore> store = std::make_unique<store::SmsStore>(data.string());
  int friends = GidOf(store->AddGroup("Friends"));
  int work = GidOf(store->AddGroup("Work"));
  std::unique_ptr<ui::AddressesPage> page;

  int GidOf(int position) const { return store->GroupAt(position)->GID; }

  int AddContact(const std::string &name, const std::string &mobile, std::vector<int> groups) {
    store::ContactRecord record;
    record.SetName(name);
    record.SetMobile(mobile);
    record.groupIds = groups.data();
    record.groupCount = static_cast<int>(groups.size());
    return store->AddContact(record);
  }

  ui::AddressesPage &Make() {
    ui::UiContext context;
    context.store = store.get();
    page = std::make_unique<ui::AddressesPage>(context);
    page->show();
    if (!QTest::qWaitForWindowExposed(page.get())) qWarning("page not exposed");
    return *page;
  }
};

// Answers the next context menu: records each item's enabled state (by id)
// and chooses `choose` (0: none).
struct MenuAnswer {
  std::map<int, bool> enabled;
  QStringList texts; // in order, "-" for a separator
  explicit MenuAnswer(int choose = 0) {
    ui::PopupMenu::SetHook([this, choose](QMenu &menu) {
      enabled.clear();
      texts.clear();
      for (QAction *a : menu.actions()) {
        texts << (a->isSeparator() ? QString("-") : a->text());
        if (!a->isSeparator()) enabled[a->objectName().toInt()] = a->isEnabled();
      }
      return choose;
    });
  }
  ~MenuAnswer() { ui::PopupMenu::SetHook(nullptr); }
  QList<int> Enabled() const {
    QList<int> on;
    for (const auto &[id, e] : enabled)
      if (e) on << id;
    return on;
  }
};

QPoint RowPoint(QAbstractItemView *view, int row) {
  if (row < 0) return QPoint(8, view->viewport()->height() - 4); // below the last row
  return view->visualRect(view->model()->index(row, 0)).center();
}

void RightClick(QAbstractItemView *view, int row) {
  const QPoint at = RowPoint(view, row);
  QContextMenuEvent event(QContextMenuEvent::Mouse, at, view->viewport()->mapToGlobal(at));
  QApplication::sendEvent(view->viewport(), &event);
}

void Click(QAbstractItemView *view, int row, Qt::KeyboardModifiers modifiers = {}) {
  QTest::mouseClick(view->viewport(), Qt::LeftButton, modifiers, RowPoint(view, row));
}

// Runs `act` on the next modal dialog of type T as soon as it is open; a
// dialog that `act` left open (a failed check) is cancelled.
template <class T> void WhenOpen(std::function<void(T &)> act) {
  auto *timer = new QTimer;
  timer->setInterval(5);
  QObject::connect(timer, &QTimer::timeout, [timer, act] {
    if (auto *dialog = qobject_cast<T *>(QApplication::activeModalWidget())) {
      timer->stop();
      timer->deleteLater();
      act(*dialog);
      if (dialog->isVisible()) dialog->reject();
    }
  });
  timer->start();
}

QStringList GroupTexts(ui::AddressesPage &page) {
  QStringList texts;
  for (int i = 0; i < page.GroupList()->count(); ++i)
    texts << page.GroupList()->item(i)->text();
  return texts;
}

QStringList MemberNames(ui::AddressesPage &page) {
  QStringList names;
  for (const addresses::MemberRow &row : page.Members().Rows())
    names << QString::fromStdString(row.name);
  return names;
}

// A trigger stands in for a store that refuses to write: it turns down
// every new contact and drops the open transaction with it, so the closing
// commit fails too.
void RefuseNewContacts(const std::filesystem::path &data) {
  QVERIFY(testsupport::ExecSql(data / "SMS.db", "CREATE TRIGGER refuse BEFORE INSERT ON CONTACTS "
                                                "BEGIN SELECT RAISE(ROLLBACK, 'no'); END;"));
}

// Opens a dialog with `open`, sets it up with `fill`, saves its picture to
// `file` and cancels it.
template <class T>
void ShootDialog(const std::filesystem::path &file, std::function<void(T &)> fill,
                 const std::function<void()> &open) {
  WhenOpen<T>([file, fill](T &d) {
    fill(d);
    QTest::qWait(20);
    const QString path = QString::fromStdString(file.string());
    QVERIFY(d.grab().save(path));
    QVERIFY(!QImage(path).isNull());
  });
  open();
}

// Fills and accepts the "UPLOAD CSV FILE" dialog.
void UploadFile(const std::string &path, int checkRow) {
  WhenOpen<ui::ContactsImportDialog>([path, checkRow](ui::ContactsImportDialog &d) {
    d.File()->SetPath(path);
    if (checkRow >= 0) d.Groups()->SetChecked(checkRow, true);
    QVERIFY(d.OkButton()->isEnabled());
    d.OkButton()->click();
  });
}

// Every numbered control below `root` (and `root` itself) has a name a
// screen reader can say.
void CheckAccessibleNames(QWidget &root) {
  QList<QWidget *> widgets = root.findChildren<QWidget *>();
  widgets << &root;
  int numbered = 0;
  for (QWidget *w : widgets) {
    bool isNumber = false;
    w->objectName().toInt(&isNumber);
    if (!isNumber) continue;
    ++numbered;
    QAccessibleInterface *a = QAccessible::queryAccessibleInterface(w);
    QVERIFY2(a && !a->text(QAccessible::Name).isEmpty(), qPrintable(w->objectName()));
  }
  QVERIFY(numbered > 0);
}

} // namespace

class AddressesPageTest : public QObject {
  Q_OBJECT

private slots:
  void allContactsOffersOnlyNewGroupSelectAllAndMessage();
  void groupMenuRulesForNoRowAndSeveralGroups();
  void contactMenuRulesWithAndWithoutClipboard();
  void groupDialogLimitsAndCommands();
  void contactDialogFieldsGroupsAndNeedAGroup();
  void deleteContactsAsksForCountAndScope();
  void cutAndPasteAcrossGroupsBothAnswers();
  void copyAndPasteTwiceAddsTwoMemberships();
  void dropWithCopyAndMoveEffects();
  void searchWrapsAroundAndShowsAllContacts();
  void headerClicksSortAndReverse();
  void newMessageGoesToTheChosenContactsAndGroups();
  void newMessageSelectsTheSmsTab();
  void importShowsInTheListsWithCounts();
  void importIntoAnUnwritableStoreCountsTheFailures();
  void exportDialogChoicesAndEnabling();
  void everyControlHasAnAccessibleName();
  void screenshots();
};

void AddressesPageTest::allContactsOffersOnlyNewGroupSelectAllAndMessage() {
  Fixture f;
  auto &page = f.Make();
  MenuAnswer menu;
  RightClick(page.GroupList(), 0);
  QCOMPARE(menu.texts, QStringList({"New Group", "Delete Group", "Rename Group", "-",
                                    "Upload contacts", "-", "Select all", "-",
                                    "New message to group"}));
  QCOMPARE(menu.Enabled(),
           QList<int>({ids::kMenuNewGroup, ids::kMenuSelectAllGroups, ids::kMenuNewMessageToGroup}));
}

void AddressesPageTest::groupMenuRulesForNoRowAndSeveralGroups() {
  Fixture f;
  auto &page = f.Make();
  MenuAnswer menu;
  RightClick(page.GroupList(), -1);
  QCOMPARE(menu.Enabled(), QList<int>({ids::kMenuNewGroup}));

  RightClick(page.GroupList(), 1); // Friends, alone
  QCOMPARE(menu.Enabled().size(), 6);

  Click(page.GroupList(), 1);
  Click(page.GroupList(), 2, Qt::ControlModifier);
  QCOMPARE(page.GroupList()->SelectedRows(), QList<int>({1, 2}));
  RightClick(page.GroupList(), 2);
  QCOMPARE(menu.Enabled(), QList<int>({ids::kMenuNewGroup, ids::kMenuUploadContacts,
                                       ids::kMenuSelectAllGroups, ids::kMenuNewMessageToGroup}));
}

void AddressesPageTest::contactMenuRulesWithAndWithoutClipboard() {
  Fixture f;
  f.AddContact("Ann", "0821", {f.friends});
  auto &page = f.Make();
  QCOMPARE(page.Members().Count(), 1);
  QCOMPARE(page.MemberList()->header()->count(), 3);
  {
    MenuAnswer menu;
    RightClick(page.MemberList(), -1);
    QCOMPARE(menu.texts,
             QStringList({"New Contact", "Edit Contact", "Delete Contact(s)", "-", "Copy", "Cut",
                          "Paste", "-", "Upload CSV", "Select All", "-", "New Message"}));
    QCOMPARE(menu.Enabled(), QList<int>({ids::kMenuNewContact, ids::kMenuUploadCsv}));
    RightClick(page.MemberList(), 0);
    QVERIFY(!menu.enabled[ids::kMenuPaste]);
    QCOMPARE(menu.Enabled().size(), 8);
  }
  {
    MenuAnswer copy(ids::kMenuCopy);
    RightClick(page.MemberList(), 0);
  }
  MenuAnswer menu;
  RightClick(page.MemberList(), 0);
  QCOMPARE(menu.Enabled().size(), 9);
  RightClick(page.MemberList(), -1);
  QVERIFY(!menu.enabled[ids::kMenuPaste]);
}

void AddressesPageTest::groupDialogLimitsAndCommands() {
  Fixture f;
  f.AddContact("Ann", "0821", {f.friends});
  f.AddContact("Bob", "0822", {f.friends, f.work});
  auto &page = f.Make();
  uitest::BoxRecorder boxes(engine::kAnswerYes);

  WhenOpen<ui::GroupDialog>([](ui::GroupDialog &d) {
    QCOMPARE(d.windowTitle(), QString("ADD NEW GROUP"));
    QVERIFY(!d.OkButton()->isEnabled());
    QTest::keyClicks(d.NameField(), "   ");
    QVERIFY(!d.OkButton()->isEnabled()); // blanks only
    QTest::keyClicks(d.NameField(), "Choir and a very long name");
    QCOMPARE(d.NameField()->text().size(), 21);
    QVERIFY(d.OkButton()->isEnabled());
    d.OkButton()->click();
  });
  page.Button(ids::kAddrNewGroupButton)->click();
  QCOMPARE(GroupTexts(page).last(), QString("   Choir and a very l (0)"));

  WhenOpen<ui::GroupDialog>([](ui::GroupDialog &d) {
    QCOMPARE(d.windowTitle(), QString("EDIT GROUP NAME"));
    QCOMPARE(d.NameField()->text(), QString("Friends"));
    d.NameField()->setText("Pals");
    d.OkButton()->click();
  });
  {
    MenuAnswer rename(ids::kMenuRenameGroup);
    RightClick(page.GroupList(), 1);
  }
  QCOMPARE(GroupTexts(page).mid(0, 3),
           QStringList({"All Contacts (2)", "Pals (2)", "Work (1)"}));

  {
    MenuAnswer remove(ids::kMenuDeleteGroup);
    RightClick(page.GroupList(), 1);
  }
  QCOMPARE(boxes.Last().caption, QString("Confirm Group Delete"));
  QCOMPARE(boxes.Last().text,
           QString("Are you sure you want to delete the Pals group and all its 2 members?"));
  QCOMPARE(boxes.Last().style, engine::kBoxYesNo | engine::kBoxIconQuestion);
  // Ann was only in the group and went with it; Bob stays in Work.
  QCOMPARE(GroupTexts(page).mid(0, 2), QStringList({"All Contacts (1)", "Work (1)"}));
  QCOMPARE(page.CurrentGroup(), 1);
}

void AddressesPageTest::contactDialogFieldsGroupsAndNeedAGroup() {
  Fixture f;
  {
    // A store with only "All Contacts".
    auto data = uitest::MakeDataFolder();
    store::SmsStore lonely(data.string());
    ui::UiContext context;
    context.store = &lonely;
    ui::AddressesPage page(context);
    uitest::BoxRecorder boxes;
    page.Button(ids::kAddrNewContactButton)->click();
    page.Button(ids::kAddrUploadButton)->click();
    QCOMPARE(boxes.Count(), 2);
    QCOMPARE(boxes.Boxes()[0].text, QString("Create a group before you add contacts into it."));
    QCOMPARE(boxes.Boxes()[1].text, QString("Create a group before you upload contacts into it."));
    QCOMPARE(boxes.Last().caption, QString("Need a group"));
    QCOMPARE(boxes.Last().style, engine::kBoxOk | engine::kBoxIconInformation);
  }

  auto &page = f.Make();
  Click(page.GroupList(), 2); // Work
  WhenOpen<ui::ContactDialog>([](ui::ContactDialog &d) {
    using Field = addresses::ContactForm::Field;
    QCOMPARE(d.windowTitle(), QString("ADD NEW MEMBER"));
    QCOMPARE(d.Groups()->count(), 2); // Friends, Work: not "All Contacts"
    QVERIFY(!d.Groups()->IsChecked(0));
    QVERIFY(d.Groups()->IsChecked(1));
    QCOMPARE(d.Field(Field::Name)->maxLength(), 32);
    QCOMPARE(d.Field(Field::Surname)->maxLength(), 32);
    QCOMPARE(d.Field(Field::Title)->maxLength(), 8);
    QCOMPARE(d.Field(Field::Custom)->maxLength(), 32);
    QCOMPARE(d.Field(Field::Mobile)->maxLength(), 16);
    QTest::keyClicks(d.Field(Field::Name), "Dora");
    QVERIFY(!d.OkButton()->isEnabled());
    QTest::keyClicks(d.Field(Field::Mobile), "+27 82-555 1234");
    QCOMPARE(d.Field(Field::Mobile)->text(), QString("27825551234"));
    QVERIFY(d.OkButton()->isEnabled());
    d.Groups()->SetChecked(1, false);
    QVERIFY(!d.OkButton()->isEnabled());
    d.Groups()->SetChecked(0, true);
    d.OkButton()->click();
  });
  page.Button(ids::kAddrNewContactButton)->click();
  const std::vector<store::ContactRow> contacts = f.store->Contacts();
  QCOMPARE(contacts.size(), size_t(1));
  QCOMPARE(contacts[0].Mobile, std::string("27825551234"));
  QCOMPARE(f.store->GroupsOfContact(contacts[0].CID), std::vector<int>{f.friends});

  // Editing shows the contact and its groups and stores the change.
  Click(page.GroupList(), 1);
  WhenOpen<ui::ContactDialog>([](ui::ContactDialog &d) {
    QCOMPARE(d.windowTitle(), QString("EDIT MEMBER DETAILS"));
    QCOMPARE(d.Field(addresses::ContactForm::Field::Name)->text(), QString("Dora"));
    QVERIFY(d.Groups()->IsChecked(0));
    d.Groups()->SetChecked(1, true);
    d.Field(addresses::ContactForm::Field::Title)->setText("Dr");
    d.OkButton()->click();
  });
  {
    MenuAnswer edit(ids::kMenuEditContact);
    RightClick(page.MemberList(), 0);
  }
  QCOMPARE(f.store->FindContact(contacts[0].CID)->Title, std::string("Dr"));
  QCOMPARE(f.store->GroupsOfContact(contacts[0].CID), (std::vector<int>{f.friends, f.work}));
  QCOMPARE(GroupTexts(page), QStringList({"All Contacts (1)", "Friends (1)", "Work (1)"}));
}

void AddressesPageTest::deleteContactsAsksForCountAndScope() {
  Fixture f;
  f.AddContact("Ann", "0821", {f.friends});
  f.AddContact("Bob", "0822", {f.friends, f.work});
  auto &page = f.Make();
  Click(page.GroupList(), 1);
  uitest::BoxRecorder boxes(engine::kAnswerNo);
  MenuAnswer remove(ids::kMenuDeleteContacts);
  page.MemberList()->selectAll();
  RightClick(page.MemberList(), 0);
  QCOMPARE(boxes.Last().caption, QString("Confirm Contact Delete"));
  QCOMPARE(boxes.Last().text, QString("Are you sure you want to delete 2 contact(s)?"));
  QCOMPARE(f.store->ContactCount(), 2); // No

  boxes.SetAnswer(engine::kAnswerYes);
  WhenOpen<ui::DeleteContactDialog>([](ui::DeleteContactDialog &d) {
    QVERIFY(d.ThisGroupOnly()->isChecked());
    d.reject();
  });
  page.MemberList()->selectAll();
  RightClick(page.MemberList(), 0);
  QCOMPARE(f.store->ContactCount(), 2); // Cancel in the second question

  WhenOpen<ui::DeleteContactDialog>([](ui::DeleteContactDialog &d) { d.accept(); });
  page.MemberList()->selectAll();
  RightClick(page.MemberList(), 0);
  // From this group only: Ann had no other group, Bob stays in Work.
  QCOMPARE(f.store->ContactCount(), 1);
  QCOMPARE(GroupTexts(page), QStringList({"All Contacts (1)", "Friends (0)", "Work (1)"}));
}

void AddressesPageTest::cutAndPasteAcrossGroupsBothAnswers() {
  Fixture f;
  const int choir = f.GidOf(f.store->AddGroup("Choir"));
  const int ann = f.AddContact("Ann", "0821", {f.friends, f.work});
  f.AddContact("Bob", "0822", {f.friends, f.work});
  auto &page = f.Make();
  uitest::BoxRecorder boxes;

  // A cut called off in the second question leaves the clipboard empty.
  Click(page.GroupList(), 1);
  WhenOpen<ui::DeleteContactDialog>([](ui::DeleteContactDialog &d) { d.reject(); });
  {
    MenuAnswer cut(ids::kMenuCut);
    RightClick(page.MemberList(), 0);
  }
  QVERIFY(page.Clipboard().Empty());
  QCOMPARE(f.store->ContactCount(), 2);

  // Ann, cut from Friends out of all her groups, pasted into Choir.
  WhenOpen<ui::DeleteContactDialog>([](ui::DeleteContactDialog &d) {
    d.AllGroups()->setChecked(true);
    d.accept();
  });
  {
    MenuAnswer cut(ids::kMenuCut);
    RightClick(page.MemberList(), 0);
  }
  QVERIFY(!f.store->FindContact(ann));
  Click(page.GroupList(), 3);
  {
    MenuAnswer paste(ids::kMenuPaste);
    RightClick(page.MemberList(), -1); // Paste needs a row under the cursor
    QVERIFY(!paste.enabled[ids::kMenuPaste]);
  }
  f.AddContact("Cy", "0823", {choir}); // a row to right-click on
  page.Refresh();
  {
    MenuAnswer paste(ids::kMenuPaste);
    RightClick(page.MemberList(), 0);
  }
  QCOMPARE(MemberNames(page), QStringList({"Cy", "Ann"}));
  QCOMPARE(GroupTexts(page),
           QStringList({"All Contacts (3)", "Friends (1)", "Work (1)", "Choir (2)"}));
  QCOMPARE(page.Clipboard().CurrentMode(), addresses::ContactClipboard::Mode::Copied);

  // Bob, cut from Work only: he stays in Friends, and a copy goes to Choir.
  Click(page.GroupList(), 2);
  WhenOpen<ui::DeleteContactDialog>([](ui::DeleteContactDialog &d) { d.accept(); });
  {
    MenuAnswer cut(ids::kMenuCut);
    RightClick(page.MemberList(), 0);
  }
  QCOMPARE(GroupTexts(page),
           QStringList({"All Contacts (3)", "Friends (1)", "Work (0)", "Choir (2)"}));
  Click(page.GroupList(), 3);
  {
    MenuAnswer paste(ids::kMenuPaste);
    RightClick(page.MemberList(), 0);
  }
  QCOMPARE(MemberNames(page), QStringList({"Cy", "Ann", "Bob"}));
  QCOMPARE(f.store->ContactCount(), 4);
  QCOMPARE(boxes.Count(), 0);
}

void AddressesPageTest::copyAndPasteTwiceAddsTwoMemberships() {
  Fixture f;
  const int ann = f.AddContact("Ann", "0821", {f.friends});
  f.AddContact("Bob", "0822", {f.work});
  auto &page = f.Make();
  Click(page.GroupList(), 1);
  {
    MenuAnswer copy(ids::kMenuCopy);
    RightClick(page.MemberList(), 0);
  }
  Click(page.GroupList(), 2);
  for (int i = 0; i < 2; ++i) {
    MenuAnswer paste(ids::kMenuPaste);
    RightClick(page.MemberList(), 0);
  }
  QCOMPARE(f.store->GroupsOfContact(ann), (std::vector<int>{f.friends, f.work, f.work}));
  QCOMPARE(MemberNames(page), QStringList({"Bob", "Ann", "Ann"}));
  QCOMPARE(GroupTexts(page)[2], QString("Work (3)"));
}

void AddressesPageTest::dropWithCopyAndMoveEffects() {
  Fixture f;
  const int choir = f.GidOf(f.store->AddGroup("Choir"));
  const int ann = f.AddContact("Ann", "0821", {f.friends});
  const int bob = f.AddContact("Bob", "0822", {f.friends});
  auto &page = f.Make();
  Click(page.GroupList(), 1);
  QListWidget *groups = page.GroupList();

  // A drop reaches only the widget that accepted the drag's entry.
  auto drop = [&](const QString &text, int row, Qt::KeyboardModifiers modifiers) {
    QMimeData data;
    data.setText(text);
    const QPoint at = RowPoint(groups, row);
    const Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction;
    QDragEnterEvent enter(at, actions, &data, Qt::LeftButton, modifiers);
    QApplication::sendEvent(groups->viewport(), &enter);
    QDropEvent event(at, actions, &data, Qt::LeftButton, modifiers);
    QApplication::sendEvent(groups->viewport(), &event);
    return event.isAccepted();
  };
  const QString annPayload = QString("CID:0|GID:%1").arg(f.friends);
  QCOMPARE(page.MemberList()->model()->rowCount(), 2);

  // Ctrl: copy. Ann joins Work and stays in Friends.
  QVERIFY(drop(annPayload, 2, Qt::ControlModifier));
  QCOMPARE(f.store->GroupsOfContact(ann), (std::vector<int>{f.friends, f.work}));
  QCOMPARE(GroupTexts(page)[1], QString("Friends (2)"));

  // Shift: move. Bob (row 1) leaves Friends for Choir; Friends is shown again.
  QVERIFY(drop(QString("CID:1|GID:%1").arg(f.friends), 3, Qt::ShiftModifier));
  QCOMPARE(f.store->GroupsOfContact(bob), std::vector<int>{choir});
  QCOMPARE(page.CurrentGroup(), f.friends);
  QCOMPARE(MemberNames(page), QStringList({"Ann"}));

  // Other texts change nothing.
  QVERIFY(!drop("Ann,0821", 3, Qt::ShiftModifier));
  QVERIFY(!drop(QString("CID:7|GID:%1").arg(f.friends), 3, Qt::ShiftModifier)); // no row 7
  QCOMPARE(GroupTexts(page),
           QStringList({"All Contacts (2)", "Friends (1)", "Work (1)", "Choir (1)"}));
}

void AddressesPageTest::searchWrapsAroundAndShowsAllContacts() {
  Fixture f;
  f.AddContact("Ann Lee", "0821", {f.friends});
  f.AddContact("Bob", "0822", {f.work});
  store::ContactRecord record;
  record.SetName("Cy");
  record.SetSurname("LEEDS");
  record.SetMobile("0823");
  const int gids[] = {f.friends};
  record.groupIds = gids;
  record.groupCount = 1;
  f.store->AddContact(record);
  auto &page = f.Make();
  Click(page.GroupList(), 1);
  QPushButton *search = page.Button(ids::kAddrSearchButton);
  QVERIFY(!search->isEnabled());
  QTest::keyClicks(page.SearchField(), "lee");
  QVERIFY(search->isEnabled());

  auto selected = [&] {
    const QList<int> rows = page.MemberList()->SelectedRows();
    return rows.size() == 1 ? QString::fromStdString(page.Members().Rows()[rows[0]].name)
                            : QString();
  };
  search->click();
  QCOMPARE(selected(), QString("Ann Lee"));
  QTest::keyClick(page.SearchField(), Qt::Key_Return);
  QCOMPARE(selected(), QString("Cy")); // by surname, after the last found
  search->click();
  QCOMPARE(selected(), QString("Ann Lee")); // round again

  // Bob is not in Friends: the page turns to "All Contacts" to show him.
  page.SearchField()->setText("0822");
  search->click();
  QCOMPARE(page.CurrentGroup(), 1);
  QCOMPARE(page.GroupLabel()->text(), QString("All Contacts"));
  QCOMPARE(selected(), QString("Bob"));

  page.SearchField()->setText("nobody");
  search->click();
  QCOMPARE(selected(), QString("Bob")); // nothing changes
  page.SearchField()->clear();
  QVERIFY(!search->isEnabled());
}

void AddressesPageTest::headerClicksSortAndReverse() {
  Fixture f;
  f.AddContact("bea", "0822", {f.friends});
  f.AddContact("Ann", "0823", {f.friends});
  f.AddContact("Cy", "0821", {f.friends});
  auto &page = f.Make();
  Click(page.GroupList(), 1);
  QHeaderView *header = page.MemberList()->header();
  QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                    QPoint(header->sectionViewportPosition(0) + 10, header->height() / 2));
  QCOMPARE(MemberNames(page), QStringList({"Ann", "Cy", "bea"})); // bytes: capitals first
  QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                    QPoint(header->sectionViewportPosition(0) + 10, header->height() / 2));
  QCOMPARE(MemberNames(page), QStringList({"bea", "Cy", "Ann"}));
  QCOMPARE(header->sortIndicatorOrder(), Qt::DescendingOrder);
}

void AddressesPageTest::newMessageGoesToTheChosenContactsAndGroups() {
  Fixture f;
  const int ann = f.AddContact("Ann", "0821", {f.friends});
  const int bob = f.AddContact("Bob", "0822", {f.friends});
  f.AddContact("Cy", "0823", {f.friends});
  auto &page = f.Make();
  std::vector<ui::SmsPage::Recipients> started;
  page.SetNewMessageHandler([&](const ui::SmsPage::Recipients &r) { started.push_back(r); });

  Click(page.GroupList(), 1);
  Click(page.MemberList(), 0);
  Click(page.MemberList(), 1, Qt::ControlModifier);
  {
    MenuAnswer message(ids::kMenuNewMessage);
    RightClick(page.MemberList(), 1);
  }
  Click(page.GroupList(), 2, Qt::ControlModifier); // Friends and Work
  {
    MenuAnswer message(ids::kMenuNewMessageToGroup);
    RightClick(page.GroupList(), 2);
  }
  QCOMPARE(started.size(), size_t(2));
  QCOMPARE(started[0].contactIds, (std::vector<int>{ann, bob}));
  QVERIFY(started[0].groupIds.empty() && started[0].numbers.empty());
  QCOMPARE(started[1].groupIds, (std::vector<int>{f.friends, f.work}));
  QVERIFY(started[1].contactIds.empty());
}

void AddressesPageTest::newMessageSelectsTheSmsTab() {
  Fixture f;
  f.AddContact("Ann", "0821", {f.friends});
  shell::Settings settings;
  ui::QtMessagePoster poster;
  ui::UiContext context;
  context.settings = &settings;
  context.store = f.store.get();
  context.poster = &poster;
  ui::MainWindow window(context);
  window.show();
  window.SelectTab(ids::kTabAddresses);
  ui::AddressesPage *page = window.Addresses();
  QVERIFY(QTest::qWaitForWindowExposed(&window));
  QCOMPARE(page->Members().Count(), 1); // All Contacts
  Click(page->MemberList(), 0);
  {
    MenuAnswer message(ids::kMenuNewMessage);
    RightClick(page->MemberList(), 0);
  }
  QTRY_COMPARE(window.SelectedTab(), ids::kTabSms);
}

void AddressesPageTest::importShowsInTheListsWithCounts() {
  Fixture f;
  auto &page = f.Make();
  Click(page.GroupList(), 1);
  const auto file = f.data / "people.csv";
  testsupport::WriteFile(file, "fname;mobile;group\r\nAnn;0821;Choir\r\nBob;0822;\r\nCy;;\r\n");
  uitest::BoxRecorder boxes;
  WhenOpen<ui::ContactsImportDialog>([file](ui::ContactsImportDialog &d) {
    QCOMPARE(d.windowTitle(), QString("UPLOAD CSV FILE"));
    QCOMPARE(d.Groups()->count(), 2);
    QVERIFY(d.Groups()->IsChecked(0)); // the current group
    QCOMPARE(d.Separators()->currentText(), QString("Comma"));
    QVERIFY(!d.OkButton()->isEnabled()); // no file yet
    d.File()->SetPath(file.string());
    d.Separators()->setCurrentIndex(1);
    d.AutoCreateGroups()->setChecked(true);
    d.OkButton()->click();
  });
  page.Button(ids::kAddrUploadButton)->click();
  QCOMPARE(boxes.Count(), 1);
  QCOMPARE(boxes.Last().caption, QString("Importing ..."));
  QCOMPARE(boxes.Last().text, QString("Finished importing new contacts!\n\n(2) items where "
                                      "inserted into the database\nand (1) item were discarded."));
  QCOMPARE(boxes.Last().style, engine::kBoxOk | engine::kBoxIconInformation);
  QCOMPARE(GroupTexts(page),
           QStringList({"All Contacts (2)", "Friends (1)", "Work (0)", "Choir (1)"}));
  QCOMPARE(MemberNames(page), QStringList({"Bob"}));
}

void AddressesPageTest::importIntoAnUnwritableStoreCountsTheFailures() {
  Fixture f;
  f.store.reset();
  RefuseNewContacts(f.data);
  f.store = std::make_unique<store::SmsStore>(f.data.string());
  QVERIFY(f.store->IsUsable());
  auto &page = f.Make();
  const auto file = f.data / "people.csv";
  testsupport::WriteFile(file, "fname,mobile\nAnn,0821\nBob,0822\n");
  uitest::BoxRecorder boxes;
  UploadFile(file.string(), 1);
  {
    MenuAnswer upload(ids::kMenuUploadCsv);
    RightClick(page.MemberList(), -1);
  }
  QCOMPARE(boxes.Count(), 1);
  QCOMPARE(boxes.Last().text,
           QString("Finished importing new contacts!\n\n(0) items where inserted into the "
                   "database\nand (0) item were discarded.\n\n(2) items could not be stored in "
                   "the database.\n\nThe database could not save the imported contacts to disk."));
  QCOMPARE(boxes.Last().style, engine::kBoxOk | ui::kBoxIconWarning);
  QCOMPARE(GroupTexts(page), QStringList({"All Contacts (0)", "Friends (0)", "Work (0)"}));
}

void AddressesPageTest::exportDialogChoicesAndEnabling() {
  Fixture f;
  f.AddContact("Ann", "0821", {f.friends});
  f.AddContact("Bob", "0822", {f.work});
  auto &page = f.Make();
  const auto file = f.data / "out.csv";
  uitest::BoxRecorder boxes;
  WhenOpen<ui::ContactsExportDialog>([file](ui::ContactsExportDialog &d) {
    QCOMPARE(d.windowTitle(), QString("EXPORT CONTACTS"));
    QVERIFY(d.GroupsChoice()->isChecked()); // nothing selected on the page
    QCOMPARE(d.Groups()->count(), 3);
    QVERIFY(!d.OkButton()->isEnabled());
    d.SelectionChoice()->setChecked(true);
    QVERIFY(!d.Groups()->isEnabled() && !d.WithGroup()->isEnabled());
    d.GroupsChoice()->setChecked(true);
    QVERIFY(d.Groups()->isEnabled() && d.WithGroup()->isEnabled());
    d.File()->SetPath(file.string());
    QVERIFY(d.OkButton()->isEnabled());
    d.Groups()->SetChecked(0, true); // "All Contacts": every contact
    d.WithGroup()->setChecked(true);
    d.OkButton()->click();
  });
  page.Button(ids::kAddrExportButton)->click();
  QCOMPARE(QString::fromStdString(testsupport::ReadFile(file)),
           QString("FName,SName,Title,Custom,Mobile,Group\r\n"
                   "Ann,,,,0821,All Contacts\r\nBob,,,,0822,All Contacts\r\n"));
  QCOMPARE(boxes.Last().caption, QString("Export done"));
}

void AddressesPageTest::everyControlHasAnAccessibleName() {
  Fixture f;
  f.AddContact("Ann", "0821", {f.friends});
  auto &page = f.Make();
  Click(page.GroupList(), 1);
  CheckAccessibleNames(page);
  int dialogs = 0;
  auto check = [&dialogs](QDialog &d) {
    ++dialogs;
    CheckAccessibleNames(d);
  };
  WhenOpen<ui::GroupDialog>(check);
  page.Button(ids::kAddrNewGroupButton)->click();
  WhenOpen<ui::ContactDialog>(check);
  page.Button(ids::kAddrNewContactButton)->click();
  WhenOpen<ui::ContactsImportDialog>(check);
  page.Button(ids::kAddrUploadButton)->click();
  WhenOpen<ui::ContactsExportDialog>(check);
  page.Button(ids::kAddrExportButton)->click();
  QCOMPARE(dialogs, 4);
}

void AddressesPageTest::screenshots() {
  Fixture f;
  const int choir = f.GidOf(f.store->AddGroup("Choir"));
  const int family = f.GidOf(f.store->AddGroup("Family"));
  struct Person {
    const char *name, *surname, *mobile;
    std::vector<int> groups;
  };
  const Person people[] = {
      {"Ann", "Lee", "27821110001", {f.friends, choir}},
      {"Bongani", "Dlamini", "27821110002", {f.friends}},
      {"Chloé", "Martin", "27821110003", {f.friends, family}},
      {"Dirk", "van Wyk", "27821110004", {f.work}},
      {"Esther", "Naidoo", "27821110005", {f.friends, f.work}},
      {"Frank", "Meyer", "27821110006", {choir}},
      {"Grace", "Mokoena", "27821110007", {f.friends}},
      {"Hannes", "Botha", "27821110008", {family}},
  };
  for (const Person &p : people) {
    store::ContactRecord record;
    record.SetName(ui::ToAnsi(QString::fromUtf8(p.name)));
    record.SetSurname(p.surname);
    record.SetMobile(p.mobile);
    record.groupIds = p.groups.data();
    record.groupCount = static_cast<int>(p.groups.size());
    f.store->AddContact(record);
  }
  auto &page = f.Make();
  Click(page.GroupList(), 1);
  Click(page.MemberList(), 2);
  page.SearchField()->setText("van");

  const auto dir = testsupport::BuildDir() / "screenshots";
  std::filesystem::create_directories(dir);
  const QString pagePath = QString::fromStdString((dir / "addresses-page.png").string());
  QVERIFY(page.grab().save(pagePath));
  QCOMPARE(QImage(pagePath).size(), QSize(632, 352));

  ShootDialog<ui::ContactDialog>(
      dir / "addresses-contact-dialog.png",
      [](ui::ContactDialog &d) {
        d.Field(addresses::ContactForm::Field::Name)->setText("Ivy");
        d.Field(addresses::ContactForm::Field::Mobile)->setText("27821110009");
      },
      [&] { page.Button(ids::kAddrNewContactButton)->click(); });
  ShootDialog<ui::ContactsImportDialog>(
      dir / "addresses-upload-csv.png",
      [](ui::ContactsImportDialog &d) { d.File()->SetPath("/home/demo/contacts.csv"); },
      [&] { page.Button(ids::kAddrUploadButton)->click(); });
  ShootDialog<ui::ContactsExportDialog>(
      dir / "addresses-export-contacts.png",
      [](ui::ContactsExportDialog &d) { d.File()->SetPath("/home/demo/Contacts.csv"); },
      [&] { page.Button(ids::kAddrExportButton)->click(); });
}

DV_QTEST_MAIN(AddressesPageTest)
#include "AddressesPageTest.moc"
