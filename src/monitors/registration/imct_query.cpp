#include "common/date_text.h"
#include "common/element_scan.h"
#include "common/imct_pages.h"
#include "common/page_wait.h"
#include "common/settings.h"
#include "monitors/registration/form2.h"
#include "platform/desktop.h"
#include "platform/message_box.h"

namespace tidex {

Task Form2::WebBrowser1_DocumentComplete() {
  if (const auto document = WebBrowser1.Document()) {
    // The account goes only to the IMCT server's own pages, never to another host's.
    const bool imctPage = IsOnImctServer(document->url());
    ScanInputs(*document, [&](HtmlElement& input) {
      if (input.Name() == QStringLiteral("UserName") && imctPage) {
        input.setValue(console_.Account().Text());
      }
      if (input.Name() == QStringLiteral("Passwd") && imctPage) {
        input.setValue(console_.Password().Text());
      }
      if (input.Name() == QStringLiteral("vesregno")) input.setValue(Caption());
      if (input.Type() == QStringLiteral("submit")) input.Click();
    });
    const QString imageButton = ImctImageButton();
    ElementCollection images = document->Images();
    for (int i = 0; i < images.length(); ++i) {
      HtmlElement image = images.item(i);
      if (image.src() == imageButton) {
        image.Click();
        break;
      }
    }
  }
  co_await PageWait(WebBrowser1);
  const auto current = WebBrowser1.Document();
  if (!current) co_return;
  Text3.setText(current->documentElement().innerText());

  const QString& text = Text3.Text();
  if (text.contains(QStringLiteral("貨櫃物動態查核系統"))) WebBrowser1.Navigate2(ImctQueryPage());
  if (text.contains(QStringLiteral("USERID or PASSWORD is Error"))) {
    LoginFailure();
    co_return;
  }
  if (text.contains(QStringLiteral("非法登入"))) WebBrowser1.Navigate2(ImctLoginPage());
  if (text.contains(QStringLiteral("實櫃數")) || text.contains(QStringLiteral("空櫃數"))) {
    RecordFinding();
  }
  if (text.contains(QStringLiteral("無符合資料"))) RecordNoData();
}

void Form2::RecordFinding() {
  // The outer run of this handler meets the same page again: still the same finding.
  if (Timer1.Enabled()) notificationSent_ = false;
  Text4.setText(TimeText(Desktop::current().now()));
  WriteSetting(QStringLiteral("Touchfiles"), Caption(), QStringLiteral("1"));
  WriteSetting(QStringLiteral("TouchfilesTime"), Caption(), Text4.Text());
  Timer2.setEnabled(true);
  Timer1.setEnabled(false);
  WebBrowser2.Navigate2(ServerAddress(QStringLiteral("maker")) + QStringLiteral("/pda/mail.php"));
}

void Form2::RecordNoData() {
  Text4.setText(TimeText(Desktop::current().now()));
  WriteSetting(QStringLiteral("NoTouchfilesTime"), Caption(), Text4.Text());
  WriteSetting(QStringLiteral("Touchfiles"), Caption(), QStringLiteral("0"));
}

// The account was refused: the whole program ends, whatever the answer to the box.
Task Form2::LoginFailure() {
  WebBrowser1.Navigate2(ServerAddress(QStringLiteral("maker")) +
                        QStringLiteral("/pda/Tidex_error.php"));
  co_await MessageBox(QStringLiteral("帳號或密碼錯誤！"), CancelTryAgainContinue,
                      QStringLiteral("訊息"));
  Desktop::current().trayRemove();
  Desktop::current().endProgram();
}

}  // namespace tidex
