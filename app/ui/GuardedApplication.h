#pragma once
// The program's application object. Qt cannot carry an exception through
// its event delivery, so an exception that escapes a slot or an event
// handler is caught here: the first one is kept, and when the main event
// loop runs it is told to end. The entry then takes the exception up again
// (RethrowEscaped) and goes its "Unexpected error ..." way, with the normal
// teardown.

#include <QApplication>

#include <exception>

namespace ui {

class GuardedApplication : public QApplication {
  Q_OBJECT
public:
  GuardedApplication(int &argc, char **argv);

  bool notify(QObject *receiver, QEvent *event) override;

  // Runs the main event loop (QApplication::exec), so that an escaped
  // exception can end it.
  static int Exec();
  static bool InMainLoop();

  // Whether an exception escaped an event handler and was not taken up yet.
  static bool HasEscaped();
  // Throws the kept exception again (once); nothing when there is none.
  static void RethrowEscaped();

  // Keeps an exception caught around event delivery (the first one wins).
  static void Keep(std::exception_ptr error);
};

} // namespace ui
