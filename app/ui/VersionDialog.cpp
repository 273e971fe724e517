#include "VersionDialog.h"
#include "DialogParts.h"

#include "GatewayCall.h"
#include "IconFactory.h"
#include "Theme.h"
#include "UiText.h"

#include "engine/GatewayApi.h"
#include "update/FileVersion.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace ui {

int VersionDialog::Major() {
  return update::FileVersion::Own().Major();
}
int VersionDialog::Minor() {
  return update::FileVersion::Own().Minor();
}
int VersionDialog::Release() {
  return update::FileVersion::Own().Release();
}
int VersionDialog::Build() {
  return update::FileVersion::Own().Build();
}

VersionDialog::VersionDialog(const QString &programName, engine::GatewayApi *gateway,
                             QWidget *parent)
    : QDialog(parent) {
  setWindowTitle("Version information");
  setStyleSheet(theme::StyleSheet());
  setMinimumWidth(360);

  versionLine_ = FormatText(1488, Major(), Minor(), Release(), Build());
  std::string comms; // stays empty when the call failed
  if (gateway)
    comms = CallGateway(*gateway, [](engine::GatewayApi &g, std::string *r) {
              return g.Version(r);
            }).text;
  commsLine_ = FormatText(1489, comms);

  auto *icon = new QLabel(this);
  icon->setPixmap(IconFactory::Icon(IconFactory::kAppIcon).pixmap(48, 48));
  icon->setAlignment(Qt::AlignTop);
  auto *name = new QLabel(programName, this);
  name->setFont(theme::UiFont(14, QFont::Bold));
  name->setProperty("role", "title");
  auto *version = new QLabel(versionLine_, this);
  version->setObjectName("version");
  auto *commsLabel = new QLabel(commsLine_, this);
  commsLabel->setObjectName("comms");
  commsLabel->setProperty("role", "muted");
  commsLabel->setWordWrap(true);
  commsLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);

  auto *text = new QVBoxLayout;
  text->addWidget(name);
  text->addWidget(version);
  text->addWidget(commsLabel);
  auto *top = new QHBoxLayout;
  top->addWidget(icon);
  top->addSpacing(12);
  top->addLayout(text, 1);

  QPushButton *ok = DialogParts::OkButton(*this);
  auto *buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(ok);

  auto *layout = new QVBoxLayout(this);
  layout->setContentsMargins(20, 18, 20, 14);
  layout->addLayout(top);
  layout->addSpacing(12);
  layout->addLayout(buttons);
}

} // namespace ui
