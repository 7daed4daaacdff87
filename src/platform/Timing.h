// Time and event-loop services.
#pragma once

/// Seconds since the program started, with sub-millisecond resolution.
double Timer();

/// Runs every event that is already pending (serial receive callbacks
/// included) and returns at once.  Returns 0.
int ProcessSystemEvents();

/// Sleeps in the event loop until at least one event has been handled or
/// maxSeconds have passed, whichever comes first; may return earlier, so
/// callers wait in a loop to their deadline.  Uses no CPU while waiting,
/// except that a wait shorter than a millisecond polls in 50 µs steps.
void WaitForSystemEvents(double maxSeconds);
