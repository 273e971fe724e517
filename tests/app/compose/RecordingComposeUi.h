#pragma once
// The SMS page's window for tests: boxes are recorded and answered from a
// script, the schedule dialog returns a scripted choice, previews and caption
// refreshes are counted. The queuer records every message it is handed.

#include "../contacts/RecordingDialogs.h"

#include "compose/ComposeUi.h"
#include "engine/MessageQueuer.h"

#include <optional>
#include <string>
#include <vector>

struct QueuedMessage {
  int status, time, type, refId;
  std::string to, text;
  int delay;
  bool force;
  int id;
};

class RecordingQueuer : public engine::MessageQueuer {
public:
  std::vector<QueuedMessage> queued;
  int nextId = 100;
  bool refuse = false; // the store takes no message

  int QueueMessage(int status, int time, int type, int refId, const std::string &to,
                   const std::string &text, int delay, bool force) override {
    if (refuse) {
      return -1;
    }
    queued.push_back({status, time, type, refId, to, text, delay, force, nextId});
    return nextId++;
  }
};

class RecordingComposeUi : public testing_dialogs::RecordingDialogsT<compose::ComposeUi> {
public:
  std::optional<compose::ScheduleChoice> schedule;
  int scheduleAsked = 0;
  std::vector<std::string> previews;
  int captionRefreshes = 0;

  std::optional<compose::ScheduleChoice> AskSchedule() override {
    ++scheduleAsked;
    return schedule;
  }
  void ShowPicturePreview(const std::string &path) override { previews.push_back(path); }
  void RefreshOutboxCaption() override { ++captionRefreshes; }
};
