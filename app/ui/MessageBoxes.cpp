#include "MessageBoxes.h"

#include "TestTrace.h"

#include "engine/UserPrompt.h"

#include <QMessageBox>

namespace ui {

namespace {
MessageBoxes::Hook &CurrentHook() {
  static MessageBoxes::Hook hook;
  return hook;
}

QString Displayed(QString text) {
  return text.replace("\r\n", "\n");
}
} // namespace

void MessageBoxes::SetHook(Hook hook) {
  CurrentHook() = std::move(hook);
}

int MessageBoxes::Affirmative(unsigned style) {
  return (style & 0x0F) == engine::kBoxYesNo ? engine::kAnswerYes : engine::kAnswerOk;
}

int MessageBoxes::Negative(unsigned style) {
  return (style & 0x0F) == engine::kBoxYesNo ? engine::kAnswerNo : engine::kAnswerOk;
}

std::optional<int> MessageBoxes::Intercept(const BoxRecord &box) {
  bool automatic = TestTrace::AutoAnswer();
  TestTrace::Write("box", {box.caption, box.text, box.address}, automatic);
  if (CurrentHook()) return CurrentHook()(box);
  if (automatic)
    return TestTrace::AutoAnswerNegative() ? Negative(box.style) : Affirmative(box.style);
  return std::nullopt;
}

int MessageBoxes::Show(QWidget *owner, const QString &text, const QString &caption,
                       unsigned style) {
  if (auto answer = Intercept({caption, text, QString(), style})) return *answer;

  QMessageBox box(owner);
  box.setWindowTitle(Displayed(caption));
  box.setText(Displayed(text));
  switch (style & 0xF0) {
  case engine::kBoxIconError:
    box.setIcon(QMessageBox::Critical);
    break;
  case engine::kBoxIconQuestion:
    box.setIcon(QMessageBox::Question);
    break;
  case kBoxIconWarning:
    box.setIcon(QMessageBox::Warning);
    break;
  case engine::kBoxIconInformation:
    box.setIcon(QMessageBox::Information);
    break;
  default:
    box.setIcon(QMessageBox::NoIcon);
    break;
  }
  if ((style & 0x0F) == engine::kBoxYesNo) {
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes ? engine::kAnswerYes : engine::kAnswerNo;
  }
  box.setStandardButtons(QMessageBox::Ok);
  box.exec();
  return engine::kAnswerOk;
}

} // namespace ui
