// SmsStore: send records and the expansion of a message into many rows.
#include "store/SmsStore.h"

#include "store/SmsStoreImpl.h"

#include "shell/WinFormat.h"

namespace store {

namespace {

using Lock = std::lock_guard<shell::TrackedRecursiveMutex>;

bool HasRecord(const ExpandedChild &child) {
  return !child.CliMsgID.empty() || child.OutcomeUnknown || !child.Note.empty();
}

} // namespace

const char *const SmsStore::Impl::kSendColumns =
    "ID, CliMsgID, OutcomeUnknown, Note, ExpandDone, ExpandInFlight, ExpandBatch";

SendRecord SmsStore::Impl::ReadSendRecord(SqliteStatement &s) {
  SendRecord record;
  record.ID = s.Int(0);
  record.CliMsgID = s.Text(1);
  record.OutcomeUnknown = s.Int(2) != 0;
  record.Note = s.Text(3);
  record.ExpandDone = s.Int(4);
  record.ExpandInFlight = s.Int(5);
  record.ExpandBatch = s.Int(6) != 0;
  return record;
}

bool SmsStore::Impl::PutSendRecord(const SendRecord &record) {
  if (!usable) return false;
  StatementUse put(db.Cached(std::string("INSERT OR REPLACE INTO SMS_SEND(") + kSendColumns +
                             ") VALUES(?, ?, ?, ?, ?, ?, ?)"));
  put->Bind(1, record.ID);
  put->BindText(2, record.CliMsgID);
  put->Bind(3, record.OutcomeUnknown ? 1 : 0);
  put->BindText(4, record.Note);
  put->Bind(5, record.ExpandDone < -1 ? -1 : record.ExpandDone);
  put->Bind(6, record.ExpandInFlight);
  put->Bind(7, record.ExpandBatch ? 1 : 0);
  return put->Run();
}

std::vector<SendRecord> SmsStore::Impl::SendRecordsWhere(const char *condition) const {
  std::vector<SendRecord> records;
  auto &self = const_cast<Impl &>(*this);
  StatementUse select(self.db.Cached(std::string("SELECT ") + kSendColumns +
                                     " FROM SMS_SEND WHERE " + condition + " ORDER BY ID"));
  while (select->Next())
    records.push_back(ReadSendRecord(*select));
  return records;
}

bool SmsStore::PutSendRecord(const SendRecord &record) {
  Lock guard(impl_->conn);
  return impl_->PutSendRecord(record);
}

std::optional<SendRecord> SmsStore::FindSendRecord(int id) const {
  Lock guard(impl_->conn);
  StatementUse find(impl_->db.Cached(std::string("SELECT ") + Impl::kSendColumns +
                                     " FROM SMS_SEND WHERE ID = ?"));
  find->Bind(1, id);
  if (!find->Next()) return std::nullopt;
  return Impl::ReadSendRecord(*find);
}

void SmsStore::DeleteSendRecord(int id) {
  Lock guard(impl_->conn);
  StatementUse remove(impl_->db.Cached("DELETE FROM SMS_SEND WHERE ID = ?"));
  remove->Bind(1, id);
  remove->Run();
}

std::vector<SendRecord> SmsStore::UnknownOutcomes() const {
  Lock guard(impl_->conn);
  return impl_->SendRecordsWhere("OutcomeUnknown <> 0");
}

std::vector<SendRecord> SmsStore::OpenExpansions() const {
  Lock guard(impl_->conn);
  return impl_->SendRecordsWhere("ExpandDone >= 0");
}

std::vector<int> SmsStore::ExpandSmsMany(int sourceId, const std::vector<ExpandedChild> &children) {
  std::vector<int> ids;
  if (children.empty()) return ids;
  auto source = FindMessage(sourceId);
  if (!source) return ids;
  std::vector<std::string> summaries;
  summaries.reserve(children.size());
  for (const ExpandedChild &child : children)
    summaries.push_back(RecipientSummary(child.To));
  const int now = static_cast<int>(impl_->Now());
  {
    Lock table(messageLock_);
    Lock guard(impl_->conn);
    Impl &d = *impl_;
    Impl::Write write(d);
    const int first = d.ReserveSmsIds(static_cast<int>(children.size()));
    if (first < 0) return ids;
    StatementUse insert(d.db.Cached(std::string("INSERT INTO SMS(") + Impl::kMessageColumns +
                                    ") VALUES(?, ?, ?, ?, ?, ?, ?, ?, ?, 0, ?, ?, ?, ?, ?, ?)"));
    for (std::size_t i = 0; i < children.size(); ++i) {
      const ExpandedChild &child = children[i];
      const int id = first + static_cast<int>(i);
      insert->Bind(1, id);
      insert->Bind(2, child.Time.value_or(now));
      insert->Bind(3, child.Stat);
      insert->Bind(4, source->Type);
      insert->Bind(5, source->RefID != 0 ? source->RefID : id);
      insert->BindText(6, child.To);
      insert->BindText(7, summaries[i]);
      insert->BindText(8, source->Msg);
      insert->BindText(9, child.ApiMsgID);
      insert->BindText(10, source->SenderID);
      insert->Bind(11, source->Delay);
      insert->Bind(12, child.QueryTime);
      insert->Bind(13, child.StatQryTm);
      insert->BindText(14, source->Charge);
      insert->Bind(15, source->Flags);
      const bool added = insert->Run();
      if (added) d.RowWritten(id);
      insert->Reset();
      if (!added) break;
      if (HasRecord(child)) {
        SendRecord record;
        record.ID = id;
        record.CliMsgID = child.CliMsgID;
        record.OutcomeUnknown = child.OutcomeUnknown;
        record.Note = child.Note;
        d.PutSendRecord(record);
      }
      ids.push_back(id);
    }
    if (!ids.empty()) d.positionsValid = false;
  }
  if (impl_->LogEnabled()) {
    for (std::size_t i = 0; i < ids.size(); ++i) {
      impl_->Log(shell::WinFormat("Added SMS: SMS_ID (%d) Mobile:%s Msg:%s\n", ids[i],
                                  children[i].To, source->Msg));
    }
  }
  return ids;
}

} // namespace store
