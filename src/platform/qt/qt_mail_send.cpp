#include "platform/qt/qt_mail_send.h"

#include <cstring>
#include <memory>

#include <QDateTime>
#include <QRegularExpression>

#include "platform/qt/curl_library.h"

namespace tidex {
namespace {

QByteArray encodedWord(const QString& text) {
  return "=?UTF-8?B?" + text.toUtf8().toBase64() + "?=";
}

// A Message-ID from the delivery's id: the same on every try, so that a mailbox that keeps the
// first copy can drop a repeat.
QByteArray messageIdOf(const QString& id) {
  QString local = id;
  local.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9!#$%&'*+\\-=?^_`{|}~.]")),
                QStringLiteral("."));
  return "<" + local.toLatin1() + "@tidex.invalid>";
}

QByteArray mailOf(const DeliveryTarget& target, const DeliveryMessage& message) {
  QByteArray mail;
  mail += "Date: " + QDateTime::currentDateTime().toString(Qt::RFC2822Date).toLatin1() + "\r\n";
  mail += "From: " + target.sender.toUtf8() + "\r\n";
  mail += "To: " + target.recipients.join(QStringLiteral(", ")).toUtf8() + "\r\n";
  mail += "Message-ID: " + messageIdOf(message.id) + "\r\n";
  mail += "Subject: " + encodedWord(message.subject) + "\r\n";
  mail += "MIME-Version: 1.0\r\n";
  mail += "Content-Type: text/plain; charset=UTF-8\r\n";
  mail += "Content-Transfer-Encoding: base64\r\n\r\n";
  const QByteArray body = message.text.toUtf8().toBase64();
  for (qsizetype i = 0; i < body.size(); i += 76) mail += body.mid(i, 76) + "\r\n";
  return mail;
}

struct Upload {
  QByteArray data;
  qsizetype sent = 0;
};

size_t readUpload(char* buffer, size_t size, size_t count, void* user) {
  auto* upload = static_cast<Upload*>(user);
  const size_t room = size * count;
  const size_t left = static_cast<size_t>(upload->data.size() - upload->sent);
  const size_t n = std::min(room, left);
  std::memcpy(buffer, upload->data.constData() + upload->sent, n);
  upload->sent += static_cast<qsizetype>(n);
  return n;
}

}  // namespace

void PrepareMailSending() { CurlLibrary::load(); }

DeliveryOutcome SendMail(const DeliveryTarget& target, const DeliveryMessage& message,
                         std::chrono::milliseconds limit) {
  const CurlLibrary* lib = CurlLibrary::load();
  if (!lib) return {false, QStringLiteral("未安裝郵件程式庫 libcurl")};
  std::unique_ptr<CURL, decltype(lib->easyCleanup)> curl(lib->easyInit(), lib->easyCleanup);
  if (!curl) return {false, QStringLiteral("無法啟動郵件傳送")};
  Upload upload{mailOf(target, message)};
  const QByteArray address = target.address.toUtf8();
  const QByteArray sender = "<" + target.sender.toUtf8() + ">";
  const QByteArray user = target.user.toUtf8();
  const QByteArray secret = target.secret.toUtf8();
  curl_slist* recipients = nullptr;
  for (const QString& to : target.recipients) {
    recipients = lib->slistAppend(recipients, ("<" + to.toUtf8() + ">").constData());
  }
  char error[CURL_ERROR_SIZE] = {};
  CURL* c = curl.get();
  lib->easySetopt(c, CURLOPT_URL, address.constData());
  lib->easySetopt(c, CURLOPT_NOSIGNAL, 1L);
  lib->easySetopt(c, CURLOPT_TIMEOUT_MS, static_cast<long>(limit.count()));
  lib->easySetopt(c, CURLOPT_ERRORBUFFER, error);
  lib->easySetopt(c, CURLOPT_USE_SSL,
                  static_cast<long>(target.startTls ? CURLUSESSL_ALL : CURLUSESSL_NONE));
  const QByteArray authority = target.certificateFile.toLocal8Bit();
  if (!authority.isEmpty()) lib->easySetopt(c, CURLOPT_CAINFO, authority.constData());
  if (!user.isEmpty()) {
    lib->easySetopt(c, CURLOPT_USERNAME, user.constData());
    lib->easySetopt(c, CURLOPT_PASSWORD, secret.constData());
  }
  lib->easySetopt(c, CURLOPT_MAIL_FROM, sender.constData());
  lib->easySetopt(c, CURLOPT_MAIL_RCPT, recipients);
  lib->easySetopt(c, CURLOPT_READFUNCTION, readUpload);
  lib->easySetopt(c, CURLOPT_READDATA, &upload);
  lib->easySetopt(c, CURLOPT_UPLOAD, 1L);
  const CURLcode result = lib->easyPerform(c);
  lib->slistFreeAll(recipients);
  if (result == CURLE_OK) return {true, QString()};
  return {false, QString::fromUtf8(error[0] ? error : lib->easyStrerror(result))};
}

}  // namespace tidex
