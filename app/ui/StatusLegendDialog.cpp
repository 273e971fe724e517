#include "StatusLegendDialog.h"
#include "DialogParts.h"

#include "ControlIds.h"
#include "OutboxTableModel.h"
#include "StatusIcons.h"
#include "Theme.h"
#include "UiText.h"

#include "shell/NameTables.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace ui {

const QStringList &StatusLegendDialog::Descriptions() {
  static const QStringList descriptions = [] {
    QStringList list;
    for (int code = 0; code < StatusIcons::kCount; ++code)
      list << Text(shell::NameTables::kStatusDescriptionBase + code);
    return list;
  }();
  return descriptions;
}

StatusLegendDialog::StatusLegendDialog(QWidget *parent) : QDialog(parent) {
  setObjectName(QString::number(ids::kDialogStatusLegend));
  setWindowTitle("Message status");
  setAccessibleName("Message status");
  setStyleSheet(theme::StyleSheet());
  setModal(true);

  auto *grid = new QGridLayout;
  grid->setHorizontalSpacing(10);
  grid->setVerticalSpacing(5);
  grid->setColumnStretch(2, 1);
  const QStringList &descriptions = Descriptions();
  for (int code = 0; code < StatusIcons::kCount; ++code) {
    const QString name = OutboxTableModel::StatusText(code);
    auto *icon = new QLabel(this);
    icon->setPixmap(StatusIcons::Pixmap(code, devicePixelRatioF()));
    icon->setFixedSize(StatusIcons::kSize, StatusIcons::kSize);
    icon->setAccessibleName(name);
    auto *label = new QLabel(name, this);
    label->setFont(theme::UiFont(9, QFont::DemiBold));
    auto *text = new QLabel(descriptions.value(code), this);
    text->setFont(theme::UiFont(9));
    text->setProperty("role", "muted");
    text->setWordWrap(true);
    text->setMinimumWidth(380);
    grid->addWidget(icon, code, 0, Qt::AlignVCenter);
    grid->addWidget(label, code, 1, Qt::AlignVCenter);
    grid->addWidget(text, code, 2, Qt::AlignVCenter);
  }

  QPushButton *ok = DialogParts::OkButton(*this);
  auto *buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(ok);

  auto *layout = new QVBoxLayout(this);
  layout->setContentsMargins(18, 16, 18, 14);
  layout->setSpacing(12);
  layout->addLayout(grid);
  layout->addLayout(buttons);
}

} // namespace ui
