// The WMI client interfaces (locator, services, enumerator, class objects, context,
// object sink, unsecured apartment) and the WBEM flags and status codes they use.
// Shapes, numbers and ownership follow the Win32 interfaces they stand for: out
// pointers carry one reference that the caller releases.
#pragma once
#include <cstdint>

#include "platform/wmi/com.h"

namespace orv::wmi {

// Status codes (WBEMSTATUS values) the client and the provider produce.
constexpr HRESULT WBEM_S_NO_ERROR = 0;
constexpr HRESULT WBEM_S_FALSE = 1;
constexpr HRESULT WBEM_S_TIMEDOUT = 0x40004;
constexpr HRESULT WBEM_E_FAILED = static_cast<HRESULT>(0x80041001);
constexpr HRESULT WBEM_E_NOT_FOUND = static_cast<HRESULT>(0x80041002);
constexpr HRESULT WBEM_E_ACCESS_DENIED = static_cast<HRESULT>(0x80041003);
constexpr HRESULT WBEM_E_TYPE_MISMATCH = static_cast<HRESULT>(0x80041005);
constexpr HRESULT WBEM_E_INVALID_PARAMETER = static_cast<HRESULT>(0x80041008);
constexpr HRESULT WBEM_E_NOT_SUPPORTED = static_cast<HRESULT>(0x8004100C);
constexpr HRESULT WBEM_E_INVALID_NAMESPACE = static_cast<HRESULT>(0x8004100E);
constexpr HRESULT WBEM_E_INVALID_OBJECT = static_cast<HRESULT>(0x8004100F);
constexpr HRESULT WBEM_E_INVALID_CLASS = static_cast<HRESULT>(0x80041010);
constexpr HRESULT WBEM_E_TRANSPORT_FAILURE = static_cast<HRESULT>(0x80041015);
constexpr HRESULT WBEM_E_INVALID_OPERATION = static_cast<HRESULT>(0x80041016);
constexpr HRESULT WBEM_E_INVALID_QUERY = static_cast<HRESULT>(0x80041017);
constexpr HRESULT WBEM_E_INVALID_QUERY_TYPE = static_cast<HRESULT>(0x80041018);
constexpr HRESULT WBEM_E_ALREADY_EXISTS = static_cast<HRESULT>(0x80041019);
constexpr HRESULT WBEM_E_READ_ONLY = static_cast<HRESULT>(0x80041023);
constexpr HRESULT WBEM_E_VALUE_OUT_OF_RANGE = static_cast<HRESULT>(0x8004102B);
constexpr HRESULT WBEM_E_INVALID_METHOD = static_cast<HRESULT>(0x8004102E);
constexpr HRESULT WBEM_E_INVALID_METHOD_PARAMETERS = static_cast<HRESULT>(0x8004102F);
constexpr HRESULT WBEM_E_CALL_CANCELLED = static_cast<HRESULT>(0x80041032);
constexpr HRESULT WBEM_E_SHUTTING_DOWN = static_cast<HRESULT>(0x80041033);
constexpr HRESULT WBEM_E_INVALID_OBJECT_PATH = static_cast<HRESULT>(0x8004103A);
constexpr HRESULT WBEM_E_UNPARSABLE_QUERY = static_cast<HRESULT>(0x80041058);
constexpr HRESULT WBEM_E_NOT_EVENT_CLASS = static_cast<HRESULT>(0x80041059);

// Flags.
constexpr long WBEM_FLAG_RETURN_IMMEDIATELY = 0x10;
constexpr long WBEM_FLAG_FORWARD_ONLY = 0x20;
constexpr long WBEM_FLAG_SEND_STATUS = 0x80;
constexpr long WBEM_FLAG_UPDATE_ONLY = 0x1;
constexpr long WBEM_FLAG_CREATE_ONLY = 0x2;
constexpr long WBEM_INFINITE = -1;
constexpr long WBEM_STATUS_COMPLETE = 0;
constexpr long WBEM_STATUS_PROGRESS = 2;

// CIM types (numbers as in CIMTYPE_ENUMERATION).
enum CimType : std::int32_t {
  CIM_EMPTY = 0, CIM_SINT16 = 2, CIM_SINT32 = 3, CIM_STRING = 8, CIM_BOOLEAN = 11,
  CIM_SINT8 = 16, CIM_UINT8 = 17, CIM_UINT16 = 18, CIM_UINT32 = 19, CIM_SINT64 = 20, CIM_UINT64 = 21,
};

struct IWbemContext : IUnknown {};

struct IWbemClassObject : IUnknown {
  // Reads a property (system properties such as "__PATH" and "__CLASS" included).
  // WBEM_E_NOT_FOUND for a name the object does not have.
  virtual HRESULT Get(const char16_t* name, long flags, Variant* value, CimType* type, long* flavor) = 0;
  // Writes a property of this copy of the object; the value is converted to the
  // property's CIM type (type 0) or to the type given (for method arguments).
  // A text that does not convert gives WBEM_E_TYPE_MISMATCH.
  virtual HRESULT Put(const char16_t* name, long flags, const Variant* value, CimType type) = 0;
  // The input and output argument definitions of a method of a class object.
  virtual HRESULT GetMethod(const char16_t* name, long flags, IWbemClassObject** inSignature,
                            IWbemClassObject** outSignature) = 0;
  // A new instance of a class or argument definition.
  virtual HRESULT SpawnInstance(long flags, IWbemClassObject** instance) = 0;
};

struct IEnumWbemClassObject : IUnknown {
  // Hands out up to count objects. WBEM_S_FALSE with fewer (0 at the end) when the
  // result set is exhausted.
  virtual HRESULT Next(long timeout, ULONG count, IWbemClassObject** objects, ULONG* returned) = 0;
};

struct IWbemObjectSink : IUnknown {
  virtual HRESULT Indicate(long count, IWbemClassObject** objects) = 0;
  virtual HRESULT SetStatus(long flags, HRESULT result, const char16_t* param, IWbemClassObject* object) = 0;
};

struct IWbemServices : IUnknown {
  virtual HRESULT ExecQuery(const char16_t* language, const char16_t* query, long flags,
                            IWbemContext* context, IEnumWbemClassObject** result) = 0;
  // Delivers every matching event to the sink, on a thread of the client layer,
  // until the process ends or the call is cancelled.
  virtual HRESULT ExecNotificationQueryAsync(const char16_t* language, const char16_t* query, long flags,
                                             IWbemContext* context, IWbemObjectSink* sink) = 0;
  virtual HRESULT CancelAsyncCall(IWbemObjectSink* sink) = 0;
  // Commits a changed instance (found by its "__PATH").
  virtual HRESULT PutInstance(IWbemClassObject* instance, long flags, IWbemContext* context,
                              void* callResult) = 0;
  // A class object by its name (or an instance by its path).
  virtual HRESULT GetObject(const char16_t* path, long flags, IWbemContext* context,
                            IWbemClassObject** object, void* callResult) = 0;
  virtual HRESULT ExecMethod(const char16_t* objectPath, const char16_t* method, long flags,
                             IWbemContext* context, IWbemClassObject* inParams,
                             IWbemClassObject** outParams, void* callResult) = 0;
};

struct IWbemLocator : IUnknown {
  // Connects to a namespace ("root\WMI", "root\CIMV2"; letter case does not matter).
  // WBEM_E_INVALID_NAMESPACE for an unknown one; RPC_E_SERVER_UNAVAILABLE when the
  // WMI service is not running.
  virtual HRESULT ConnectServer(const char16_t* networkResource, const char16_t* user,
                                const char16_t* password, const char16_t* locale, long securityFlags,
                                const char16_t* authority, IWbemContext* context,
                                IWbemServices** services) = 0;
};

struct IUnsecuredApartment : IUnknown {
  // A stub that forwards calls to the object; it holds a reference to the object.
  virtual HRESULT CreateObjectStub(IUnknown* object, IUnknown** stub) = 0;
};

}  // namespace orv::wmi
