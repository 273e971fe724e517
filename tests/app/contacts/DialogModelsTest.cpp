#include "RecordingDialogs.h"
#include "StoreFixture.h"

#include "contacts/ContactsExportDialogModel.h"
#include "contacts/ContactsImportDialogModel.h"
#include "contacts/OutboxExportDialogModel.h"
#include "shell/NameTables.h"
#include "shell/StringTable.h"

using contacts::ContactsExportDialogModel;
using contacts::ContactsImportDialogModel;
using contacts::ExportResult;
using contacts::MessageIcon;
using contacts::OutboxExportDialogModel;
using testing_dialogs::RecordingDialogs;

namespace {

class Dialogs : public StoreFixture {
protected:
  shell::NameTables names_;
  shell::StringTable strings_;
  RecordingDialogs ui_;
};

} // namespace

TEST_F(Dialogs, OutboxExportOfAnEmptyStoreDoesNotOpen) {
  OutboxExportDialogModel dialog(*store_, names_, strings_, "", ui_, {});
  EXPECT_FALSE(dialog.CanOpen());
  ASSERT_EQ(ui_.shown.size(), 1u);
  EXPECT_EQ(ui_.shown[0].caption, "Export failed");
  EXPECT_EQ(ui_.shown[0].text, "There is nothing to export");
  EXPECT_EQ(ui_.shown[0].icon, MessageIcon::Information);
}

TEST_F(Dialogs, OutboxExportRunsAndReports) {
  const int id = store_->AddSms(0, 1000, 0, 0, ",1", "hi", nullptr, 0, "?", 0);
  OutboxExportDialogModel dialog(*store_, names_, strings_, "", ui_, {id});
  ASSERT_TRUE(dialog.CanOpen());
  EXPECT_FALSE(dialog.ExportAll()); // a selection exists
  EXPECT_FALSE(dialog.OkEnabled());

  ui_.files.push_back(File("picked.csv"));
  dialog.Browse();
  ASSERT_EQ(ui_.Of("save").size(), 1u);
  EXPECT_EQ(ui_.Of("save")[0].choice.initialName, "Outbox.csv");
  EXPECT_EQ(contacts::ParseFileFilter(ui_.Of("save")[0].choice.filter),
            (std::vector<std::pair<std::string, std::string>>{{"CSV Files (*.csv)", "*.csv"},
                                                              {"All Files (*.*)", "*.*"}}));
  EXPECT_EQ(dialog.FilePath(), File("picked.csv"));
  ASSERT_TRUE(dialog.OkEnabled());
  EXPECT_EQ(dialog.Ok(), ExportResult::Done);
  EXPECT_EQ(ui_.shown.back().text, "Your outbox was exported!");
  EXPECT_NE(testsupport::ReadFile(File("picked.csv")).find("\"hi\""), std::string::npos);

  ASSERT_TRUE(dialog.SetFilePath(dir_.string()));
  EXPECT_EQ(dialog.Ok(), ExportResult::OpenFailed);
  EXPECT_EQ(ui_.shown.back().caption, "Unable to export!");
  EXPECT_EQ(ui_.shown.back().text, "Unable to open '" + dir_.string() + "' for writing!");
}

TEST_F(Dialogs, OverlongPathIsRefusedNotCut) {
  OutboxExportDialogModel dialog(*store_, names_, strings_, "", ui_, {});
  ASSERT_TRUE(dialog.SetFilePath("/tmp/a.csv"));
  EXPECT_FALSE(dialog.SetFilePath("/tmp/" + std::string(5000, 'x')));
  EXPECT_EQ(dialog.FilePath(), "/tmp/a.csv");
}

TEST_F(Dialogs, ContactsExportNeedsTwoGroupsInTheList) {
  ContactsExportDialogModel dialog(*store_, strings_, ui_, {});
  EXPECT_FALSE(dialog.CanOpen(1));
  EXPECT_EQ(ui_.shown.back().caption, "Export failed");
  EXPECT_EQ(ui_.shown.back().text, "There is nothing to export");
  EXPECT_TRUE(dialog.CanOpen(3));
}

TEST_F(Dialogs, ContactsExportOfGroupsReportsDoneAndFailures) {
  AddContact("Ann", "0821", {friends_, work_});
  ContactsExportDialogModel dialog(*store_, strings_, ui_, {});
  ASSERT_EQ(dialog.Groups().size(), 3u);
  dialog.SetExportGroups(true);
  dialog.SetWithAssociation(true);
  dialog.SetGroupChecked(1, true);
  dialog.SetGroupChecked(2, true);
  ASSERT_TRUE(dialog.SetFilePath(File("g.csv")));
  EXPECT_EQ(dialog.Ok(), ExportResult::Done);
  EXPECT_EQ(ui_.shown.back().caption, "Export done");
  EXPECT_EQ(ui_.shown.back().text, "All contacts in selected groups have been exported!");
  EXPECT_EQ(testsupport::ReadFile(File("g.csv")), "FName,SName,Title,Custom,Mobile,Group\r\n"
                                                  "Ann,,,,0821,Friends\r\n"
                                                  "Ann,,,,0821,Work\r\n");

  ASSERT_TRUE(dialog.SetFilePath(dir_.string()));
  EXPECT_EQ(dialog.Ok(), ExportResult::OpenFailed);
  EXPECT_EQ(ui_.shown.back().caption, "Export failed!");
  EXPECT_EQ(ui_.shown.back().text, "Unable to open '" + dir_.string() + "' for writing!");
}

TEST_F(Dialogs, ContactsExportOfASelectionShowsNothing) {
  const int ann = AddContact("Ann", "0821", {friends_});
  ContactsExportDialogModel dialog(*store_, strings_, ui_, {ann});
  ASSERT_TRUE(dialog.SetFilePath(File("s.csv")));
  EXPECT_EQ(dialog.Ok(), ExportResult::Done);
  EXPECT_TRUE(ui_.shown.empty());
}

TEST_F(Dialogs, ImportDialogListsGroupsButTheFirstAndEnablesOk) {
  ContactsImportDialogModel dialog(*store_, strings_, ui_, work_);
  ASSERT_EQ(dialog.Groups().size(), 2u);
  EXPECT_EQ(dialog.Groups()[0].Name, "Friends");
  EXPECT_FALSE(dialog.GroupChecked(0));
  EXPECT_TRUE(dialog.GroupChecked(1));
  EXPECT_EQ(dialog.SeparatorText(0), "Comma");
  EXPECT_EQ(dialog.SeparatorText(1), "Semicolon");
  EXPECT_EQ(dialog.SeparatorText(2), "Tab");
  EXPECT_EQ(dialog.SelectedSeparator(), 0u);

  EXPECT_FALSE(dialog.OkEnabled()); // no file yet
  ASSERT_TRUE(dialog.SetFilePath(File("in.csv")));
  EXPECT_TRUE(dialog.OkEnabled());
  dialog.SetGroupChecked(1, false);
  EXPECT_FALSE(dialog.OkEnabled()); // no group checked
}

TEST_F(Dialogs, ImportDialogImportsIntoCheckedGroupsAndShowsTheCounts) {
  testsupport::WriteFile(File("in.csv"), "fname;mobile\r\nAnn;0821\r\nBob;\r\n");
  ContactsImportDialogModel dialog(*store_, strings_, ui_, work_);
  dialog.SetGroupChecked(0, true);
  dialog.SelectSeparator(1);
  ui_.files.push_back(File("in.csv"));
  dialog.Browse();
  EXPECT_EQ(ui_.Of("open")[0].choice.filter, "All Files (*.*)\n*.*\n\n");
  const contacts::ImportResult r = dialog.Ok();
  EXPECT_EQ(r.inserted, 1);
  EXPECT_EQ(r.discarded, 1);
  EXPECT_EQ(ui_.shown.back().caption, "Importing ...");
  EXPECT_EQ(ui_.shown.back().text, "Finished importing new contacts!\n\n(1) items where inserted "
                                   "into the database\nand (1) item were discarded.");
  EXPECT_EQ(ui_.shown.back().icon, MessageIcon::Information);
  // Checked groups are collected from the last list entry to the first.
  const std::vector<store::ContactRow> c = store_->Contacts();
  ASSERT_EQ(c.size(), 1u);
  EXPECT_EQ(store_->GroupsOfContact(c[0].CID), (std::vector<int>{work_, friends_}));
}
