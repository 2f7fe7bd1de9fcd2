#include "sync/engine/WebServiceConnectionTest.h"

#include "shared/soap/SoapExchange.h"
#include "sync/data/SyncLog.h"
#include "sync/engine/WebServiceExchange.h"

namespace syncservice {

int GetDataTestWebServiceMethod() {
  const QString tag = QStringLiteral("<GetDataTestWebServiceMethod>");
  WriteSyncServiceLog(-1, tag + QStringLiteral(" Test Web Service Connection."));
  const ExchangeMember member{tag, WriteSyncServiceLog, -1, {-1, -1, -1}, {-1, -1, -1}, -1, -1, false, false};
  QString answer;
  const int code = RunExchange(member, soap::GetDataTestBody(), &answer);
  if (code != 1) return code;
  bool isFault = false;
  if (const auto line = soap::GetDataTestResultLine(
          answer, QStringLiteral("In GetDataTestWebServiceMethod, Send Request Result : "), &isFault)) {
    WriteSyncServiceLog(-1, *line);
  }
  return 1;
}

}  // namespace syncservice
