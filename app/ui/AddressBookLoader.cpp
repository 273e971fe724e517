#include "AddressBookLoader.h"

#include "MessageBoxes.h"
#include "ThreadHandOver.h"
#include "UiText.h"

#include "engine/UserPrompt.h"
#include "shell/Settings.h"

namespace ui {

AddressBookLoader::AddressBookLoader(contacts::AddressBookReader reader,
                                     const shell::Settings *settings, QObject *parent)
    : QObject(parent), reader_(std::move(reader)), settings_(settings),
      read_(&contacts::AddressBookReader::Run) {}

AddressBookLoader::~AddressBookLoader() {
  for (auto &[generation, thread] : threads_)
    thread.request_stop();
  threads_.clear(); // joins
}

void AddressBookLoader::Fill(bool force) {
  auto route = contacts::AddressBookReader::RouteOf(settings_ && settings_->MAPI_AddressBook);
  if (reading_ && !force && readingRoute_ == route) return; // the running read answers
  ++generation_;
  CancelRunning();
  if (reader_.NeedsRead(route, force))
    Start(route);
  else
    PostTree();
}

void AddressBookLoader::Start(contacts::AddressBookRoute route) {
  contacts::ReadPlan plan =
      reader_.Plan(route, settings_ ? settings_->Outlook_Name : std::string());
  unsigned generation = generation_;
  reading_ = true;
  readingRoute_ = route;
  threads_.emplace(generation, std::jthread([this, plan, generation, read = read_](
                                                std::stop_token stop) {
    contacts::ReadResult result = read(plan, stop);
    PostCall(this, [this, generation, result] { Finished(generation, result); });
  }));
}

void AddressBookLoader::CancelRunning() {
  for (auto &[generation, thread] : threads_)
    thread.request_stop();
  reading_ = false;
}

void AddressBookLoader::Finished(unsigned generation, const contacts::ReadResult &result) {
  auto thread = threads_.find(generation);
  if (thread != threads_.end()) threads_.erase(thread); // at its end: joins at once
  if (!reading_ || generation != generation_) return;
  reading_ = false;
  reader_.Accept(result);
  if (auto message = contacts::AddressBookReader::FailureMessage(result))
    MessageBoxes::Show(owner_, Text(message->textId), Text(message->captionId),
                       engine::kBoxOk | engine::kBoxIconError);
  emit TreeReady(reader_.Tree());
}

void AddressBookLoader::PostTree() {
  unsigned generation = generation_;
  QMetaObject::invokeMethod(
      this,
      [this, generation] {
        if (generation == generation_ && !reading_) emit TreeReady(reader_.Tree());
      },
      Qt::QueuedConnection);
}

} // namespace ui
