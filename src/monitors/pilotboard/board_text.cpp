#include "monitors/pilotboard/board_text.h"

#include <QRegularExpression>

namespace tidex {
namespace {

// A single character goes by remove(QChar), which stays linear however often it occurs (a
// page padded with megabytes of blanks).
void removeAll(QString& text, const QString& what) {
  if (what.size() == 1) {
    text.remove(what.front());
  } else {
    text.replace(what, QString());
  }
}

// Steps shared by both chains, up to and including the "/Y" and "/N" line breaks.
void removeLayout(QString& text, bool keepRecentHeading) {
  removeAll(text, QString(QChar(0x3000)));
  removeAll(text, QStringLiteral("引水資訊看板"));
  if (!keepRecentHeading) removeAll(text, QStringLiteral("最近動態"));
  removeAll(text, QStringLiteral("(UA1006)"));
  removeAll(text, QStringLiteral(" "));
  removeAll(text, QStringLiteral("\r"));
  removeAll(text, QStringLiteral("\n"));
  removeAll(text, QString(QChar(0xA0)));
  text.replace(QStringLiteral("/Y"), QStringLiteral("\r\n"));
  text.replace(QStringLiteral("/N"), QStringLiteral("\r\n"));
}

void removePilots(QString& text, const QStringList& pilots) {
  removeAll(text, QStringLiteral("0000引水人"));
  for (const QString& entry : pilots) {
    if (!entry.isEmpty()) removeAll(text, entry);
  }
  removeAll(text, QStringLiteral("免引水"));
}

}  // namespace

QString NormaliseBoardText(const QString& text, const QStringList& pilots) {
  QString out = text;
  removeLayout(out, false);
  removePilots(out, pilots);
  for (char c = 'A'; c <= 'Z'; ++c) removeAll(out, QString(QLatin1Char(c)));
  for (char c = 'a'; c <= 'z'; ++c) removeAll(out, QString(QLatin1Char(c)));
  removeAll(out, QStringLiteral(":"));
  removeAll(out, QStringLiteral("-"));
  removeAll(out, QStringLiteral(">"));
  return out;
}

QString NormaliseVesselBoardText(const QString& text, const QStringList& pilots) {
  QString out = text;
  removeLayout(out, true);
  removePilots(out, pilots);
  return out;
}

namespace {

bool showsErrorText(const QString& text) {
  if (text.contains(QStringLiteral("無法")) || text.contains(QStringLiteral("取消"))) return true;
  static const QRegularExpression serverError(QStringLiteral("(?<![0-9])50[01](?![0-9])"));
  return serverError.match(text).hasMatch();
}

}  // namespace

BoardPageReading ReadBoardPage(const QString& renderedText, const LoadResult& load,
                               bool carriesSearchForm, bool formSeen, bool onBoardServer) {
  using Verdict = BoardPageReading::Verdict;
  if (load.unread) return {Verdict::Unread, QStringLiteral("頁面無法讀取")};
  if (load.httpStatus >= 400) {
    return {Verdict::ErrorPage, QStringLiteral("HTTP %1").arg(load.httpStatus)};
  }
  if (load.failed) return {Verdict::ErrorPage, QStringLiteral("無法連線")};
  if (carriesSearchForm) return {Verdict::Board, {}};
  if (formSeen || !onBoardServer) return {Verdict::Elsewhere, QStringLiteral("不是看板頁面")};
  if (showsErrorText(renderedText)) return {Verdict::ErrorPage, QStringLiteral("看板顯示錯誤")};
  return {Verdict::Board, {}};
}

}  // namespace tidex
