#pragma once

#include <QString>

// The pilot board's page on its server: the monitors' query and the search its form sends.
inline const QString kBoardPath = QStringLiteral("/sdci/UA1006.ASP");
