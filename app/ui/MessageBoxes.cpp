#include "MessageBoxes.h"

#include "TestTrace.h"

#include "engine/UserPrompt.h"

#include <QCheckBox>
#include <QMessageBox>

namespace ui {

namespace {
MessageBoxes::Hook &CurrentHook() {
  static MessageBoxes::Hook hook;
  return hook;
}

MessageBoxes::CheckHook &CurrentCheckHook() {
  static MessageBoxes::CheckHook hook;
  return hook;
}

QString Displayed(QString text) {
  return text.replace("\r\n", "\n");
}
} // namespace

void MessageBoxes::SetHook(Hook hook) {
  CurrentHook() = std::move(hook);
}

void MessageBoxes::SetCheckHook(CheckHook hook) {
  CurrentCheckHook() = std::move(hook);
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

namespace {

// `checked`, when given, adds the "Don't show again" check box and receives
// its state.
int Exec(QWidget *owner, const QString &text, const QString &caption, unsigned style,
         bool *checked) {
  QMessageBox box(owner);
  box.setWindowTitle(Displayed(caption));
  box.setTextFormat(Qt::PlainText);
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
  QCheckBox *check = nullptr;
  if (checked) {
    check = new QCheckBox("Don't show again"); // the box owns it
    check->setObjectName("dontShowAgain");
    check->setAccessibleName("Don't show again");
    box.setCheckBox(check);
  }
  int answer = engine::kAnswerOk;
  if ((style & 0x0F) == engine::kBoxYesNo) {
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    box.setDefaultButton(QMessageBox::Yes);
    answer = box.exec() == QMessageBox::Yes ? engine::kAnswerYes : engine::kAnswerNo;
  } else {
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
  }
  if (checked) *checked = check->isChecked();
  return answer;
}

} // namespace

int MessageBoxes::Show(QWidget *owner, const QString &text, const QString &caption,
                       unsigned style) {
  if (auto answer = Intercept({caption, text, QString(), style})) return *answer;
  return Exec(owner, text, caption, style, nullptr);
}

CheckedAnswer MessageBoxes::ShowChecked(QWidget *owner, const QString &text,
                                        const QString &caption, unsigned style) {
  const BoxRecord record{caption, text, QString(), style, true};
  if (auto answer = Intercept(record)) {
    const bool checked = CurrentCheckHook() ? CurrentCheckHook()(record) : false;
    return {*answer, checked};
  }
  bool checked = false;
  const int button = Exec(owner, text, caption, style, &checked);
  return {button, checked};
}

} // namespace ui
