#pragma once
// The program's colours, fonts and fixed geometry, in one place so the skin,
// the pages and the dialogs look of a piece.

#include <QColor>
#include <QFont>
#include <QString>

class QWidget;

namespace ui::theme {

// Skin size (the background bitmap); the window is 2 pixels larger.
inline constexpr int kSkinWidth = 656;
inline constexpr int kSkinHeight = 520;
// The band above the pages ends here (the pages are centred below it).
inline constexpr int kBandBottom = 109;
// The painted header ends just under the tabs, so a selected tab (drawn in
// the body's colour) joins the body.
inline constexpr int kHeaderBottom = 107;
// Only this top strip drags the window.
inline constexpr int kDragHeight = 80;
// The banner bitmap's place.
inline constexpr int kBannerX = 4;
inline constexpr int kBannerY = 4;
inline constexpr int kBannerWidth = 648;
inline constexpr int kBannerHeight = 81;

inline const QColor kHeaderDeep{0x1B, 0x2A, 0x6B};
inline const QColor kHeaderMid{0x25, 0x4E, 0xB0};
inline const QColor kHeaderLight{0x12, 0x9C, 0xC4};
inline const QColor kBodyTop{0xF4, 0xF7, 0xFC};
inline const QColor kBodyBottom{0xE6, 0xEC, 0xF5};
inline const QColor kCard{0xFF, 0xFF, 0xFF};
inline const QColor kCardBorder{0xD5, 0xDD, 0xEA};
inline const QColor kInk{0x1E, 0x29, 0x3B};
inline const QColor kMuted{0x64, 0x74, 0x8B};
inline const QColor kAccent{0x25, 0x63, 0xEB};
inline const QColor kAccentDark{0x1D, 0x4E, 0xD8};
inline const QColor kDanger{0xDC, 0x26, 0x26};
inline const QColor kSuccess{0x16, 0xA3, 0x4A};
inline const QColor kEdge{0x10, 0x1A, 0x3F};

QFont UiFont(double pointSize, int weight = QFont::Normal);

// The background of the small progress dialogs: a card fading into the
// body colour under an accent stripe.
void PaintDialogBackground(QWidget *dialog);

// The application-wide style, palette and font (called once at start).
void ApplyApplicationLook();

// The style sheet shared by the pages and dialogs (inputs, buttons, check
// boxes).
QString StyleSheet();

} // namespace ui::theme
