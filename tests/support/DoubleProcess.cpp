#include "tests/support/DoubleProcess.h"

#include "tests/support/TestPaths.h"

#include <QJsonDocument>

#include <optional>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace testsupport {

namespace {

constexpr int kStartTimeoutMs = 15'000;
constexpr int kAnswerTimeoutMs = 30'000;

// A line from the child, waiting for it as long as needed.
std::optional<QByteArray> ReadLine(QProcess* process, int timeoutMs) {
  while (!process->canReadLine()) {
    if (!process->waitForReadyRead(timeoutMs)) return std::nullopt;
  }
  return process->readLine().trimmed();
}

}  // namespace

DoubleProcess::DoubleProcess(const QString& script, const QStringList& arguments) {
  // The doubles are reached directly; a proxy from the environment must not stand in between.
  for (const char* name : {"http_proxy", "HTTP_PROXY", "https_proxy", "HTTPS_PROXY", "all_proxy", "ALL_PROXY"}) {
    qunsetenv(name);
  }
  process_.setProcessChannelMode(QProcess::SeparateChannels);
  process_.setReadChannel(QProcess::StandardOutput);
  process_.start(QStringLiteral("/usr/bin/python3"),
                 QStringList{SourceDir() + QStringLiteral("/tests/support/") + script} + arguments);
  if (!process_.waitForStarted(kStartTimeoutMs)) {
    error_ = QStringLiteral("the double did not start: ") + process_.errorString();
    return;
  }
  const auto line = ReadLine(&process_, kStartTimeoutMs);
  hello_ = line ? QJsonDocument::fromJson(*line).object() : QJsonObject();
  if (hello_.isEmpty()) {
    error_ = QStringLiteral("the double said no hello: ") + QString::fromUtf8(process_.readAllStandardError());
  }
}

DoubleProcess::~DoubleProcess() {
  if (process_.state() == QProcess::NotRunning) return;
  process_.closeWriteChannel();
  if (!process_.waitForFinished(5'000)) {
    process_.kill();
    process_.waitForFinished(5'000);
  }
}

QJsonObject DoubleProcess::Command(const QJsonObject& command) {
  process_.write(QJsonDocument(command).toJson(QJsonDocument::Compact) + '\n');
  const auto line = ReadLine(&process_, kAnswerTimeoutMs);
  if (!line) {
    return {{QStringLiteral("ok"), false}, {QStringLiteral("error"), QStringLiteral("no answer")}};
  }
  return QJsonDocument::fromJson(*line).object();
}

uint16_t ClosedLoopbackPort() {
  const int fd = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t size = sizeof address;
  bind(fd, reinterpret_cast<sockaddr*>(&address), size);
  getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size);
  close(fd);
  return ntohs(address.sin_port);
}

}  // namespace testsupport
