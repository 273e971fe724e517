#include "TestTrace.h"

#include <QByteArray>
#include <QFile>

#include <csignal>
#include <cstdio>
#include <cstdlib>

namespace ui {

bool TestTrace::AutoAnswer() {
  const char *v = std::getenv("DOVETEXT_TEST_AUTOANSWER");
  return v != nullptr && *v != '\0';
}

bool TestTrace::AutoAnswerNegative() {
  const char *v = std::getenv("DOVETEXT_TEST_AUTOANSWER");
  return v != nullptr && QByteArray(v).toLower() == "no";
}

QString TestTrace::Escape(const QString &field) {
  QString out;
  out.reserve(field.size());
  for (QChar c : field) {
    if (c == '\\')
      out += "\\\\";
    else if (c == '\t')
      out += "\\t";
    else if (c == '\n')
      out += "\\n";
    else if (c == '\r')
      out += "\\r";
    else
      out += c;
  }
  return out;
}

void TestTrace::Write(const QString &kind, const QStringList &fields, bool toStderr) {
  QString line = kind;
  for (const QString &f : fields)
    line += "\t" + Escape(f);
  QByteArray bytes = line.toUtf8() + "\n";
  const char *path = std::getenv("DOVETEXT_TEST_LOG");
  if (path != nullptr && *path != '\0') {
    QFile file(QString::fromLocal8Bit(path));
    if (file.open(QIODevice::Append)) file.write(bytes);
  } else if (toStderr) {
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stderr);
    std::fflush(stderr);
  }
}

void TestTrace::Step(const QString &name) {
  Write("step", {name});
  const char *at = std::getenv("DOVETEXT_TEST_SIGNAL_AT");
  if (at != nullptr && name == QLatin1String(at)) std::raise(SIGTERM);
}

} // namespace ui
