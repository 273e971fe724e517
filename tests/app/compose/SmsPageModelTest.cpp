#include "PageFixture.h"

#include "compose/RecipientFilter.h"

using compose::MergeTag;
using compose::OutlookRecipient;
using compose::SendOutcome;
using contacts::CheckedAnswer;
using contacts::DialogButton;

// ---- Counter, buttons and type

TEST_F(PageFixture, CounterAndButtonsFollowTheText) {
  EXPECT_EQ(page_->CounterLabel(), "0 (1)");
  EXPECT_FALSE(page_->SendEnabled());
  EXPECT_FALSE(page_->ScheduleEnabled());
  EXPECT_EQ(page_->SendButtonText(), "Send >>");

  Type("Hello [world]");
  EXPECT_EQ(page_->CounterLabel(), "15 (1)");
  EXPECT_TRUE(page_->SendEnabled());
  EXPECT_TRUE(page_->ScheduleEnabled());
}

TEST_F(PageFixture, TextBeyondTheLimitIsCutAndTheCaretRestored) {
  page_->SetEditorText(std::string(170, 'a'), 5);
  EXPECT_EQ(page_->EditorText().size(), 160u);
  EXPECT_EQ(page_->EditorCaret(), 5u);
  page_->SetEditorText(std::string(170, 'b'), 168);
  EXPECT_EQ(page_->EditorCaret(), 160u);
  EXPECT_EQ(page_->CounterLabel(), "160 (1)");

  settings_.SpanSMS = true;
  Type(std::string(161, 'a'));
  EXPECT_EQ(page_->CounterLabel(), "161 (2)");
  Type(std::string(81, '['));
  EXPECT_EQ(page_->CounterLabel(), "162 (2)");
  Type(std::string(600, 'z'));
  EXPECT_EQ(page_->CounterLabel(), "459 (3)");
  EXPECT_EQ(page_->EditorLimit(), 459);
}

TEST_F(PageFixture, UnicodeNoteShownWhenThePartsDiffer) {
  Type(std::string(100, 'a'));
  ui_.checkedAnswers.push_back(CheckedAnswer{DialogButton::Ok, true});
  page_->ChangeType(2);
  ASSERT_EQ(ui_.Of("checked").size(), 1u);
  EXPECT_EQ(ui_.shown[0].caption, "Unicode message count information ...");
  EXPECT_EQ(ui_.shown[0].text.rfind("Please note that a Unicode message", 0), 0u);
  EXPECT_TRUE(settings_.DontShowUnicodeWarningAgain);
  // Without SpanSMS the Unicode limit cuts the text to 70.
  EXPECT_EQ(page_->EditorText().size(), 70u);
  EXPECT_EQ(page_->CounterLabel(), "70 (1)");
  EXPECT_EQ(page_->EditorLimit(), 70);

  page_->ChangeType(0);
  Type(std::string(100, 'a'));
  page_->ChangeType(2); // "Don't show again" was checked
  EXPECT_EQ(ui_.Of("checked").size(), 1u);
}

TEST_F(PageFixture, UnicodeNoteNotShownForFiftyCharacters) {
  settings_.SpanSMS = true;
  Type(std::string(50, 'a'));
  page_->ChangeType(2);
  EXPECT_TRUE(ui_.shown.empty());
  EXPECT_EQ(page_->CounterLabel(), "50 (1)");
  Type(std::string(100, 'a'));
  EXPECT_EQ(page_->CounterLabel(), "100 (2)");
  EXPECT_FALSE(settings_.DontShowUnicodeWarningAgain);
}

TEST_F(PageFixture, TypeChangeSwitchesTheControls) {
  page_->ChangeType(6);
  EXPECT_FALSE(page_->Controls().insertButtons);
  EXPECT_TRUE(page_->Controls().fileChooser);
  page_->ChangeType(1);
  EXPECT_TRUE(page_->Controls().editor);
}

// ---- Insert buttons

TEST_F(PageFixture, TagGoesToTheRememberedCaretMidWord) {
  page_->SetEditorText("Hello", 5);
  page_->OnEditorFocusLost(2);
  page_->InsertTag(MergeTag::Name);
  EXPECT_EQ(page_->EditorText(), "He<<FIRSTNAME>>llo");
  EXPECT_EQ(page_->RememberedCaret(), 15u);
  EXPECT_EQ(page_->EditorCaret(), 15u);

  page_->InsertTag(MergeTag::Title);
  EXPECT_EQ(page_->RememberedCaret(), 24u);
  page_->InsertTag(MergeTag::Surname);
  EXPECT_EQ(page_->RememberedCaret(), 35u);
  page_->InsertTag(MergeTag::Custom);
  EXPECT_EQ(page_->RememberedCaret(), 45u);
  EXPECT_EQ(page_->EditorText(), "He<<FIRSTNAME>><<TITLE>><<SURNAME>><<CUSTOM>>llo");
  EXPECT_EQ(page_->CounterLabel(), "48 (1)");
}

TEST_F(PageFixture, SignatureIsInsertedAndCutLikeTypedText) {
  settings_.Sig = " -- Ann";
  page_->SetEditorText(std::string(150, 'a'), 150);
  page_->OnEditorFocusLost(150);
  page_->InsertSignature();
  EXPECT_EQ(page_->EditorText(), std::string(150, 'a') + " -- Ann");
  EXPECT_EQ(page_->RememberedCaret(), 157u);

  page_->InsertSignature(); // 164 > 160: cut, caret clamped
  EXPECT_EQ(page_->EditorText().size(), 160u);
  EXPECT_EQ(page_->RememberedCaret(), 160u);
  EXPECT_EQ(page_->EditorCaret(), 160u);
}

TEST_F(PageFixture, InsertButtonsDoNothingForFileTypes) {
  page_->ChangeType(7);
  page_->InsertTag(MergeTag::Name);
  EXPECT_EQ(page_->EditorText(), "");
}

// ---- Recipients

TEST_F(PageFixture, TypedNumbersPassTheDigitFilter) {
  EXPECT_EQ(compose::FilterRecipientInput("+27 (82) 123-4567x"), "27821234567");
  EXPECT_EQ(compose::FilterRecipientInput(std::string(40, '9')), std::string(32, '9'));
  page_->SetTypedNumbers({"08a2", ""});
  EXPECT_EQ(page_->TypedNumbers(), (std::vector<std::string>{"082", ""}));
}

TEST_F(PageFixture, ToTextFromTheFourSelectionsInOrder) {
  recent_.Add("", "", "0839999999");
  recent_.Add("", "", "0838888888");
  page_->SetTypedNumbers({"0821111111", "", "0822222222"});
  page_->SetSelectedContacts({12, 3});
  page_->SetSelectedRecent({1});
  page_->SetSelectedOutlook({OutlookRecipient{"Zed", "+44 20 7946 0000"}});
  EXPECT_EQ(page_->ToText(), ",0821111111,0822222222,A12,A3,0839999999,+44 20 7946 0000");
  EXPECT_EQ(page_->RecipientCount(), 6);
}

// ---- Send

TEST_F(PageFixture, SendWithoutRecipientsQueuesNothing) {
  Type("hello");
  EXPECT_EQ(page_->Send(), SendOutcome::NoRecipients);
  ASSERT_EQ(ui_.shown.size(), 1u);
  EXPECT_EQ(ui_.shown[0].caption, "Not enough info to send SMS");
  EXPECT_EQ(ui_.shown[0].text, "No destination mobile numbers selected");
  EXPECT_TRUE(queuer_.queued.empty());
  EXPECT_EQ(page_->EditorText(), "hello"); // the page stays as it was
}

TEST_F(PageFixture, SendWithoutTextDoesNothing) {
  page_->SetTypedNumbers({"082"});
  EXPECT_EQ(page_->Send(), SendOutcome::Nothing);
  EXPECT_TRUE(ui_.shown.empty());
  EXPECT_TRUE(queuer_.queued.empty());
}

TEST_F(PageFixture, MergeQuestionAnsweredNoQueuesNothing) {
  Type("Dear <<TITLE>> Smith");
  page_->SetSelectedOutlook({OutlookRecipient{"Zed", "0821"}});
  ui_.yesNoAnswers.push_back(false);
  EXPECT_EQ(page_->Send(), SendOutcome::Declined);
  ASSERT_EQ(ui_.Of("yesno").size(), 1u);
  EXPECT_EQ(ui_.Of("yesno")[0].caption, "SMS field merge problems...");
  EXPECT_EQ(ui_.Of("yesno")[0].text, strings_.Get(1346));
  EXPECT_TRUE(queuer_.queued.empty());
  EXPECT_EQ(page_->EditorText(), "Dear <<TITLE>> Smith");
  EXPECT_EQ(page_->RecipientCount(), 1);
}

TEST_F(PageFixture, MergeQuestionForFlashWithoutTagsButNotForPlainText) {
  page_->ChangeType(1);
  Type("Flash news");
  page_->SetSelectedOutlook({OutlookRecipient{"Zed", "0821"}});
  EXPECT_EQ(page_->Send(), SendOutcome::Queued); // Yes
  EXPECT_EQ(ui_.Of("yesno").size(), 1u);
  ASSERT_EQ(queuer_.queued.size(), 1u);
  EXPECT_EQ(queuer_.queued[0].type, 1);

  page_->ChangeType(0);
  Type("Plain news");
  page_->SetSelectedOutlook({OutlookRecipient{"Zed", "0821"}});
  EXPECT_EQ(page_->Send(), SendOutcome::Queued);
  EXPECT_EQ(ui_.Of("yesno").size(), 1u); // not asked again
  // Tags without Outlook contacts ask nothing.
  Type("Hi <<FIRSTNAME>>");
  page_->SetSelectedContacts({4});
  EXPECT_EQ(page_->Send(), SendOutcome::Queued);
  EXPECT_EQ(ui_.Of("yesno").size(), 1u);
}

TEST_F(PageFixture, SendQueuesAPendingMessageAndResetsThePage) {
  const int ann = AddContact("Ann", "Lee", "0831234567");
  Type("Hello");
  page_->SetTypedNumbers({"0821111111", ""});
  page_->SetSelectedContacts({ann});
  page_->SetSelectedOutlook({OutlookRecipient{"Zed", "0825550001"}});
  EXPECT_EQ(page_->Send(), SendOutcome::Queued);
  ASSERT_EQ(queuer_.queued.size(), 1u);
  const QueuedMessage &m = queuer_.queued[0];
  EXPECT_EQ(m.status, 0);
  EXPECT_EQ(m.time, kNow);
  EXPECT_EQ(m.type, 0);
  EXPECT_EQ(m.refId, 0);
  EXPECT_EQ(m.to, ",0821111111,A" + std::to_string(ann) + ",0825550001");
  EXPECT_EQ(m.text, "Hello");
  EXPECT_EQ(m.delay, 0);
  EXPECT_FALSE(m.force);
  EXPECT_EQ(ui_.captionRefreshes, 1);

  EXPECT_EQ(page_->EditorText(), "");
  EXPECT_EQ(page_->CounterLabel(), "0 (1)");
  EXPECT_EQ(page_->RecipientCount(), 0);
  EXPECT_FALSE(page_->SendEnabled());

  // The recipients became recent numbers, most recent first, and the
  // settings record holds them.
  ASSERT_EQ(recent_.Count(), 3);
  EXPECT_EQ(recent_.DisplayText(0), "Zed (0825550001)");
  EXPECT_EQ(recent_.DisplayText(1), "Ann Lee (0831234567)");
  EXPECT_EQ(recent_.DisplayText(2), "(0821111111)");
  EXPECT_EQ(settings_.NumRecent, 3);
}

TEST_F(PageFixture, ForceSenderIdQuestion) {
  settings_.sender_id = "ACME";
  Type("one");
  page_->SetTypedNumbers({"082"});
  ui_.checkedAnswers.push_back(CheckedAnswer{DialogButton::Yes, false});
  EXPECT_EQ(page_->Send(), SendOutcome::Queued);
  ASSERT_EQ(ui_.Of("checked").size(), 1u);
  EXPECT_EQ(ui_.Of("checked")[0].caption, "Force Sender ID?");
  EXPECT_EQ(ui_.Of("checked")[0].buttons, contacts::ButtonSet::YesNo);
  EXPECT_TRUE(queuer_.queued.back().force);
  EXPECT_FALSE(settings_.DontShowForceSenderIDMsgAgain);

  // No does not stop the send; "Don't show again" is remembered.
  Type("two");
  page_->SetTypedNumbers({"082"});
  ui_.checkedAnswers.push_back(CheckedAnswer{DialogButton::No, true});
  EXPECT_EQ(page_->Send(), SendOutcome::Queued);
  EXPECT_FALSE(queuer_.queued.back().force);
  EXPECT_TRUE(settings_.DontShowForceSenderIDMsgAgain);

  Type("three");
  page_->SetTypedNumbers({"082"});
  EXPECT_EQ(page_->Send(), SendOutcome::Queued);
  EXPECT_EQ(ui_.Of("checked").size(), 2u);
  EXPECT_FALSE(queuer_.queued.back().force);
}

TEST_F(PageFixture, ForceSenderIdQuestionOnlyWhenItApplies) {
  Type("x");
  page_->SetTypedNumbers({"082"});
  page_->Send(); // no sender id
  settings_.sender_id = "ACME";
  settings_.ForceSenderID = true;
  Type("x");
  page_->SetTypedNumbers({"082"});
  page_->Send(); // forced anyway
  settings_.ForceSenderID = false;
  settings_.CanUseForceSenderIDFeature = false;
  Type("x");
  page_->SetTypedNumbers({"082"});
  page_->Send(); // feature not offered
  EXPECT_TRUE(ui_.Of("checked").empty());
  EXPECT_EQ(queuer_.queued.size(), 3u);
}

// ---- Editing an outbox message

TEST_F(PageFixture, EditingUpdatesTheStoredMessage) {
  const int ann = AddContact("Ann", "", "0831");
  const int id = store_->AddSms(4, kNow + 3600, 0, 0, ",0821,A" + std::to_string(ann), "old text",
                                nullptr, 0, "?", 0);
  ASSERT_TRUE(page_->OpenForEditing(id));
  EXPECT_TRUE(page_->Editing());
  EXPECT_EQ(store_->FindMessage(id)->Stat, 5);
  EXPECT_EQ(page_->SendButtonText(), "Update >>");
  EXPECT_EQ(page_->EditorText(), "old text");
  EXPECT_EQ(page_->TypedNumbers(), std::vector<std::string>{"0821"});
  EXPECT_EQ(page_->SelectedContacts(), std::vector<int>{ann});
  EXPECT_TRUE(page_->SendEnabled());
  EXPECT_FALSE(page_->ScheduleEnabled());
  EXPECT_EQ(page_->Schedule(), SendOutcome::Nothing);

  Type("new text");
  EXPECT_EQ(page_->Send(), SendOutcome::Updated);
  EXPECT_TRUE(queuer_.queued.empty());
  const store::MessageRow row = *store_->FindMessage(id);
  EXPECT_EQ(row.Msg, "new text");
  EXPECT_EQ(row.Stat, 0);
  EXPECT_EQ(row.To, ",0821,A" + std::to_string(ann));
  EXPECT_FALSE(page_->Editing());
  EXPECT_EQ(page_->SendButtonText(), "Send >>");
  EXPECT_EQ(ui_.captionRefreshes, 1);
}

TEST_F(PageFixture, ResetAbandonsAnEdit) {
  const int id =
      store_->AddSms(6, kNow + 86400 * 3, 0, 0, ",0821", "later", nullptr, 86400, "?", 0);
  ASSERT_TRUE(page_->OpenForEditing(id));
  page_->Reset();
  EXPECT_FALSE(page_->Editing());
  EXPECT_EQ(store_->FindMessage(id)->Stat, 6);
  EXPECT_EQ(page_->EditorText(), "");
  EXPECT_EQ(page_->RecipientCount(), 0);
  EXPECT_FALSE(page_->OpenForEditing(99999));
}

TEST_F(PageFixture, ResendStartsANewMessage) {
  const int id = store_->AddSms(3, kNow, 1, 0, ",0821", "again", nullptr, 0, "1", 0);
  ASSERT_TRUE(page_->OpenForResend(id));
  EXPECT_FALSE(page_->Editing());
  EXPECT_EQ(page_->Type(), 1);
  EXPECT_EQ(page_->EditorText(), "again");
  EXPECT_EQ(store_->FindMessage(id)->Stat, 3);
  EXPECT_EQ(page_->Send(), SendOutcome::Queued);
  EXPECT_EQ(queuer_.queued[0].to, ",0821");
}

TEST_F(PageFixture, OutboxThatRefusesTheMessageLeavesThePage) {
  Type("Keep me");
  page_->SetTypedNumbers({"0821"});
  queuer_.refuse = true;
  EXPECT_EQ(page_->Send(), SendOutcome::Refused);
  ui_.schedule = compose::ScheduleChoice{{kNow + 600}, false, 1};
  EXPECT_EQ(page_->Schedule(), SendOutcome::Refused);
  EXPECT_EQ(ui_.shown.size(), 2u);
  EXPECT_EQ(ui_.shown[0].caption, "Send failed");
  EXPECT_EQ(page_->EditorText(), "Keep me");
  EXPECT_EQ(page_->ToText(), ",0821");
  EXPECT_EQ(recent_.Count(), 0);
}

// ---- Schedule

TEST_F(PageFixture, ScheduleQueuesEveryOccurrenceWithOneReference) {
  Type("Meeting");
  page_->SetTypedNumbers({"0821"});
  ui_.schedule = compose::ScheduleChoice{{kNow + 3600, kNow + 90000, kNow + 176400}, true, 2};
  EXPECT_EQ(page_->Schedule(), SendOutcome::Queued);
  ASSERT_EQ(queuer_.queued.size(), 3u);
  EXPECT_EQ(queuer_.queued[0].refId, 0);
  EXPECT_EQ(queuer_.queued[1].refId, queuer_.queued[0].id);
  EXPECT_EQ(queuer_.queued[2].refId, queuer_.queued[0].id);
  for (const QueuedMessage &m : queuer_.queued) {
    EXPECT_EQ(m.status, 6);
    EXPECT_EQ(m.delay, 172800);
    EXPECT_EQ(m.to, ",0821");
    EXPECT_EQ(m.text, "Meeting");
  }
  EXPECT_EQ(queuer_.queued[2].time, kNow + 176400);
  EXPECT_EQ(page_->EditorText(), "");
  EXPECT_EQ(ui_.captionRefreshes, 1);
}

TEST_F(PageFixture, ScheduleWithoutUploadIsHeldLocally) {
  Type("Later");
  page_->SetTypedNumbers({"0821"});
  ui_.schedule = compose::ScheduleChoice{{kNow + 600}, false, 3};
  EXPECT_EQ(page_->Schedule(), SendOutcome::Queued);
  ASSERT_EQ(queuer_.queued.size(), 1u);
  EXPECT_EQ(queuer_.queued[0].status, 4);
  EXPECT_EQ(queuer_.queued[0].delay, 0);
}

TEST_F(PageFixture, ScheduleChecksFirstAndCancelLeavesThePage) {
  Type("Later");
  EXPECT_EQ(page_->Schedule(), SendOutcome::NoRecipients);
  EXPECT_EQ(ui_.scheduleAsked, 0);

  page_->SetTypedNumbers({"0821"});
  ui_.schedule.reset();
  EXPECT_EQ(page_->Schedule(), SendOutcome::Declined);
  EXPECT_EQ(ui_.scheduleAsked, 1);
  EXPECT_TRUE(queuer_.queued.empty());
  EXPECT_EQ(page_->EditorText(), "Later");

  page_->SetSelectedOutlook({OutlookRecipient{"Zed", "0822"}});
  page_->ChangeType(1);
  ui_.yesNoAnswers.push_back(false);
  EXPECT_EQ(page_->Schedule(), SendOutcome::Declined);
  EXPECT_EQ(ui_.scheduleAsked, 1); // the merge question stopped it first
}

TEST_F(PageFixture, ScheduleAsksTheSenderIdQuestionAfterTheDialog) {
  settings_.sender_id = "ACME";
  Type("Later");
  page_->SetTypedNumbers({"0821"});
  ui_.schedule = compose::ScheduleChoice{{kNow + 600, kNow + 1200}, false, 1};
  ui_.checkedAnswers.push_back(CheckedAnswer{DialogButton::Yes, false});
  EXPECT_EQ(page_->Schedule(), SendOutcome::Queued);
  EXPECT_EQ(ui_.Of("checked").size(), 1u);
  EXPECT_TRUE(queuer_.queued[0].force);
  EXPECT_TRUE(queuer_.queued[1].force);
}
