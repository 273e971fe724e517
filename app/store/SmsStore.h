#pragma once
// SmsStore: the program's database `SMS.db` in the data folder (SQLite): the
// outbox, contacts, groups, group membership and the three identifier
// counters, and every operation on them.
//
// Tables (strings are Windows-1252 bytes, never transcoded):
//   SMS(ID, Time, Stat, Type, RefID, To, ToInfo, Msg, ApiMsgID, SavedStat,
//       SenderID, Delay, QueryTime, StatQryTm, Charge, Flags)
//   "GROUP"(GID, Cnt, Name)            CONTACTS(CID, Name, Surname, Title, Custom, Mobile)
//   CONTACT_GROUP_MAP(CID, GID)         NextSMSID(ID), NextGroupID(ID), NextContactID(ID)
// Messages, groups and contacts are ordered by their identifier; membership
// rows keep the order in which they were added.
//
// Durability: one connection keeps a write transaction open between commit
// points. Every change is visible at once to every caller, but becomes
// durable only when `Commit` runs; a crash loses what changed since the last
// commit, and the next opening repairs rows left in Editing or Processing.
// The database runs in WAL mode with synchronous=NORMAL: a commit survives
// the end of the process (a crash, a kill) without waiting for the disk, so
// the engine can afford a commit around every send.
//
// Threads and locks. Every member may be called from any thread: the store
// serialises its own use of the database connection internally. On top of
// that it keeps the program's two locks with their usual meaning:
//   - MessageLock(): the message-table lock. AddSms, UpdateSms, CountOutbox
//     and BeginEditSms take it themselves; callers that select rows and then
//     change them (the engine, the outbox view) hold it around the sequence.
//   - ContactCounterLock(): guards the contact counter (NextContactId,
//     PeekNextContactId and AddContact take it); a caller may hold it around
//     PeekNextContactId and AddContact to know the identifier in advance.
// Identifier allocation is atomic: two threads adding messages at once
// always get different identifiers.
// Both are recursive. Order: a caller's own locks (e.g. the worker's dispatch
// lock) first, then MessageLock, then ContactCounterLock; the internal
// connection lock is always the innermost and is never held across a call
// out of the store (log writer, clipboard).
// All three are tracked locks (shell::TrackedRecursiveMutex): when a thread's
// frames are abandoned by a fault, what they held is released, and the
// connection first puts itself right: every statement left half stepped is
// reset and a write of several rows that was under way is rolled back, so
// the other thread finds the store as it was before that write.
//
// Failures: operations report by return value (an identifier, -1, false, an
// empty optional); none of them shows anything to the user.

#include "store/Clipboard.h"
#include "store/ContactRecord.h"
#include "store/MessageRow.h"
#include "store/SendRecord.h"

#include "shell/TrackedRecursiveMutex.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace shell {
class LogWriter;
class NameTables;
class StringTable;
struct Settings;
} // namespace shell

namespace store {

// A group row.
struct GroupRow {
  int GID = 0;
  int Cnt = 0; // written as 0 on creation and never maintained
  std::string Name;
};

// A contact row.
struct ContactRow {
  int CID = 0;
  std::string Name;
  std::string Surname;
  std::string Title;
  std::string Custom;
  std::string Mobile;
};

// Number of members of one group (from the membership table).
struct GroupMemberCount {
  int GID = 0;
  int Cnt = 0;
};

// One per-destination copy for ExpandSmsMany: its status and destination
// list, the result fields it starts with, and its send record (written when
// CliMsgID, OutcomeUnknown or Note is set).
struct ExpandedChild {
  int Stat = 0;
  std::string To = {};
  std::string ApiMsgID = {};
  int QueryTime = 0;
  int StatQryTm = 0;
  // The creation time (the current time) when unset.
  std::optional<int> Time = std::nullopt;
  std::string CliMsgID = {};
  bool OutcomeUnknown = false;
  std::string Note = {};
};

// What the store needs from the rest of the program. Every pointer may be
// null: no log writer or no settings means no log entries (and an empty
// `prefix`), no name or string tables means the built-in texts. The pointed-to
// objects must outlive the store (or be replaced with the setters first).
struct StoreServices {
  shell::LogWriter *log = nullptr;
  const shell::Settings *settings = nullptr;   // WriteLog, prefix
  const shell::NameTables *names = nullptr;    // status names of the details text
  const shell::StringTable *strings = nullptr; // 1033, 1248 to 1252
  // Seconds since 1970-01-01 UTC; the system clock when empty.
  std::function<std::int64_t()> now;
};

class SmsStore {
public:
  // Opens or creates "<dataFolder>/SMS.db" (created readable by its owner
  // only) and, in this order: creates the counters with 1 where they are
  // missing, commits, creates the group "All Contacts" (string 1248) when the
  // file has no group, and repairs rows left in Editing (back to SavedStat)
  // and in Processing (to Failed). A file that is not a database, is damaged
  // or holds tables of another layout is left untouched and the store is not
  // usable. Never throws.
  explicit SmsStore(const std::string &dataFolder, StoreServices services = {});
  // Commits, then closes the database.
  ~SmsStore();
  SmsStore(const SmsStore &) = delete;
  SmsStore &operator=(const SmsStore &) = delete;

  // True when the database is open and its file exists on disk.
  bool IsUsable() const;
  // Full path of the database file.
  const std::string &Path() const { return path_; }

  // Makes every change since the last commit durable and starts the next
  // transaction. False when the database refused the commit (the changes
  // then stay pending and a later commit retries them).
  bool Commit();

  void SetLogWriter(shell::LogWriter *log);
  void SetSettings(const shell::Settings *settings);
  void SetNameTables(const shell::NameTables *names);
  void SetStringTable(const shell::StringTable *strings);
  void SetClock(std::function<std::int64_t()> now);

  shell::TrackedRecursiveMutex &MessageLock() { return messageLock_; }
  shell::TrackedRecursiveMutex &ContactCounterLock() { return contactCounterLock_; }

  // Test hook: called with the ID of every message row AddSms or
  // ExpandSmsMany writes, right after the row's statement ran (the store's
  // locks held, the statement not yet reset). Empty for none.
  void SetRowWrittenHook(std::function<void(int id)> hook);

  // ---- Identifier counters (never lowered, so identifiers are never reused).
  // Each returns -1 when the store is not usable.
  int NextSmsId();
  int NextGroupId();
  int NextContactId();     // under the contact-counter lock
  int PeekNextContactId(); // under the contact-counter lock, no advance

  // ---- Message operations
  // Adds a message and returns its ID. refId 0 refers the message to itself;
  // time 0 stores the current time; a null senderId stores "". ToInfo is the
  // RecipientSummary of `to`. Logs "Added SMS: ..." when logging is on.
  // -1 when the row could not be stored.
  int AddSms(int status, int time, int type, int refId, std::string_view to, std::string_view msg,
             const char *senderId, int delay, std::string_view charge, int flags);
  // A copy with the current time, the source's RefID and, unless
  // overrideStatus, the source's status. -1 when the source does not exist.
  int CopySms(int sourceId, bool overrideStatus, int status);
  // A per-destination copy with the given status and destination list.
  // -1 when the source does not exist.
  int ExpandSms(int sourceId, int status, std::string_view to);
  // After the user edited a message: Stat := 6 when SavedStat is 6 or 7,
  // else 0; Type, To, ToInfo and Msg replaced. Nothing when id is absent.
  void UpdateSms(int id, int type, std::string_view to, std::string_view msg);
  // Stat := status. False (and the "FAILED:" log entry) when id is absent.
  // Takes no lock of its own.
  bool SetSmsStatus(int id, int status);
  // Removes the message (and its send record); nothing when absent. Takes
  // no lock of its own.
  void DeleteSms(int id);
  // ExpandSms for each entry, in order, in one go: the source is read once,
  // identifiers are drawn together and each row is written with its result
  // fields. Returns the new IDs (empty when the source does not exist or a
  // row could not be stored). Logs "Added SMS: ..." per row like AddSms.
  std::vector<int> ExpandSmsMany(int sourceId, const std::vector<ExpandedChild> &children);
  // Messages waiting to go: Pending + Scheduled + Delay Scheduled.
  int CountOutbox();
  // The ToInfo text of a destination list: at most three tokens joined by
  // ",", contact tokens ("A<cid>") shown as "Name Surname" (nothing for an
  // unknown contact), " ..." when more tokens follow. Cut to 127 bytes.
  std::string RecipientSummary(std::string_view to) const;
  // Puts the readable details of one message on the clipboard. False when
  // the message does not exist or the clipboard refused the text.
  bool CopySmsDetails(int id, Clipboard &clipboard);
  // The details text CopySmsDetails places on the clipboard.
  std::optional<std::string> SmsDetailsText(int id) const;
  // Every message in Editing goes back to its SavedStat.
  void RestoreEditedSms();
  // Opens a message for editing, inside the message-table lock:
  // SavedStat := Stat, Stat := 5. Returns the row after the change, or
  // nothing when absent.
  std::optional<MessageRow> BeginEditSms(int id);

  // ---- Message queries for the engine and the views
  std::optional<MessageRow> FindMessage(int id) const;
  // IDs of the rows matching every condition, ascending.
  std::vector<int> SelectIds(const MessageSelection &selection) const;
  // The matching rows themselves, ascending by ID.
  std::vector<MessageRow> SelectRows(const MessageSelection &selection) const;
  // Number of rows matching the selection.
  int CountMessages(const MessageSelection &selection) const;
  // Overwrites the given fields of one message; false when absent. Takes no
  // lock of its own (hold MessageLock around read-modify-write sequences).
  bool UpdateFields(int id, const MessageUpdate &update);
  // Number of messages.
  int MessageCount() const;
  // The row at a position in ID order (0 = oldest); nothing when out of
  // range. Positions are cached until the next add or delete, so walking
  // every position costs one lookup per row.
  std::optional<MessageRow> MessageAt(int index) const;
  // Every message ID, ascending.
  std::vector<int> AllMessageIds() const;
  // Every message ID, ascending by one column: numbers by value, texts by
  // their bytes (case matters); rows with equal keys in ID order. One query,
  // sorted by the database.
  std::vector<int> MessageIdsBy(MessageOrder order) const;
  // Calls visit for every message in ID order until it returns false. The
  // rows are read in one pass; visit must not call back into the store.
  void ForEachMessage(const std::function<bool(const MessageRow &)> &visit) const;

  // ---- Send records (one per message at most; see SendRecord.h). None takes
  // a lock of its own beyond the connection's.
  // Writes the record of record.ID, replacing an earlier one.
  bool PutSendRecord(const SendRecord &record);
  std::optional<SendRecord> FindSendRecord(int id) const;
  void DeleteSendRecord(int id);
  // Records whose outcome is unknown, ascending by ID.
  std::vector<SendRecord> UnknownOutcomes() const;
  // Records of expansions in progress, ascending by ID.
  std::vector<SendRecord> OpenExpansions() const;

  // ---- Groups
  // Adds a group (Cnt 0) and returns its position in GID order.
  int AddGroup(std::string_view name);
  void RenameGroup(int gid, std::string_view name);
  // Deletes the group; members that are in no other group are deleted too,
  // the others only lose this membership.
  void DeleteGroup(int gid);
  std::optional<std::string> GroupName(int gid) const;
  // Position of the group in GID order, or -1.
  int FindGroupRow(int gid) const;
  // GID of the first group (GID order) whose name equals `name` without
  // regard to case (Windows-1252 letters), or nothing.
  std::optional<int> FindGroupByName(std::string_view name) const;
  int GroupCount() const;
  // Every group in GID order.
  std::vector<GroupRow> Groups() const;
  // The group at a position in GID order.
  std::optional<GroupRow> GroupAt(int index) const;
  // For every group with members, its GID and member count (GID order).
  std::vector<GroupMemberCount> MemberCounts() const;
  // CIDs of a group's membership rows, in membership order.
  std::vector<int> GroupMembers(int gid) const;

  // ---- Contacts
  // Adds the contact and one membership per group of the record, in order.
  int AddContact(const ContactRecord &record);
  // Replaces the five texts and the memberships; nothing when absent.
  void UpdateContact(int cid, const ContactRecord &record);
  // Clears the record and fills the five texts (cut to their fields); the
  // group fields stay empty. False (record untouched) when absent.
  bool ReadContact(int cid, ContactRecord &record) const;
  // Name, surname and mobile, each cut to its ContactRecord field (32, 32
  // and 19 bytes). False when absent.
  bool ContactNameAndMobile(int cid, std::string &name, std::string &surname,
                            std::string &mobile) const;
  // At most `length` bytes of the contact's Mobile; nothing when absent.
  std::optional<std::string> ContactMobile(int cid, std::size_t length) const;
  // fromAllGroups: the contact and all its memberships go. Otherwise its
  // first membership of gid goes, and the contact too when no group is left.
  void DeleteContact(int cid, bool fromAllGroups, int gid);
  std::optional<ContactRow> FindContact(int cid) const;
  // CID of the first contact whose Mobile equals `mobile` exactly, or nothing.
  std::optional<int> FindContactByMobile(std::string_view mobile) const;
  int ContactCount() const;
  // Every contact in CID order.
  std::vector<ContactRow> Contacts() const;

  // ---- Membership
  void AddMembership(int gid, int cid); // no check for an existing row
  void EnsureMembership(int cid, int gid);
  bool IsMember(int cid, int gid) const;
  void RemoveMembership(int cid, int gid); // the first matching row
  // Moves a contact to targetGid: nothing when already a member there; from
  // group 1 every membership goes first, otherwise only that of sourceGid.
  void MoveContact(int cid, int targetGid, int sourceGid);
  int GroupCountOfContact(int cid) const;
  // GID of the contact's first membership row, or 0.
  int FirstGroupOfContact(int cid) const;
  // GIDs of the contact's membership rows, in membership order.
  std::vector<int> GroupsOfContact(int cid) const;

  class Impl;

private:
  std::string path_;
  shell::TrackedRecursiveMutex messageLock_;
  shell::TrackedRecursiveMutex contactCounterLock_;
  std::unique_ptr<Impl> impl_;
};

// The process-wide store, set by start-up; other code never deletes it.
extern SmsStore *gStore;

} // namespace store
