#include "Theme.h"

#include <QApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QPalette>
#include <QStyleFactory>
#include <QWidget>

namespace ui::theme {

QFont UiFont(double pointSize, int weight) {
  QFont font;
  font.setFamilies({"Inter", "Cantarell", "Noto Sans", "DejaVu Sans", "Sans Serif"});
  font.setPointSizeF(pointSize);
  font.setWeight(static_cast<QFont::Weight>(weight));
  font.setHintingPreference(QFont::PreferNoHinting);
  font.setStyleStrategy(QFont::PreferAntialias);
  return font;
}

void PaintDialogBackground(QWidget *dialog) {
  QPainter p(dialog);
  QLinearGradient g(0, 0, 0, dialog->height());
  g.setColorAt(0, kCard);
  g.setColorAt(1, kBodyTop);
  p.fillRect(dialog->rect(), g);
  p.fillRect(QRect(0, 0, dialog->width(), 4), kAccent);
}

void ApplyApplicationLook() {
  if (QStyle *fusion = QStyleFactory::create("Fusion")) QApplication::setStyle(fusion);
  QPalette p = QApplication::palette();
  p.setColor(QPalette::Window, kBodyTop);
  p.setColor(QPalette::WindowText, kInk);
  p.setColor(QPalette::Base, Qt::white);
  p.setColor(QPalette::AlternateBase, kBodyTop);
  p.setColor(QPalette::Text, kInk);
  p.setColor(QPalette::Button, QColor(0xF8, 0xFA, 0xFC));
  p.setColor(QPalette::ButtonText, kInk);
  p.setColor(QPalette::Highlight, kAccent);
  p.setColor(QPalette::HighlightedText, Qt::white);
  p.setColor(QPalette::ToolTipBase, kInk);
  p.setColor(QPalette::ToolTipText, Qt::white);
  p.setColor(QPalette::Link, kAccent);
  QApplication::setPalette(p);
  QApplication::setFont(UiFont(9.5));
}

QString StyleSheet() {
  return QStringLiteral(R"(
QLabel { color: #1E293B; }
QLabel[role="muted"] { color: #64748B; }
QLabel[role="title"] { color: #1B2A6B; }
QLabel[role="status"] { color: #DC2626; }
QLineEdit, QComboBox {
  border: 1px solid #CBD5E1; border-radius: 6px; padding: 4px 8px;
  background: #FFFFFF; color: #1E293B; selection-background-color: #2563EB;
}
QLineEdit:focus, QComboBox:focus { border: 1px solid #2563EB; background: #FBFDFF; }
QLineEdit:disabled, QComboBox:disabled { background: #F1F5F9; color: #94A3B8; }
QPushButton {
  border: 1px solid #CBD5E1; border-radius: 6px; padding: 5px 14px;
  background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #FFFFFF, stop:1 #F1F5F9);
  color: #1E293B;
}
QPushButton:hover { border-color: #94A3B8; }
QPushButton:pressed { background: #E2E8F0; }
QPushButton:disabled { color: #94A3B8; }
QPushButton[role="primary"] {
  border: 1px solid #1D4ED8; color: #FFFFFF; font-weight: 600;
  background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #3B82F6, stop:1 #2563EB);
}
QPushButton[role="primary"]:hover {
  background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #4F8FF7, stop:1 #2F6BEE);
}
QPushButton[role="primary"]:pressed { background: #1D4ED8; }
QPushButton[role="primary"]:disabled { border-color: #BFDBFE; background: #BFDBFE; color: #EFF6FF; }
QPushButton[role="link"] {
  border: none; background: transparent; color: #2563EB; padding: 4px 2px;
  text-decoration: underline;
}
QPushButton[role="link"]:hover { color: #1D4ED8; }
QCheckBox { color: #334155; spacing: 7px; }
QGroupBox {
  border: 1px solid #D5DDEA; border-radius: 8px; margin-top: 12px; padding: 10px 8px 8px 8px;
}
QGroupBox::title { subcontrol-origin: margin; left: 10px; padding: 0 4px; color: #1B2A6B; }
)");
}

} // namespace ui::theme
