#pragma once
// "Version information": the program's name and file version, and the
// version text the gateway library reports.

#include <QDialog>

namespace engine {
class GatewayApi;
}

namespace ui {

class VersionDialog : public QDialog {
  Q_OBJECT
public:
  VersionDialog(const QString &programName, engine::GatewayApi *gateway, QWidget *parent = nullptr);

  QString VersionLine() const { return versionLine_; }
  QString CommsLine() const { return commsLine_; }

  // The four parts of the program's file version.
  static int Major();
  static int Minor();
  static int Release();
  static int Build();

private:
  QString versionLine_;
  QString commsLine_;
};

} // namespace ui
