#pragma once

// The start-up check that the web service can be reached with the stored address and proxy
// settings: GetDataTest once, every line into the sync-service log with code -1. 1 when the
// service answered with status 200, whatever it said; otherwise the exchange code. The check is
// abandoned as soon as SyncServiceStatus reads other than 1. The caller only logs it. The
// administration program's twin writes to its own log.
namespace syncservice {

int GetDataTestWebServiceMethod();

}  // namespace syncservice
