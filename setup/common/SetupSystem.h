#pragma once

#include <QString>

// What the setup programs read of the system before they change it.

// The browser's proxy setting (`ProxyServer` of the current user's Internet Settings); when it
// is absent, host:port of $http_proxy or $HTTP_PROXY; empty when neither names one.
QString GetIEProxyServer();

// True on the client editions of Windows NT 6.x (Vista and its kin), whose virtualised folders
// the setup programs look after; never on this system.
bool IsNT6ClientEdition();
