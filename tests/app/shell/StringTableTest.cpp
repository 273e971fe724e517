#include "shell/StringTable.h"
#include "shell/NameTables.h"

#include <testsupport/TestEnv.h>

#include <gtest/gtest.h>

namespace {

using shell::NameTables;
using shell::StringTable;

TEST(ShellStringTableTest, BuiltInTexts) {
  const StringTable &table = StringTable::BuiltIn();
  EXPECT_EQ(table.Get(1248), "All Contacts");
  EXPECT_EQ(table.Get(1033), "%1!02d!/%2!02d!/%3!d! %4!02d!:%5!02d!");
  EXPECT_EQ(table.Get(1249), "Time:     %1!s!\r\nStatus:   %2!s!\r\nCharge:   %3!s!\r\nTo:       ");
  EXPECT_EQ(table.Get(1250), "\r\nMessage:  ");
  EXPECT_EQ(table.Get(1251), "Binary message");
  EXPECT_EQ(table.Get(1252), "\r\nApiMsgID: ");
  EXPECT_EQ(table.Get(1361), "Unable to configure internal Database.  Aborting!");
  EXPECT_EQ(table.Get(1139), "Outbox (%d)");
  EXPECT_EQ(table.Get(1029), "<<FIRSTNAME>>");
  EXPECT_EQ(table.Get(1224), "Delivered to a SMS gateway");
  EXPECT_EQ(table.Get(1537), "Failed SMS: The SMS has expired before it could be delivered.");
  EXPECT_EQ(table.Get(1320), "Binary");
  EXPECT_EQ(table.Get(99999), "");
  EXPECT_FALSE(table.Has(99999));
}

TEST(ShellStringTableTest, EveryStatusAndTypeHasANameAndDescription) {
  const StringTable &table = StringTable::BuiltIn();
  for (int n = 0; n < NameTables::kStatusCount; ++n) {
    EXPECT_FALSE(table.Get(NameTables::kStatusNameBase + n).empty()) << n;
    EXPECT_FALSE(table.Get(NameTables::kStatusDescriptionBase + n).empty()) << n;
  }
  for (int n = 0; n < NameTables::kTypeCount; ++n) {
    EXPECT_EQ(table.Get(NameTables::kTypeNameBase + n), NameTables::Defaults().TypeName(n));
  }
}

TEST(ShellStringTableTest, TranslationFileReplacesEntries) {
  const auto path = testsupport::MakeTempDir("lang") / "Language.dll";
  testsupport::WriteFile(path, "# translation\r\n"
                               "1248\tAlle Kontakte\r\n"
                               "1251\tBin\xE4re Nachricht\n"
                               "1250\t\\r\\nNachricht:\\t\\\\ \\q\n"
                               "\n"
                               "notanid\tignored\n"
                               "1252 no tab\n"
                               "99999999\ttoo big\n"
                               "70000\tout of range\n"
                               "4000\tnew entry");
  StringTable table;
  EXPECT_EQ(table.LoadTranslation(path.string()), 4);
  EXPECT_EQ(table.Get(1248), "Alle Kontakte");
  EXPECT_EQ(table.Get(1251), "Bin\xE4re Nachricht");
  EXPECT_EQ(table.Get(1250), "\r\nNachricht:\t\\ \\q");
  EXPECT_EQ(table.Get(1252), "\r\nApiMsgID: ");
  EXPECT_EQ(table.Get(4000), "new entry");
  EXPECT_FALSE(table.Has(70000));
  // The built-in table itself is never changed.
  EXPECT_EQ(StringTable::BuiltIn().Get(1248), "All Contacts");
}

TEST(ShellStringTableTest, MissingTranslationLeavesTheTable) {
  StringTable table;
  const std::size_t size = table.Size();
  EXPECT_EQ(table.LoadTranslation("/nonexistent/Language.dll"), -1);
  EXPECT_EQ(table.Size(), size);
  EXPECT_EQ(table.LoadTranslationText(std::string("\0\0\t\xFF\n", 5)), 0);
}

TEST(ShellNameTablesTest, DefaultsUntilTheStringTableIsLoaded) {
  NameTables names;
  EXPECT_STREQ(names.StatusName(0), "Pending");
  EXPECT_STREQ(names.StatusName(8), "Delivered to Gateway");
  EXPECT_STREQ(names.StatusName(14), "Cancelled");
  EXPECT_STREQ(names.StatusName(17), "Message expired");
  EXPECT_EQ(names.StatusName(18), nullptr);
  EXPECT_EQ(names.StatusName(-1), nullptr);
  EXPECT_STREQ(names.TypeName(4), "Nokia Pic Msg");
  EXPECT_EQ(names.TypeName(9), nullptr);

  StringTable table;
  table.LoadTranslationText("1216\tWartend\n1313\tBlitz\n1217\t\n");
  names.Load(table);
  EXPECT_STREQ(names.StatusName(0), "Wartend");
  EXPECT_STREQ(names.StatusName(1), "Queued"); // an empty text keeps the name
  EXPECT_STREQ(names.StatusName(8), "Delivered to a SMS gateway");
  EXPECT_STREQ(names.StatusName(14), "User cancelled msg delivery");
  EXPECT_STREQ(names.TypeName(1), "Blitz");
}

} // namespace
