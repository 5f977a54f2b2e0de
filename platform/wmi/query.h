// The one query form the layer understands: WQL "Select * from <Class>".
#pragma once
#include <string>

#include "platform/wmi/wbem.h"

namespace orv::wmi::detail {

// Takes the class name out of the query. WBEM_E_INVALID_QUERY_TYPE for a language
// other than WQL, WBEM_E_INVALID_QUERY for any other text (conditions included).
HRESULT ParseSelectAll(const char16_t* language, const char16_t* query, std::string* cls);

}  // namespace orv::wmi::detail
