#include "console/monitor_kinds.h"

#include <array>

#include "monitors/pilotboard/board_monitor_kinds.h"
#include "monitors/registration/registration_monitor.h"
#include "platform/desktop.h"
#include "platform/journal_schema.h"

namespace tidex {
namespace {

template <class Monitor>
Form& open(ConsoleState& console) {
  return Desktop::current().load<Monitor>(console);
}

const std::array kKinds{
    MonitorKind{journal::kind::kWharf,
                QStringLiteral("碼頭"),
                "Text12",
                {282, 270, 90, 26},
                "Command10",
                {380, 268, 80, 30},
                "Timer6",
                ItemRule::UpperCase,
                false,
                QStringLiteral("此碼頭執行中，請查詢運作中的海掛！ "),
                open<WharfMonitor>},
    MonitorKind{journal::kind::kVessel,
                QStringLiteral("船名"),
                "Text9",
                {10, 270, 170, 26},
                "Command7",
                {190, 268, 80, 30},
                "Timer5",
                ItemRule::UpperCase,
                false,
                QStringLiteral("此船名執行中，請查詢運作中的海掛！ "),
                open<VesselMonitor>},
    MonitorKind{journal::kind::kUrl,
                QStringLiteral("網址"),
                "Text13",
                {10, 304, 460, 26},
                "Command12",
                {480, 302, 88, 30},
                "Timer7",
                ItemRule::WebAddress,
                false,
                QStringLiteral("此URL執行中，請查詢運作中的海掛！ "),
                open<UrlMonitor>},
    MonitorKind{journal::kind::kRegistration,
                QStringLiteral("海掛"),
                "Text3",
                {52, 42, 120, 26},
                "Command2",
                {184, 40, 120, 30},
                nullptr,
                ItemRule::UpperCase,
                true,
                QStringLiteral("此海掛執行中，請查詢運作中的海掛！ "),
                open<RegistrationMonitor>},
};

}  // namespace

std::span<const MonitorKind> MonitorKinds() { return kKinds; }

const MonitorKind& MonitorKindOf(const QString& key) {
  for (const MonitorKind& kind : kKinds) {
    if (key == QLatin1String(kind.key)) return kind;
  }
  return kKinds.front();
}

}  // namespace tidex
