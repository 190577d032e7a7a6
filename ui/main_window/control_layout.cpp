// The window as designed: menus, controls at their client coordinates, the
// settings panel and the status bar. No behaviour beyond wiring lives here.
#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QToolButton>
#include <initializer_list>
#include <iterator>

#include "link/camera_items.h"
#include "link/line_speeds.h"
#include "ui/dialogs/adapters_form.h"
#include "ui/main_window/control_camera_panel.h"
#include "ui/main_window/control_form.h"
#include "ui/main_window/control_panel_table.h"
#include "ui/main_window/port_return.h"
#include "ui/tools/installer_tools.h"
#include "ui/widgets/choice_group.h"
#include "ui/widgets/control_jpeg.h"
#include "ui/widgets/control_shape.h"
#include "ui/widgets/control_up_down.h"
#include "ui/widgets/help_key.h"

namespace {

// Help topics of the Baud rate and Protocol menus and of each of their items.
constexpr int kBaudContext = 29;
constexpr int kProtocolContext = 21;
constexpr int kListWidth = 81;
constexpr int kListHeight = 21;
// clCream of the form designer.
const QColor kCream(255, 251, 240);
const QColor kSilver(192, 192, 192);

QFont LabelFont() {
  QFont font(QStringLiteral("Arial"));
  font.setPixelSize(19);
  font.setBold(true);
  return font;
}

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& caption, int x, int y,
                  const QFont& font) {
  auto* label = new QLabel(caption, parent);
  label->setObjectName(QString::fromLatin1(name));
  label->setFont(font);
  label->move(x, y);
  label->adjustSize();
  return label;
}

QComboBox* MakeList(QWidget* parent, PanelControl control, const char* name, int x, int y) {
  auto* list = new QComboBox(parent);
  list->setObjectName(QString::fromLatin1(name));
  for (const std::string& entry : ListEntries(control)) {
    list->addItem(QString::fromStdString(entry));
  }
  list->setGeometry(x, y, kListWidth, kListHeight);
  list->setEditable(false);
  if (const CameraItem* item = ItemOfControl(control)) SetHelpContext(list, item->helpContext);
  return list;
}

QToolButton* MakeSpeedButton(QWidget* parent, const char* name, const QString& glyph, int x, int y,
                             int width, int height, int context) {
  auto* button = new QToolButton(parent);
  button->setObjectName(QString::fromLatin1(name));
  const QPixmap pixmap(glyph);
  button->setIcon(QIcon(pixmap));
  button->setIconSize(pixmap.size());
  button->setGeometry(x, y, width, height);
  button->setFocusPolicy(Qt::NoFocus);
  SetHelpContext(button, context);
  return button;
}

QAction* MakeItem(QMenu* menu, const char* name, const QString& caption, int context,
                  bool checkable) {
  QAction* action = menu->addAction(caption);
  action->setObjectName(QString::fromLatin1(name));
  action->setCheckable(checkable);
  if (context > 0) SetHelpContext(action, context);
  return action;
}

QMenu* MakeMenu(QMenuBar* bar, const char* name, const QString& caption, int context) {
  QMenu* menu = bar->addMenu(caption);
  menu->setObjectName(QString::fromLatin1(name));
  if (context > 0) {
    SetHelpContext(menu, context);
    SetHelpContext(menu->menuAction(), context);
  }
  return menu;
}

// A checkable item of the Baud rate or Protocol menu, carrying its code.
QAction* MakeCodeItem(QMenu* menu, const char* name, const QString& caption, int context,
                      uint8_t code) {
  QAction* action = MakeItem(menu, name, caption, context, true);
  action->setData(code);
  return action;
}

ChoiceGroup* MakeChoice(QObject* parent, std::initializer_list<QAction*> items) {
  auto* group = new ChoiceGroup(parent);
  for (QAction* item : items) group->addAction(item);
  return group;
}

}  // namespace

void TForm1::BuildMenus() {
  RS422SetMenu = menuBar();
  RS422SetMenu->setObjectName(QStringLiteral("RS422SetMenu"));

  File1 = MakeMenu(RS422SetMenu, "File1", QStringLiteral("&File"), 0);
  Open1 = MakeItem(File1, "Open1", QStringLiteral("&Open..."), 11, false);
  SaveAs1 = MakeItem(File1, "SaveAs1", QStringLiteral("Save &As..."), 12, false);

  COMPORT1 = MakeMenu(RS422SetMenu, "COMPORT1", QStringLiteral("Port"), 16);
  SerialCOM1 = MakeItem(COMPORT1, "SerialCOM1", QStringLiteral("COM1"), 16, true);
  SerialCOM2 = MakeItem(COMPORT1, "SerialCOM2", QStringLiteral("COM2"), 16, true);
  portChoice_ = MakeChoice(this, {SerialCOM1, SerialCOM2});
  COMPORT1->addSeparator();
  Adapters =
      MakeItem(COMPORT1, "Adapters", QStringLiteral("Adapters..."), kAdaptersHelpContext, false);

  ADDRESSSET1 = MakeMenu(RS422SetMenu, "ADDRESSSET1", QStringLiteral("Baud rate"), kBaudContext);
  baudChoice_ = new ChoiceGroup(this);
  for (uint8_t code = 0; code < kLineSpeedCount; ++code) {
    const QString rate = QString::number(kLineSpeeds[code].bitsPerSecond);
    const QByteArray name = "BR" + rate.toLatin1();
    baudChoice_->addAction(MakeCodeItem(ADDRESSSET1, name.constData(), rate, kBaudContext, code));
  }

  Protocol1 = MakeMenu(RS422SetMenu, "Protocol1", QStringLiteral("Protocol"), kProtocolContext);
  protocolChoice_ = new ChoiceGroup(this);
  for (size_t code = 0; code < PtzProtocolCount(); ++code) {
    const PtzProtocolRow& row = PtzProtocolOf(PtzProtocolAt(code));
    protocolChoice_->addAction(MakeCodeItem(Protocol1, row.menuItem,
                                            QString::fromLatin1(row.menuCaption), kProtocolContext,
                                            static_cast<uint8_t>(code)));
  }

  R1 = MakeMenu(RS422SetMenu, "R1", QStringLiteral("Tools"), 0);
  GetRS422SETS1 = MakeItem(R1, "GetRS422SETS1", QStringLiteral("Get Protocol State"), 26, false);
  ImageTime = MakeItem(R1, "ImageTime", QStringLiteral("Image Delay Time"), 27, false);
  ChangPassword = MakeItem(R1, "ChangPassword", QStringLiteral("Chang Password"), 28, false);
  AddInstallerTools(*this, R1);

  Help = MakeMenu(RS422SetMenu, "Help", QStringLiteral("Help"), 0);
  Help1 = MakeItem(Help, "Help1", QStringLiteral("Contens"), 0, false);
  about2 = MakeItem(Help, "about2", QStringLiteral("About"), 0, false);
}

void TForm1::BuildControls() {
  Client = new QWidget(this);
  Client->setObjectName(QStringLiteral("Client"));
  Client->setFixedSize(kClientWidth, kClientHeight);
  Client->setAutoFillBackground(true);
  QPalette palette = Client->palette();
  palette.setColor(QPalette::Window, kCream);
  Client->setPalette(palette);
  setCentralWidget(Client);

  // Created in this order, so the keyboard moves through them in it.
  BuildSpeedButtons(
      {{&TForm1::ColSpeed, "ColSpeed", "colour", 520, 8, 33, 33, 36},
       {&TForm1::WBSpeed, "WBSpeed", "white_balance", 552, 8, 33, 33, 37},
       {&TForm1::OSDOnSpeed, "OSDOnSpeed", "osd_on", 584, 8, 33, 33, 38},
       {&TForm1::ProtocolSpeed, "ProtocolSpeed", "protocol_speed", 616, 8, 33, 33, 39}});
  BuildAddressLists();
  BuildTransferButtons();
  BuildSpeedButtons({{&TForm1::UpButton, "UpButton", "up", 568, 240, 33, 33, 41},
                     {&TForm1::LeftButton, "LeftButton", "left", 528, 280, 31, 33, 43},
                     {&TForm1::SelectButton, "SelectButton", "select", 568, 280, 33, 35, 45},
                     {&TForm1::RightButton, "RightButton", "right", 608, 280, 33, 33, 44},
                     {&TForm1::DownButton, "DownButton", "down", 568, 320, 33, 33, 42}});
  BuildPanel();
  BuildStatusBar();
}

void TForm1::BuildSpeedButtons(std::initializer_list<SpeedButtonRow> rows) {
  for (const SpeedButtonRow& row : rows) {
    this->*row.button =
        MakeSpeedButton(Client, row.name, QStringLiteral(":/zelta/%1.png").arg(row.glyph), row.x,
                        row.y, row.width, row.height, row.helpContext);
  }
}

void TForm1::BuildAddressLists() {
  QFont addressFont = font();
  addressFont.setPixelSize(16);
  addressFont.setBold(true);
  AddreLabel = MakeLabel(Client, "AddreLabel", QStringLiteral("ADDRESS"), 536, 48, addressFont);

  const auto makeAddress = [this](const char* name, int x, int digits) {
    auto* list = new QComboBox(Client);
    list->setObjectName(QString::fromLatin1(name));
    for (int digit = 0; digit < digits; ++digit) list->addItem(QString::number(digit));
    list->setGeometry(x, 72, 41, kListHeight);
    SetHelpContext(list, 81);
    return list;
  };
  HundredAdd = makeAddress("HundredAdd", 520, 2);
  TenAdd = makeAddress("TenAdd", 560, 10);
  UnitAdd = makeAddress("UnitAdd", 600, 10);
  setTabOrder(HundredAdd, TenAdd);
  setTabOrder(TenAdd, UnitAdd);
}

void TForm1::BuildTransferButtons() {
  QFont boldFont = font();
  boldFont.setBold(true);
  const auto makeButton = [&](const char* name, const QString& caption, int y, int context) {
    auto* button = new QPushButton(caption, Client);
    button->setObjectName(QString::fromLatin1(name));
    button->setFont(boldFont);
    button->setGeometry(520, y, 121, 25);
    button->setEnabled(false);
    SetHelpContext(button, context);
    return button;
  };
  ReadButton = makeButton("ReadButton", QStringLiteral("Read Camera"), 128, 46);
  WriteButton = makeButton("WriteButton", QStringLiteral("Write Camera"), 168, 47);
}

void TForm1::BuildPanel() {
  Panel1 = new QFrame(Client);
  Panel1->setObjectName(QStringLiteral("Panel1"));
  Panel1->setGeometry(0, 0, 513, 385);
  Panel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  Panel1->setLineWidth(1);
  Panel1->setAutoFillBackground(true);
  QPalette palette = Panel1->palette();
  palette.setColor(QPalette::Window, kSilver);
  Panel1->setPalette(palette);
  BuildPanelPicture();

  const QFont labelFont = LabelFont();
  for (const PanelLabelRow& row : kPanelLabels) {
    panelLabels_[row.control] =
        MakeLabel(Panel1, row.name, PanelCaption(row.control), row.x, row.y, labelFont);
  }
  for (const PanelListRow& row : kPanelLists) {
    panelLists_[row.control] = MakeList(Panel1, row.control, row.name, row.x, row.y);
  }
  BuildIdBox();
  BuildGainControls();

  LightShape = new TShape(Panel1);
  LightShape->setObjectName(QStringLiteral("LightShape"));
  LightShape->setGeometry(480, 8, 25, 25);

  FileMemo = new QPlainTextEdit(Panel1);
  FileMemo->setObjectName(QStringLiteral("FileMemo"));
  FileMemo->setLineWrapMode(QPlainTextEdit::NoWrap);
  FileMemo->hide();

  QWidget* previous = nullptr;
  for (const char* name : kPanelTabOrder) {
    QWidget* next = Panel1->findChild<QWidget*>(QString::fromLatin1(name));
    if (previous) setTabOrder(previous, next);
    previous = next;
  }
}

// The picture covers the whole face and lets every click through to the controls.
void TForm1::BuildPanelPicture() {
  BlueLable = new QLabel(Panel1);
  BlueLable->setObjectName(QStringLiteral("BlueLable"));
  BlueLable->setGeometry(0, 0, Panel1->width(), Panel1->height());
  BlueLable->setAttribute(Qt::WA_TransparentForMouseEvents);
  QFile picture(QStringLiteral(":/zelta/panel_background.jpg"));
  if (!picture.open(QIODevice::ReadOnly)) return;
  const QImage image = DecodeJpeg(picture.readAll());
  if (image.isNull()) return;
  BlueLable->setPixmap(QPixmap::fromImage(
      image.scaled(BlueLable->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation)));
}

void TForm1::BuildIdBox() {
  IdEdit = new QLineEdit(Panel1);
  IdEdit->setObjectName(QStringLiteral("IdEdit"));
  QFont idFont = font();
  idFont.setPixelSize(17);
  idFont.setUnderline(true);
  IdEdit->setFont(idFont);
  IdEdit->setGeometry(280, 280, 185, 25);
  SetHelpContext(IdEdit, ItemOfControl(PanelControl::IdEdit)->helpContext);
  KeyboardSpeed = MakeSpeedButton(Panel1, "KeyboardSpeed", QStringLiteral(":/zelta/keyboard.png"),
                                  472, 280, 25, 25, 40);
}

// A gain's number and up-down start at the item's default, hidden until the
// white balance is manual.
void TForm1::BuildGainControls() {
  const auto numEdit = [this](PanelControl gain, const char* name, int x) {
    const CameraItem* item = ItemOfControl(gain);
    auto* edit = new QLineEdit(QString::number(item->defaultValue), Panel1);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setGeometry(x, 80, 32, kListHeight);
    edit->setEnabled(false);
    SetHelpContext(edit, item->helpContext);
    return edit;
  };
  const auto upDown = [this](PanelControl gain, const char* name, int x) {
    const CameraItem* item = ItemOfControl(gain);
    auto* control = new TUpDown(Panel1);
    control->setObjectName(QString::fromLatin1(name));
    control->setGeometry(x, 80, 16, kListHeight);
    control->SetRange(kGainMin, kGainMax);
    control->SetPosition(item->defaultValue);
    SetHelpContext(control, item->helpContext);
    return control;
  };
  RedNumEdit = numEdit(PanelControl::RedUpDown, "RedNumEdit", 304);
  RedUpDown = upDown(PanelControl::RedUpDown, "RedUpDown", 336);
  BlueNumEdit = numEdit(PanelControl::BlueUpDown, "BlueNumEdit", 408);
  BlueUpDown = upDown(PanelControl::BlueUpDown, "BlueUpDown", 448);

  panel_->SetGainControlsVisible(false);
}

void TForm1::BuildStatusBar() {
  StatusBar = new QStatusBar(Client);
  StatusBar->setObjectName(QStringLiteral("StatusBar"));
  StatusBar->setSizeGripEnabled(false);
  StatusBar->setGeometry(0, kClientHeight - 19, kClientWidth, 19);
  const char* const design[] = {"Com port", "Baud Rate", "Protocol Type", ""};
  const int widths[] = {100, 100, 150, 50};
  for (size_t i = 0; i < StatusPanels.size(); ++i) {
    auto* panel = new QLabel(QString::fromLatin1(design[i]), StatusBar);
    panel->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setMinimumWidth(widths[i]);
    const bool last = i + 1 == StatusPanels.size();
    if (!last) panel->setFixedWidth(widths[i]);
    panel->setAlignment(last ? (Qt::AlignLeft | Qt::AlignVCenter) : Qt::AlignCenter);
    // The last panel takes the rest of the bar, so long transfer texts stay readable.
    StatusBar->addWidget(panel, last ? 1 : 0);
    StatusPanels[i] = panel;
  }
  PortAwayLabel = new QLabel(QString::fromLatin1(kPortAwayText), StatusBar);
  PortAwayLabel->setObjectName(QStringLiteral("PortAwayLabel"));
  PortAwayLabel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  StatusBar->addPermanentWidget(PortAwayLabel);
  PortAwayLabel->hide();
  StatusBar->raise();
}
