#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

namespace tidex::sites {

// The port's known pilots as (number, name), ascending by number: 0035, 0037, 0039 and
// 0041 to 0090.
QList<QPair<QString, QString>> KnownPilots();

// The name of the pilot with this four-digit number; empty if there is none.
QString PilotName(const QString& number);

// The roster as a Tidex.ini section in Big5: "[pilots]\r\n0035=name\r\n...".
QByteArray PilotsIniSection();

}  // namespace tidex::sites
