// Failure counting and the manager's event-log entries about failed services.
#include "platform/service/sim/recovery.h"

namespace orv::svc {
namespace {

// The manager's event ids: a service ended unexpectedly, with and without a corrective action.
constexpr DWORD kEventTerminatedWithAction = 7031;
constexpr DWORD kEventTerminated = 7034;

void Report(DWORD eventId, const std::string& text) {
  HANDLE source = RegisterEventSourceA(nullptr, "Service Control Manager");
  if (!source) return;
  const char* strings[] = {text.c_str()};
  ReportEventA(source, EVENTLOG_ERROR_TYPE, 0, eventId, nullptr, 1, 0, strings, nullptr);
  DeregisterEventSource(source);
}

}  // namespace

DWORD NextFailureCount(const db::Failures& before, DWORD resetPeriod, long long now) {
  bool reset = resetPeriod != INFINITE && now - before.lastTime >= static_cast<long long>(resetPeriod);
  return reset ? 1 : before.count + 1;
}

SC_ACTION ActionFor(const db::FailureActions& actions, DWORD count) {
  if (actions.actions.empty() || count == 0) return SC_ACTION{SC_ACTION_NONE, 0};
  std::size_t index = count <= actions.actions.size() ? count - 1 : actions.actions.size() - 1;
  return actions.actions[index];
}

SC_ACTION RecordFailure(const std::string& name, long long now) {
  db::FailureActions actions;
  db::ReadFailureActions(name, &actions);
  db::Failures failures = db::ReadFailures(name);
  failures.count = NextFailureCount(failures, actions.resetPeriod, now);
  failures.lastTime = now;
  db::WriteFailures(name, failures);
  SC_ACTION action = ActionFor(actions, failures.count);

  db::Config config;
  std::string display = db::ReadConfig(name, &config) ? config.displayName : name;
  std::string text = "The " + display + " service terminated unexpectedly.  It has done this " +
                     std::to_string(failures.count) + " time(s).";
  switch (action.Type) {
    case SC_ACTION_RESTART:
      Report(kEventTerminatedWithAction, text + "  The following corrective action will be taken in " +
                                             std::to_string(action.Delay) + " milliseconds: Restart the service.");
      break;
    case SC_ACTION_REBOOT:
      Report(kEventTerminated, text + "  The corrective action, a restart of the machine, is not taken on this machine.");
      break;
    case SC_ACTION_RUN_COMMAND:
      Report(kEventTerminated, text + "  The corrective action, running \"" + actions.command +
                                   "\", is not taken on this machine.");
      break;
    default:
      Report(kEventTerminated, text);
  }
  return action;
}

}  // namespace orv::svc
