#include "tests/support/WebServiceDouble.h"

#include "platform/os/Internet.h"
#include "tests/support/TestPaths.h"

#include <QJsonDocument>

namespace testsupport {

namespace {

QString Base64Text(const QByteArray& bytes) { return QString::fromLatin1(bytes.toBase64()); }

QStringList Arguments(DoubleTransport transport) {
  switch (transport) {
    case DoubleTransport::Http: return {};
    case DoubleTransport::Tls: return {QStringLiteral("--tls"), QStringLiteral("authority")};
    case DoubleTransport::TlsSelfSigned: return {QStringLiteral("--tls"), QStringLiteral("self-signed")};
  }
  return {};
}

}  // namespace

WebServiceDouble::WebServiceDouble(DoubleTransport transport)
    : process_(QStringLiteral("webservice_double.py"), Arguments(transport)), transport_(transport) {
  const QJsonObject hello = process_.Hello();
  port_ = static_cast<uint16_t>(hello.value(QStringLiteral("port")).toInt());
  authorityFile_ = hello.value(QStringLiteral("authority")).toString();
  if (port_ == 0) error_ = process_.Error().isEmpty() ? QStringLiteral("the double gave no port") : process_.Error();
}

QString WebServiceDouble::Url(const QString& path) const {
  const QString scheme = transport_ == DoubleTransport::Http ? QStringLiteral("http") : QStringLiteral("https");
  return QStringLiteral("%1://127.0.0.1:%2%3").arg(scheme).arg(port_).arg(path);
}

uint16_t WebServiceDouble::StalledPort() {
  return static_cast<uint16_t>(
      Command({{QStringLiteral("cmd"), QStringLiteral("stalledPort")}}).value(QStringLiteral("port")).toInt());
}

QJsonObject WebServiceDouble::Command(const QJsonObject& command) { return process_.Command(command); }

QJsonObject WebServiceDouble::Pages() {
  return Command({{QStringLiteral("cmd"), QStringLiteral("pages")}}).value(QStringLiteral("pages")).toObject();
}

void WebServiceDouble::EnterDesktop(const QString& name) {
  Command({{QStringLiteral("cmd"), QStringLiteral("enterDesktop")}, {QStringLiteral("name"), name}});
}

void WebServiceDouble::SetFault(const QString& operation, const QString& kind,
                                const QJsonObject& extra) {
  QJsonObject command = extra;
  command.insert(QStringLiteral("cmd"), QStringLiteral("fault"));
  command.insert(QStringLiteral("operation"), operation);
  command.insert(QStringLiteral("kind"), kind);
  Command(command);
}

void WebServiceDouble::DemandProxyCredentials(const QString& user, const QString& password,
                                              const QStringList& methods) {
  Command({{QStringLiteral("cmd"), QStringLiteral("proxy")},
           {QStringLiteral("user"), user},
           {QStringLiteral("password"), password},
           {QStringLiteral("methods"), QJsonArray::fromStringList(methods)}});
}

void WebServiceDouble::QueueStream(const QByteArray& stream) {
  Command({{QStringLiteral("cmd"), QStringLiteral("queue")},
           {QStringLiteral("stream"), Base64Text(stream)}});
}

void WebServiceDouble::QueueRaw(const QString& resultText) {
  Command({{QStringLiteral("cmd"), QStringLiteral("queue")}, {QStringLiteral("raw"), resultText}});
}

QJsonArray WebServiceDouble::Received() {
  return Command({{QStringLiteral("cmd"), QStringLiteral("received")}})
      .value(QStringLiteral("received"))
      .toArray();
}

void WebServiceDouble::Reset() { Command({{QStringLiteral("cmd"), QStringLiteral("reset")}}); }

double WebServiceDouble::BusySeconds() {
  return Command({{QStringLiteral("cmd"), QStringLiteral("busy")}}).value(QStringLiteral("seconds")).toDouble();
}

void WebServiceDouble::SeedProfile(int32_t profileId, const QList<int16_t>& kinds, const QList<SeededRecord>& records) {
  QJsonArray kindList;
  for (const int16_t kind : kinds) kindList.append(kind);
  QJsonArray recordList;
  for (const SeededRecord& record : records) {
    recordList.append(QJsonObject{{QStringLiteral("source"), record.source},
                                  {QStringLiteral("index"), record.index},
                                  {QStringLiteral("hex"), QString::fromLatin1(record.deviceRecord.toHex())}});
  }
  Command({{QStringLiteral("cmd"), QStringLiteral("seedProfile")},
           {QStringLiteral("profile"), profileId},
           {QStringLiteral("kinds"), kindList},
           {QStringLiteral("records"), recordList}});
}

void WebServiceDouble::QueueDeviceEdit(const QString& operation, int32_t profileId, int32_t source, int32_t index,
                                       const QJsonArray& values, int copies) {
  Command({{QStringLiteral("cmd"), QStringLiteral("deviceEdit")},
           {QStringLiteral("operation"), operation},
           {QStringLiteral("profile"), profileId},
           {QStringLiteral("source"), source},
           {QStringLiteral("index"), index},
           {QStringLiteral("values"), values},
           {QStringLiteral("copies"), copies}});
}

QJsonArray WebServiceDouble::Acks() {
  return Command({{QStringLiteral("cmd"), QStringLiteral("acks")}}).value(QStringLiteral("acks")).toArray();
}

QJsonObject WebServiceDouble::Device() {
  return Command({{QStringLiteral("cmd"), QStringLiteral("device")}}).value(QStringLiteral("device")).toObject();
}

QStringList WebServiceDouble::DeviceErrors() {
  QStringList errors;
  const QJsonArray list = Command({{QStringLiteral("cmd"), QStringLiteral("device")}}).value(QStringLiteral("errors")).toArray();
  for (const QJsonValue& error : list) errors.append(error.toString());
  return errors;
}

QJsonArray WebServiceDouble::Requests() {
  return Command({{QStringLiteral("cmd"), QStringLiteral("requests")}})
      .value(QStringLiteral("requests"))
      .toArray();
}

QString WebServiceDouble::Seal(const QString& label, const QByteArray& plain, bool framed,
                               const QJsonObject& fixedMaterial) {
  QJsonObject command = fixedMaterial;
  command.insert(QStringLiteral("cmd"), QStringLiteral("seal"));
  command.insert(QStringLiteral("label"), label);
  command.insert(QStringLiteral("plain"), Base64Text(plain));
  command.insert(QStringLiteral("framed"), framed);
  return Command(command).value(QStringLiteral("envelope")).toString();
}

std::optional<QByteArray> WebServiceDouble::Open(const QString& label, const QString& envelope,
                                                 bool framed, QString* error) {
  const QJsonObject reply = Command({{QStringLiteral("cmd"), QStringLiteral("open")},
                                     {QStringLiteral("label"), label},
                                     {QStringLiteral("envelope"), envelope},
                                     {QStringLiteral("framed"), framed}});
  if (!reply.value(QStringLiteral("ok")).toBool()) {
    if (error) *error = reply.value(QStringLiteral("error")).toString();
    return std::nullopt;
  }
  return QByteArray::fromBase64(reply.value(QStringLiteral("plain")).toString().toLatin1());
}

TrustedTestAuthority::TrustedTestAuthority(const QString& pemFile) {
  platform::UseTestCertificateAuthority(pemFile);
}

TrustedTestAuthority::~TrustedTestAuthority() { platform::UseTestCertificateAuthority(QString()); }

}  // namespace testsupport
