#pragma once

#include <optional>

#include <QDateTime>
#include <QString>

#include "platform/remote_delivery.h"

namespace tidex {

// What the program tells a remote target about.
enum class RemoteEventKind {
  Alert,           // a board monitor's alert: caption and the change line
  Finding,         // a registration number found: number, vessel, counts
  Blind,           // a monitor can no longer read its page
  ReadsAgain,      // and reads it again
  EngineOutage,    // the browser engine renders no page
  EngineBack,      // and renders again
  LoginRefused,    // the IMCT service refused the account
  TargetFailing,   // another notification target has failed for a while
  TargetBack,      // and delivers again
  ProgramStarted,  // the program started: how the last run ended
  ProgramEnding,   // the program is ending, and why
  Summary,         // the day before, once a day at the target's time
  Test,            // the settings window's 測試
};

// The kinds a target is enabled for, as Tidex.ini names them: a monitor's blindness and its
// end go together, as do the engine's outage and its end, and a target's failure and its end.
enum class RemoteEventGroup { Alert, Finding, Blind, Engine, Login, Delivery, Program };
inline constexpr RemoteEventGroup kRemoteEventGroups[] = {
    RemoteEventGroup::Alert,  RemoteEventGroup::Finding, RemoteEventGroup::Blind,
    RemoteEventGroup::Engine, RemoteEventGroup::Login,   RemoteEventGroup::Delivery,
    RemoteEventGroup::Program};
RemoteEventGroup GroupOf(RemoteEventKind kind);
// "alert", "finding", "blind", "engine", "login", "delivery", "program"
QString GroupKey(RemoteEventGroup group);
std::optional<RemoteEventGroup> GroupNamed(const QString& key);
QString GroupLabel(RemoteEventGroup group);  // for the settings window

struct RemoteEvent {
  QString id;  // unique in this installation; each target's delivery carries it
  RemoteEventKind kind = RemoteEventKind::Alert;
  QDateTime time;
  QString caption;
  QString summary;
  QString before;
  QString after;
};

// An event of the kind happening now, with a fresh id.
RemoteEvent MakeRemoteEvent(RemoteEventKind kind, const QString& caption, const QString& summary,
                            const QString& before = {}, const QString& after = {});
// Whether the event is about a notification target, which is then not told of it itself.
bool IsAboutTarget(RemoteEventKind kind);
// The journal's record of an event a target may be told about, or nothing.
std::optional<RemoteEventKind> RemoteKindOfJournalEvent(const QString& event);

// The message in the user's language: a short subject that says what changed, the text, and
// the webhook's JSON object (kind, time, caption, summary, before/after where there is one).
DeliveryMessage ComposeMessage(const RemoteEvent& event);

}  // namespace tidex
