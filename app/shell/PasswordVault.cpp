#include "shell/PasswordVault.h"

#include <atomic>

namespace shell {

namespace {
std::atomic<PasswordVault *> g_vault{nullptr};
}

PasswordVault *CurrentPasswordVault() {
  return g_vault.load(std::memory_order_acquire);
}

void SetPasswordVault(PasswordVault *vault) {
  g_vault.store(vault, std::memory_order_release);
}

} // namespace shell
