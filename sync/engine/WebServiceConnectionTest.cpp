#include "sync/engine/WebServiceConnectionTest.h"

#include "shared/contract/SyncServiceStatus.h"
#include "shared/soap/SoapExchange.h"
#include "sync/data/SyncLog.h"
#include "sync/data/SyncRegistry.h"
#include "sync/engine/WebServiceExchange.h"

namespace {

// The check runs before the control loop keeps the status copy, so it reads the switch itself.
// A switch that cannot be read is no stop: the control loop decides about that once it runs.
bool SwitchedOff() {
  int32_t status = 1;
  return GetSyncServiceStatus(&status) && status != 1;
}

}  // namespace

namespace syncservice {

int GetDataTestWebServiceMethod() {
  const QString tag = QStringLiteral("<GetDataTestWebServiceMethod>");
  WriteSyncServiceLog(-1, tag + QStringLiteral(" Test Web Service Connection."));
  const ExchangeMember member{.tag = tag,
                              .log = WriteSyncServiceLog,
                              .splitCode = -1,
                              .noObjectCodes = kAllStepsMinusOne,
                              .exceptionCodes = kAllStepsMinusOne,
                              .statusQueryCode = -1,
                              .statusLinesCode = -1,
                              .logSuccessLines = false,
                              .setReceiveTimeout = false,
                              .stopRequested = &SwitchedOff};
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
