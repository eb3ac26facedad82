#pragma once

#include "platform/check_box.h"
#include "platform/label.h"
#include "platform/text_box.h"
#include "platform/timer.h"

namespace tidex {

class EngineWatch;
class Journal;

// The console's controls that the other windows read and write: the program's shared state.
// The console implements it and hands it to every window it creates; tests hand a stand-in.
class ConsoleState {
 public:
  virtual ~ConsoleState() = default;

  virtual CheckBox& SilentMode() = 0;         // 靜音模式: no beeps
  virtual CheckBox& ShowNotification() = 0;   // 顯示通知: an alert brings its window forward
  virtual CheckBox& HideTray() = 0;           // 隱藏系統匣: also the 04:50 close
  virtual TextBox& Account() = 0;             // IMCT account
  virtual TextBox& Password() = 0;            // IMCT password
  virtual TextBox& RegistrationNumber() = 0;  // the single-number input
  virtual Label& ActivityTime() = 0;          // time of the last activity

  // The field that names a board monitor's watched item, and the timer that reopens it.
  virtual TextBox& VesselName() = 0;
  virtual TextBox& WharfCode() = 0;
  virtual TextBox& QueryAddress() = 0;
  virtual Timer& ReopenVessel() = 0;
  virtual Timer& ReopenWharf() = 0;
  virtual Timer& ReopenAddress() = 0;

  // Whether the browser engine renders: windows report pages they could not read.
  virtual EngineWatch& BrowserEngine() = 0;
  // The journal of alerts and findings (common/journal.h).
  virtual Journal& journal() = 0;
  // Ends the program for the reason given, once the remote targets were told (a few seconds
  // at most).
  virtual void EndProgram(const QString& why) = 0;

 protected:
  ConsoleState() = default;
  ConsoleState(const ConsoleState&) = default;
  ConsoleState& operator=(const ConsoleState&) = default;
};

}  // namespace tidex
