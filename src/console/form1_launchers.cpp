#include "common/settings.h"
#include "common/timed_box.h"
#include "console/console_fields.h"
#include "console/form1.h"
#include "console/web_address.h"
#include "console/window_snapshot.h"
#include "imct/form4.h"
#include "imct/form8.h"
#include "imct/form9.h"
#include "monitors/pilotboard/board_monitor_kinds.h"
#include "monitors/registration/form2.h"
#include "platform/desktop.h"

namespace tidex {
namespace {

using MonitorKind = Form1::MonitorKind;

Form& createMonitor(ConsoleState& console, MonitorKind kind) {
  Desktop& desktop = Desktop::current();
  switch (kind) {
    case MonitorKind::Registration:
      return desktop.load<Form2>(console);
    case MonitorKind::Vessel:
      return desktop.load<Form3>(console);
    case MonitorKind::Wharf:
      return desktop.load<Form6>(console);
    case MonitorKind::Url:
      break;
  }
  return desktop.load<Form7>(console);
}

template <class W>
void openVerificationWindow(ConsoleState& console) {
  W& window = Desktop::current().load<W>(console);
  window.setCaption(QStringLiteral("卸貨淮單清表查詢"));
  window.Show();
}

}  // namespace

void Form1::wireLaunchers() {
  Command1.onClick = [this] { Command1_Click(); };
  Command2.onClick = [this] { Command2_Click(); };
  Command3.onClick = [this] { Command3_Click(); };
  Command4.onClick = [this] { Command4_Click(); };
  Command5.onClick = [this] { Command5_Click(); };
  Command6.onClick = [this] { Command6_Click(); };
  Command7.onClick = [this] { Command7_Click(); };
  Command8.onClick = [this] { Command8_Click(); };
  Command9.onClick = [this] { Command9_Click(); };
  Command10.onClick = [this] { Command10_Click(); };
  Command11.onClick = [this] { Command11_Click(); };
  Command12.onClick = [this] { Command12_Click(); };
  Command13.onClick = [this] { Command13_Click(); };
  Command14.onClick = [this] { Command14_Click(); };
  Text4.onMouseDown = [this](int b, int s, int x, int y) { Text4_MouseDown(b, s, x, y); };
  Timer1.onTimer = [this] { Timer1_Timer(); };
  Timer2.onTimer = [this] { Timer2_Timer(); };
  Timer3.onTimer = [this] { Timer3_Timer(); };
  Timer4.onTimer = [this] { Timer4_Timer(); };
  Timer5.onTimer = [this] { Timer5_Timer(); };
  Timer6.onTimer = [this] { Timer6_Timer(); };
  Timer7.onTimer = [this] { Timer7_Timer(); };
  Timer8.onTimer = [this] { Timer8_Timer(); };
  mGetVar.onClick = [this] { mGetVar_Click(); };
  WebBrowser3.onDocumentComplete = [this](HtmlDocument&, const QString&, bool) {
    WebBrowser3_DocumentComplete();
  };
  for (TextBox* field : {&Text1, &Text2, &Text3, &Text4, &Text9, &Text11, &Text12, &Text13}) {
    field->onGotFocus = [this, field] { SelectAllOnFocus(*field); };
  }
  Text3.onChange = [this] { Text3_Change(); };
  Text5.onChange = [this] { Text5_Change(); };
}

Task Form1::LaunchSingle(TextBox& field, bool upperCase, QString refusal, MonitorKind kind) {
  if (upperCase) field.setText(field.Text().toUpper());
  if (kind == MonitorKind::Url) {
    // A file, script or data address would be shown and compared like a page: web pages only.
    const std::optional<QString> address = WatchedPageAddress(field.Text());
    if (!address) {
      co_await ShowTimedBox(QStringLiteral("此URL無效，請輸入 http 或 https 網址！ "), OkOnly);
      co_return;
    }
    field.setText(*address);  // the monitor reads its address from the field as it loads
  }
  const QString item = field.Text();
  if (IsRunning(TakeWindowSnapshot(Text8), item)) {
    co_await ShowTimedBox(refusal, OkOnly);
    co_return;
  }
  Form& window = createMonitor(*this, kind);
  window.setCaption(item);
  window.Show();
  if (kind != MonitorKind::Registration) co_return;
  Text4.setLocked(true);
  Command1.setEnabled(false);
  SaveConsoleFields(*this, true);
  MaskAccount();
}

Task Form1::Command2_Click() {
  return LaunchSingle(Text3, true, QStringLiteral("此海掛執行中，請查詢運作中的海掛！ "),
                      MonitorKind::Registration);
}

Task Form1::Command7_Click() {
  return LaunchSingle(Text9, true, QStringLiteral("此船名執行中，請查詢運作中的海掛！ "),
                      MonitorKind::Vessel);
}

Task Form1::Command10_Click() {
  return LaunchSingle(Text12, true, QStringLiteral("此碼頭執行中，請查詢運作中的海掛！ "),
                      MonitorKind::Wharf);
}

Task Form1::Command12_Click() {
  return LaunchSingle(Text13, false, QStringLiteral("此URL執行中，請查詢運作中的海掛！ "),
                      MonitorKind::Url);
}

void Form1::Command3_Click() {
  Text4.setText(QString());
  Text4.setText(RunningMonitorCaptions());
  Label6.setCaption(QString::number(Text4.Text().count(QStringLiteral("\r\n"))));
}

void Form1::Command4_Click() {
  WriteSetting(QStringLiteral("setup"), QStringLiteral("004"), QStringLiteral("1"));
  Timer1.setEnabled(true);
}

void Form1::Command6_Click() { Timer2.setEnabled(true); }

void Form1::Command8_Click() { openVerificationWindow<Form4>(*this); }

void Form1::Command13_Click() { openVerificationWindow<Form8>(*this); }

void Form1::Command14_Click() { openVerificationWindow<Form9>(*this); }

void Form1::MaskAccount() {
  Text1.setPasswordChar(QLatin1Char('*'));
  Text1.setEnabled(false);
  Text2.setEnabled(false);
}

}  // namespace tidex
