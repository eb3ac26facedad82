#pragma once

#include <QString>

#include "common/console_state.h"
#include "platform/form.h"
#include "platform/html_document.h"
#include "platform/task.h"
#include "platform/web_browser.h"

namespace tidex {

// The IMCT pages' marker texts.
inline constexpr char16_t kImctTitle[] = u"貨櫃物動態查核系統";
inline constexpr char16_t kImctRefused[] = u"USERID or PASSWORD is Error";
inline constexpr char16_t kImctLoginLost[] = u"非法登入";

// Fills and sends the IMCT forms of each page a window completes. A page that answers a form
// this filler sent is filled but not sent again: a service whose answer page repeats its form
// would otherwise be asked again and again, without end.
class ImctFormFiller final {
 public:
  // Goes through the page's inputs once: the console's account into "UserName" and "Passwd"
  // (only on pages of the IMCT server), the registration number into "vesregno" where one is
  // given, a click on every submit input; then clicks the first image whose source is the
  // image button's address, however its host and port are spelt.
  void fill(HtmlDocument& document, ConsoleState& console,
            const QString* registrationNumber = nullptr);
  // Navigates the browser to a page of the window's own choosing: its forms will be sent.
  void open(WebBrowser& browser, const QString& url);

 private:
  bool answerDue_ = false;  // the next completed page answers a form sent from here
};

// The account was refused: the journal, the maker's error page, the box, then the whole
// program ends, whatever the answer.
Task ImctLoginFailure(Form& window, WebBrowser& browser, ConsoleState& console);

}  // namespace tidex
