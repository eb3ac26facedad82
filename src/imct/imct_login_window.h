#pragma once

#include <QString>

#include "platform/form.h"
#include "platform/frame.h"
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

 protected:
  ImctLoginWindow(QString name, QString pathAfterLogin);

 private:
  void fillClientArea();

  QString pathAfterLogin_;
};

}  // namespace tidex
