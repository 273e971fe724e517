#pragma once
// The Options page: the user's settings in seven groups (preferences, send
// options, scheduled message defaults, extra settings, the HTTP proxy, the
// mail client profile and the voucher), the switch between working online
// and offline, redeeming vouchers, buying credits, help and the balance.
//
// The controls are a view of the settings record between LoadPage and
// StorePage (OptionsForm holds the conversion), except the radios of the
// online state, the schedule mode and the data source, which write their
// setting at the click. Gateway calls (TokenPay, the session read, the
// login, the proxy test) wait on the network off the user-interface thread.

#include "OptionsForm.h"
#include "PageFrame.h"
#include "UiContext.h"

#include <array>

class QButtonGroup;
class QComboBox;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace shell {
struct Settings;
}

namespace ui {

class BalanceLabel;

class OptionsPage : public PageFrame {
  Q_OBJECT
public:
  static constexpr int kWidth = 632;
  static constexpr int kHeight = 352;
  static constexpr int kPrefixLength = 12;
  static constexpr int kSignatureLength = 160;
  static constexpr int kSenderIdLength = 20;
  // Texts read from the other edits fit the program's 255-character buffers.
  static constexpr int kTextLength = 254;

  OptionsPage(const UiContext &context, QWidget *parent = nullptr);
  ~OptionsPage() override;

  // Settings to controls.
  void LoadPage();
  // Controls to settings, then SaveSettings.
  void StorePage();
  // Radio 1065: stores the page and logs in; a failed login leaves the
  // program offline with message 1397.
  void GoOnline();
  // Radio 1066 and UM_ACCOUNT_CHANGED: WorkingOnLine := off, UM_WENT_OFFLINE
  // to the main window, radios and balance redrawn.
  void GoOffline();
  // The proxy-apply step on the page's proxy entries ("Test" forces it).
  int ApplyProxy(bool force);
  void Redeem();
  void ClearVoucher();
  void BuyCredits();
  void OpenHelp();
  // The balance label's context menu (only online, only over the label):
  // "Update Balance" posts UM_BALANCE_CHANGED to the main window. `pos` is
  // in page coordinates.
  void ShowBalanceMenu(const QPoint &pos, const QPoint &globalPos);

  // The controls' current values.
  OptionsForm Form() const;

  BalanceLabel *Balance() const { return balance_; }
  void ShowBalance();
  int LoadCount() const { return loads_; }
  int StoreCount() const { return stores_; }

  // A toggle shows "X" when on and nothing when off.
  static bool IsOn(const QPushButton *toggle);

signals:
  // Query the balance and redraw the balance labels and the SMS page's
  // counters (the main window hands this to the SMS page).
  void RefreshRequested();

protected:
  bool event(QEvent *event) override;
  void contextMenuEvent(QContextMenuEvent *event) override;

private:
  void Build();
  QPushButton *MakeToggle(int id, const QString &accessibleName);
  QLineEdit *MakeEdit(int id, int maxLength, const QString &accessibleName);
  void Flip(QPushButton *toggle);
  void ForceSenderIdClicked();
  void ScheduleClicked(bool toServer);
  void DataSourceClicked(bool mailClient);
  void ModeChanged();
  void UpdateProxyEnabled();
  void ShowOnline(bool online);
  void ShowSchedule(bool toServer);
  void ShowDataSource(bool mailClient);
  // A radio's setting, written at the click.
  void WriteSetting(bool shell::Settings::*setting, bool on);
  void ShowForm(const OptionsForm &form);
  void Refresh();
  void PostToWindow(unsigned message);
  void Box(int textId, int captionId, unsigned style);

  UiContext context_;
  BalanceLabel *balance_ = nullptr;
  QLineEdit *prefix_ = nullptr;
  QLineEdit *signature_ = nullptr;
  QPushButton *writeLog_ = nullptr;
  QPushButton *spanSms_ = nullptr;
  QPushButton *deliveryAcks_ = nullptr;
  QPushButton *forceSenderId_ = nullptr;
  QLabel *forceSenderIdLabel_ = nullptr;
  QRadioButton *online_ = nullptr;
  QRadioButton *offline_ = nullptr;
  QRadioButton *toServer_ = nullptr;
  QRadioButton *keepLocal_ = nullptr;
  QComboBox *days_ = nullptr;
  QLineEdit *senderId_ = nullptr;
  QCheckBox *startMinimized_ = nullptr;
  QComboBox *proxyMode_ = nullptr;
  QLineEdit *proxyHost_ = nullptr;
  QLineEdit *proxyPort_ = nullptr;
  QLineEdit *proxyUser_ = nullptr;
  QLineEdit *proxyPassword_ = nullptr;
  QRadioButton *mailClient_ = nullptr;
  QRadioButton *vCards_ = nullptr;
  QLineEdit *profileName_ = nullptr;
  QLineEdit *profilePassword_ = nullptr;
  std::array<QLineEdit *, 4> voucher_{};
  QPushButton *help_ = nullptr;
  QPushButton *ok_ = nullptr;
  bool loading_ = false;
  // A gateway call is waiting: further actions are ignored until it ends.
  bool busy_ = false;
  int loads_ = 0;
  int stores_ = 0;
};

} // namespace ui
