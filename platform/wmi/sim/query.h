// The one query form the layer understands: WQL "Select * from <Class>".
#pragma once
#include <wbemidl.h>

#include <string>

namespace orv::wmi::detail {

// Takes the class name out of the query. WBEM_E_INVALID_QUERY_TYPE for a language
// other than WQL, WBEM_E_INVALID_QUERY for any other text (conditions included).
HRESULT ParseSelectAll(const OLECHAR* language, const OLECHAR* query, std::string* cls);

}  // namespace orv::wmi::detail
