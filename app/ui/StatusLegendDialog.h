#pragma once
// The Outbox page's "Help": a modal list of the 18 message statuses in code
// order, each with its icon, its name and its description (strings 1520 to
// 1537, loaded once, on first use).

#include <QDialog>
#include <QStringList>

namespace ui {

class StatusLegendDialog : public QDialog {
  Q_OBJECT
public:
  explicit StatusLegendDialog(QWidget *parent = nullptr);

  // The 18 descriptions, read from the string table the first time.
  static const QStringList &Descriptions();
};

} // namespace ui
