#pragma once

#include "platform/form.h"
#include "platform/frame.h"
#include "platform/menu.h"
#include "platform/text_box.h"
#include "platform/timer.h"
#include "platform/web_browser.h"

namespace tidex {

// The registration monitor: watches one customs registration number, the caption, on the
// IMCT service until container counts appear for it.
class Form2 final : public Form {
 public:
  Form2();

  Frame Frame1{*this, "Frame1"};
  WebBrowser WebBrowser1{*this, Frame1.holds("WebBrowser1")};
  WebBrowser WebBrowser2{*this, "WebBrowser2"};  // notification mail page
  WebBrowser WebBrowser3{*this, "WebBrowser3"};  // pilot-board lookup for the mail
  TextBox Text1{*this, "Text1", "0"};            // seconds since the last query
  TextBox Text2{*this, "Text2", "開關視窗"};     // show-all flag as last read
  TextBox Text3{*this, "Text3", "Text3"};        // text of the last IMCT page
  TextBox Text4{*this, "Text4", "格式化時間"};   // time of the last answer
  Timer Timer1{*this, "Timer1", 1000, true};     // poll
  Timer Timer2{*this, "Timer2", 5000, false};    // alert loop
  Timer Timer3{*this, "Timer3", 1000, true};     // show-all signal and daily close
  Timer Timer4{*this, "Timer4", 3000, false};    // print command back after printing
  Menu mUnload{*this, "mUnload", "Unload"};
  Menu mHide{*this, "mHide", "Hide"};
  Menu mPrint{*this, "mPrint", "列印"};
  Menu mStopBeep{*this, "mStopBeep", "停止"};

  void Form_Load() override;
  void Form_Resize() override;

 private:
  void fillClientArea();
};

}  // namespace tidex
