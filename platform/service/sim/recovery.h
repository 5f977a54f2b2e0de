// What the manager does about a service whose process ended without reporting
// SERVICE_STOPPED: count the failure, say so in the event log, and pick the
// failure action.
#pragma once
#include <windows.h>

#include <string>

#include "platform/service/sim/database.h"

namespace orv::svc {

// The count after one more failure at now (seconds), given the last count and the
// reset period: a failure after the period without one starts the count again.
DWORD NextFailureCount(const db::Failures& before, DWORD resetPeriod, long long now);

// The action for the count-th failure: the count-th of the list, the last one
// for every later failure, none when the list is empty.
SC_ACTION ActionFor(const db::FailureActions& actions, DWORD count);

// Counts a failure of the service at now, writes the event-log entry that says
// what follows, and returns the action to take.
SC_ACTION RecordFailure(const std::string& name, long long now);

}  // namespace orv::svc
