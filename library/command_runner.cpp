// CallOrvWmiAcpiParser: runs one command string against WMI and writes its result
// text, never more than the caller's buffer holds.
#include <cstdio>
#include <limits>
#include <string>

#include "library/OrvWmiAcpi.h"
#include "library/ansi_text.h"
#include "library/command_string.h"
#include "library/wbem_status_names.h"
#include "library/wmi_property.h"
#include "platform/base/unique_com.h"

namespace {

using orv::lib::AnsiToWide;
using orv::lib::Command;

// Result of a command whose instance does not exist (past the end, negative, or
// beyond the 32-bit range): an empty line, which reads as 0 like every failure.
constexpr const char kNoInstance[] = "";

bool InstanceInRange(std::int64_t n) { return n >= 0 && n <= std::numeric_limits<std::int32_t>::max(); }

// Runs a parsed query or set; the text to return.
std::string Run(const Command& c) {
  const orv::lib::WideString nameSpace = AnsiToWide(c.nameSpace.c_str());
  const orv::lib::WideString query = AnsiToWide(("Select * from " + c.className).c_str());
  const orv::lib::WideString property = AnsiToWide(c.property.c_str());
  const orv::lib::WmiTarget target{nameSpace.c_str(), OLESTR("WQL"), query.c_str(), property.c_str()};
  HRESULT status = S_OK;
  char failure[ORV_ERROR_BUFFER] = {};

  if (c.op == Command::Op::Query) {
    if (!InstanceInRange(c.instance)) return kNoInstance;
    char slot[ORV_VALUE_SLOT] = {};
    switch (orv::lib::QueryInstanceProperty(target, c.instance, slot, sizeof slot, &status)) {
      case orv::lib::Outcome::Done: return slot;
      case orv::lib::Outcome::NoInstance: return kNoInstance;
      case orv::lib::Outcome::Failed: break;
    }
  } else {
    if (!c.valueFits) return orv::lib::kBadCommand;
    if (!InstanceInRange(c.instance)) return kNoInstance;
    char rendered[100] = {};
    std::snprintf(rendered, sizeof rendered, "%d", static_cast<int>(c.value));
    // The value travels as an OLE string, as a caller of SetWMIProperty hands it over.
    orv::unique_bstr value = orv::make_bstr(AnsiToWide(rendered).c_str());
    if (!value) status = E_OUTOFMEMORY;
    const auto outcome = value ? orv::lib::SetInstanceProperty(target, c.instance, value.get(), &status)
                               : orv::lib::Outcome::Failed;
    switch (outcome) {
      case orv::lib::Outcome::Done: return rendered;
      // Nothing was written, so the written value must not be reported.
      case orv::lib::Outcome::NoInstance: return kNoInstance;
      case orv::lib::Outcome::Failed: break;
    }
  }
  orv::lib::FormatWbemStatus(status, failure, sizeof failure);
  return failure;
}

}  // namespace

void COrvWmiAcpi::CallOrvWmiAcpiParser(const char* command, char* result) {
  CallOrvWmiAcpiParser(command, result, ORV_VALUE_SLOT);
}

void COrvWmiAcpi::CallOrvWmiAcpiParser(const char* command, char* result, std::size_t resultSize) {
  if (!result || resultSize == 0) return;
  const Command c = orv::lib::ParseCommand(command);
  if (c.op == Command::Op::Nothing) return;
  if (c.op == Command::Op::Invalid) {
    orv::lib::CopyAnsiBounded(result, resultSize, orv::lib::kBadCommand);
    return;
  }
  // A private work object holds this thread's COM initialisation for the call.
  COrvWmiAcpi work;
  const std::string text = Run(c);
  orv::lib::CopyAnsiBounded(result, resultSize, text.c_str());
}
