#pragma once
// The Addresses page: contacts and groups join it later.

#include "PageFrame.h"

namespace ui {

class AddressesPage : public PageFrame {
  Q_OBJECT
public:
  static constexpr int kWidth = 632;
  static constexpr int kHeight = 352;

  explicit AddressesPage(QWidget *parent = nullptr);
};

} // namespace ui
