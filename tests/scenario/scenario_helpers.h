#pragma once

// What a scenario test needs to read as a user's story on the simulated desktop: start the
// console, find a window by its caption, type and click as the user does, and a stand-in
// console for windows tested on their own. The clock is advanced with desk.advance().

#include <gtest/gtest.h>

#include <map>
#include <vector>

#include <QString>

#include "common/console_state.h"
#include "common/health/engine_watch.h"
#include "common/journal/journal.h"
#include "common/settings/settings.h"
#include "common/text/text_codec.h"
#include "console/console_window.h"
#include "platform/command_button.h"
#include "platform/form.h"
#include "platform/text_box.h"
#include "sim_port_desktop.h"
#include "sites/pilot_roster.h"

namespace tidex::scenario {

// Saves the account the simulated IMCT service knows (TIDEX / PASS) as the console saves its
// fields, so that the registration monitors of a console started afterwards log in.
inline void saveKnownAccount() {
  WriteSetting(QStringLiteral("setup"), QStringLiteral("001"), EncodeText(QStringLiteral("TIDEX")));
  WriteSetting(QStringLiteral("setup"), QStringLiteral("002"), EncodeText(QStringLiteral("PASS")));
}

// The program started as the desktop starts it: the console, hidden behind the tray.
inline ConsoleWindow& startConsole(SimDesktop& desk) { return desk.start<ConsoleWindow>(); }

// Writes the port's pilots into the settings file as the user keeps them, so a board monitor
// compares without their names.
inline void saveKnownPilots() {
  for (const auto& [number, name] : sites::KnownPilots()) {
    WriteSetting(QStringLiteral("pilots"), number, name);
  }
}

// The console of a program started with startConsole(): the first window.
inline ConsoleWindow& consoleOf(SimDesktop& desk) {
  return *dynamic_cast<ConsoleWindow*>(desk.windows().all().front());
}

// Points a server of the settings file's servers section at an address of the test's naming.
inline void useServer(const QString& name, const QString& address) {
  WriteSetting(QStringLiteral("servers"), name, address);
}

// The open window with this caption, or null.
template <class W = Form>
W* findWindow(SimDesktop& desk, const QString& caption) {
  for (Form* window : desk.windows().all()) {
    if (!window->isUnloaded() && window->Caption() == caption) return dynamic_cast<W*>(window);
  }
  return nullptr;
}

// The open window with this caption; the test fails at once if there is none.
template <class W = Form>
W& windowCaptioned(SimDesktop& desk, const QString& caption) {
  W* window = findWindow<W>(desk, caption);
  if (!window) {
    ADD_FAILURE() << "no open window captioned " << caption.toStdString();
    throw std::runtime_error("missing window");
  }
  return *window;
}

// The user types text into a field (replacing what it held) and clicks a button.
inline void typeAndClick(SimDesktop& desk, TextBox& field, const QString& text,
                         CommandButton& button) {
  desk.type(field, text);
  desk.click(button);
}

// The console's shared state without the console: a window holding its values, with the
// account the simulated IMCT service knows.
class StandInConsole final : public Form, public ConsoleState {
 public:
  StandInConsole() : Form(QStringLiteral("StandInConsole")) { setCaption(Name()); }

  bool silent = false;
  bool showNotifications = true;
  bool hideTray = false;
  QString accountText = QStringLiteral("TIDEX");
  QString passwordText = QStringLiteral("PASS");
  QString registrationNumber;
  std::map<QString, QString> watchedItems;  // by kind
  std::vector<QString> reopened;            // the kinds asked to reopen, in order
  EngineWatch engine{*this, QStringLiteral("StandInConsole")};

  bool silentMode() const override { return silent; }
  bool showsNotifications() const override { return showNotifications; }
  bool hidesTray() const override { return hideTray; }
  QString account() const override { return accountText; }
  QString password() const override { return passwordText; }
  void setAccount(const QString& account, const QString& password) override {
    accountText = account;
    passwordText = password;
  }
  void showRegistrationNumber(const QString& number) override { registrationNumber = number; }
  void showActivityTime() override {}
  QString watchedItem(const QString& kind) const override {
    const auto found = watchedItems.find(kind);
    return found == watchedItems.end() ? QString() : found->second;
  }
  void setWatchedItem(const QString& kind, const QString& item) override {
    watchedItems[kind] = item;
  }
  void reopenSoon(const QString& kind) override { reopened.push_back(kind); }
  EngineWatch& browserEngine() override { return engine; }
  Journal& journal() override { return journal_; }
  void endProgram(const QString& /*why*/) override {
    journal_.close();
    Desktop::current().endProgram();
  }

 private:
  Journal journal_;
};

}  // namespace tidex::scenario
