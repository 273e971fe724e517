#include "QtUserDialogs.h"

#include "MessageBoxes.h"
#include "UiText.h"

#include "engine/UserPrompt.h"

#include <QFile>
#include <QFileDialog>
#include <QStringList>

namespace ui::userdialogs {

namespace {

FileHook &CurrentFileHook() {
  static FileHook hook;
  return hook;
}

unsigned IconStyle(contacts::MessageIcon icon) {
  switch (icon) {
  case contacts::MessageIcon::Information:
    return engine::kBoxIconInformation;
  case contacts::MessageIcon::Warning:
    return kBoxIconWarning;
  case contacts::MessageIcon::Error:
    return engine::kBoxIconError;
  case contacts::MessageIcon::Question:
    return engine::kBoxIconQuestion;
  case contacts::MessageIcon::None:
    break;
  }
  return 0;
}

// Paths are the file system's own bytes, never transcoded.
std::optional<std::string> Chosen(const QString &path) {
  if (path.isEmpty()) return std::nullopt;
  const QByteArray bytes = QFile::encodeName(path);
  return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

} // namespace

void SetFileHook(FileHook hook) {
  CurrentFileHook() = std::move(hook);
}

void ShowMessage(QWidget *owner, const std::string &caption, const std::string &text,
                 contacts::MessageIcon icon) {
  MessageBoxes::Show(owner, FromAnsi(text), FromAnsi(caption), engine::kBoxOk | IconStyle(icon));
}

bool AskYesNo(QWidget *owner, const std::string &caption, const std::string &text,
              contacts::MessageIcon icon) {
  return MessageBoxes::Show(owner, FromAnsi(text), FromAnsi(caption),
                            engine::kBoxYesNo | IconStyle(icon)) == engine::kAnswerYes;
}

contacts::CheckedAnswer AskWithDontShowAgain(QWidget *owner, const std::string &caption,
                                             const std::string &text, contacts::ButtonSet buttons,
                                             contacts::MessageIcon icon) {
  // The boxes offer OK, or Yes and No; a question with OK and Cancel is
  // asked with Yes and No.
  const bool question = buttons != contacts::ButtonSet::Ok;
  const CheckedAnswer answer =
      MessageBoxes::ShowChecked(owner, FromAnsi(text), FromAnsi(caption),
                                (question ? engine::kBoxYesNo : engine::kBoxOk) | IconStyle(icon));
  contacts::CheckedAnswer result;
  result.dontShowAgain = answer.dontShowAgain;
  const bool yes = answer.button == engine::kAnswerYes;
  switch (buttons) {
  case contacts::ButtonSet::Ok:
    result.button = contacts::DialogButton::Ok;
    break;
  case contacts::ButtonSet::OkCancel:
    result.button = yes ? contacts::DialogButton::Ok : contacts::DialogButton::Cancel;
    break;
  case contacts::ButtonSet::YesNo:
    result.button = yes ? contacts::DialogButton::Yes : contacts::DialogButton::No;
    break;
  }
  return result;
}

QString NameFilter(const std::string &filter) {
  QStringList filters;
  for (const auto &[label, pattern] : contacts::ParseFileFilter(filter)) {
    QString name = FromAnsi(label);
    if (int open = name.lastIndexOf(" ("); open > 0) name.truncate(open);
    QStringList patterns = FromAnsi(pattern).split(';', Qt::SkipEmptyParts);
    for (QString &p : patterns) {
      p = p.trimmed();
      if (p == "*.*") p = "*"; // every file, with or without an extension
    }
    filters << QString("%1 (%2)").arg(name, patterns.join(' '));
  }
  return filters.join(";;");
}

std::optional<std::string> ChooseFile(QWidget *owner, const contacts::FileChoice &choice,
                                      bool save) {
  if (CurrentFileHook()) return CurrentFileHook()(choice, save);
  const QString start = QFile::decodeName(QByteArray::fromStdString(choice.initialName));
  QFileDialog dialog(owner, save ? "Save As" : "Open", start, NameFilter(choice.filter));
  if (save) {
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    QString suffix = FromAnsi(choice.defaultExtension);
    suffix.remove("*.");
    if (!suffix.isEmpty()) dialog.setDefaultSuffix(suffix);
  } else {
    dialog.setFileMode(QFileDialog::ExistingFile);
  }
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return Chosen(dialog.selectedFiles().front());
}

} // namespace ui::userdialogs
