#pragma once
// The message types the SMS page offers and which of its controls each type
// uses.

#include <array>

namespace compose {

// Control identifiers of the SMS page.
enum SmsPageControl : int {
  IdcInsertName = 1034,
  IdcInsertTitle = 1035,
  IdcInsertSurname = 1036,
  IdcInsertCustom = 1037,
  IdcInsertSignature = 1038,
  IdcSchedule = 1039,
  IdcSend = 1040,
  IdcCounter = 1041,
  IdcEditor = 1043,
  IdcBrowse = 1087,
  IdcFileName = 1088,
  IdcPreview = 1125,
};

// One entry of the type list: its text (a string id) and its item value
// (the message type code).
struct TypeListEntry {
  int stringId;
  int type;
};

// "Text", "Flash", "Unicode", "Nokia vCard", "Nokia vCal", in this order.
inline constexpr std::array<TypeListEntry, 5> kTypeList = {{
    {1312, 0},
    {1313, 1},
    {1314, 2},
    {1318, 6},
    {1319, 7},
}};

// What the page shows and enables for a type.
struct TypeControls {
  bool insertButtons = false; // the five insert buttons enabled
  bool editor = false;        // message editor shown
  bool fileChooser = false;   // "Browse ..." and the file name field shown
  bool preview = false;       // picture preview shown

  static TypeControls ForType(int type);

  bool operator==(const TypeControls &) const = default;
};

} // namespace compose
