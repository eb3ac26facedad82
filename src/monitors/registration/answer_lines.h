#pragma once

#include <QString>

namespace tidex {

// The lines of an IMCT answer page that tell a finding, as the page showed them: the line
// that names the vessel, then each count under its heading ("實櫃數 12"), one per line.
QString FindingAnswerLines(const QString& pageText);

}  // namespace tidex
