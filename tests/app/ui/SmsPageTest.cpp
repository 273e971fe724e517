// The SMS page through its widgets: counting while typing, the type list
// with the Unicode note, the insert buttons, the checks and questions of
// Send, the contact tree, the schedule dialog in its three recurrences,
// binary content with its errors and the picture preview, editing and
// resending outbox messages, the accelerators and the accessible names.
#include "SmsPageFixture.h"

#include "ContactTree.h"
#include "MessageEditor.h"
#include "PicturePreview.h"
#include "QtUserDialogs.h"
#include "RecipientsList.h"

#include "compose/TypeControls.h"
#include "engine/UserPrompt.h"

#include <QAccessible>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace smstest;
using compose::SendOutcome;

namespace {

QString Counter(ui::SmsPage &page) {
  return page.Counter()->text();
}

// Types a number into the recipients list's entry row.
void TypeNumber(ui::SmsPage &page, const QString &number) {
  ui::RecipientsList *list = page.RecipientList();
  Activate(list);
  list->EditEntryRow();
  auto *editor = qobject_cast<QLineEdit *>(QApplication::focusWidget());
  QVERIFY(editor);
  QTest::keyClicks(editor, number);
  QTest::keyClick(editor, Qt::Key_Return);
  QCoreApplication::processEvents(); // the editor commits on its way out
}

QTreeWidgetItem *Child(QTreeWidgetItem *node, const QString &textStart) {
  for (int i = 0; i < node->childCount(); ++i)
    if (node->child(i)->text(0).startsWith(textStart)) return node->child(i);
  return nullptr;
}

} // namespace

class SmsPageTest : public QObject {
  Q_OBJECT

private slots:
  void typingCountsAndCutsAtTheLimits();
  void typeSwitchShowsTheUnicodeNoteAndTheFileControls();
  void insertButtonPutsTheTagAtTheCaret();
  void noRecipientsShowsTheBoxAndQueuesNothing();
  void mergeAndForceSenderQuestions();
  void contactTreeSelectsGroupsRecentAndAddressBook();
  void scheduleDialogPlansDailyWeeklyAndMonthly();
  void scheduleDialogRemembersItsState();
  void hexImportErrorsAndContent();
  void previewOfOneBitAndColourGif();
  void editUpdateAbandonAndResend();
  void acceleratorsSendAndPasteIntoTheRecipients();
  void everyControlHasAnAccessibleName();
};

void SmsPageTest::typingCountsAndCutsAtTheLimits() {
  Fixture f;
  ui::SmsPage &page = f.Make();
  QCOMPARE(Counter(page), QString("0 (1)"));
  QVERIFY(!page.SendButton()->isEnabled() && !page.ScheduleButton()->isEnabled());
  Type(page.Editor(), QString(160, 'a'));
  QCOMPARE(Counter(page), QString("160 (1)"));
  QVERIFY(page.SendButton()->isEnabled() && page.ScheduleButton()->isEnabled());
  // SpanSMS off: the 161st character is cut again.
  QTest::keyClicks(page.Editor(), "b");
  QCOMPARE(page.Editor()->toPlainText(), QString(160, 'a'));
  QCOMPARE(Counter(page), QString("160 (1)"));

  f.settings.SpanSMS = true;
  QTest::keyClicks(page.Editor(), "b");
  QCOMPARE(Counter(page), QString("161 (2)"));
  page.Editor()->clear();
  QCOMPARE(Counter(page), QString("0 (1)"));
  QVERIFY(!page.SendButton()->isEnabled());
  QTest::keyClicks(page.Editor(), QString(80, '['));
  QCOMPARE(Counter(page), QString("160 (1)"));
  QTest::keyClicks(page.Editor(), "[");
  QCOMPARE(Counter(page), QString("162 (2)"));
  page.Editor()->setPlainText(QString(600, 'z'));
  QCOMPARE(Counter(page), QString("459 (3)"));
  QCOMPARE(page.Editor()->toPlainText().size(), 459);

  // A character the code page lacks becomes "?" in the editor at once.
  page.Editor()->clear();
  page.Editor()->insertPlainText(QString::fromUtf8("a\xE2\x82\xAC\xD0\x96"));
  QCOMPARE(page.Editor()->toPlainText(), QString::fromUtf8("a\xE2\x82\xAC?"));
  QCOMPARE(Counter(page), QString("4 (1)")); // the euro sign weighs two
}

void SmsPageTest::typeSwitchShowsTheUnicodeNoteAndTheFileControls() {
  uitest::BoxRecorder boxes;
  ui::MessageBoxes::SetCheckHook([](const ui::BoxRecord &) { return true; });
  Fixture f;
  ui::SmsPage &page = f.Make();
  // 50 characters: one part either way, no note.
  page.Editor()->setPlainText(QString(50, 'a'));
  ChooseType(page, 2);
  QCOMPARE(boxes.Count(), 0);
  ChooseType(page, 0);
  page.Editor()->setPlainText(QString(100, 'a'));
  ChooseType(page, 2);
  QCOMPARE(boxes.Count(), 1);
  QCOMPARE(boxes.Last().caption, QString("Unicode message count information ..."));
  QVERIFY(boxes.Last().dontShowAgain);
  QVERIFY(f.settings.DontShowUnicodeWarningAgain);
  QCOMPARE(Counter(page), QString("70 (1)")); // cut to 70 without SpanSMS
  ChooseType(page, 0);
  page.Editor()->setPlainText(QString(100, 'a'));
  ChooseType(page, 2);
  QCOMPARE(boxes.Count(), 1); // "Don't show again" was checked
  ui::MessageBoxes::SetCheckHook(nullptr);

  // The binary types trade the editor and the insert buttons for the file.
  ChooseType(page, 6);
  QVERIFY(!page.Editor()->isVisible());
  QVERIFY(page.FileNameField()->isVisible());
  QVERIFY(Control(&page, compose::IdcBrowse)->isVisible());
  QVERIFY(!page.Preview()->isVisible());
  QVERIFY(!Control(&page, compose::IdcInsertName)->isEnabled());
  ChooseType(page, 1);
  QVERIFY(page.Editor()->isVisible());
  QVERIFY(!page.FileNameField()->isVisible());
  QVERIFY(Control(&page, compose::IdcInsertSignature)->isEnabled());
}

void SmsPageTest::insertButtonPutsTheTagAtTheCaret() {
  Fixture f;
  f.settings.Sig = " -- Ann";
  ui::SmsPage &page = f.Make();
  Type(page.Editor(), "Dear Bob");
  QTextCursor cursor = page.Editor()->textCursor();
  cursor.setPosition(6); // in the middle of "Bob"
  page.Editor()->setTextCursor(cursor);
  QTest::mouseClick(Control(&page, compose::IdcInsertName), Qt::LeftButton);
  QCOMPARE(page.Editor()->toPlainText(), QString("Dear B<<FIRSTNAME>>ob"));
  QTRY_VERIFY(page.Editor()->hasFocus());
  QCOMPARE(page.Editor()->textCursor().position(), 6 + 13);
  QCOMPARE(Counter(page), QString("21 (1)"));
  cursor.movePosition(QTextCursor::End);
  page.Editor()->setTextCursor(cursor);
  QTest::mouseClick(Control(&page, compose::IdcInsertSignature), Qt::LeftButton);
  QCOMPARE(page.Editor()->toPlainText(), QString("Dear B<<FIRSTNAME>>ob -- Ann"));
}

void SmsPageTest::noRecipientsShowsTheBoxAndQueuesNothing() {
  uitest::BoxRecorder boxes;
  Fixture f;
  ui::SmsPage &page = f.Make();
  Type(page.Editor(), "Hello");
  QTest::mouseClick(page.SendButton(), Qt::LeftButton);
  QCOMPARE(boxes.Count(), 1);
  QCOMPARE(boxes.Last().caption, QString("Not enough info to send SMS"));
  QCOMPARE(boxes.Last().text, QString("No destination mobile numbers selected"));
  QVERIFY(f.queuer.ids.empty());
  QCOMPARE(page.Editor()->toPlainText(), QString("Hello"));
}

void SmsPageTest::mergeAndForceSenderQuestions() {
  uitest::BoxRecorder boxes(engine::kAnswerNo);
  Fixture f;
  f.settings.sender_id = "ACME";
  ui::SmsPage &page = f.Make();
  page.SetAddressBookFiller([](ui::ContactTree &tree, bool) {
    QTreeWidgetItem *folder = tree.AddAddressBookNode("Work");
    tree.AddAddressBookEntry("Zed", "0825550001", folder);
  });
  QTreeWidgetItem *zed = page.Tree()->AddressBookNode()->child(0)->child(0);
  zed->setCheckState(0, Qt::Checked);
  QCoreApplication::processEvents();
  QCOMPARE(page.RecipientCount()->text(), QString("Recipients: 1"));
  Type(page.Editor(), "Dear <<TITLE>>");
  // The merge question, answered No: nothing is queued, nothing changes.
  QCOMPARE(page.Send(), SendOutcome::Declined);
  QCOMPARE(boxes.Last().caption, QString("SMS field merge problems..."));
  QVERIFY(f.queuer.ids.empty());
  QCOMPARE(page.Editor()->toPlainText(), QString("Dear <<TITLE>>"));
  // Plain text without tags: no merge question; the sender question is
  // answered Yes and the message goes out forced.
  page.Editor()->setPlainText("Plain words");
  boxes.Clear();
  boxes.SetAnswer(engine::kAnswerYes);
  QCOMPARE(page.Send(), SendOutcome::Queued);
  QCOMPARE(boxes.Count(), 1);
  QCOMPARE(boxes.Last().caption, QString("Force Sender ID?"));
  QVERIFY(boxes.Last().dontShowAgain);
  QCOMPARE(f.queuer.ids.size(), size_t(1));
  const store::MessageRow row = f.Row(f.queuer.ids[0]);
  QCOMPARE(row.To, std::string(",0825550001"));
  QCOMPARE(row.Flags, 1);
  QCOMPARE(row.Stat, 0);
  // The page is reset.
  QCOMPARE(page.Editor()->toPlainText(), QString());
  QCOMPARE(zed->checkState(0), Qt::Unchecked);
}

void SmsPageTest::contactTreeSelectsGroupsRecentAndAddressBook() {
  Fixture f;
  const int friends = f.AddGroup("Friends");
  const int work = f.AddGroup("Work");
  const int ann = f.AddContact("Ann", "Lee", "0821000001", {1, friends});
  const int bob = f.AddContact("Bob", "", "0821000002", {1, friends, work});
  const int cy = f.AddContact("Cy", "Moe", "0821000003", {1});
  f.recent.Add("", "", "0829990001");
  f.recent.Add("Dee", "", "0829990002");
  int fills = 0;
  bool forced = false;
  ui::SmsPage &page = f.Make();
  page.SetAddressBookFiller([&](ui::ContactTree &tree, bool force) {
    ++fills;
    forced = force;
    tree.AddAddressBookEntry("Zed", "0825550001");
  });
  ui::ContactTree *tree = page.Tree();
  QCOMPARE(tree->OwnNode()->text(0), QString("ADDRESS BOOK"));
  QCOMPARE(tree->AddressBookNode()->text(0), QString("MAIL CLIENT"));
  QCOMPARE(tree->RecentNode()->text(0), QString("RECENT"));
  // Groups but "All Contacts", with their counts; Cy is in no other group.
  QTreeWidgetItem *friendsItem = Child(tree->OwnNode(), "Friends (2)");
  QTreeWidgetItem *workItem = Child(tree->OwnNode(), "Work (1)");
  QVERIFY(friendsItem && workItem);
  QCOMPARE(friendsItem->child(0)->text(0), QString("Ann Lee (0821000001)"));
  QVERIFY(Child(tree->OwnNode(), "Cy Moe (0821000003)"));
  QVERIFY(!Child(tree->OwnNode(), "All Contacts"));
  QCOMPARE(fills, 1);
  QCOMPARE(tree->RecentNode()->child(0)->text(0), QString("Dee (0829990002)"));

  // A checked group checks its members; Bob under both groups is one token.
  friendsItem->setCheckState(0, Qt::Checked);
  QCOMPARE(workItem->checkState(0), Qt::Checked);
  workItem->setCheckState(0, Qt::Checked);
  tree->RecentNode()->child(1)->setCheckState(0, Qt::Checked);
  tree->AddressBookNode()->child(0)->setCheckState(0, Qt::Checked);
  TypeNumber(page, "0831");
  QCOMPARE(page.Model()->ToText(),
           QString(",0831,A%1,A%2,0829990001,0825550001").arg(ann).arg(bob).toStdString());
  QCOMPARE(page.RecipientCount()->text(), QString("Recipients: 5"));

  // "Rebuild" reads the address book again with force; "Clear" empties the
  // recent list and its setting.
  tree->Rebuild();
  QCOMPARE(fills, 2);
  QVERIFY(forced);
  QCOMPARE(tree->AddressBookNode()->child(0)->checkState(0), Qt::Unchecked);
  f.recent.SaveTo(f.settings);
  tree->ClearRecent();
  QCOMPARE(tree->RecentNode()->childCount(), 0);
  QCOMPARE(f.settings.NumRecent, 0);
  QCOMPARE(page.RecipientCount()->text(), QString("Recipients: 3"));

  // The Addresses page's "New message to group": the group's members.
  page.NewMessageTo({{"0841"}, {cy}, {work}});
  QCOMPARE(page.Model()->ToText(), QString(",0841,A%1,A%2").arg(bob).arg(cy).toStdString());
  QCOMPARE(page.RecipientList()->Numbers(), std::vector<std::string>{"0841"});
  QCOMPARE(Child(tree->OwnNode(), "Work")->checkState(0), Qt::Checked);
  QCOMPARE(Child(tree->OwnNode(), "Friends")->checkState(0), Qt::PartiallyChecked);
  // "All Contacts" stands for every contact, also those without a
  // membership row of its own (as the contact dialog makes them).
  const int dee = f.AddContact("Dee", "Ng", "0821000004", {work});
  page.NewMessageTo({{}, {}, {1}});
  QCOMPARE(page.Model()->ToText(),
           QString(",A%1,A%2,A%3,A%4").arg(ann).arg(bob).arg(dee).arg(cy).toStdString());
}

void SmsPageTest::scheduleDialogPlansDailyWeeklyAndMonthly() {
  uitest::BoxRecorder boxes;
  Fixture f;
  ui::SmsPage &page = f.Make();
  // The ids queued (none when the schedule did not queue).
  auto schedule = [&](std::function<void(ui::ScheduleDialog &)> fill) {
    Type(page.Editor(), "Reminder");
    TypeNumber(page, "0821");
    const std::size_t before = f.queuer.ids.size();
    AnswerSchedule(std::move(fill));
    if (page.Schedule() != SendOutcome::Queued) return std::vector<int>();
    return std::vector<int>(f.queuer.ids.begin() + static_cast<long>(before), f.queuer.ids.end());
  };
  auto times = [&](const std::vector<int> &ids) {
    std::vector<int> out;
    for (int id : ids)
      out.push_back(f.Row(id).Time);
    return out;
  };
  // March 4th 2024 is a Monday.
  auto firstTime = [](ui::ScheduleDialog &d, int day, int hour) {
    Pick(&d, ui::ids::kSchedMonth, 3);
    Pick(&d, ui::ids::kSchedDay, day);
    Pick(&d, ui::ids::kSchedHour, hour + 1);
    Pick(&d, ui::ids::kSchedMinute, 31); // :30
  };
  const int mar4 = 1709510400 + 9 * 3600 + 1800; // 2024-03-04 09:30 UTC
  const int day = 86400;

  // Daily every 2 days, 3 times; held locally (ScheduleToServer off).
  std::vector<int> daily = schedule([&](ui::ScheduleDialog &d) {
    firstTime(d, 4, 9);
    Check(&d, ui::ids::kSchedDaily);
    QVERIFY(Control(&d, ui::ids::kSchedDailyCount)->isVisible());
    QVERIFY(!Control(&d, ui::ids::kSchedMonday)->isVisible());
    QVERIFY(!Control<QAbstractButton>(&d, ui::ids::kSchedUpload)->isEnabled());
    Pick(&d, ui::ids::kSchedDailyCount, 1);
    Pick(&d, ui::ids::kSchedEndAfter, 2);
  });
  QCOMPARE(times(daily), (std::vector<int>{mar4, mar4 + 2 * day, mar4 + 4 * day}));
  for (int id : daily) {
    QCOMPARE(f.Row(id).Stat, 4);
    QCOMPARE(f.Row(id).Delay, 0);
    QCOMPARE(f.Row(id).RefID, daily[0]); // the first refers to itself
  }
  QCOMPARE(page.Editor()->toPlainText(), QString()); // the page was reset

  // Weekly on Monday and Wednesday, uploaded two days early.
  {
    auto hold = shell::LockSettings(f.settings);
    f.settings.ScheduleToServer = true;
    f.settings.UploadToServerXDaysBefore = 2;
  }
  std::vector<int> weekly = schedule([&](ui::ScheduleDialog &d) {
    firstTime(d, 4, 9);
    Check(&d, ui::ids::kSchedWeekly);
    QVERIFY(Control(&d, ui::ids::kSchedMonday)->isVisible());
    QVERIFY(!Control(&d, ui::ids::kSchedDailyCount)->isVisible());
    QVERIFY(Control<QAbstractButton>(&d, ui::ids::kSchedUpload)->isChecked());
    QCOMPARE(Control<QComboBox>(&d, ui::ids::kSchedUploadDays)->currentIndex(), 1);
    Check(&d, ui::ids::kSchedMonday);
    Check(&d, ui::ids::kSchedWednesday);
    Pick(&d, ui::ids::kSchedEndAfter, 2);
  });
  QCOMPARE(times(weekly), (std::vector<int>{mar4, mar4 + 2 * day, mar4 + 7 * day}));
  for (int id : weekly) {
    QCOMPARE(f.Row(id).Stat, 6);
    QCOMPARE(f.Row(id).Delay, 172800);
  }

  // Monthly on the first Monday from March 1st 13:30, 3 times: March 4th,
  // April 1st, May 6th.
  std::vector<int> monthly = schedule([&](ui::ScheduleDialog &d) {
    firstTime(d, 1, 13);
    Check(&d, ui::ids::kSchedMonthly);
    QVERIFY(Control(&d, ui::ids::kSchedOrdinal)->isVisible());
    Check(&d, ui::ids::kSchedMonthlyThe);
    Pick(&d, ui::ids::kSchedOrdinal, 0);
    Pick(&d, ui::ids::kSchedWeekday, 0);
    Pick(&d, ui::ids::kSchedEndAfter, 2);
  });
  const int mar4Afternoon = mar4 + 4 * 3600;
  QCOMPARE(times(monthly),
           (std::vector<int>{mar4Afternoon, mar4Afternoon + 28 * day, mar4Afternoon + 63 * day}));

  // The weekly dialog without a day checked does not close on OK.
  Type(page.Editor(), "Never");
  TypeNumber(page, "0821");
  const std::size_t before = f.queuer.ids.size();
  AnswerSchedule(
      [](ui::ScheduleDialog &d) {
        Check(&d, ui::ids::kSchedWeekly);
        for (int id : {ui::ids::kSchedMonday, ui::ids::kSchedWednesday})
          Check(&d, id, false);
        Control<QAbstractButton>(&d, ui::ids::kOk)->click();
        QVERIFY(d.isVisible());
      },
      false);
  QCOMPARE(page.Schedule(), SendOutcome::Declined);
  QCOMPARE(f.queuer.ids.size(), before);
  QCOMPARE(page.Editor()->toPlainText(), QString("Never"));
}

void SmsPageTest::scheduleDialogRemembersItsState() {
  Fixture f;
  {
    ui::ScheduleDialog fresh(&f.settings, &f.settingsFile, [] { return kNow; });
    QVERIFY(Control<QAbstractButton>(&fresh, ui::ids::kSchedOnce)->isChecked());
    QVERIFY(Control<QAbstractButton>(&fresh, ui::ids::kSchedDailyEvery)->isChecked());
    QVERIFY(Control<QAbstractButton>(&fresh, ui::ids::kSchedMonthlyDay)->isChecked());
    QCOMPARE(Control<QComboBox>(&fresh, ui::ids::kSchedDay)->count(), 32);
    // February 2024 has 29 days: a chosen 31st becomes the 29th.
    Pick(&fresh, ui::ids::kSchedDay, 31);
    Pick(&fresh, ui::ids::kSchedMonth, 2);
    QCOMPARE(Control<QComboBox>(&fresh, ui::ids::kSchedDay)->count(), 30);
    QCOMPARE(Control<QComboBox>(&fresh, ui::ids::kSchedDay)->currentIndex(), 29);
    Check(&fresh, ui::ids::kSchedMonthly);
    Check(&fresh, ui::ids::kSchedMonthlyThe);
    Pick(&fresh, ui::ids::kSchedWeekday, 6);
    fresh.Ok();
    QCOMPARE(fresh.result(), int(QDialog::Accepted));
    QCOMPARE(fresh.Choice().sendTimes.size(), size_t(1));
    QVERIFY(!fresh.Choice().upload);
  }
  std::string stored;
  QVERIFY(f.settingsFile.GetString("SchedulingInfo", stored));
  QCOMPARE(stored, std::string("2,29,0,0,0,0,0,1,0,1,0,0,0,0,0,0,0,0,0,0,0,0,1,0,6,0,0"));
  ui::ScheduleDialog again(&f.settings, &f.settingsFile, [] { return kNow; });
  QCOMPARE(again.State().Encode(), stored);
  QVERIFY(Control<QAbstractButton>(&again, ui::ids::kSchedMonthly)->isChecked());
  QCOMPARE(again.Mode(), 4);
}

void SmsPageTest::hexImportErrorsAndContent() {
  uitest::BoxRecorder boxes;
  Fixture f;
  ui::SmsPage &page = f.Make();
  ChooseType(page, 7);
  const std::string gone = (f.data / "gone.vcs").string();
  page.FileNameField()->setText(QString::fromStdString(gone));
  QTest::keyClick(page.FileNameField(), Qt::Key_Return);
  QCOMPARE(boxes.Count(), 1);
  QCOMPARE(boxes.Last().caption, QString("Import failed"));
  QCOMPARE(boxes.Last().text,
           QString("Failed to import and convert the data into hex.\nFilename: %1\nError:Failed "
                   "to determine the file length.  Either the file does not exist or it can't be "
                   "accessed!")
               .arg(QString::fromStdString(gone)));
  QCOMPARE(page.FileNameField()->text(), QString());
  QCOMPARE(page.Editor()->toPlainText(), QString());
  page.FileNameField()->clear();
  QTest::keyClick(page.FileNameField(), Qt::Key_Return);
  QVERIFY(boxes.Last().text.endsWith("Error:The filename is to short."));

  // A file through Browse: its bytes as hex in the (hidden) editor.
  const auto card = f.data / "card.vcs";
  testsupport::WriteFile(card, std::string("\x00\x7F\xFF", 3));
  ui::userdialogs::SetFileHook(
      [&](const contacts::FileChoice &choice, bool save) -> std::optional<std::string> {
        if (save || choice.defaultExtension != "*.txt") return std::nullopt;
        return card.string();
      });
  QTest::mouseClick(Control(&page, compose::IdcBrowse), Qt::LeftButton);
  ui::userdialogs::SetFileHook(nullptr);
  QCOMPARE(page.Editor()->toPlainText(), QString("007FFF"));
  QCOMPARE(page.FileNameField()->text(), QString::fromStdString(card.string()));
  QCOMPARE(Counter(page), QString("6 (1)"));
  QCOMPARE(boxes.Count(), 2);
}

void SmsPageTest::previewOfOneBitAndColourGif() {
  Fixture f;
  const int id = f.store.AddSms(0, 0, 4, 0, ",0821", "00", "", 0, "?", 0);
  ui::SmsPage &page = f.Make();
  QVERIFY(page.OpenForEditing(id));
  QCOMPARE(page.TypeList()->currentText(), QString("Nokia Pic Msg"));
  QVERIFY(page.Preview()->isVisible());
  std::filesystem::path file = OneBitGif(f.data);
  std::string extension;
  ui::userdialogs::SetFileHook([&](const contacts::FileChoice &choice, bool) {
    extension = choice.defaultExtension;
    return std::optional<std::string>(file.string());
  });
  QTest::mouseClick(Control(&page, compose::IdcBrowse), Qt::LeftButton);
  QCOMPARE(extension, std::string("*.gif"));
  QImage image = page.Preview()->Image();
  QCOMPARE(image.size(), QSize(48, 48));
  QCOMPARE(image.format(), QImage::Format_Mono);
  QCOMPARE(qGray(image.pixel(10, 20)), 0);
  QCOMPARE(qGray(image.pixel(40, 20)), 255);
  QVERIFY(page.Editor()->toPlainText().startsWith("474946383961")); // "GIF89a"

  file = ColourGif(f.data);
  QTest::mouseClick(Control(&page, compose::IdcBrowse), Qt::LeftButton);
  ui::userdialogs::SetFileHook(nullptr);
  image = page.Preview()->Image();
  QCOMPARE(image.size(), QSize(48, 48));
  QCOMPARE(image.format(), QImage::Format_Mono);
  QCOMPARE(qGray(image.pixel(24, 2)), 0);    // the black band
  QCOMPARE(qGray(image.pixel(24, 45)), 255); // the white band
  // The gradient between them is dithered: black and white side by side.
  int white = 0;
  for (int x = 0; x < 48; ++x)
    white += qGray(image.pixel(x, 24)) == 255 ? 1 : 0;
  QVERIFY2(white > 0 && white < 48, qPrintable(QString::number(white)));

  page.Clear();
  QVERIFY(page.Preview()->Image().isNull());
}

void SmsPageTest::editUpdateAbandonAndResend() {
  Fixture f;
  const int cid = f.AddContact("Ann", "Lee", "0821000001", {1});
  const int pending =
      f.store.AddSms(0, 0, 0, 0, ",0821,A" + std::to_string(cid), "Old text", "", 0, "?", 0);
  const int scheduled = f.store.AddSms(4, kNow + 3600, 1, 0, ",0822", "Later", "", 0, "?", 0);
  ui::SmsPage &page = f.Make();

  QVERIFY(page.OpenForEditing(pending));
  QCOMPARE(page.SendButton()->text(), QString("Update >>"));
  QVERIFY(!page.ScheduleButton()->isEnabled());
  QCOMPARE(page.RecipientList()->Numbers(), std::vector<std::string>{"0821"});
  QCOMPARE(page.Tree()->CheckedContacts(), std::vector<int>{cid});
  page.Editor()->selectAll();
  Type(page.Editor(), "New text");
  TypeNumber(page, "0823");
  QCOMPARE(page.Send(), SendOutcome::Updated);
  store::MessageRow row = f.Row(pending);
  QCOMPARE(row.Msg, std::string("New text"));
  QCOMPARE(row.To, ",0821,0823,A" + std::to_string(cid));
  QCOMPARE(row.Stat, 0);
  QCOMPARE(page.SendButton()->text(), QString("Send >>"));
  QVERIFY(f.queuer.ids.empty()); // an update queues nothing

  // Abandoned edits go back to their saved status.
  QVERIFY(page.OpenForEditing(scheduled));
  QCOMPARE(page.TypeList()->currentData().toInt(), 1);
  QVERIFY(f.Row(scheduled).Stat != 4);
  QTest::mouseClick(Control(&page, ui::ids::kSmsClear), Qt::LeftButton);
  QCOMPARE(f.Row(scheduled).Stat, 4);
  QVERIFY(page.OpenForEditing(scheduled));
  page.AbandonEdit(); // the program ends
  QCOMPARE(f.Row(scheduled).Stat, 4);
  QVERIFY(!page.OpenForEditing(9999));

  // "Resend": a new message with the old content, sent as new.
  QVERIFY(page.NewMessageFrom(scheduled));
  QCOMPARE(page.SendButton()->text(), QString("Send >>"));
  QCOMPARE(page.Editor()->toPlainText(), QString("Later"));
  QCOMPARE(page.Send(), SendOutcome::Queued);
  QCOMPARE(f.Row(f.queuer.ids.at(0)).To, std::string(",0822"));
  QCOMPARE(f.Row(scheduled).Stat, 4);
}

void SmsPageTest::acceleratorsSendAndPasteIntoTheRecipients() {
  Fixture f;
  ui::SmsPage &page = f.Make();
  QApplication::clipboard()->setText("08-21 999");
  page.RecipientList()->setFocus();
  QTRY_VERIFY(page.RecipientList()->hasFocus());
  QVERIFY(page.HandleCommand(ui::ids::kEditPaste));
  QCOMPARE(page.RecipientList()->Numbers(), std::vector<std::string>{"0821999"});
  Type(page.Editor(), "Ctrl+S");
  QVERIFY(page.HandleCommand(ui::ids::kSendSms));
  QCOMPARE(f.queuer.ids.size(), size_t(1));
  QCOMPARE(f.Row(f.queuer.ids[0]).To, std::string(",0821999"));
  QCOMPARE(page.RecipientList()->count(), 1); // the entry row
  QCOMPARE(f.recent.Number(0), std::string("0821999"));
  QCOMPARE(page.Tree()->RecentNode()->child(0)->text(0), QString("(0821999)"));
}

void SmsPageTest::everyControlHasAnAccessibleName() {
  Fixture f;
  ui::SmsPage &page = f.Make();
  ui::ScheduleDialog dialog(
      &f.settings, &f.settingsFile, [] { return kNow; }, &page);
  int named = 0;
  for (QWidget *root : std::initializer_list<QWidget *>{&page, &dialog}) {
    for (QWidget *w : root->findChildren<QWidget *>()) {
      bool number = false;
      w->objectName().toInt(&number);
      if (!number) continue;
      QAccessibleInterface *a = QAccessible::queryAccessibleInterface(w);
      QVERIFY2(a && !a->text(QAccessible::Name).isEmpty(), qPrintable(w->objectName()));
      ++named;
    }
  }
  QVERIFY(named > 50);
}

DV_QTEST_MAIN(SmsPageTest)
#include "SmsPageTest.moc"
