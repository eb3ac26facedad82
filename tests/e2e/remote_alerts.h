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

}  // namespace tidex::e2e
