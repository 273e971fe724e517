#pragma once
// The page's own clipboard for contacts (Copy, Cut, Paste of the member
// list). It holds a mode, the contact's CID and a copy of its record.
// Pasting a copied contact adds it to a group (one membership per paste);
// pasting a cut contact adds its saved record as a new contact whose only
// group is the target, after which the slot holds that new contact as
// copied.

#include "store/ContactRecord.h"

namespace store {
class SmsStore;
}

namespace addresses {

class ContactClipboard {
public:
  enum class Mode { Empty = 0, Copied = 1, Cut = 2 };

  // Copy or Cut of a contact: false (slot unchanged) when it does not exist.
  bool Take(const store::SmsStore &store, int cid, Mode mode);
  // Pastes into group gid and returns the pasted contact's CID; 0 when
  // nothing was pasted (an empty slot, a copied contact that no longer
  // exists, a store that refused the new contact). A copied contact that
  // has been deleted since empties the slot.
  int Paste(store::SmsStore &store, int gid);

  bool Empty() const { return mode_ == Mode::Empty; }
  Mode CurrentMode() const { return mode_; }
  int Cid() const { return cid_; }
  const store::ContactRecord &Record() const { return record_; }

private:
  Mode mode_ = Mode::Empty;
  int cid_ = 0;
  store::ContactRecord record_;
};

} // namespace addresses
