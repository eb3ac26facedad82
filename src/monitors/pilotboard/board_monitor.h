#pragma once

#include <QString>

#include "platform/form.h"
#include "platform/frame.h"
#include "platform/menu.h"
#include "platform/text_box.h"
#include "platform/timer.h"
#include "platform/web_browser.h"

namespace tidex {

class Form1;

// The pilot-board monitor window shared by the wharf, vessel and URL monitors: it keeps one
// board page open for its watched item, the caption, and alerts when the page changes.
class BoardMonitor : public Form {
 public:
  Frame Frame1{*this, "Frame1"};
  WebBrowser WebBrowser1{*this, "WebBrowser1"};
  TextBox Text1{*this, "Text1", "A"};          // baseline; "A" until the first page
  TextBox Text2{*this, "Text2", "A"};          // latest
  TextBox Text3{*this, "Text3", "0"};          // submit guard
  TextBox Text5{*this, "Text5", "0"};          // seconds since the last reload
  TextBox Text6{*this, "Text6", "Text6"};      // show-all flag as last read
  TextBox Text7{*this, "Text7", "0"};          // consecutive ticks that found a difference
  Timer Timer1{*this, "Timer1", 1000, true};   // poll clock
  Timer Timer2{*this, "Timer2", 5000, false};  // alert loop
  Timer Timer3{*this, "Timer3", 1000, true};   // show-all watcher
  Menu mHide{*this, "mHide", "Hide"};
  Menu mStopBeep{*this, "mStopBeep", "停止"};

  void Form_Load() override;
  void Form_Resize() override;

 protected:
  explicit BoardMonitor(QString name);

  // Per kind: the console field that names the watched item at load and takes the caption back.
  virtual TextBox& WatchedItemField(Form1& console) const = 0;
  // The console timer that reopens a monitor of this kind.
  virtual Timer& ReopenTimer(Form1& console) const = 0;
  // The close question, shown before the countdown.
  virtual QString ReopenQuestion() const = 0;
  // The page loaded for the watched item, at load and on every reload.
  virtual QString PageAddress(const QString& item) const = 0;

 private:
  void fillClientArea();
};

}  // namespace tidex
