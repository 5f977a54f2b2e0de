// The optional configuration of a service: its failure actions.
#include <windows.h>

#include <cstring>

#include "platform/service/sim/database.h"
#include "platform/service/sim/sc_handle.h"

namespace {

namespace db = orv::svc::db;

BOOL Fail(DWORD err) {
  SetLastError(err);
  return FALSE;
}

static_assert(sizeof(SC_ACTION_TYPE) == sizeof(DWORD), "an action type is stored as a DWORD");

// Where the next piece of data goes in a caller's buffer, kept aligned for its type.
std::size_t AlignUp(std::size_t n, std::size_t to) { return (n + to - 1) / to * to; }

}  // namespace

extern "C" BOOL WINAPI ChangeServiceConfig2A(SC_HANDLE service, DWORD level, LPVOID info) {
  auto s = orv::svc::LookupSc(service, false, SERVICE_CHANGE_CONFIG);
  if (!s) return FALSE;
  if (level != SERVICE_CONFIG_FAILURE_ACTIONS) return Fail(ERROR_INVALID_LEVEL);
  db::Config config;
  if (!db::ReadConfig(s->name, &config)) return Fail(ERROR_SERVICE_DOES_NOT_EXIST);
  if (db::MarkedForDelete(s->name)) return Fail(ERROR_SERVICE_MARKED_FOR_DELETE);
  if (!info) return TRUE;
  const auto* change = static_cast<const SERVICE_FAILURE_ACTIONSA*>(info);
  if (change->lpsaActions) {
    for (DWORD i = 0; i < change->cActions; ++i) {
      // Read as the number the caller stored: any number may stand where an action type should.
      DWORD type = 0;
      std::memcpy(&type, &change->lpsaActions[i].Type, sizeof type);
      if (type > SC_ACTION_RUN_COMMAND) return Fail(ERROR_INVALID_PARAMETER);
      if (type == SC_ACTION_RESTART && !(s->access & SERVICE_START)) return Fail(ERROR_ACCESS_DENIED);
    }
  }
  db::FailureActions actions;
  db::ReadFailureActions(s->name, &actions);
  // NULL leaves a text as it is, "" deletes it.
  if (change->lpRebootMsg) actions.rebootMessage = change->lpRebootMsg;
  if (change->lpCommand) actions.command = change->lpCommand;
  if (change->lpsaActions) {
    // No actions at all deletes the reset period with them.
    actions.resetPeriod = change->cActions ? change->dwResetPeriod : 0;
    actions.actions.assign(change->lpsaActions, change->lpsaActions + change->cActions);
  }
  return db::WriteFailureActions(s->name, actions) ? TRUE : Fail(ERROR_INVALID_PARAMETER);
}

extern "C" BOOL WINAPI QueryServiceConfig2A(SC_HANDLE service, DWORD level, LPBYTE buffer, DWORD size,
                                            LPDWORD needed) {
  auto s = orv::svc::LookupSc(service, false, SERVICE_QUERY_CONFIG);
  if (!s) return FALSE;
  if (level != SERVICE_CONFIG_FAILURE_ACTIONS) return Fail(ERROR_INVALID_LEVEL);
  if (!needed) return Fail(ERROR_INVALID_PARAMETER);
  db::Config config;
  if (!db::ReadConfig(s->name, &config)) return Fail(ERROR_SERVICE_DOES_NOT_EXIST);
  db::FailureActions actions;
  db::ReadFailureActions(s->name, &actions);
  // The structure, its actions, then its texts (those that are set).
  const std::size_t actionsAt = AlignUp(sizeof(SERVICE_FAILURE_ACTIONSA), alignof(SC_ACTION));
  const std::size_t textAt = actionsAt + actions.actions.size() * sizeof(SC_ACTION);
  std::size_t total = textAt;
  if (!actions.rebootMessage.empty()) total += actions.rebootMessage.size() + 1;
  if (!actions.command.empty()) total += actions.command.size() + 1;
  *needed = static_cast<DWORD>(total);
  if (!buffer || size < total) return Fail(ERROR_INSUFFICIENT_BUFFER);
  std::memset(buffer, 0, total);
  auto* out = reinterpret_cast<SERVICE_FAILURE_ACTIONSA*>(buffer);
  out->dwResetPeriod = actions.resetPeriod;
  out->cActions = static_cast<DWORD>(actions.actions.size());
  if (out->cActions) {
    out->lpsaActions = reinterpret_cast<SC_ACTION*>(buffer + actionsAt);
    std::memcpy(out->lpsaActions, actions.actions.data(), actions.actions.size() * sizeof(SC_ACTION));
  }
  char* text = reinterpret_cast<char*>(buffer + textAt);
  for (auto [from, to] : {std::pair{&actions.rebootMessage, &out->lpRebootMsg}, {&actions.command, &out->lpCommand}}) {
    if (from->empty()) continue;
    std::memcpy(text, from->c_str(), from->size() + 1);
    *to = text;
    text += from->size() + 1;
  }
  return TRUE;
}
