#pragma once

#include <chrono>

// How long the sync program may take to end after its switch asked it to: an exchange with the
// web service whose request went out is never cut short (the service may have taken it), so the
// program ends only after that exchange's answer or time limit, and after the few local steps
// that record what the service took. Every program that waits for the sync program to end sizes
// its wait from these.
namespace syncbounds {

// The time limit of an exchange that carries or fetches data (SendData, GetDataForDesktop,
// AckFromDesktop), connection included.
inline constexpr std::chrono::milliseconds kDataExchangeLimit{180'000};
// The local work a worker thread does between the end of an exchange and its next stop test:
// recording an accepted bunch, applying one device change, closing its sources.
inline constexpr std::chrono::milliseconds kStopLocalWork{60'000};
// From the switch to the end of the program's threads, at the longest.
inline constexpr std::chrono::milliseconds kProgramStop = kDataExchangeLimit + kStopLocalWork;
// What a program that waits for the sync program adds for the poll of the switch and the end of
// the process itself.
inline constexpr std::chrono::milliseconds kWaiterMargin{10'000};
// How long another program waits for the sync program to end before it reports a failure.
inline constexpr std::chrono::milliseconds kWaitForProgramEnd = kProgramStop + kWaiterMargin;

}  // namespace syncbounds
