#include "platform/qt/qt_mail_send.h"

#include <cstring>
#include <memory>
#include <optional>
#include <utility>

#include <QDateTime>
#include <QRegularExpression>
#include <QUrl>

#if TIDEX_HAVE_LIBCURL
#include "platform/qt/curl_library.h"
#endif

namespace tidex {
namespace {

// Why the target must not be sent to as it stands; nothing when it may.
std::optional<QString> refusalOf(const DeliveryTarget& target) {
  const QUrl url(target.address, QUrl::StrictMode);
  const QString scheme = url.scheme().toLower();
  if (!url.isValid() || url.host().isEmpty() || (scheme != u"smtp" && scheme != u"smtps")) {
    return QStringLiteral("郵件伺服器須為 smtp:// 或 smtps:// 位址，不寄出。");
  }
  if (scheme == u"smtp" && !target.startTls && !target.user.isEmpty()) {
    return QStringLiteral("有帳號的郵件對象須使用 smtps:// 或 STARTTLS，以免密碼以明文傳送。");
  }
  return std::nullopt;
}

#if TIDEX_HAVE_LIBCURL

// The text as encoded-words of at most 75 characters each (RFC 2047), on folded lines: a word
// holds 45 bytes of UTF-8 at most, never half a character.
QByteArray encodedWords(const QString& text) {
  constexpr qsizetype kMostBytes = 45;  // 60 characters of Base64, 75 with "=?UTF-8?B?" "?="
  QByteArrayList words;
  QByteArray word;
  for (qsizetype i = 0; i < text.size(); ++i) {
    const qsizetype width = text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
    const QByteArray bytes = text.mid(i, width).toUtf8();
    i += width - 1;
    if (word.size() + bytes.size() > kMostBytes) words << std::exchange(word, {});
    word += bytes;
  }
  if (!word.isEmpty() || words.isEmpty()) words << word;
  QByteArrayList encoded;
  for (const QByteArray& w : words) encoded << "=?UTF-8?B?" + w.toBase64() + "?=";
  return encoded.join("\r\n ");
}

// A failed transfer as the user is told it; the SMTP reply's code, when one came, says whether
// a try again can help.
DeliveryOutcome failureOf(CURLcode result, long reply, const QString& words) {
  using Failure = DeliveryOutcome::Failure;
  switch (result) {
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_CONNECT:
      return {false, words, Failure::Unreachable};
    case CURLE_OPERATION_TIMEDOUT:
      return {false, words, Failure::Timeout};
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_PEER_FAILED_VERIFICATION:
    case CURLE_SSL_CACERT_BADFILE:
    case CURLE_USE_SSL_FAILED:
      return {false, words, Failure::Secure};
    case CURLE_LOGIN_DENIED:
      return {false, words, Failure::Login, static_cast<int>(reply), true};
    default:
      break;
  }
  if (reply >= 400) {
    return {false, words, Failure::Refused, static_cast<int>(reply), reply >= 500};
  }
  return {false, words, Failure::Other};
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
  mail += "Subject: " + encodedWords(message.subject) + "\r\n";
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

// Sets the options in order; the first the library refuses is named.
class Options {
 public:
  Options(const CurlLibrary& lib, CURL* curl) : lib_(lib), curl_(curl) {}
  template <class T>
  Options& set(CURLoption option, T value) {
    if (refused_ == 0 && lib_.easySetopt(curl_, option, value) != CURLE_OK) refused_ = option;
    return *this;
  }
  int refused() const { return refused_; }

 private:
  const CurlLibrary& lib_;
  CURL* curl_;
  int refused_ = 0;
};

// The mail through the library, to the end of the transfer or the limit.
DeliveryOutcome transfer(const CurlLibrary& lib, const DeliveryTarget& target,
                         const DeliveryMessage& message, std::chrono::milliseconds limit) {
  std::unique_ptr<CURL, decltype(lib.easyCleanup)> curl(lib.easyInit(), lib.easyCleanup);
  if (!curl) return {false, QStringLiteral("無法啟動郵件傳送")};
  Upload upload{mailOf(target, message)};
  const QByteArray address = target.address.toUtf8();
  const QByteArray sender = "<" + target.sender.toUtf8() + ">";
  const QByteArray user = target.user.toUtf8();
  const QByteArray secret = target.secret.toUtf8();
  const QByteArray authority = target.certificateFile.toLocal8Bit();
  curl_slist* list = nullptr;
  for (const QString& to : target.recipients) {
    curl_slist* longer = lib.slistAppend(list, ("<" + to.toUtf8() + ">").constData());
    if (!longer) {
      lib.slistFreeAll(list);
      return {false, QStringLiteral("無法啟動郵件傳送")};
    }
    list = longer;
  }
  const std::unique_ptr<curl_slist, decltype(lib.slistFreeAll)> recipients(list, lib.slistFreeAll);
  char error[CURL_ERROR_SIZE] = {};
  CURL* c = curl.get();
  // Mail protocols only, whatever the address says: a library too old to be told so sends nothing.
  Options options(lib, c);
  options.set(CURLOPT_PROTOCOLS_STR, "smtp,smtps")
      .set(CURLOPT_REDIR_PROTOCOLS_STR, "smtp,smtps")
      .set(CURLOPT_FOLLOWLOCATION, 0L);
  if (options.refused()) {
    return {false, QStringLiteral(
                       "郵件程式庫 libcurl 太舊（須 7.85 以上），無法限定只用郵件協定，不寄出。")};
  }
  options.set(CURLOPT_URL, address.constData())
      .set(CURLOPT_NOSIGNAL, 1L)
      .set(CURLOPT_TIMEOUT_MS, static_cast<long>(limit.count()))
      .set(CURLOPT_ERRORBUFFER, error)
      .set(CURLOPT_USE_SSL, static_cast<long>(target.startTls ? CURLUSESSL_ALL : CURLUSESSL_NONE));
  if (!authority.isEmpty()) options.set(CURLOPT_CAINFO, authority.constData());
  if (!user.isEmpty()) {
    options.set(CURLOPT_USERNAME, user.constData()).set(CURLOPT_PASSWORD, secret.constData());
  }
  options.set(CURLOPT_MAIL_FROM, sender.constData())
      .set(CURLOPT_MAIL_RCPT, recipients.get())
      .set(CURLOPT_READFUNCTION, readUpload)
      .set(CURLOPT_READDATA, &upload)
      .set(CURLOPT_UPLOAD, 1L);
  if (options.refused()) {
    return {false,
            QStringLiteral("郵件程式庫 libcurl 不接受選項 %1，不寄出。").arg(options.refused())};
  }
  const CURLcode result = lib.easyPerform(c);
  if (result == CURLE_OK) return {true, QString()};
  long reply = 0;
  lib.easyGetinfo(c, CURLINFO_RESPONSE_CODE, &reply);
  return failureOf(result, reply, QString::fromUtf8(error[0] ? error : lib.easyStrerror(result)));
}

#endif  // TIDEX_HAVE_LIBCURL

}  // namespace

void PrepareMailSending() {
#if TIDEX_HAVE_LIBCURL
  CurlLibrary::load();
#endif
}

// Built without libcurl's header, every mail fails as when the library is not installed.
DeliveryOutcome SendMail(const DeliveryTarget& target,
                         [[maybe_unused]] const DeliveryMessage& message,
                         [[maybe_unused]] std::chrono::milliseconds limit) {
  if (const auto refusal = refusalOf(target)) {
    return {false, *refusal, DeliveryOutcome::Failure::Unusable, 0, true};
  }
#if TIDEX_HAVE_LIBCURL
  if (const CurlLibrary* lib = CurlLibrary::load()) return transfer(*lib, target, message, limit);
#endif
  return {false, QStringLiteral("未安裝郵件程式庫 libcurl")};
}

}  // namespace tidex
