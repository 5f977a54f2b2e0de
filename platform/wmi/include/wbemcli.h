// The WMI client interfaces (wbemcli.h of the Windows SDK), for the simulated build:
// locator, services, enumerator, class objects, context, object sink, call result and
// unsecured apartment with the SDK's methods in the SDK's order, their flags, CIM
// types and status codes, and the interface and class identifiers with the SDK's
// values. Methods the simulated WMI does not serve answer WBEM_E_NOT_SUPPORTED.
#pragma once
#include <oleauto.h>

struct IWbemQualifierSet;
struct IWbemServices;
struct IWbemObjectSink;

typedef LONG CIMTYPE;

typedef enum tag_WBEM_GENUS_TYPE {
  WBEM_GENUS_CLASS = 1,
  WBEM_GENUS_INSTANCE = 2
} WBEM_GENUS_TYPE;

typedef enum tag_WBEM_CHANGE_FLAG_TYPE {
  WBEM_FLAG_CREATE_OR_UPDATE = 0,
  WBEM_FLAG_UPDATE_ONLY = 0x1,
  WBEM_FLAG_CREATE_ONLY = 0x2,
  WBEM_FLAG_UPDATE_COMPATIBLE = 0x0,
  WBEM_FLAG_UPDATE_SAFE_MODE = 0x20,
  WBEM_FLAG_UPDATE_FORCE_MODE = 0x40,
  WBEM_MASK_UPDATE_MODE = 0x60,
  WBEM_FLAG_ADVISORY = 0x10000
} WBEM_CHANGE_FLAG_TYPE;

typedef enum tag_WBEM_GENERIC_FLAG_TYPE {
  WBEM_FLAG_RETURN_IMMEDIATELY = 0x10,
  WBEM_FLAG_RETURN_WBEM_COMPLETE = 0,
  WBEM_FLAG_BIDIRECTIONAL = 0,
  WBEM_FLAG_FORWARD_ONLY = 0x20,
  WBEM_FLAG_NO_ERROR_OBJECT = 0x40,
  WBEM_FLAG_RETURN_ERROR_OBJECT = 0,
  WBEM_FLAG_SEND_STATUS = 0x80,
  WBEM_FLAG_DONT_SEND_STATUS = 0,
  WBEM_FLAG_ENSURE_LOCATABLE = 0x100,
  WBEM_FLAG_DIRECT_READ = 0x200,
  WBEM_FLAG_SEND_ONLY_SELECTED = 0,
  WBEM_RETURN_WHEN_COMPLETE = 0,
  WBEM_RETURN_IMMEDIATELY = 0x10,
  WBEM_MASK_RESERVED_FLAGS = 0x1f000,
  WBEM_FLAG_USE_AMENDED_QUALIFIERS = 0x20000,
  WBEM_FLAG_STRONG_VALIDATION = 0x100000
} WBEM_GENERIC_FLAG_TYPE;

typedef enum tag_WBEM_STATUS_TYPE {
  WBEM_STATUS_COMPLETE = 0,
  WBEM_STATUS_REQUIREMENTS = 1,
  WBEM_STATUS_PROGRESS = 2
} WBEM_STATUS_TYPE;

typedef enum tag_WBEM_TIMEOUT_TYPE {
  WBEM_NO_WAIT = 0,
  WBEM_INFINITE = 0xffffffff
} WBEM_TIMEOUT_TYPE;

typedef enum tag_WBEM_FLAVOR_TYPE {
  WBEM_FLAVOR_DONT_PROPAGATE = 0,
  WBEM_FLAVOR_FLAG_PROPAGATE_TO_INSTANCE = 0x1,
  WBEM_FLAVOR_FLAG_PROPAGATE_TO_DERIVED_CLASS = 0x2,
  WBEM_FLAVOR_MASK_PROPAGATION = 0xf,
  WBEM_FLAVOR_OVERRIDABLE = 0,
  WBEM_FLAVOR_NOT_OVERRIDABLE = 0x10,
  WBEM_FLAVOR_MASK_PERMISSIONS = 0x10,
  WBEM_FLAVOR_ORIGIN_LOCAL = 0,
  WBEM_FLAVOR_ORIGIN_PROPAGATED = 0x20,
  WBEM_FLAVOR_ORIGIN_SYSTEM = 0x40,
  WBEM_FLAVOR_MASK_ORIGIN = 0x60,
  WBEM_FLAVOR_NOT_AMENDED = 0,
  WBEM_FLAVOR_AMENDED = 0x80,
  WBEM_FLAVOR_MASK_AMENDED = 0x80
} WBEM_FLAVOR_TYPE;

typedef enum tag_CIMTYPE_ENUMERATION {
  CIM_ILLEGAL = 0xfff,
  CIM_EMPTY = 0,
  CIM_SINT8 = 16,
  CIM_UINT8 = 17,
  CIM_SINT16 = 2,
  CIM_UINT16 = 18,
  CIM_SINT32 = 3,
  CIM_UINT32 = 19,
  CIM_SINT64 = 20,
  CIM_UINT64 = 21,
  CIM_REAL32 = 4,
  CIM_REAL64 = 5,
  CIM_BOOLEAN = 11,
  CIM_STRING = 8,
  CIM_DATETIME = 101,
  CIM_REFERENCE = 102,
  CIM_CHAR16 = 103,
  CIM_OBJECT = 13,
  CIM_FLAG_ARRAY = 0x2000
} CIMTYPE_ENUMERATION;

// The status codes of WMI (those of its MOF compiler and event subsystem left out).
// As in the SDK the enumeration is unsigned: compare an HRESULT with a failure code
// through a cast.
typedef enum tag_WBEMSTATUS {
  WBEM_NO_ERROR = 0,
  WBEM_S_NO_ERROR = 0,
  WBEM_S_SAME = 0,
  WBEM_S_FALSE = 1,
  WBEM_S_ALREADY_EXISTS = 0x40001,
  WBEM_S_RESET_TO_DEFAULT = 0x40002,
  WBEM_S_DIFFERENT = 0x40003,
  WBEM_S_TIMEDOUT = 0x40004,
  WBEM_S_NO_MORE_DATA = 0x40005,
  WBEM_S_OPERATION_CANCELLED = 0x40006,
  WBEM_S_PENDING = 0x40007,
  WBEM_S_DUPLICATE_OBJECTS = 0x40008,
  WBEM_S_ACCESS_DENIED = 0x40009,
  WBEM_S_PARTIAL_RESULTS = 0x40010,
  WBEM_S_SOURCE_NOT_AVAILABLE = 0x40017,
  WBEM_E_FAILED = 0x80041001,
  WBEM_E_NOT_FOUND = 0x80041002,
  WBEM_E_ACCESS_DENIED = 0x80041003,
  WBEM_E_PROVIDER_FAILURE = 0x80041004,
  WBEM_E_TYPE_MISMATCH = 0x80041005,
  WBEM_E_OUT_OF_MEMORY = 0x80041006,
  WBEM_E_INVALID_CONTEXT = 0x80041007,
  WBEM_E_INVALID_PARAMETER = 0x80041008,
  WBEM_E_NOT_AVAILABLE = 0x80041009,
  WBEM_E_CRITICAL_ERROR = 0x8004100a,
  WBEM_E_INVALID_STREAM = 0x8004100b,
  WBEM_E_NOT_SUPPORTED = 0x8004100c,
  WBEM_E_INVALID_SUPERCLASS = 0x8004100d,
  WBEM_E_INVALID_NAMESPACE = 0x8004100e,
  WBEM_E_INVALID_OBJECT = 0x8004100f,
  WBEM_E_INVALID_CLASS = 0x80041010,
  WBEM_E_PROVIDER_NOT_FOUND = 0x80041011,
  WBEM_E_INVALID_PROVIDER_REGISTRATION = 0x80041012,
  WBEM_E_PROVIDER_LOAD_FAILURE = 0x80041013,
  WBEM_E_INITIALIZATION_FAILURE = 0x80041014,
  WBEM_E_TRANSPORT_FAILURE = 0x80041015,
  WBEM_E_INVALID_OPERATION = 0x80041016,
  WBEM_E_INVALID_QUERY = 0x80041017,
  WBEM_E_INVALID_QUERY_TYPE = 0x80041018,
  WBEM_E_ALREADY_EXISTS = 0x80041019,
  WBEM_E_OVERRIDE_NOT_ALLOWED = 0x8004101a,
  WBEM_E_PROPAGATED_QUALIFIER = 0x8004101b,
  WBEM_E_PROPAGATED_PROPERTY = 0x8004101c,
  WBEM_E_UNEXPECTED = 0x8004101d,
  WBEM_E_ILLEGAL_OPERATION = 0x8004101e,
  WBEM_E_CANNOT_BE_KEY = 0x8004101f,
  WBEM_E_INCOMPLETE_CLASS = 0x80041020,
  WBEM_E_INVALID_SYNTAX = 0x80041021,
  WBEM_E_NONDECORATED_OBJECT = 0x80041022,
  WBEM_E_READ_ONLY = 0x80041023,
  WBEM_E_PROVIDER_NOT_CAPABLE = 0x80041024,
  WBEM_E_CLASS_HAS_CHILDREN = 0x80041025,
  WBEM_E_CLASS_HAS_INSTANCES = 0x80041026,
  WBEM_E_QUERY_NOT_IMPLEMENTED = 0x80041027,
  WBEM_E_ILLEGAL_NULL = 0x80041028,
  WBEM_E_INVALID_QUALIFIER_TYPE = 0x80041029,
  WBEM_E_INVALID_PROPERTY_TYPE = 0x8004102a,
  WBEM_E_VALUE_OUT_OF_RANGE = 0x8004102b,
  WBEM_E_CANNOT_BE_SINGLETON = 0x8004102c,
  WBEM_E_INVALID_CIM_TYPE = 0x8004102d,
  WBEM_E_INVALID_METHOD = 0x8004102e,
  WBEM_E_INVALID_METHOD_PARAMETERS = 0x8004102f,
  WBEM_E_SYSTEM_PROPERTY = 0x80041030,
  WBEM_E_INVALID_PROPERTY = 0x80041031,
  WBEM_E_CALL_CANCELLED = 0x80041032,
  WBEM_E_SHUTTING_DOWN = 0x80041033,
  WBEM_E_PROPAGATED_METHOD = 0x80041034,
  WBEM_E_UNSUPPORTED_PARAMETER = 0x80041035,
  WBEM_E_MISSING_PARAMETER_ID = 0x80041036,
  WBEM_E_INVALID_PARAMETER_ID = 0x80041037,
  WBEM_E_NONCONSECUTIVE_PARAMETER_IDS = 0x80041038,
  WBEM_E_PARAMETER_ID_ON_RETVAL = 0x80041039,
  WBEM_E_INVALID_OBJECT_PATH = 0x8004103a,
  WBEM_E_OUT_OF_DISK_SPACE = 0x8004103b,
  WBEM_E_BUFFER_TOO_SMALL = 0x8004103c,
  WBEM_E_UNSUPPORTED_PUT_EXTENSION = 0x8004103d,
  WBEM_E_UNKNOWN_OBJECT_TYPE = 0x8004103e,
  WBEM_E_UNKNOWN_PACKET_TYPE = 0x8004103f,
  WBEM_E_MARSHAL_VERSION_MISMATCH = 0x80041040,
  WBEM_E_MARSHAL_INVALID_SIGNATURE = 0x80041041,
  WBEM_E_INVALID_QUALIFIER = 0x80041042,
  WBEM_E_INVALID_DUPLICATE_PARAMETER = 0x80041043,
  WBEM_E_TOO_MUCH_DATA = 0x80041044,
  WBEM_E_SERVER_TOO_BUSY = 0x80041045,
  WBEM_E_INVALID_FLAVOR = 0x80041046,
  WBEM_E_CIRCULAR_REFERENCE = 0x80041047,
  WBEM_E_UNSUPPORTED_CLASS_UPDATE = 0x80041048,
  WBEM_E_CANNOT_CHANGE_KEY_INHERITANCE = 0x80041049,
  WBEM_E_CANNOT_CHANGE_INDEX_INHERITANCE = 0x80041050,
  WBEM_E_TOO_MANY_PROPERTIES = 0x80041051,
  WBEM_E_UPDATE_TYPE_MISMATCH = 0x80041052,
  WBEM_E_UPDATE_OVERRIDE_NOT_ALLOWED = 0x80041053,
  WBEM_E_UPDATE_PROPAGATED_METHOD = 0x80041054,
  WBEM_E_METHOD_NOT_IMPLEMENTED = 0x80041055,
  WBEM_E_METHOD_DISABLED = 0x80041056,
  WBEM_E_REFRESHER_BUSY = 0x80041057,
  WBEM_E_UNPARSABLE_QUERY = 0x80041058,
  WBEM_E_NOT_EVENT_CLASS = 0x80041059,
  WBEM_E_MISSING_GROUP_WITHIN = 0x8004105a,
  WBEM_E_MISSING_AGGREGATION_LIST = 0x8004105b,
  WBEM_E_PROPERTY_NOT_AN_OBJECT = 0x8004105c,
  WBEM_E_AGGREGATING_BY_OBJECT = 0x8004105d,
  WBEM_E_UNINTERPRETABLE_PROVIDER_QUERY = 0x8004105f,
  WBEM_E_BACKUP_RESTORE_WINMGMT_RUNNING = 0x80041060,
  WBEM_E_QUEUE_OVERFLOW = 0x80041061,
  WBEM_E_PRIVILEGE_NOT_HELD = 0x80041062,
  WBEM_E_INVALID_OPERATOR = 0x80041063,
  WBEM_E_LOCAL_CREDENTIALS = 0x80041064,
  WBEM_E_CANNOT_BE_ABSTRACT = 0x80041065,
  WBEM_E_AMENDED_OBJECT = 0x80041066,
  WBEM_E_CLIENT_TOO_SLOW = 0x80041067,
  WBEM_E_NULL_SECURITY_DESCRIPTOR = 0x80041068,
  WBEM_E_TIMED_OUT = 0x80041069,
  WBEM_E_INVALID_ASSOCIATION = 0x8004106a,
  WBEM_E_AMBIGUOUS_OPERATION = 0x8004106b,
  WBEM_E_QUOTA_VIOLATION = 0x8004106c,
  WBEM_E_RESERVED_001 = 0x8004106d,
  WBEM_E_RESERVED_002 = 0x8004106e,
  WBEM_E_UNSUPPORTED_LOCALE = 0x8004106f,
  WBEM_E_HANDLE_OUT_OF_DATE = 0x80041070,
  WBEM_E_CONNECTION_FAILED = 0x80041071,
  WBEM_E_INVALID_HANDLE_REQUEST = 0x80041072,
  WBEM_E_PROPERTY_NAME_TOO_WIDE = 0x80041073,
  WBEM_E_CLASS_NAME_TOO_WIDE = 0x80041074,
  WBEM_E_METHOD_NAME_TOO_WIDE = 0x80041075,
  WBEM_E_QUALIFIER_NAME_TOO_WIDE = 0x80041076,
  WBEM_E_RERUN_COMMAND = 0x80041077,
  WBEM_E_DATABASE_VER_MISMATCH = 0x80041078,
  WBEM_E_VETO_DELETE = 0x80041079,
  WBEM_E_VETO_PUT = 0x8004107a,
  WBEM_E_INVALID_LOCALE = 0x80041080,
  WBEM_E_PROVIDER_SUSPENDED = 0x80041081,
  WBEM_E_SYNCHRONIZATION_REQUIRED = 0x80041082,
  WBEM_E_NO_SCHEMA = 0x80041083,
  WBEM_E_PROVIDER_ALREADY_REGISTERED = 0x80041084,
  WBEM_E_PROVIDER_NOT_REGISTERED = 0x80041085,
  WBEM_E_FATAL_TRANSPORT_ERROR = 0x80041086,
  WBEM_E_ENCRYPTED_CONNECTION_REQUIRED = 0x80041087,
  WBEM_E_PROVIDER_TIMED_OUT = 0x80041088,
  WBEM_E_NO_KEY = 0x80041089,
  WBEM_E_PROVIDER_DISABLED = 0x8004108a
} WBEMSTATUS;

extern "C" const CLSID CLSID_WbemLocator;
extern "C" const CLSID CLSID_WbemContext;
extern "C" const CLSID CLSID_UnsecuredApartment;
extern "C" const IID IID_IWbemClassObject;
extern "C" const IID IID_IWbemLocator;
extern "C" const IID IID_IWbemObjectSink;
extern "C" const IID IID_IEnumWbemClassObject;
extern "C" const IID IID_IWbemContext;
extern "C" const IID IID_IWbemCallResult;
extern "C" const IID IID_IWbemServices;
extern "C" const IID IID_IUnsecuredApartment;

struct IWbemClassObject : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE GetQualifierSet(IWbemQualifierSet** ppQualSet) = 0;
  // Reads a property, system properties ("__PATH", "__CLASS", ...) included, into a
  // variant the caller clears. WBEM_E_NOT_FOUND for a name the object lacks.
  virtual HRESULT STDMETHODCALLTYPE Get(LPCWSTR wszName, LONG lFlags, VARIANT* pVal, CIMTYPE* pType,
                                        LONG* plFlavor) = 0;
  // Writes a property of this copy of the object, converted to the property's CIM type
  // (Type 0) as WMI converts; WBEM_E_TYPE_MISMATCH for a value that does not convert.
  virtual HRESULT STDMETHODCALLTYPE Put(LPCWSTR wszName, LONG lFlags, VARIANT* pVal, CIMTYPE Type) = 0;
  virtual HRESULT STDMETHODCALLTYPE Delete(LPCWSTR wszName) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetNames(LPCWSTR wszQualifierName, LONG lFlags, VARIANT* pQualifierVal,
                                             SAFEARRAY** pNames) = 0;
  virtual HRESULT STDMETHODCALLTYPE BeginEnumeration(LONG lEnumFlags) = 0;
  virtual HRESULT STDMETHODCALLTYPE Next(LONG lFlags, BSTR* strName, VARIANT* pVal, CIMTYPE* pType,
                                         LONG* plFlavor) = 0;
  virtual HRESULT STDMETHODCALLTYPE EndEnumeration() = 0;
  virtual HRESULT STDMETHODCALLTYPE GetPropertyQualifierSet(LPCWSTR wszProperty,
                                                            IWbemQualifierSet** ppQualSet) = 0;
  virtual HRESULT STDMETHODCALLTYPE Clone(IWbemClassObject** ppCopy) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetObjectText(LONG lFlags, BSTR* pstrObjectText) = 0;
  virtual HRESULT STDMETHODCALLTYPE SpawnDerivedClass(LONG lFlags, IWbemClassObject** ppNewClass) = 0;
  // A new instance of a class or of an argument definition.
  virtual HRESULT STDMETHODCALLTYPE SpawnInstance(LONG lFlags, IWbemClassObject** ppNewInstance) = 0;
  virtual HRESULT STDMETHODCALLTYPE CompareTo(LONG lFlags, IWbemClassObject* pCompareTo) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetPropertyOrigin(LPCWSTR wszName, BSTR* pstrClassName) = 0;
  virtual HRESULT STDMETHODCALLTYPE InheritsFrom(LPCWSTR strAncestor) = 0;
  // The input and output argument definitions of a method of a class object.
  virtual HRESULT STDMETHODCALLTYPE GetMethod(LPCWSTR wszName, LONG lFlags, IWbemClassObject** ppInSignature,
                                              IWbemClassObject** ppOutSignature) = 0;
  virtual HRESULT STDMETHODCALLTYPE PutMethod(LPCWSTR wszName, LONG lFlags, IWbemClassObject* pInSignature,
                                              IWbemClassObject* pOutSignature) = 0;
  virtual HRESULT STDMETHODCALLTYPE DeleteMethod(LPCWSTR wszName) = 0;
  virtual HRESULT STDMETHODCALLTYPE BeginMethodEnumeration(LONG lEnumFlags) = 0;
  virtual HRESULT STDMETHODCALLTYPE NextMethod(LONG lFlags, BSTR* pstrName, IWbemClassObject** ppInSignature,
                                               IWbemClassObject** ppOutSignature) = 0;
  virtual HRESULT STDMETHODCALLTYPE EndMethodEnumeration() = 0;
  virtual HRESULT STDMETHODCALLTYPE GetMethodQualifierSet(LPCWSTR wszMethod, IWbemQualifierSet** ppQualSet) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetMethodOrigin(LPCWSTR wszMethodName, BSTR* pstrClassName) = 0;
};

struct IWbemContext : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE Clone(IWbemContext** ppNewCopy) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetNames(LONG lFlags, SAFEARRAY** pNames) = 0;
  virtual HRESULT STDMETHODCALLTYPE BeginEnumeration(LONG lFlags) = 0;
  virtual HRESULT STDMETHODCALLTYPE Next(LONG lFlags, BSTR* pstrName, VARIANT* pValue) = 0;
  virtual HRESULT STDMETHODCALLTYPE EndEnumeration() = 0;
  virtual HRESULT STDMETHODCALLTYPE SetValue(LPCWSTR wszName, LONG lFlags, VARIANT* pValue) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetValue(LPCWSTR wszName, LONG lFlags, VARIANT* pValue) = 0;
  virtual HRESULT STDMETHODCALLTYPE DeleteValue(LPCWSTR wszName, LONG lFlags) = 0;
  virtual HRESULT STDMETHODCALLTYPE DeleteAll() = 0;
};

struct IEnumWbemClassObject : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE Reset() = 0;
  // Hands out up to uCount objects, each with one reference; WBEM_S_FALSE with fewer
  // (none at the end) when the result set is exhausted.
  virtual HRESULT STDMETHODCALLTYPE Next(LONG lTimeout, ULONG uCount, IWbemClassObject** apObjects,
                                         ULONG* puReturned) = 0;
  virtual HRESULT STDMETHODCALLTYPE NextAsync(ULONG uCount, IWbemObjectSink* pSink) = 0;
  virtual HRESULT STDMETHODCALLTYPE Clone(IEnumWbemClassObject** ppEnum) = 0;
  virtual HRESULT STDMETHODCALLTYPE Skip(LONG lTimeout, ULONG nCount) = 0;
};

struct IWbemObjectSink : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE Indicate(LONG lObjectCount, IWbemClassObject** apObjArray) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetStatus(LONG lFlags, HRESULT hResult, BSTR strParam,
                                              IWbemClassObject* pObjParam) = 0;
};

struct IWbemCallResult : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE GetResultObject(LONG lTimeout, IWbemClassObject** ppResultObject) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetResultString(LONG lTimeout, BSTR* pstrResultString) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetResultServices(LONG lTimeout, IWbemServices** ppServices) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetCallStatus(LONG lTimeout, LONG* plStatus) = 0;
};

// The proxy of a connection to one namespace. Its string arguments are BSTRs, as the
// connection to the WMI service carries them: a plain string gives
// WBEM_E_INVALID_PARAMETER here. Only synchronous calls without a call-result object,
// the one query form "Select * from <Class>" (WQL) and asynchronous event queries of
// that form are served.
struct IWbemServices : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE OpenNamespace(const BSTR strNamespace, LONG lFlags, IWbemContext* pCtx,
                                                  IWbemServices** ppWorkingNamespace,
                                                  IWbemCallResult** ppResult) = 0;
  // Ends an asynchronous call of the sink: the sink hears WBEM_E_CALL_CANCELLED;
  // WBEM_E_NOT_FOUND when this proxy runs no call for it.
  virtual HRESULT STDMETHODCALLTYPE CancelAsyncCall(IWbemObjectSink* pSink) = 0;
  virtual HRESULT STDMETHODCALLTYPE QueryObjectSink(LONG lFlags, IWbemObjectSink** ppResponseHandler) = 0;
  // A class object by its name, or an instance by its path.
  virtual HRESULT STDMETHODCALLTYPE GetObject(const BSTR strObjectPath, LONG lFlags, IWbemContext* pCtx,
                                              IWbemClassObject** ppObject, IWbemCallResult** ppCallResult) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetObjectAsync(const BSTR strObjectPath, LONG lFlags, IWbemContext* pCtx,
                                                   IWbemObjectSink* pResponseHandler) = 0;
  virtual HRESULT STDMETHODCALLTYPE PutClass(IWbemClassObject* pObject, LONG lFlags, IWbemContext* pCtx,
                                             IWbemCallResult** ppCallResult) = 0;
  virtual HRESULT STDMETHODCALLTYPE PutClassAsync(IWbemClassObject* pObject, LONG lFlags, IWbemContext* pCtx,
                                                  IWbemObjectSink* pResponseHandler) = 0;
  virtual HRESULT STDMETHODCALLTYPE DeleteClass(const BSTR strClass, LONG lFlags, IWbemContext* pCtx,
                                                IWbemCallResult** ppCallResult) = 0;
  virtual HRESULT STDMETHODCALLTYPE DeleteClassAsync(const BSTR strClass, LONG lFlags, IWbemContext* pCtx,
                                                     IWbemObjectSink* pResponseHandler) = 0;
  virtual HRESULT STDMETHODCALLTYPE CreateClassEnum(const BSTR strSuperclass, LONG lFlags, IWbemContext* pCtx,
                                                    IEnumWbemClassObject** ppEnum) = 0;
  virtual HRESULT STDMETHODCALLTYPE CreateClassEnumAsync(const BSTR strSuperclass, LONG lFlags,
                                                         IWbemContext* pCtx,
                                                         IWbemObjectSink* pResponseHandler) = 0;
  // Commits the properties written with Put into the instance named by its "__PATH".
  virtual HRESULT STDMETHODCALLTYPE PutInstance(IWbemClassObject* pInst, LONG lFlags, IWbemContext* pCtx,
                                                IWbemCallResult** ppCallResult) = 0;
  virtual HRESULT STDMETHODCALLTYPE PutInstanceAsync(IWbemClassObject* pInst, LONG lFlags, IWbemContext* pCtx,
                                                     IWbemObjectSink* pResponseHandler) = 0;
  virtual HRESULT STDMETHODCALLTYPE DeleteInstance(const BSTR strObjectPath, LONG lFlags, IWbemContext* pCtx,
                                                   IWbemCallResult** ppCallResult) = 0;
  virtual HRESULT STDMETHODCALLTYPE DeleteInstanceAsync(const BSTR strObjectPath, LONG lFlags,
                                                        IWbemContext* pCtx,
                                                        IWbemObjectSink* pResponseHandler) = 0;
  virtual HRESULT STDMETHODCALLTYPE CreateInstanceEnum(const BSTR strFilter, LONG lFlags, IWbemContext* pCtx,
                                                       IEnumWbemClassObject** ppEnum) = 0;
  virtual HRESULT STDMETHODCALLTYPE CreateInstanceEnumAsync(const BSTR strFilter, LONG lFlags,
                                                            IWbemContext* pCtx,
                                                            IWbemObjectSink* pResponseHandler) = 0;
  // Fetches the whole result set at once; a failure the provider met after some
  // objects comes from Next once those are handed out.
  virtual HRESULT STDMETHODCALLTYPE ExecQuery(const BSTR strQueryLanguage, const BSTR strQuery, LONG lFlags,
                                              IWbemContext* pCtx, IEnumWbemClassObject** ppEnum) = 0;
  virtual HRESULT STDMETHODCALLTYPE ExecQueryAsync(const BSTR strQueryLanguage, const BSTR strQuery,
                                                   LONG lFlags, IWbemContext* pCtx,
                                                   IWbemObjectSink* pResponseHandler) = 0;
  virtual HRESULT STDMETHODCALLTYPE ExecNotificationQuery(const BSTR strQueryLanguage, const BSTR strQuery,
                                                          LONG lFlags, IWbemContext* pCtx,
                                                          IEnumWbemClassObject** ppEnum) = 0;
  // Delivers every matching event to the sink, on a thread of the simulated WMI, until
  // the call is cancelled or the provider goes; then SetStatus(WBEM_STATUS_COMPLETE)
  // tells why and the sink is released. WBEM_E_NOT_EVENT_CLASS for a class of
  // instances, WBEM_E_INVALID_CLASS for an unknown one.
  virtual HRESULT STDMETHODCALLTYPE ExecNotificationQueryAsync(const BSTR strQueryLanguage, const BSTR strQuery,
                                                               LONG lFlags, IWbemContext* pCtx,
                                                               IWbemObjectSink* pResponseHandler) = 0;
  virtual HRESULT STDMETHODCALLTYPE ExecMethod(const BSTR strObjectPath, const BSTR strMethodName, LONG lFlags,
                                               IWbemContext* pCtx, IWbemClassObject* pInParams,
                                               IWbemClassObject** ppOutParams,
                                               IWbemCallResult** ppCallResult) = 0;
  virtual HRESULT STDMETHODCALLTYPE ExecMethodAsync(const BSTR strObjectPath, const BSTR strMethodName,
                                                    LONG lFlags, IWbemContext* pCtx, IWbemClassObject* pInParams,
                                                    IWbemObjectSink* pResponseHandler) = 0;
};

struct IWbemLocator : public IUnknown {
  // Connects to a namespace ("root\WMI", "root\CIMV2"; letter case does not matter).
  // WBEM_E_INVALID_NAMESPACE for an unknown one; HRESULT_FROM_WIN32(RPC_S_SERVER_UNAVAILABLE)
  // when the WMI service (the simulated notebook's provider) is not running.
  virtual HRESULT STDMETHODCALLTYPE ConnectServer(const BSTR strNetworkResource, const BSTR strUser,
                                                  const BSTR strPassword, const BSTR strLocale,
                                                  LONG lSecurityFlags, const BSTR strAuthority,
                                                  IWbemContext* pCtx, IWbemServices** ppNamespace) = 0;
};

struct IUnsecuredApartment : public IUnknown {
  // A stub that forwards the object's sink calls to it and holds a reference to it.
  virtual HRESULT STDMETHODCALLTYPE CreateObjectStub(IUnknown* pObject, IUnknown** ppStub) = 0;
};
