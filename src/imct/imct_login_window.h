#pragma once

#include <QString>

#include "common/console_state.h"
#include "common/imct/imct_login.h"
#include "platform/form.h"
#include "platform/frame.h"
#include "platform/task.h"
#include "platform/web_browser.h"

namespace tidex {

// The page of the maker's web service that a container verification window shows once logged
// in: one per console button ("BC", "BA", "BE").
enum class ImctPageKind { Bc, Ba, Be };

// A container verification window: logs in to the IMCT service with the console's account and
// then shows one page of the maker's web service.
class ImctLoginWindow final : public Form {
 public:
  ImctLoginWindow(ConsoleState& console, ImctPageKind kind);

  Frame pageFrame{*this, "Frame1"};
  WebBrowser pageBrowser{*this, pageFrame.holds("WebBrowser1")};

  // The maker's page shown once the login has succeeded.
  QString pageAfterLogin() const;

  void onLoad() override;
  void onResize() override;
  // Logs in with the console's account, then shows the maker's page.
  Task onPageComplete();

 private:
  ConsoleState& console_;
  ImctFormFiller forms_;
  QString pathAfterLogin_;
};

}  // namespace tidex
