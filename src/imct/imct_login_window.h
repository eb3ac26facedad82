#pragma once

#include <QString>

#include "common/console_state.h"
#include "common/imct_login.h"
#include "platform/form.h"
#include "platform/frame.h"
#include "platform/task.h"
#include "platform/text_box.h"
#include "platform/web_browser.h"

namespace tidex {

// A window that logs in to the IMCT service with the console's account and then shows one
// page of the maker's web service. The three kinds differ only in that page.
class ImctLoginWindow : public Form {
 public:
  Frame Frame1{*this, "Frame1"};
  WebBrowser WebBrowser1{*this, Frame1.holds("WebBrowser1")};
  TextBox Text1{*this, "Text1", "Text1"};

  // The maker's page shown once the login has succeeded.
  QString PageAfterLogin() const;

  void Form_Load() override;
  void Form_Resize() override;
  // Logs in with the console's account, then shows the maker's page.
  Task WebBrowser1_DocumentComplete();

 protected:
  ImctLoginWindow(ConsoleState& console, QString name, QString pathAfterLogin);

 private:
  ConsoleState& console_;
  ImctFormFiller forms_;
  QString pathAfterLogin_;
};

}  // namespace tidex
