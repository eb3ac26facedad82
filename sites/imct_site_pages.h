#pragma once

#include <QByteArray>
#include <QString>

namespace tidex::sites {

// Container counts the IMCT query shows for one registration number.
struct ImctFinding {
  QString vessel;  // English name, "YM HARMONY"
  int laden = 0;   // 實櫃數
  int empty = 0;   // 空櫃數
};

// The IMCT service's pages in Big5. With title, a query page carries the service title in
// its heading.
namespace imct_pages {

inline const QString kServiceTitle = QStringLiteral("貨櫃物動態查核系統");

QByteArray Login();
// After a good login: the service title and links to the query and to log out.
QByteArray Menu(const QString& user);
QByteArray LoginRefused();
// A query page asked for without a valid session.
QByteArray IllegalLogin();
QByteArray QueryForm(bool title);
QByteArray NoData(const QString& registration, bool title);
QByteArray Found(const QString& registration, const ImctFinding& finding, bool title);
// The login button image: a GIF of one pixel that the page stretches.
QByteArray ButtonImage();

}  // namespace imct_pages
}  // namespace tidex::sites
