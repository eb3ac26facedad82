#include "monitors/pilotboard/board_monitor_kinds.h"

#include "common/settings/settings.h"
#include "common/settings/settings_keys.h"
#include "monitors/pilotboard/board_query.h"
#include "monitors/pilotboard/board_text.h"
#include "monitors/pilotboard/pilot_name_list.h"
#include "platform/journal_schema.h"

namespace tidex {
namespace {

QString boardServer() { return ServerAddress(settings_keys::kServerBoard); }

QString normaliseBoard(const QString& text) { return NormaliseBoardText(text, PilotNameList()); }

}  // namespace

const BoardMonitorKind& WharfMonitorKind() {
  static const BoardMonitorKind kind{
      QStringLiteral("Form6"),
      QStringLiteral("是否重新開船名？ "),
      [](const QString& item) { return BoardQuery(boardServer(), QString(), item); },
      QStringLiteral("QSP_PORT"),
      normaliseBoard,
      true,
      journal::kind::kWharf,
      QStringLiteral("board"),
      QStringLiteral("碼頭"),
  };
  return kind;
}

const BoardMonitorKind& VesselMonitorKind() {
  static const BoardMonitorKind kind{
      QStringLiteral("Form3"),
      QStringLiteral("是否重新開船名？ "),
      [](const QString& item) { return BoardQuery(boardServer(), item, QString()); },
      QStringLiteral("QSP_ENAME"),
      [](const QString& text) { return NormaliseVesselBoardText(text, PilotNameList()); },
      true,
      journal::kind::kVessel,
      QStringLiteral("board"),
      QStringLiteral("船名"),
  };
  return kind;
}

// The address goes exactly as typed; no form is sent and error pages are compared too.
const BoardMonitorKind& UrlMonitorKind() {
  static const BoardMonitorKind kind{
      QStringLiteral("Form7"),
      QStringLiteral("是否重新開URL？ "),
      [](const QString& item) { return item; },
      QString(),
      normaliseBoard,
      false,
      journal::kind::kUrl,
      QString(),
      QStringLiteral("網址"),
  };
  return kind;
}

}  // namespace tidex
