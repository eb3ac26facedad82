#pragma once

#include <QByteArray>
#include <QJsonArray>
#include <QString>

#include "console_session.h"

namespace tidex::e2e {

// The journal's summary of the alert raiseWharfAlert brings about.
extern const QString kAlertLine;

// Appends lines (CRLF, as the program writes them) to the settings file of the home folder.
void addToSettings(const QString& home, const QByteArray& lines);
// The wharf monitor on 1108 takes its baseline; the board then moves the arrival: an alert.
void raiseWharfAlert(ConsoleSession& session);

// What tidex-sites' webhook receiver recorded, and how many of its records were answered so.
QJsonArray webhookPosts(const SitesRunner& sites);
int answered(const QJsonArray& posts, const QString& answer);
// The records of those posts whose body is of this kind ("alert", "program-started" …).
QJsonArray postsOfKind(const QJsonArray& posts, const QString& kind);
// What tidex-sites' dead-man's switch recorded: each ping's path, type and text.
QJsonArray pings(const SitesRunner& sites);

// Whether only the file's owner may read or write it: no permission for the group or others.
bool ownersAlone(const QString& path);

}  // namespace tidex::e2e
