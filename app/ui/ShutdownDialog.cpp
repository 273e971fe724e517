#include "ShutdownDialog.h"

#include "ControlIds.h"
#include "Theme.h"
#include "WindowMessage.h"

#include "engine/WindowMessages.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

namespace ui {

namespace {
const char *const kStepTexts[ShutdownDialog::kSteps] = {
    "Completing SMS sending", "Stopping the scheduler", "Saving database", "Completed!"};
}

ShutdownDialog::ShutdownDialog(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
  setObjectName(QString::number(ids::kDialogShutdown));
  setWindowTitle("Shutting down ...");
  setStyleSheet(theme::StyleSheet());
  setFixedSize(340, 200);

  auto *title = new QLabel("Shutting down ...", this);
  title->setFont(theme::UiFont(13, QFont::Bold));
  title->setProperty("role", "title");
  auto *grid = new QGridLayout;
  grid->setHorizontalSpacing(10);
  grid->setVerticalSpacing(6);
  for (int i = 0; i < kSteps; ++i) {
    markers_[i] = new QLabel(this);
    markers_[i]->setFixedWidth(18);
    markers_[i]->setAlignment(Qt::AlignCenter);
    texts_[i] = new QLabel(kStepTexts[i], this);
    texts_[i]->setObjectName(QString("step%1").arg(i));
    grid->addWidget(markers_[i], i, 0);
    grid->addWidget(texts_[i], i, 1);
  }
  auto *layout = new QVBoxLayout(this);
  layout->setContentsMargins(22, 16, 22, 16);
  layout->addWidget(title);
  layout->addSpacing(8);
  layout->addLayout(grid);
  layout->addStretch(1);
  SetStep(0);
}

QString ShutdownDialog::StepText(int step) const {
  return step >= 0 && step < kSteps ? QString(kStepTexts[step]) : QString();
}

void ShutdownDialog::SetStep(int step) {
  step_ = step;
  for (int i = 0; i < kSteps; ++i) {
    QString marker;
    QString style;
    if (i < step) {
      marker = QString::fromUtf8("\u2714");
      style = "color: #16A34A;";
    } else if (i == step) {
      marker = QString::fromUtf8("\u25B6");
      style = "color: #2563EB;";
    } else {
      marker = QString::fromUtf8("\u2022");
      style = "color: #CBD5E1;";
    }
    markers_[i]->setText(marker);
    markers_[i]->setStyleSheet(style);
    texts_[i]->setStyleSheet(i == step  ? "color: #1E293B; font-weight: 600;"
                             : i < step ? "color: #475569;"
                                        : "color: #94A3B8;");
  }
  update();
}

bool ShutdownDialog::event(QEvent *event) {
  if (event->type() == MessageEventType(engine::WM_QUIT)) {
    quit_ = true;
    emit WorkerQuit();
    return true;
  }
  return QDialog::event(event);
}

void ShutdownDialog::paintEvent(QPaintEvent *) {
  theme::PaintDialogBackground(this);
}

// The window stays until the sequence closes it.
void ShutdownDialog::closeEvent(QCloseEvent *event) {
  event->ignore();
}
void ShutdownDialog::keyPressEvent(QKeyEvent *event) {
  if (event->key() != Qt::Key_Escape) QDialog::keyPressEvent(event);
}

} // namespace ui
