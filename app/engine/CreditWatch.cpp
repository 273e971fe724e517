#include "CreditWatch.h"

#include "BalanceReply.h"
#include "TextFormat.h"
#include "WindowMessages.h"

#include "shell/InsertFormat.h"

#include <mutex>

namespace engine {

std::optional<double> CreditWatch::QueryBalance() {
  GatewayApi &gateway = *services_.gateway;
  std::string reply;
  std::lock_guard<TrackedRecursiveMutex> unit(gateway.CallLock());
  HRESULT hr = gateway.QueryBalance(&reply);
  if (FAILED(hr) || gateway.LastError() != 0) return std::nullopt;
  return BalanceReply::Parse(reply);
}

bool CreditWatch::MayDispatch() {
  if (!stopped_) return true;
  std::optional<double> balance = QueryBalance();
  if (!balance || (balanceAtStop_ && *balance <= *balanceAtStop_) || *balance <= 0) return false;
  stopped_ = false;
  out_.Log(Format("Credit available again (balance %g): sending resumes", *balance));
  return true;
}

void CreditWatch::NoCreditLeft() {
  stopped_ = true;
  balanceAtStop_ = QueryBalance();
  store::MessageSelection pending;
  pending.Stat = store::IntRange{0, 0};
  const int waiting = services_.store->CountMessages(pending);
  out_.Log(Format("No credit left: sending stops, %d message(s) wait", waiting));
  if (services_.prompt == nullptr || out_.ExitRequested()) return;
  const shell::StringTable &strings =
      services_.strings != nullptr ? *services_.strings : shell::StringTable::BuiltIn();
  const int answer = services_.prompt->Ask(shell::InsertFormat(strings.Get(kTextId), waiting),
                                           strings.Get(kCaptionId), kBoxYesNo | kBoxIconQuestion);
  if (answer == kAnswerYes) out_.Post(WindowTarget::MainWindow, UM_SELECT_TAB, 0, kOptionsTabId);
}

} // namespace engine
