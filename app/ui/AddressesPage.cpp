#include "AddressesPage.h"

#include "ControlIds.h"

namespace ui {

AddressesPage::AddressesPage(QWidget *parent)
    : PageFrame(ids::kPageAddresses, "Addresses", QSize(kWidth, kHeight), parent) {
  SetPlaceholder("Your contacts and groups live here.");
}

} // namespace ui
