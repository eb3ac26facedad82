#pragma once

#include <functional>

#include <QList>
#include <QProcess>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace tidex::e2e {

// One object of a program's accessibility tree.
struct Accessible {
  QString bus;  // the application's connection on the accessibility bus
  QString path;
  bool valid() const { return !path.isEmpty(); }
};

// A private D-Bus session with an accessibility (AT-SPI) bus for a virtual display, so a test
// finds a program's controls, and the elements of its web pages, by role and accessible name.
// While it lives, programs started from the test process (ProgramRunner) join it: it sets
// the session bus and asks Qt and the web engine for their accessibility trees through the
// environment, and puts the environment back when it goes.
class AccessibilityBus {
 public:
  explicit AccessibilityBus(const QString& display);
  ~AccessibilityBus();
  AccessibilityBus(const AccessibilityBus&) = delete;
  AccessibilityBus& operator=(const AccessibilityBus&) = delete;

  bool started() const { return !address_.isEmpty(); }
  // The accessibility bus, for a listener of its own.
  const QString& address() const { return address_; }

  // The top-level window of any program with exactly this title; invalid when none.
  Accessible window(const QString& title) const;
  // The first object below `within`, depth first, with this role ("push button", "text",
  // "menu item", "web document" ...) and accessible name (empty: any); invalid when none.
  Accessible find(const Accessible& within, const QString& role, const QString& name = {}) const;
  // The same, for the first whose accessible name satisfies match.
  Accessible findWhere(const Accessible& within, const QString& role,
                       const std::function<bool(const QString& name)>& match) const;

  // The accessible names of every object below `within`, depth first, with this role: a list's
  // cells ("tree item") row by row.
  QStringList names(const Accessible& within, const QString& role) const;

  // The names of the labels that name the object (AT-SPI "labelled by" relations).
  QStringList labels(const Accessible& object) const;
  // Every object below `within`, depth first, as "role: name" indented by depth (for the
  // message of a failed search).
  QString describe(const Accessible& within, int depth = 0) const;

  // Where the object is on the screen.
  QRect extents(const Accessible& object) const;
  // The text of an editable or text object.
  QString text(const Accessible& object) const;
  // Whether the object takes input (AT-SPI "sensitive").
  bool sensitive(const Accessible& object) const;
  // Performs the object's first action (a button's or menu item's press), as a screen reader
  // does: no pointer, so a window covering it does not matter.
  bool press(const Accessible& object) const;

 private:
  QString call(const Accessible& object, const QString& method, const QStringList& args = {}) const;
  QList<Accessible> children(const Accessible& object) const;
  QString name(const Accessible& object) const;
  QString role(const Accessible& object) const;
  void setEnvironment(const char* variable, const QByteArray& value);

  QTemporaryDir runtime_;
  QProcess session_;
  QProcess launcher_;
  QString address_;  // of the accessibility bus
  QList<QPair<QByteArray, QByteArray>> savedEnvironment_;
  QList<QByteArray> unsetEnvironment_;
};

// Real input on the virtual display, through the X test extension.
void clickAt(const QString& display, const QPoint& point);
// Key names as xdotool knows them ("Tab", "Return", "ctrl+a").
void pressKeys(const QString& display, const QStringList& keys);
void typeText(const QString& display, const QString& text);

}  // namespace tidex::e2e
