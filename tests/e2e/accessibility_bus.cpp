#include "accessibility_bus.h"

#include <QFileInfo>
#include <QProcessEnvironment>
#include <QRegularExpression>

#include "program_runner.h"

namespace tidex::e2e {
namespace {

const Accessible kRegistry{QStringLiteral("org.a11y.atspi.Registry"),
                           QStringLiteral("/org/a11y/atspi/accessible/root")};
constexpr quint32 kSensitiveState = 1u << 24;

QString run(const QString& program, const QStringList& args,
            const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment()) {
  QProcess process;
  process.setProcessEnvironment(env);
  process.start(program, args);
  process.waitForFinished(10000);
  return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
}

// The string of a gdbus answer such as ('text',) or (<'text'>,).
QString stringOf(const QString& answer) {
  static const QRegularExpression pattern(QStringLiteral(R"(^\(<?(['"])(.*)\1>?,\)$)"),
                                          QRegularExpression::DotMatchesEverythingOption);
  return pattern.match(answer).captured(2);
}

QString busLauncher() {
  for (const char* path :
       {"/usr/libexec/at-spi-bus-launcher", "/usr/lib/at-spi2-core/at-spi-bus-launcher"}) {
    if (QFileInfo(QString::fromLatin1(path)).isExecutable()) return QString::fromLatin1(path);
  }
  return {};
}

void xdotool(const QString& display, const QStringList& args) {
  auto env = QProcessEnvironment::systemEnvironment();
  env.insert(QStringLiteral("DISPLAY"), display);
  run(QStringLiteral("xdotool"), args, env);
}

}  // namespace

AccessibilityBus::AccessibilityBus(const QString& display) {
  const QString launcher = busLauncher();
  if (!runtime_.isValid() || launcher.isEmpty()) return;
  // The bus services keep their files in the temporary folder and their settings in memory.
  auto env = QProcessEnvironment::systemEnvironment();
  env.insert(QStringLiteral("DISPLAY"), display);
  env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime_.path());
  env.insert(QStringLiteral("XDG_CACHE_HOME"), runtime_.path());
  env.insert(QStringLiteral("GSETTINGS_BACKEND"), QStringLiteral("memory"));
  session_.setProcessEnvironment(env);
  session_.start(QStringLiteral("dbus-daemon"),
                 {QStringLiteral("--session"), QStringLiteral("--nofork"),
                  QStringLiteral("--print-address=1")});
  QByteArray sessionAddress;
  waitUntil(
      [&] {
        session_.waitForReadyRead(100);
        sessionAddress += session_.readAllStandardOutput();
        return sessionAddress.contains('\n') || session_.state() == QProcess::NotRunning;
      },
      std::chrono::seconds(10));
  sessionAddress = sessionAddress.trimmed();
  if (sessionAddress.isEmpty()) return;

  env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), QString::fromUtf8(sessionAddress));
  launcher_.setProcessEnvironment(env);
  launcher_.start(launcher, {QStringLiteral("--launch-immediately")});
  QString address;
  waitUntil(
      [&] {
        address =
            stringOf(run(QStringLiteral("gdbus"),
                         {QStringLiteral("call"), QStringLiteral("--session"),
                          QStringLiteral("--dest"), QStringLiteral("org.a11y.Bus"),
                          QStringLiteral("--object-path"), QStringLiteral("/org/a11y/bus"),
                          QStringLiteral("--method"), QStringLiteral("org.a11y.Bus.GetAddress")},
                         env));
        return !address.isEmpty();
      },
      std::chrono::seconds(10));
  if (address.isEmpty()) return;
  address_ = address;

  setEnvironment("DBUS_SESSION_BUS_ADDRESS", sessionAddress);
  setEnvironment("XDG_RUNTIME_DIR", runtime_.path().toUtf8());
  setEnvironment("QT_LINUX_ACCESSIBILITY_ALWAYS_ON", "1");
  // The web engine builds the tree of its pages only when asked to.
  setEnvironment(
      "QTWEBENGINE_CHROMIUM_FLAGS",
      (qgetenv("QTWEBENGINE_CHROMIUM_FLAGS") + " --force-renderer-accessibility").trimmed());
}

AccessibilityBus::~AccessibilityBus() {
  for (const auto& [variable, value] : savedEnvironment_) qputenv(variable.constData(), value);
  for (const QByteArray& variable : unsetEnvironment_) qunsetenv(variable.constData());
  // The launcher takes its bus with it; the registry goes with the session bus.
  for (QProcess* process : {&launcher_, &session_}) {
    if (process->state() == QProcess::NotRunning) continue;
    process->terminate();
    if (!process->waitForFinished(5000)) {
      process->kill();
      process->waitForFinished(3000);
    }
  }
}

void AccessibilityBus::setEnvironment(const char* variable, const QByteArray& value) {
  if (qEnvironmentVariableIsSet(variable)) {
    savedEnvironment_.append({variable, qgetenv(variable)});
  } else {
    unsetEnvironment_.append(variable);
  }
  qputenv(variable, value);
}

QString AccessibilityBus::call(const Accessible& object, const QString& method,
                               const QStringList& args) const {
  if (!started() || !object.valid()) return {};
  return run(QStringLiteral("gdbus"),
             QStringList{QStringLiteral("call"), QStringLiteral("--address"), address_,
                         QStringLiteral("--dest"), object.bus, QStringLiteral("--object-path"),
                         object.path, QStringLiteral("--method"), method, QStringLiteral("--")} +
                 args);
}

bool AccessibilityBus::press(const Accessible& object) const {
  return call(object, QStringLiteral("org.a11y.atspi.Action.DoAction"), {QStringLiteral("0")})
      .contains(QLatin1String("true"));
}

QList<Accessible> AccessibilityBus::children(const Accessible& object) const {
  static const QRegularExpression pattern(
      QStringLiteral(R"(\('([^']*)', (?:objectpath )?'([^']*)'\))"));
  QList<Accessible> out;
  const QString answer = call(object, QStringLiteral("org.a11y.atspi.Accessible.GetChildren"));
  for (const auto& match : pattern.globalMatch(answer)) {
    if (!match.captured(2).endsWith(QLatin1String("/null"))) {
      out.append({match.captured(1), match.captured(2)});
    }
  }
  return out;
}

QString AccessibilityBus::name(const Accessible& object) const {
  return stringOf(call(object, QStringLiteral("org.freedesktop.DBus.Properties.Get"),
                       {QStringLiteral("org.a11y.atspi.Accessible"), QStringLiteral("Name")}));
}

QString AccessibilityBus::role(const Accessible& object) const {
  return stringOf(call(object, QStringLiteral("org.a11y.atspi.Accessible.GetRoleName")));
}

Accessible AccessibilityBus::window(const QString& title) const {
  for (const Accessible& application : children(kRegistry)) {
    for (const Accessible& top : children(application)) {
      if (name(top) == title) return top;
    }
  }
  return {};
}

Accessible AccessibilityBus::find(const Accessible& within, const QString& role,
                                  const QString& name) const {
  for (const Accessible& child : children(within)) {
    if (this->role(child) == role && (name.isEmpty() || this->name(child) == name)) return child;
    if (Accessible found = find(child, role, name); found.valid()) return found;
  }
  return {};
}

QStringList AccessibilityBus::labels(const Accessible& object) const {
  static const QRegularExpression relation(
      QStringLiteral(R"(\((?:uint32 )?(\d+), \[([^\]]*)\]\))"));
  static const QRegularExpression target(
      QStringLiteral(R"(\('([^']*)', (?:objectpath )?'([^']*)'\))"));
  constexpr int kLabelledBy = 2;
  QStringList names;
  const QString answer = call(object, QStringLiteral("org.a11y.atspi.Accessible.GetRelationSet"));
  for (const auto& r : relation.globalMatch(answer)) {
    if (r.captured(1).toInt() != kLabelledBy) continue;
    for (const auto& t : target.globalMatch(r.captured(2))) {
      names << name({t.captured(1), t.captured(2)});
    }
  }
  return names;
}

QString AccessibilityBus::describe(const Accessible& within, int depth) const {
  QString text;
  for (const Accessible& child : children(within)) {
    text += QString(depth * 2, QLatin1Char(' ')) + role(child) + QStringLiteral(": ") +
            name(child) + QLatin1Char('\n') + describe(child, depth + 1);
  }
  return text;
}

Accessible AccessibilityBus::findWhere(
    const Accessible& within, const QString& role,
    const std::function<bool(const QString& name)>& match) const {
  for (const Accessible& child : children(within)) {
    if (this->role(child) == role && match(this->name(child))) return child;
    if (Accessible found = findWhere(child, role, match); found.valid()) return found;
  }
  return {};
}

QStringList AccessibilityBus::names(const Accessible& within, const QString& role) const {
  QStringList found;
  for (const Accessible& child : children(within)) {
    if (this->role(child) == role) found << name(child);
    found += names(child, role);
  }
  return found;
}

QRect AccessibilityBus::extents(const Accessible& object) const {
  static const QRegularExpression pattern(
      QStringLiteral(R"(\((-?\d+), (-?\d+), (-?\d+), (-?\d+)\))"));
  const auto match =
      pattern.match(call(object, QStringLiteral("org.a11y.atspi.Component.GetExtents"),
                         {QStringLiteral("0")}));  // screen coordinates
  if (!match.hasMatch()) return {};
  return QRect(match.captured(1).toInt(), match.captured(2).toInt(), match.captured(3).toInt(),
               match.captured(4).toInt());
}

QString AccessibilityBus::text(const Accessible& object) const {
  return stringOf(call(object, QStringLiteral("org.a11y.atspi.Text.GetText"),
                       {QStringLiteral("0"), QStringLiteral("-1")}));
}

bool AccessibilityBus::sensitive(const Accessible& object) const {
  static const QRegularExpression pattern(QStringLiteral(R"(uint32 (\d+))"));
  const auto match =
      pattern.match(call(object, QStringLiteral("org.a11y.atspi.Accessible.GetState")));
  return match.hasMatch() && (match.captured(1).toUInt() & kSensitiveState) != 0;
}

void clickAt(const QString& display, const QPoint& point) {
  xdotool(display,
          {QStringLiteral("mousemove"), QStringLiteral("--sync"), QString::number(point.x()),
           QString::number(point.y()), QStringLiteral("click"), QStringLiteral("1")});
}

void pressKeys(const QString& display, const QStringList& keys) {
  xdotool(
      display,
      QStringList{QStringLiteral("key"), QStringLiteral("--delay"), QStringLiteral("50")} + keys);
}

void typeText(const QString& display, const QString& text) {
  xdotool(display, {QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("50"), text});
}

}  // namespace tidex::e2e
