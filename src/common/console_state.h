#pragma once

#include <QString>

namespace tidex {

class EngineWatch;
class Journal;

// What the other windows read of the console and ask of it: values and requests, never its
// controls. The console implements it and hands it to every window it creates; tests hand a
// stand-in. A kind of monitor is named by its kind in the journal ("wharf", "vessel" ...).
class ConsoleState {
 public:
  virtual ~ConsoleState() = default;

  virtual bool silentMode() const = 0;          // 靜音模式: no beeps
  virtual bool showsNotifications() const = 0;  // 顯示通知: an alert brings its window forward
  virtual bool hidesTray() const = 0;           // 隱藏系統匣: also the 04:50 close
  // The IMCT account and password, as typed in the console.
  virtual QString account() const = 0;
  virtual QString password() const = 0;
  virtual void setAccount(const QString& account, const QString& password) = 0;
  // A registration monitor's activity: the number into the single-number input, and the time
  // of the last activity shown beside it (now).
  virtual void showRegistrationNumber(const QString& number) = 0;
  virtual void showActivityTime() = 0;

  // The watched item the console names for a kind of monitor, and giving one back to it.
  virtual QString watchedItem(const QString& kind) const = 0;
  virtual void setWatchedItem(const QString& kind, const QString& item) = 0;
  // Opens a monitor of this kind for its watched item again, shortly (a duplicate is refused).
  virtual void reopenSoon(const QString& kind) = 0;

  // Whether the browser engine renders: windows report pages they could not read.
  virtual EngineWatch& browserEngine() = 0;
  // The journal of alerts and findings (common/journal/journal.h).
  virtual Journal& journal() = 0;
  // Ends the program for the reason given, once the remote targets were told (a few seconds
  // at most).
  virtual void endProgram(const QString& why) = 0;

 protected:
  ConsoleState() = default;
  ConsoleState(const ConsoleState&) = default;
  ConsoleState& operator=(const ConsoleState&) = default;
};

}  // namespace tidex
