#pragma once
// An SMS page model over a fresh store, with recording collaborators and a
// fixed clock.

#include "RecordingComposeUi.h"

#include "compose/SmsPageModel.h"
#include "contacts/RecentList.h"
#include "shell/Settings.h"
#include "shell/StringTable.h"
#include "store/SmsStore.h"

#include <testsupport/TestEnv.h>

#include <gtest/gtest.h>

#include <memory>

class PageFixture : public ::testing::Test {
protected:
  static constexpr int kNow = 1700000000;

  void SetUp() override {
    dir_ = testsupport::MakeTempDir("page");
    store_ = std::make_unique<store::SmsStore>(dir_.string());
    ASSERT_TRUE(store_->IsUsable());
    MakePage();
  }

  void MakePage() {
    page_ = std::make_unique<compose::SmsPageModel>(compose::SmsPageServices{
        *store_, settings_, strings_, recent_, queuer_, ui_, [] { return std::int64_t{kNow}; }});
  }

  int AddContact(const std::string &name, const std::string &surname, const std::string &mobile) {
    store::ContactRecord record;
    record.SetName(name);
    record.SetSurname(surname);
    record.SetMobile(mobile);
    static const int kGroups[] = {1};
    record.groupIds = kGroups;
    record.groupCount = 1;
    return store_->AddContact(record);
  }

  void Type(const std::string &text) { page_->SetEditorText(text, text.size()); }

  std::filesystem::path dir_;
  std::unique_ptr<store::SmsStore> store_;
  shell::Settings settings_;
  shell::StringTable strings_;
  contacts::RecentList recent_;
  RecordingQueuer queuer_;
  RecordingComposeUi ui_;
  std::unique_ptr<compose::SmsPageModel> page_;
};
