#include "contacts/AddressBookReader.h"

#include "contacts/EdsSource.h"
#include "contacts/FileText.h"
#include "contacts/ThunderbirdProfiles.h"
#include "contacts/ThunderbirdSource.h"
#include "contacts/VCardSource.h"

#include <algorithm>

namespace contacts {

namespace {
// A mail-client route without a readable client: nothing to read.
class NoSource : public AddressBookSource {
public:
  ReadOutcome Read(AddressBookNode &, std::stop_token) override { return ReadOutcome::Read; }
};
} // namespace

AddressBookReader::AddressBookReader(AddressBookAccess access, MailClientRegistry registry)
    : access_(std::move(access)), registry_(std::move(registry)),
      tree_(std::make_shared<AddressBookTree>()) {}

bool AddressBookReader::NeedsRead(AddressBookRoute route, bool force) const {
  return force || !tree_->IsRead() || lastRoute_ != route;
}

ReadPlan AddressBookReader::Plan(AddressBookRoute route, const std::string &profileName) const {
  ReadPlan plan;
  plan.route = route;
  plan.profileName = profileName;
  if (route == AddressBookRoute::VCards) {
    plan.vcardLocations = VCardSource::Locations(registry_.VCardPath());
    return plan;
  }
  plan.client = access_.ChosenClient(registry_);
  if (plan.client && plan.client->kind == MailClientKind::Thunderbird) {
    if (!plan.client->profileRoot.empty()) plan.profileRoots.push_back(plan.client->profileRoot);
    for (auto &root : ThunderbirdProfiles::ExistingRoots(HomeFolder()))
      if (std::find(plan.profileRoots.begin(), plan.profileRoots.end(), root) ==
          plan.profileRoots.end())
        plan.profileRoots.push_back(std::move(root));
  }
  return plan;
}

std::unique_ptr<AddressBookSource> AddressBookReader::MakeSource(const ReadPlan &plan) {
  if (plan.route == AddressBookRoute::VCards)
    return std::make_unique<VCardSource>(plan.vcardLocations);
  if (!plan.client) return std::make_unique<NoSource>();
  if (plan.client->kind == MailClientKind::Thunderbird)
    return std::make_unique<ThunderbirdSource>(plan.profileRoots, plan.profileName);
  return std::make_unique<EdsSource>(plan.profileName);
}

ReadResult AddressBookReader::Run(const ReadPlan &plan, std::stop_token stop) {
  ReadResult result;
  result.route = plan.route;
  try {
    result.tree = std::make_shared<AddressBookTree>();
    result.outcome = MakeSource(plan)->Read(result.tree->Root(), stop);
    if (result.outcome == ReadOutcome::Read) result.tree->MarkRead();
  } catch (...) {
    result.outcome = ReadOutcome::Failed;
  }
  if (result.outcome != ReadOutcome::Read) result.tree = std::make_shared<AddressBookTree>();
  return result;
}

void AddressBookReader::Accept(const ReadResult &result) {
  if (result.outcome == ReadOutcome::Cancelled) return;
  tree_ = result.tree ? result.tree : std::make_shared<AddressBookTree>();
  if (result.outcome == ReadOutcome::Read) lastRoute_ = result.route;
}

std::optional<ReadFailureMessage> AddressBookReader::FailureMessage(const ReadResult &result) {
  switch (result.outcome) {
  case ReadOutcome::OpenFailed:
    return ReadFailureMessage{kCannotAccessCaptionId, result.route == AddressBookRoute::MailClient
                                                          ? kMailClientFailedTextId
                                                          : kVCardsFailedTextId};
  case ReadOutcome::Failed:
    return ReadFailureMessage{kQueryFailedCaptionId, kQueryFailedTextId};
  default:
    return std::nullopt;
  }
}

} // namespace contacts
