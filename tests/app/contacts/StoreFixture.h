#pragma once
// A fresh store in a temporary data folder, with two groups besides
// "All Contacts".

#include "store/SmsStore.h"

#include <testsupport/TestEnv.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

class StoreFixture : public ::testing::Test {
protected:
  void SetUp() override {
    dir_ = testsupport::MakeTempDir("store");
    store_ = std::make_unique<store::SmsStore>(dir_.string());
    ASSERT_TRUE(store_->IsUsable());
    friends_ = GidOf(store_->AddGroup("Friends"));
    work_ = GidOf(store_->AddGroup("Work"));
  }

  int GidOf(int position) const { return store_->GroupAt(position)->GID; }

  int AddContact(const std::string &name, const std::string &mobile, std::vector<int> groups,
                 const std::string &surname = "") {
    store::ContactRecord record;
    record.SetName(name);
    record.SetSurname(surname);
    record.SetMobile(mobile);
    record.groupIds = groups.data();
    record.groupCount = static_cast<int>(groups.size());
    return store_->AddContact(record);
  }

  std::string File(const std::string &name) const { return (dir_ / name).string(); }

  std::filesystem::path dir_;
  std::unique_ptr<store::SmsStore> store_;
  int friends_ = 0;
  int work_ = 0;
};
