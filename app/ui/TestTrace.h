#pragma once
// A test-only trace of what the program shows and does, switched on by the
// environment:
//
//   DOVETEXT_TEST_AUTOANSWER  when set, message boxes and dialogs that wait
//                             for the user are not shown but answered at
//                             once: "no" answers No (or Cancel), anything
//                             else answers Yes (or OK).
//   DOVETEXT_TEST_LOG         file to which every box ("box", caption, text,
//                             address) and every start-up and shut-down step
//                             ("step", name) is appended as one UTF-8 line
//                             of tab-separated fields; tabs, line breaks and
//                             backslashes inside a field are written as
//                             \t, \n, \r and \\. Without it, boxes answered
//                             automatically are written to stderr.
//   DOVETEXT_TEST_SIGNAL_AT   a step name: right after that step the program
//                             sends itself SIGTERM (the session ending at
//                             that point of start-up or shut-down).
//
// None of the variables changes anything else the program does.

#include <QString>
#include <QStringList>

namespace ui {

class TestTrace {
public:
  // True when DOVETEXT_TEST_AUTOANSWER is set.
  static bool AutoAnswer();
  // True when the automatic answer is the negative one ("no").
  static bool AutoAnswerNegative();

  // Appends one record (to the trace file, or to stderr when `toStderr`
  // and there is no trace file).
  static void Write(const QString &kind, const QStringList &fields, bool toStderr = false);
  static void Step(const QString &name);

  static QString Escape(const QString &field);
};

} // namespace ui
