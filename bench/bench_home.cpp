#include "bench_home.h"

#include <QFile>

namespace tidex::bench {

bool PrepareBatchHome(const e2e::SitesRunner& sites, const QString& home,
                      const QStringList& numbers) {
  {
    QFile ini(home + QStringLiteral("/Tidex.ini"));
    if (!ini.open(QIODevice::WriteOnly)) return false;
    // The account as the console saves it: base64 of its bytes.
    ini.write("[setup]\r\n001=" + QByteArray("TIDEX").toBase64() +
              "\r\n002=" + QByteArray("PASS").toBase64() + "\r\n");
  }
  sites.configure(home);
  QByteArray list = "CHECK\r\n";
  for (const QString& number : numbers) list += number.toLatin1() + "\r\n";
  e2e::httpSend(sites.base(), "POST", "/_control/maker/batch-list", list);
  return true;
}

}  // namespace tidex::bench
