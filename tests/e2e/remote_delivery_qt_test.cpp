// The real senders in this process, against receivers of the test's own on this computer: the
// time limit of a try holds whatever the receiver does, a token goes over plain HTTP only to this
// computer, and the apprise command gets a long message whole on its input.
#include <gtest/gtest.h>

#include <optional>

#include <QDir>
#include <QFile>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTimer>

#include "browser_harness.h"
#include "platform/desktop.h"
#include "platform/qt/qt_remote_delivery.h"
#include "program_runner.h"

using namespace tidex;
using namespace tidex::e2e;
using namespace std::chrono_literals;

namespace {

// An HTTP receiver on this computer. Trickle: it sends its headers and then one byte every
// 100 ms, never the end. Otherwise it answers 200 at once. It keeps every request's head.
class Receiver {
 public:
  enum class Answer { Ok, Trickle };
  Receiver(Answer answer, const QHostAddress& on) : answer_(answer) {
    server_.listen(on, 0);
    QObject::connect(&server_, &QTcpServer::newConnection, [this] { accept(); });
  }
  int port() const { return server_.serverPort(); }
  const QList<QByteArray>& heads() const { return heads_; }
  int connections() const { return connections_; }

 private:
  void accept() {
    while (QTcpSocket* socket = server_.nextPendingConnection()) {
      ++connections_;
      QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
        QByteArray& request = requests_[socket];
        request += socket->readAll();
        const qsizetype end = request.indexOf("\r\n\r\n");
        if (end < 0 || socket->property("answered").toBool()) return;
        socket->setProperty("answered", true);
        heads_ << request.left(end);
        if (answer_ == Answer::Ok) {
          socket->write("HTTP/1.1 200 OK\r\nContent-Length: 3\r\nConnection: close\r\n\r\nok\n");
          return;
        }
        socket->write("HTTP/1.1 200 OK\r\nContent-Length: 1000000\r\n\r\n");
        auto* drip = new QTimer(socket);
        QObject::connect(drip, &QTimer::timeout, socket, [socket] { socket->write("."); });
        drip->start(100);
      });
    }
  }

  Answer answer_;
  QTcpServer server_;
  std::map<QTcpSocket*, QByteArray> requests_;
  QList<QByteArray> heads_;
  int connections_ = 0;
};

class RemoteDeliveryQt : public ::testing::Test {
 protected:
  void SetUp() override { ensureBrowserDesktop(); }

  // Sends and runs the event loop until the answer comes (a minute at most).
  std::optional<DeliveryOutcome> send(const DeliveryTarget& target, const QString& text,
                                      std::chrono::milliseconds limit) {
    std::optional<DeliveryOutcome> outcome;
    const DeliveryMessage message{QStringLiteral("test-1"), QStringLiteral("Tidex 變更：1108"),
                                  text, QByteArray("{}")};
    const auto call =
        delivery_.send(target, message, limit, [&](const DeliveryOutcome& o) { outcome = o; });
    spinUntil([&] { return outcome.has_value(); }, 60s);
    return outcome;
  }

  static DeliveryTarget webhook(const QString& address, const QString& secret = {}) {
    DeliveryTarget target;
    target.kind = DeliveryTarget::Kind::Webhook;
    target.address = address;
    target.secret = secret;
    return target;
  }

  QtRemoteDelivery delivery_;
};

TEST_F(RemoteDeliveryQt, AReceiverThatNeverFinishesItsAnswerFailsAtTheTryLimit) {
  Receiver receiver(Receiver::Answer::Trickle, QHostAddress::LocalHost);
  const auto outcome =
      send(webhook(QStringLiteral("http://127.0.0.1:%1/hook").arg(receiver.port())), {}, 2s);
  ASSERT_TRUE(outcome) << "the try ended";
  EXPECT_FALSE(outcome->delivered);
  EXPECT_TRUE(outcome->detail.contains(QStringLiteral("逾時"))) << outcome->detail.toStdString();
}

// 0.0.0.0 reaches this computer's receiver listening on every address, yet is no loopback name:
// it stands for a receiver elsewhere.
TEST_F(RemoteDeliveryQt, ATokenGoesOverPlainHttpOnlyToThisComputer) {
  Receiver receiver(Receiver::Answer::Ok, QHostAddress::AnyIPv4);
  const auto away =
      send(webhook(QStringLiteral("http://0.0.0.0:%1/hook").arg(receiver.port()), "T0KEN"), {}, 5s);
  ASSERT_TRUE(away);
  EXPECT_FALSE(away->delivered);
  EXPECT_TRUE(away->detail.contains(QStringLiteral("https://"))) << away->detail.toStdString();
  EXPECT_EQ(receiver.connections(), 0) << "refused before connecting";

  for (const QString& host : {QStringLiteral("127.0.0.1"), QStringLiteral("localhost")}) {
    const auto here =
        send(webhook(QStringLiteral("http://%1:%2/hook").arg(host).arg(receiver.port()), "T0KEN"),
             {}, 5s);
    ASSERT_TRUE(here);
    EXPECT_TRUE(here->delivered) << host.toStdString() << ": " << here->detail.toStdString();
  }
  ASSERT_EQ(receiver.heads().size(), 2);
  EXPECT_TRUE(receiver.heads().constLast().contains("Authorization: Bearer T0KEN"));
}

// A stand-in apprise records its arguments and input, then runs on as long as told.
class AppriseQt : public RemoteDeliveryQt {
 protected:
  void SetUp() override {
    RemoteDeliveryQt::SetUp();
    path_ = qgetenv("PATH");
    qputenv("PATH", bin_.path().toUtf8() + ':' + path_);
  }
  void TearDown() override { qputenv("PATH", path_); }

  void standIn(int seconds) {
    QFile script(bin_.filePath("apprise"));
    ASSERT_TRUE(script.open(QIODevice::WriteOnly));
    const QByteArray dir = bin_.path().toUtf8();
    script.write("#!/bin/sh\nprintf '%s\\n' \"$@\" > '" + dir + "/argv'\ncat > '" + dir +
                 "/stdin'\nexec sleep " + QByteArray::number(seconds) + "\n");
    script.setPermissions(script.permissions() | QFileDevice::ExeOwner);
  }
  QByteArray recorded(const char* name) const {
    return readFile(bin_.filePath(QString::fromLatin1(name)));
  }
  // The configuration file the command was given.
  QString config() const {
    return QString::fromUtf8(recorded("argv")).trimmed().remove(QStringLiteral("--config="));
  }
  static DeliveryTarget apprise() {
    DeliveryTarget target;
    target.kind = DeliveryTarget::Kind::Apprise;
    target.address = QStringLiteral("ntfy://tidex-duty");
    return target;
  }

  QTemporaryDir bin_;
  QByteArray path_;
};

TEST_F(AppriseQt, AMessageOfThreeHundredKilobytesReachesTheCommandWholeOnItsInput) {
  standIn(0);
  QString text;
  while (text.size() < 300 * 1024) text += QStringLiteral("潮位 & <風向> \"東北\" 0123456789\n");
  const auto outcome = send(apprise(), text, 20s);
  ASSERT_TRUE(outcome);
  EXPECT_TRUE(outcome->delivered) << outcome->detail.toStdString();
  EXPECT_EQ(recorded("stdin"), (QStringLiteral("Tidex 變更：1108\n\n") + text).toUtf8());
  EXPECT_EQ(QString::fromUtf8(recorded("argv")).count('\n'), 1);
  EXPECT_FALSE(config().isEmpty());
  EXPECT_FALSE(QFile::exists(config())) << "the token's file went with the command";
}

TEST_F(AppriseQt, ACommandThatHangsIsEndedAtTheTryLimitAndItsFileRemoved) {
  standIn(60);
  const auto outcome = send(apprise(), QStringLiteral("潮位"), 2s);
  ASSERT_TRUE(outcome);
  EXPECT_FALSE(outcome->delivered);
  EXPECT_TRUE(outcome->detail.contains(QStringLiteral("逾時"))) << outcome->detail.toStdString();
  EXPECT_FALSE(config().isEmpty());
  EXPECT_FALSE(QFile::exists(config()));
}

}  // namespace
