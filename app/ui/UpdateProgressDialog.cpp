#include "UpdateProgressDialog.h"

#include "ControlIds.h"
#include "Theme.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QVBoxLayout>

namespace ui {

namespace {
const char *const kStepTexts[UpdateProgressDialog::kSteps] = {
    "Contacting update server", "Looking for new update", "Downloading update",
    "Update downloaded, installing"};
constexpr int kMarkerSize = 16;
} // namespace

QPixmap UpdateProgressDialog::Marker(bool active) {
  QPixmap pixmap(kMarkerSize, kMarkerSize);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  QRectF circle(1.5, 1.5, kMarkerSize - 3, kMarkerSize - 3);
  if (active) {
    p.setPen(Qt::NoPen);
    p.setBrush(theme::kAccent);
    p.drawEllipse(circle);
    QPainterPath arrow;
    arrow.moveTo(6.5, 4.5);
    arrow.lineTo(11.5, 8);
    arrow.lineTo(6.5, 11.5);
    arrow.closeSubpath();
    p.setBrush(Qt::white);
    p.drawPath(arrow);
  } else {
    p.setPen(QPen(QColor(0xCB, 0xD5, 0xE1), 1.5));
    p.setBrush(theme::kCard);
    p.drawEllipse(circle);
  }
  return pixmap;
}

UpdateProgressDialog::UpdateProgressDialog(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
  setObjectName("UpdateProgress");
  setWindowTitle("Checking for updates ...");
  setModal(false);
  setStyleSheet(theme::StyleSheet());
  setFixedSize(360, 236);

  auto *title = new QLabel("Checking for updates ...", this);
  title->setFont(theme::UiFont(13, QFont::Bold));
  title->setProperty("role", "title");

  auto *grid = new QGridLayout;
  grid->setHorizontalSpacing(10);
  grid->setVerticalSpacing(7);
  for (int i = 0; i < kSteps; ++i) {
    markers_[i] = new QLabel(this);
    markers_[i]->setObjectName(QString::number(ids::kUpdateMarker + i));
    markers_[i]->setFixedSize(kMarkerSize, kMarkerSize);
    texts_[i] = new QLabel(kStepTexts[i], this);
    texts_[i]->setObjectName(QString::number(ids::kUpdateStep + i));
    texts_[i]->setAccessibleName(kStepTexts[i]);
    grid->addWidget(markers_[i], i, 0);
    grid->addWidget(texts_[i], i, 1);
  }
  grid->setColumnStretch(1, 1);

  size_ = new QLabel(this);
  size_->setObjectName(QString::number(ids::kUpdateSize));
  size_->setAccessibleName("Downloaded size");
  size_->setProperty("role", "muted");
  cancel_ = new QPushButton("Cancel", this);
  cancel_->setObjectName(QString::number(ids::kCancel));
  cancel_->setAccessibleName("Cancel");
  connect(cancel_, &QPushButton::clicked, this, &UpdateProgressDialog::CancelRequested);
  auto *bottom = new QHBoxLayout;
  bottom->addWidget(size_, 1);
  bottom->addWidget(cancel_);

  auto *layout = new QVBoxLayout(this);
  layout->setContentsMargins(22, 16, 22, 16);
  layout->addWidget(title);
  layout->addSpacing(8);
  layout->addLayout(grid);
  layout->addStretch(1);
  layout->addLayout(bottom);
  SetStep(0);
}

QString UpdateProgressDialog::StepText(int step) const {
  return step >= 0 && step < kSteps ? QString(kStepTexts[step]) : QString();
}

bool UpdateProgressDialog::StepIsActive(int step) const {
  return step >= 0 && step < kSteps && texts_[step]->isEnabled();
}

void UpdateProgressDialog::SetStep(int step) {
  step_ = step;
  const QPixmap active = Marker(true);
  const QPixmap inactive = Marker(false);
  for (int i = 0; i < kSteps; ++i) {
    bool current = i == step;
    markers_[i]->setPixmap(current ? active : inactive);
    markers_[i]->setAccessibleName(
        QString("%1: %2").arg(kStepTexts[i], current ? "current step" : "inactive"));
    texts_[i]->setEnabled(current);
    texts_[i]->setStyleSheet(current ? "color: #1E293B; font-weight: 600;" : "color: #94A3B8;");
  }
  update();
  emit StepChanged(step);
}

void UpdateProgressDialog::SetSizeText(const QString &text) {
  size_->setText(text);
}

QString UpdateProgressDialog::SizeText() const {
  return size_->text();
}

void UpdateProgressDialog::DisableCancel() {
  cancel_->setEnabled(false);
}

void UpdateProgressDialog::reject() {
  if (cancel_->isEnabled()) emit CancelRequested();
}

void UpdateProgressDialog::paintEvent(QPaintEvent *) {
  theme::PaintDialogBackground(this);
}

} // namespace ui
