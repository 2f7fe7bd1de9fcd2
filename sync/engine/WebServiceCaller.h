#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// The sync program's client of the hosted web service. Every call makes its own exchange and
// keeps nothing; callers hold CHANGE_DETECT_FOR_TarnwickPLite around it.
class CWebServiceCaller {
 public:
  virtual ~CWebServiceCaller() = default;

  enum class Delivery {
    Taken,    // the service answered that it took the message
    Refused,  // the service answered otherwise, or the request never went out
    Unknown,  // the request went out and no answer came (time limit, dropped connection)
  };

  // Seals the message bytes into an envelope and hands them to the service; true when the
  // service took them.
  bool SendData(QByteArrayView message);
  // The same, telling a refusal from an outcome that cannot be known.
  Delivery Deliver(QByteArrayView message);
  bool AckFromDesktop(QByteArrayView message);

  // Fetches the device messages waiting for this desktop and opens their envelope: true with the
  // opened bytes (zero padding included) in `plain`; false when nothing usable came.
  bool GetDataForDesktop(QByteArray* plain);

  // The exchanges themselves, with their codes: 1 done; -1 address, settings, status, no result
  // or a refusal; -2 to -5 and -21 to -101 by failing step.
  // `outcomeUnknown`: see RunExchange.
  int SendDataOverHTTP(const QByteArray& payload, bool* outcomeUnknown = nullptr);
  int GetDataForDesktopFromHTTP(QString* result);
  int AckFromDesktopOverHTTP(const QByteArray& payload);
};
