#include "BatchService.h"

#include "BatchTemplate.h"
#include "CallerResolver.h"
#include "MessageSubmitter.h"
#include "ReplyBuilder.h"

namespace gatewaysim {

namespace {
std::string Filled(const SimBatch &batch, const BatchTemplate::Fields &fields) {
  if (batch.options.unicode && !batch.options.IsBinaryType(batch.options.msgType)) {
    return BatchTemplate::FillUnicodeHex(batch.templateText, fields).value_or("");
  }
  return BatchTemplate::Fill(batch.templateText, fields);
}
} // namespace

std::string BatchService::StartBatch(const FormParams &params, int64_t nowMs) {
  auto caller = CallerResolver(state_).Session(params, nowMs);
  if (!caller.account) return caller.error;
  SimBatch batch;
  if (int error = MessageOptions::Parse(params, batch.options)) return ReplyBuilder::Error(error);
  batch.templateText = params.Value("template");
  if (batch.templateText.empty()) return ReplyBuilder::Error(kErrNoBatchTemplate);
  if (batch.options.unicode && !batch.options.IsBinaryType(batch.options.msgType) &&
      !BatchTemplate::FillUnicodeHex(batch.templateText, {})) {
    return ReplyBuilder::Error(kErrInvalidParameter);
  }
  batch.id = state_.ids.Next();
  batch.account = *caller.account;
  batch.startedMs = nowMs;
  std::string id = batch.id;
  state_.batches.Add(std::move(batch));
  return ReplyBuilder::Id(id);
}

SimBatch *BatchService::OpenBatch(const FormParams &params, int64_t nowMs, std::string &error) {
  auto caller = CallerResolver(state_).Session(params, nowMs);
  if (!caller.account) {
    error = caller.error;
    return nullptr;
  }
  SimBatch *batch = state_.batches.FindOpen(params.Value("batch_id"), *caller.account);
  if (!batch) error = ReplyBuilder::Error(kErrInvalidBatchId);
  return batch;
}

std::string BatchService::SendOne(SimBatch &batch, const std::string &to, const std::string &text,
                                  int64_t nowMs) {
  Submission s;
  s.account = batch.account;
  s.to = to;
  s.text = text;
  s.options = batch.options;
  s.batchId = batch.id;
  std::string id;
  if (int error = MessageSubmitter(state_).Submit(s, nowMs, id)) {
    return ReplyBuilder::Error(error) + " To: " + to;
  }
  ++batch.items;
  return ReplyBuilder::Id(id) + " To: " + to;
}

std::string BatchService::SendItem(const FormParams &params, int64_t nowMs) {
  std::string error;
  SimBatch *batch = OpenBatch(params, nowMs, error);
  if (!batch) return error;
  BatchTemplate::Fields fields;
  for (size_t i = 0; i < fields.size(); ++i) {
    fields[i] = params.Value("field" + std::to_string(i + 1));
  }
  return SendOne(*batch, params.Value("to"), Filled(*batch, fields), nowMs);
}

std::string BatchService::QuickSend(const FormParams &params, int64_t nowMs) {
  std::string error;
  SimBatch *batch = OpenBatch(params, nowMs, error);
  if (!batch) return error;
  std::string to = params.Value("to");
  std::string text = Filled(*batch, {});
  std::string reply;
  size_t pos = 0;
  while (pos <= to.size()) {
    size_t comma = to.find(',', pos);
    if (comma == std::string::npos) comma = to.size();
    std::string number = to.substr(pos, comma - pos);
    if (!number.empty()) {
      if (!reply.empty()) reply += '\n';
      reply += SendOne(*batch, number, text, nowMs);
    }
    pos = comma + 1;
  }
  if (reply.empty()) return ReplyBuilder::Error(kErrInvalidDestination);
  return reply;
}

std::string BatchService::EndBatch(const FormParams &params, int64_t nowMs) {
  std::string error;
  SimBatch *batch = OpenBatch(params, nowMs, error);
  if (!batch) return error;
  batch->open = false;
  return ReplyBuilder::Ok("Batch " + batch->id + " closed, " + std::to_string(batch->items) +
                          " messages");
}

} // namespace gatewaysim
