#include "WorkerOutput.h"

namespace engine {

void WorkerOutput::PostProgress(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
  if (!ExitRequested()) Post(WindowTarget::MainWindow, message, wParam, lParam);
}

void WorkerOutput::Post(WindowTarget target, unsigned message, std::uintptr_t wParam,
                        std::intptr_t lParam) {
  if (services_.poster != nullptr) services_.poster->Post(target, message, wParam, lParam);
}

void WorkerOutput::Rebuild(bool resortOnly) {
  if (services_.outbox != nullptr) services_.outbox->Rebuild(resortOnly);
}

bool WorkerOutput::LogEnabled() const {
  return services_.settings != nullptr && services_.log != nullptr &&
         shell::ReadSetting(*services_.settings, &shell::Settings::WriteLog);
}

void WorkerOutput::Log(std::string_view entry) {
  if (LogEnabled()) services_.log->WriteEntry(entry);
}

} // namespace engine
