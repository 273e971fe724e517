#pragma once
// The 18 message status icons of the Outbox list and its legend, 14 x 14
// each, one per status code in code order, drawn by the program. Every icon
// differs from the others in shape, not only in colour: failures are red
// with a white mark in a circle (failed), triangle (error with message),
// square (delivery error) or diamond (routing error); successes are green
// checks; waiting states are blue or purple outlines.

#include <QIcon>
#include <QPixmap>

namespace ui {

class StatusIcons {
public:
  static constexpr int kSize = 14;
  static constexpr int kCount = 18;

  // The icon of a status code; the icon of Processing (10) stands in for a
  // code outside 0 to 17. Drawn once per code and device pixel ratio.
  static QPixmap Pixmap(int code, qreal devicePixelRatio = 1.0);
  // The icon for lists: on a selected row it is drawn on a white tile, so
  // it stays readable on the selection's colour.
  static QIcon Icon(int code);

private:
  static QPixmap OnSelection(int code, qreal devicePixelRatio);
  static QPixmap Draw(int code, qreal devicePixelRatio);
};

} // namespace ui
