#include "common/imct/imct_login.h"

#include <utility>

#include "common/imct/imct_pages.h"
#include "common/journal/journal.h"
#include "common/page/element_scan.h"
#include "common/settings/settings.h"
#include "common/settings/settings_keys.h"
#include "platform/desktop.h"
#include "platform/journal_schema.h"
#include "platform/message_box.h"

namespace tidex {

void ImctFormFiller::fill(HtmlDocument& document, ConsoleState& console,
                          const QString* registrationNumber) {
  const bool mayClick = !std::exchange(answerDue_, false);
  // The account goes only to the IMCT server's own pages, never to another host's.
  const bool imctPage = IsOnImctServer(document.url());
  bool clicked = false;
  ScanInputs(document, [&](HtmlElement& input) {
    if (input.Name() == QStringLiteral("UserName") && imctPage) {
      input.setValue(console.account());
    }
    if (input.Name() == QStringLiteral("Passwd") && imctPage) {
      input.setValue(console.password());
    }
    if (registrationNumber && input.Name() == QStringLiteral("vesregno")) {
      input.setValue(*registrationNumber);
    }
    if (input.Type() == QStringLiteral("submit") && mayClick) {
      input.Click();
      clicked = true;
    }
  });
  ElementCollection images = document.Images();
  for (int i = 0; i < images.length() && mayClick; ++i) {
    HtmlElement image = images.item(i);
    if (IsImctImageButton(image.src())) {
      image.Click();
      clicked = true;
      break;
    }
  }
  answerDue_ = clicked;
}

void ImctFormFiller::open(WebBrowser& browser, const QString& url) {
  answerDue_ = false;
  browser.Navigate2(url);
}

Task ImctLoginFailure(Form& window, WebBrowser& browser, ConsoleState& console) {
  console.journal().record(window.Caption(), journal::kind::kRegistration,
                           journal::event::kLoginFailure, QStringLiteral("帳號或密碼錯誤"));
  browser.Navigate2(ServerAddress(settings_keys::kServerMaker) +
                    QStringLiteral("/pda/Tidex_error.php"));
  co_await MessageBox(QStringLiteral("帳號或密碼錯誤！"), BoxButtons::CancelTryAgainContinue,
                      QStringLiteral("訊息"));
  Desktop::current().trayRemove();
  console.endProgram(QStringLiteral("IMCT 帳號或密碼錯誤"));
}

}  // namespace tidex
