#include "PageFrame.h"

#include "ControlIds.h"
#include "Theme.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>

#include <QPainter>
#include <QPainterPath>

namespace ui {

PageFrame::PageFrame(int id, const QString &title, QSize size, QWidget *parent)
    : QWidget(parent), id_(id), title_(title) {
  setObjectName(QString::number(id));
  setAccessibleName(title); // a screen reader names the page by its title
  setFixedSize(size);
  setStyleSheet(theme::StyleSheet());
  setFont(theme::UiFont(9.5));
  hide();
}

QRect PageFrame::ContentRect() const {
  return rect().adjusted(kMargin, kTitleHeight + 8, -kMargin, -kMargin);
}

bool PageFrame::EditCommand(int id) {
  QWidget *focus = QApplication::focusWidget();
  if (!focus || !isAncestorOf(focus)) return false;
  auto act = [id](auto *edit) {
    if (id == ids::kEditCut)
      edit->cut();
    else if (id == ids::kEditCopy)
      edit->copy();
    else if (id == ids::kEditPaste)
      edit->paste();
    else
      return false;
    return true;
  };
  if (auto *line = qobject_cast<QLineEdit *>(focus)) return act(line);
  if (auto *text = qobject_cast<QTextEdit *>(focus)) return act(text);
  if (auto *plain = qobject_cast<QPlainTextEdit *>(focus)) return act(plain);
  return false;
}

void PageFrame::SetPlaceholder(const QString &text) {
  auto *label = new QLabel(text, this);
  label->setProperty("role", "muted");
  label->setAlignment(Qt::AlignCenter);
  label->setWordWrap(true);
  label->setGeometry(ContentRect().adjusted(40, 40, -40, -60));
  label->setFont(theme::UiFont(10));
}

void PageFrame::SetSubtitle(const QString &subtitle) {
  subtitle_ = subtitle;
  update();
}

void PageFrame::paintEvent(QPaintEvent *) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  QRectF card = QRectF(rect()).adjusted(2.5, 1.5, -2.5, -3.5);

  // Soft shadow, then the card.
  for (int i = 3; i >= 1; --i) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(15, 23, 42, 10 * (4 - i)));
    p.drawRoundedRect(card.translated(0, i * 0.7).adjusted(-i * 0.5, 0, i * 0.5, i * 0.5), 12, 12);
  }
  p.setPen(QPen(theme::kCardBorder, 1));
  p.setBrush(theme::kCard);
  p.drawRoundedRect(card, 12, 12);

  // Title with an accent bar.
  p.setPen(Qt::NoPen);
  p.setBrush(theme::kAccent);
  p.drawRoundedRect(QRectF(kMargin, 15, 4, 18), 2, 2);
  p.setPen(theme::kHeaderDeep);
  p.setFont(theme::UiFont(12.5, QFont::Bold));
  QRectF titleBox(kMargin + 12, 10, width() - 2 * kMargin - 12, 28);
  p.drawText(titleBox, Qt::AlignLeft | Qt::AlignVCenter, title_);
  if (!subtitle_.isEmpty()) {
    QFontMetrics fm(theme::UiFont(12.5, QFont::Bold));
    qreal x = titleBox.left() + fm.horizontalAdvance(title_) + 12;
    p.setPen(theme::kMuted);
    p.setFont(theme::UiFont(9));
    p.drawText(QRectF(x, 10, width() - x - kMargin, 28), Qt::AlignLeft | Qt::AlignVCenter,
               subtitle_);
  }
  p.setPen(QPen(QColor(0xE2, 0xE8, 0xF0), 1));
  p.drawLine(QPointF(kMargin, kTitleHeight + 0.5), QPointF(width() - kMargin, kTitleHeight + 0.5));
}

} // namespace ui
