/*
 * Automation runtime: the binary interface shared by in-process servers and
 * their clients (C and C++).
 *
 * Interfaces are laid out like their Windows counterparts: a pointer to a
 * table of function pointers, methods in the Windows vtable order, no
 * virtual destructor. A C++ class deriving from the interfaces below and a
 * C client calling through `lpVtbl` see the same table. GUID, VARIANT and
 * HRESULT values keep their Windows layout and numbers.
 *
 * Strings (BSTR, OLECHAR) are UTF-16. A BSTR points just behind a 32-bit
 * byte-length prefix and is allocated only by SysAllocString,
 * SysAllocStringLen or SysAllocStringByteLen and freed only by SysFreeString.
 */
#ifndef AUTOMATION_AUTOMATION_H
#define AUTOMATION_AUTOMATION_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
#include <uchar.h>
#define AUTOMATION_EXTERN_C extern "C"
#define AUTOMATION_BEGIN_C extern "C" {
#define AUTOMATION_END_C }
#else
#include <uchar.h>
#define AUTOMATION_EXTERN_C extern
#define AUTOMATION_BEGIN_C
#define AUTOMATION_END_C
#endif

#define AUTOMATION_API __attribute__((visibility("default")))

AUTOMATION_BEGIN_C

/* ---- Scalar types ------------------------------------------------------ */

typedef int32_t HRESULT;
typedef int32_t SCODE;
typedef int32_t LONG;
typedef uint32_t ULONG;
typedef uint32_t DWORD;
typedef uint16_t WORD;
typedef uint16_t USHORT;
typedef int16_t SHORT;
typedef uint8_t BYTE;
typedef int32_t BOOL;
typedef int32_t INT;
typedef uint32_t UINT;
typedef uint32_t LCID;
typedef int32_t DISPID;
typedef int32_t MEMBERID;
typedef uint32_t HREFTYPE;
typedef uint16_t VARTYPE;
typedef int16_t VARIANT_BOOL;
typedef char16_t OLECHAR;
typedef OLECHAR *LPOLESTR;
typedef const OLECHAR *LPCOLESTR;
typedef OLECHAR *BSTR;
typedef double DATE;
typedef uintptr_t ULONG_PTR;

#define VARIANT_TRUE ((VARIANT_BOOL)-1)
#define VARIANT_FALSE ((VARIANT_BOOL)0)

typedef struct GUID {
  uint32_t Data1;
  uint16_t Data2;
  uint16_t Data3;
  uint8_t Data4[8];
} GUID;
typedef GUID IID;
typedef GUID CLSID;
typedef const GUID *REFGUID;
typedef const IID *REFIID;
typedef const CLSID *REFCLSID;

/* ---- HRESULT values (Windows numbers) ---------------------------------- */

#define MAKE_HRESULT_VALUE(v) ((HRESULT)(uint32_t)(v))
#define SUCCEEDED(hr) (((HRESULT)(hr)) >= 0)
#define FAILED(hr) (((HRESULT)(hr)) < 0)

#define S_OK MAKE_HRESULT_VALUE(0x00000000u)
#define S_FALSE MAKE_HRESULT_VALUE(0x00000001u)
#define E_NOTIMPL MAKE_HRESULT_VALUE(0x80004001u)
#define E_NOINTERFACE MAKE_HRESULT_VALUE(0x80004002u)
#define E_POINTER MAKE_HRESULT_VALUE(0x80004003u)
#define E_ABORT MAKE_HRESULT_VALUE(0x80004004u)
#define E_FAIL MAKE_HRESULT_VALUE(0x80004005u)
#define E_UNEXPECTED MAKE_HRESULT_VALUE(0x8000FFFFu)
#define E_ACCESSDENIED MAKE_HRESULT_VALUE(0x80070005u)
#define E_HANDLE MAKE_HRESULT_VALUE(0x80070006u)
#define E_OUTOFMEMORY MAKE_HRESULT_VALUE(0x8007000Eu)
#define E_INVALIDARG MAKE_HRESULT_VALUE(0x80070057u)
#define CO_E_NOTINITIALIZED MAKE_HRESULT_VALUE(0x800401F0u)
#define CO_E_CLASSSTRING MAKE_HRESULT_VALUE(0x800401F3u)
#define CO_E_DLLNOTFOUND MAKE_HRESULT_VALUE(0x800401F8u)
#define CO_E_ERRORINDLL MAKE_HRESULT_VALUE(0x800401F9u)
#define REGDB_E_READREGDB MAKE_HRESULT_VALUE(0x80040150u)
#define REGDB_E_WRITEREGDB MAKE_HRESULT_VALUE(0x80040151u)
#define REGDB_E_KEYMISSING MAKE_HRESULT_VALUE(0x80040152u)
#define REGDB_E_CLASSNOTREG MAKE_HRESULT_VALUE(0x80040154u)
#define CLASS_E_NOAGGREGATION MAKE_HRESULT_VALUE(0x80040110u)
#define CLASS_E_CLASSNOTAVAILABLE MAKE_HRESULT_VALUE(0x80040111u)
#define CONNECT_E_NOCONNECTION MAKE_HRESULT_VALUE(0x80040200u)
#define SELFREG_E_TYPELIB MAKE_HRESULT_VALUE(0x80040200u)
#define SELFREG_E_CLASS MAKE_HRESULT_VALUE(0x80040201u)
#define TYPE_E_ELEMENTNOTFOUND MAKE_HRESULT_VALUE(0x8002802Bu)
#define TYPE_E_LIBNOTREGISTERED MAKE_HRESULT_VALUE(0x8002801Du)
#define TYPE_E_CANTLOADLIBRARY MAKE_HRESULT_VALUE(0x80029C4Au)
#define DISP_E_UNKNOWNINTERFACE MAKE_HRESULT_VALUE(0x80020001u)
#define DISP_E_MEMBERNOTFOUND MAKE_HRESULT_VALUE(0x80020003u)
#define DISP_E_PARAMNOTFOUND MAKE_HRESULT_VALUE(0x80020004u)
#define DISP_E_TYPEMISMATCH MAKE_HRESULT_VALUE(0x80020005u)
#define DISP_E_UNKNOWNNAME MAKE_HRESULT_VALUE(0x80020006u)
#define DISP_E_NONAMEDARGS MAKE_HRESULT_VALUE(0x80020007u)
#define DISP_E_BADVARTYPE MAKE_HRESULT_VALUE(0x80020008u)
#define DISP_E_EXCEPTION MAKE_HRESULT_VALUE(0x80020009u)
#define DISP_E_OVERFLOW MAKE_HRESULT_VALUE(0x8002000Au)
#define DISP_E_BADINDEX MAKE_HRESULT_VALUE(0x8002000Bu)
#define DISP_E_UNKNOWNLCID MAKE_HRESULT_VALUE(0x8002000Cu)
#define DISP_E_ARRAYISLOCKED MAKE_HRESULT_VALUE(0x8002000Du)
#define DISP_E_BADPARAMCOUNT MAKE_HRESULT_VALUE(0x8002000Eu)
#define DISP_E_PARAMNOTOPTIONAL MAKE_HRESULT_VALUE(0x8002000Fu)
#define RPC_E_CHANGED_MODE MAKE_HRESULT_VALUE(0x80010106u)
#define TYPE_E_REGISTRYACCESS MAKE_HRESULT_VALUE(0x8002801Cu)

/* ---- VARIANT (Windows x86-64 layout: 24 bytes) --------------------------- */

enum VARENUM {
  VT_EMPTY = 0,
  VT_NULL = 1,
  VT_I2 = 2,
  VT_I4 = 3,
  VT_BSTR = 8,
  VT_DISPATCH = 9,
  VT_ERROR = 10,
  VT_BOOL = 11,
  VT_VARIANT = 12,
  VT_UNKNOWN = 13,
  VT_UI1 = 17,
  VT_UI4 = 19,
  VT_INT = 22,
  VT_UINT = 23,
  VT_VOID = 24,
  VT_HRESULT = 25,
  VT_PTR = 26,
  VT_USERDEFINED = 29,
  VT_BYREF = 0x4000
};

struct IUnknown;
struct IDispatch;

typedef struct VARIANT {
  VARTYPE vt;
  WORD wReserved1;
  WORD wReserved2;
  WORD wReserved3;
  union {
    LONG lVal;
    BYTE bVal;
    SHORT iVal;
    INT intVal;
    UINT uintVal;
    ULONG ulVal;
    VARIANT_BOOL boolVal;
    SCODE scode;
    BSTR bstrVal;
    struct IUnknown *punkVal;
    struct IDispatch *pdispVal;
    LONG *plVal;
    VARIANT_BOOL *pboolVal;
    BSTR *pbstrVal;
    struct VARIANT *pvarVal;
    void *byref;
    struct {
      void *pvRecord;
      void *pRecInfo;
    } brecVal;
  };
} VARIANT;
typedef VARIANT VARIANTARG;

typedef struct DISPPARAMS {
  VARIANTARG *rgvarg;
  DISPID *rgdispidNamedArgs;
  UINT cArgs;
  UINT cNamedArgs;
} DISPPARAMS;

typedef struct EXCEPINFO {
  WORD wCode;
  WORD wReserved;
  BSTR bstrSource;
  BSTR bstrDescription;
  BSTR bstrHelpFile;
  DWORD dwHelpContext;
  void *pvReserved;
  HRESULT (*pfnDeferredFillIn)(struct EXCEPINFO *);
  SCODE scode;
} EXCEPINFO;

#define DISPATCH_METHOD 0x1
#define DISPATCH_PROPERTYGET 0x2
#define DISPATCH_PROPERTYPUT 0x4
#define DISPATCH_PROPERTYPUTREF 0x8

#define DISPID_UNKNOWN (-1)
#define DISPID_VALUE 0
#define DISPID_PROPERTYPUT (-3)

#define LOCALE_SYSTEM_DEFAULT 0x0800u
#define LOCALE_USER_DEFAULT 0x0400u

/* ---- Type information (the subset of the Windows structures clients read) */

typedef enum TYPEKIND {
  TKIND_ENUM = 0,
  TKIND_RECORD = 1,
  TKIND_MODULE = 2,
  TKIND_INTERFACE = 3,
  TKIND_DISPATCH = 4,
  TKIND_COCLASS = 5,
  TKIND_ALIAS = 6,
  TKIND_UNION = 7,
  TKIND_MAX = 8
} TYPEKIND;

typedef enum FUNCKIND {
  FUNC_VIRTUAL = 0,
  FUNC_PUREVIRTUAL = 1,
  FUNC_NONVIRTUAL = 2,
  FUNC_STATIC = 3,
  FUNC_DISPATCH = 4
} FUNCKIND;

typedef enum INVOKEKIND {
  INVOKE_FUNC = 1,
  INVOKE_PROPERTYGET = 2,
  INVOKE_PROPERTYPUT = 4,
  INVOKE_PROPERTYPUTREF = 8
} INVOKEKIND;

typedef enum CALLCONV { CC_CDECL = 1, CC_STDCALL = 4 } CALLCONV;

typedef enum VARKIND { VAR_PERINSTANCE = 0, VAR_STATIC = 1, VAR_CONST = 2, VAR_DISPATCH = 3 } VARKIND;

typedef enum SYSKIND { SYS_WIN16 = 0, SYS_WIN32 = 1, SYS_MAC = 2, SYS_WIN64 = 3 } SYSKIND;

#define PARAMFLAG_NONE 0x00
#define PARAMFLAG_FIN 0x01
#define PARAMFLAG_FOUT 0x02
#define PARAMFLAG_FLCID 0x04
#define PARAMFLAG_FRETVAL 0x08
#define PARAMFLAG_FOPT 0x10
#define PARAMFLAG_FHASDEFAULT 0x20

#define TYPEFLAG_FAPPOBJECT 0x01
#define TYPEFLAG_FCANCREATE 0x02
#define TYPEFLAG_FHIDDEN 0x10
#define TYPEFLAG_FDUAL 0x40
#define TYPEFLAG_FNONEXTENSIBLE 0x80
#define TYPEFLAG_FOLEAUTOMATION 0x100

#define IMPLTYPEFLAG_FDEFAULT 0x1
#define IMPLTYPEFLAG_FSOURCE 0x2

typedef struct TYPEDESC {
  union {
    struct TYPEDESC *lptdesc;
    void *lpadesc;
    HREFTYPE hreftype;
  };
  VARTYPE vt;
} TYPEDESC;

typedef struct IDLDESC {
  ULONG_PTR dwReserved;
  USHORT wIDLFlags;
} IDLDESC;

typedef struct PARAMDESCEX {
  ULONG cBytes;
  VARIANTARG varDefaultValue;
} PARAMDESCEX;

typedef struct PARAMDESC {
  PARAMDESCEX *pparamdescex;
  USHORT wParamFlags;
} PARAMDESC;

typedef struct ELEMDESC {
  TYPEDESC tdesc;
  union {
    IDLDESC idldesc;
    PARAMDESC paramdesc;
  };
} ELEMDESC;

typedef struct TYPEATTR {
  GUID guid;
  LCID lcid;
  DWORD dwReserved;
  MEMBERID memidConstructor;
  MEMBERID memidDestructor;
  LPOLESTR lpstrSchema;
  ULONG cbSizeInstance;
  TYPEKIND typekind;
  WORD cFuncs;
  WORD cVars;
  WORD cImplTypes;
  WORD cbSizeVft;
  WORD cbAlignment;
  WORD wTypeFlags;
  WORD wMajorVerNum;
  WORD wMinorVerNum;
  TYPEDESC tdescAlias;
  IDLDESC idldescType;
} TYPEATTR;

typedef struct FUNCDESC {
  MEMBERID memid;
  SCODE *lprgscode;
  ELEMDESC *lprgelemdescParam;
  FUNCKIND funckind;
  INVOKEKIND invkind;
  CALLCONV callconv;
  SHORT cParams;
  SHORT cParamsOpt;
  SHORT oVft;
  SHORT cScodes;
  ELEMDESC elemdescFunc;
  WORD wFuncFlags;
} FUNCDESC;

typedef struct VARDESC {
  MEMBERID memid;
  LPOLESTR lpstrSchema;
  union {
    ULONG oInst;
    VARIANT *lpvarValue;
  };
  ELEMDESC elemdescVar;
  WORD wVarFlags;
  VARKIND varkind;
} VARDESC;

typedef struct TLIBATTR {
  GUID guid;
  LCID lcid;
  SYSKIND syskind;
  WORD wMajorVerNum;
  WORD wMinorVerNum;
  WORD wLibFlags;
} TLIBATTR;

#define MEMBERID_NIL DISPID_UNKNOWN

/* ---- Interface identifiers (Windows values) --------------------------------- */

AUTOMATION_API extern const IID IID_NULL;
AUTOMATION_API extern const IID IID_IUnknown;               /* 00000000-0000-0000-C000-000000000046 */
AUTOMATION_API extern const IID IID_IClassFactory;          /* 00000001-0000-0000-C000-000000000046 */
AUTOMATION_API extern const IID IID_IDispatch;              /* 00020400-0000-0000-C000-000000000046 */
AUTOMATION_API extern const IID IID_ITypeInfo;              /* 00020401-0000-0000-C000-000000000046 */
AUTOMATION_API extern const IID IID_ITypeLib;               /* 00020402-0000-0000-C000-000000000046 */
AUTOMATION_API extern const IID IID_IErrorInfo;             /* 1CF2B120-547D-101B-8E65-08002B2BD119 */
AUTOMATION_API extern const IID IID_ICreateErrorInfo;       /* 22F03340-547D-101B-8E65-08002B2BD119 */
AUTOMATION_API extern const IID IID_ISupportErrorInfo;      /* DF0B3D60-548F-101B-8E65-08002B2BD119 */
AUTOMATION_API extern const IID IID_IConnectionPointContainer; /* B196B284-BAB4-101A-B69C-00AA00341D07 */
AUTOMATION_API extern const IID IID_IEnumConnectionPoints;  /* B196B285-BAB4-101A-B69C-00AA00341D07 */
AUTOMATION_API extern const IID IID_IConnectionPoint;       /* B196B286-BAB4-101A-B69C-00AA00341D07 */

/* ---- Interfaces ---------------------------------------------------------- */

#ifdef __cplusplus
} /* extern "C" */

struct IUnknown {
  virtual HRESULT QueryInterface(REFIID riid, void **ppv) = 0;
  virtual ULONG AddRef() = 0;
  virtual ULONG Release() = 0;
};

struct ITypeInfo;
struct ITypeLib;

struct IDispatch : IUnknown {
  virtual HRESULT GetTypeInfoCount(UINT *pctinfo) = 0;
  virtual HRESULT GetTypeInfo(UINT iTInfo, LCID lcid, ITypeInfo **ppTInfo) = 0;
  virtual HRESULT GetIDsOfNames(REFIID riid, LPOLESTR *rgszNames, UINT cNames, LCID lcid,
                                DISPID *rgDispId) = 0;
  virtual HRESULT Invoke(DISPID dispIdMember, REFIID riid, LCID lcid, WORD wFlags,
                         DISPPARAMS *pDispParams, VARIANT *pVarResult, EXCEPINFO *pExcepInfo,
                         UINT *puArgErr) = 0;
};

struct IClassFactory : IUnknown {
  virtual HRESULT CreateInstance(IUnknown *pUnkOuter, REFIID riid, void **ppvObject) = 0;
  virtual HRESULT LockServer(BOOL fLock) = 0;
};

struct IErrorInfo : IUnknown {
  virtual HRESULT GetGUID(GUID *pGUID) = 0;
  virtual HRESULT GetSource(BSTR *pBstrSource) = 0;
  virtual HRESULT GetDescription(BSTR *pBstrDescription) = 0;
  virtual HRESULT GetHelpFile(BSTR *pBstrHelpFile) = 0;
  virtual HRESULT GetHelpContext(DWORD *pdwHelpContext) = 0;
};

struct ICreateErrorInfo : IUnknown {
  virtual HRESULT SetGUID(REFGUID rguid) = 0;
  virtual HRESULT SetSource(LPOLESTR szSource) = 0;
  virtual HRESULT SetDescription(LPOLESTR szDescription) = 0;
  virtual HRESULT SetHelpFile(LPOLESTR szHelpFile) = 0;
  virtual HRESULT SetHelpContext(DWORD dwHelpContext) = 0;
};

struct ISupportErrorInfo : IUnknown {
  virtual HRESULT InterfaceSupportsErrorInfo(REFIID riid) = 0;
};

struct IConnectionPointContainer;

struct IConnectionPoint : IUnknown {
  virtual HRESULT GetConnectionInterface(IID *pIID) = 0;
  virtual HRESULT GetConnectionPointContainer(IConnectionPointContainer **ppCPC) = 0;
  virtual HRESULT Advise(IUnknown *pUnkSink, DWORD *pdwCookie) = 0;
  virtual HRESULT Unadvise(DWORD dwCookie) = 0;
  virtual HRESULT EnumConnections(void **ppEnum) = 0;
};

struct IEnumConnectionPoints : IUnknown {
  virtual HRESULT Next(ULONG cConnections, IConnectionPoint **ppCP, ULONG *pcFetched) = 0;
  virtual HRESULT Skip(ULONG cConnections) = 0;
  virtual HRESULT Reset() = 0;
  virtual HRESULT Clone(IEnumConnectionPoints **ppEnum) = 0;
};

struct IConnectionPointContainer : IUnknown {
  virtual HRESULT EnumConnectionPoints(IEnumConnectionPoints **ppEnum) = 0;
  virtual HRESULT FindConnectionPoint(REFIID riid, IConnectionPoint **ppCP) = 0;
};

/* The full Windows method order; members that clients of this runtime do
   not need may answer E_NOTIMPL. */
struct ITypeInfo : IUnknown {
  virtual HRESULT GetTypeAttr(TYPEATTR **ppTypeAttr) = 0;
  virtual HRESULT GetTypeComp(void **ppTComp) = 0;
  virtual HRESULT GetFuncDesc(UINT index, FUNCDESC **ppFuncDesc) = 0;
  virtual HRESULT GetVarDesc(UINT index, VARDESC **ppVarDesc) = 0;
  virtual HRESULT GetNames(MEMBERID memid, BSTR *rgBstrNames, UINT cMaxNames, UINT *pcNames) = 0;
  virtual HRESULT GetRefTypeOfImplType(UINT index, HREFTYPE *pRefType) = 0;
  virtual HRESULT GetImplTypeFlags(UINT index, INT *pImplTypeFlags) = 0;
  virtual HRESULT GetIDsOfNames(LPOLESTR *rgszNames, UINT cNames, MEMBERID *pMemId) = 0;
  virtual HRESULT Invoke(void *pvInstance, MEMBERID memid, WORD wFlags, DISPPARAMS *pDispParams,
                         VARIANT *pVarResult, EXCEPINFO *pExcepInfo, UINT *puArgErr) = 0;
  virtual HRESULT GetDocumentation(MEMBERID memid, BSTR *pBstrName, BSTR *pBstrDocString,
                                   DWORD *pdwHelpContext, BSTR *pBstrHelpFile) = 0;
  virtual HRESULT GetDllEntry(MEMBERID memid, INVOKEKIND invKind, BSTR *pBstrDllName,
                              BSTR *pBstrName, WORD *pwOrdinal) = 0;
  virtual HRESULT GetRefTypeInfo(HREFTYPE hRefType, ITypeInfo **ppTInfo) = 0;
  virtual HRESULT AddressOfMember(MEMBERID memid, INVOKEKIND invKind, void **ppv) = 0;
  virtual HRESULT CreateInstance(IUnknown *pUnkOuter, REFIID riid, void **ppvObj) = 0;
  virtual HRESULT GetMops(MEMBERID memid, BSTR *pBstrMops) = 0;
  virtual HRESULT GetContainingTypeLib(ITypeLib **ppTLib, UINT *pIndex) = 0;
  virtual void ReleaseTypeAttr(TYPEATTR *pTypeAttr) = 0;
  virtual void ReleaseFuncDesc(FUNCDESC *pFuncDesc) = 0;
  virtual void ReleaseVarDesc(VARDESC *pVarDesc) = 0;
};

struct ITypeLib : IUnknown {
  virtual UINT GetTypeInfoCount() = 0;
  virtual HRESULT GetTypeInfo(UINT index, ITypeInfo **ppTInfo) = 0;
  virtual HRESULT GetTypeInfoType(UINT index, TYPEKIND *pTKind) = 0;
  virtual HRESULT GetTypeInfoOfGuid(REFGUID guid, ITypeInfo **ppTinfo) = 0;
  virtual HRESULT GetLibAttr(TLIBATTR **ppTLibAttr) = 0;
  virtual HRESULT GetTypeComp(void **ppTComp) = 0;
  virtual HRESULT GetDocumentation(INT index, BSTR *pBstrName, BSTR *pBstrDocString,
                                   DWORD *pdwHelpContext, BSTR *pBstrHelpFile) = 0;
  virtual HRESULT IsName(LPOLESTR szNameBuf, ULONG lHashVal, BOOL *pfName) = 0;
  virtual HRESULT FindName(LPOLESTR szNameBuf, ULONG lHashVal, ITypeInfo **ppTInfo,
                           MEMBERID *rgMemId, USHORT *pcFound) = 0;
  virtual void ReleaseTLibAttr(TLIBATTR *pTLibAttr) = 0;
};

typedef IUnknown *LPUNKNOWN;
typedef IDispatch *LPDISPATCH;

extern "C" {
#else /* C clients: the same tables, reached through lpVtbl */

typedef struct IUnknown IUnknown;
typedef struct IDispatch IDispatch;
typedef struct IClassFactory IClassFactory;
typedef struct IErrorInfo IErrorInfo;
typedef struct ICreateErrorInfo ICreateErrorInfo;
typedef struct ITypeInfo ITypeInfo;
typedef struct ITypeLib ITypeLib;

typedef struct IUnknownVtbl {
  HRESULT (*QueryInterface)(IUnknown *This, REFIID riid, void **ppv);
  ULONG (*AddRef)(IUnknown *This);
  ULONG (*Release)(IUnknown *This);
} IUnknownVtbl;
struct IUnknown {
  const IUnknownVtbl *lpVtbl;
};

typedef struct IDispatchVtbl {
  HRESULT (*QueryInterface)(IDispatch *This, REFIID riid, void **ppv);
  ULONG (*AddRef)(IDispatch *This);
  ULONG (*Release)(IDispatch *This);
  HRESULT (*GetTypeInfoCount)(IDispatch *This, UINT *pctinfo);
  HRESULT (*GetTypeInfo)(IDispatch *This, UINT iTInfo, LCID lcid, ITypeInfo **ppTInfo);
  HRESULT (*GetIDsOfNames)(IDispatch *This, REFIID riid, LPOLESTR *rgszNames, UINT cNames,
                           LCID lcid, DISPID *rgDispId);
  HRESULT (*Invoke)(IDispatch *This, DISPID dispIdMember, REFIID riid, LCID lcid, WORD wFlags,
                    DISPPARAMS *pDispParams, VARIANT *pVarResult, EXCEPINFO *pExcepInfo,
                    UINT *puArgErr);
} IDispatchVtbl;
struct IDispatch {
  const IDispatchVtbl *lpVtbl;
};

typedef struct IClassFactoryVtbl {
  HRESULT (*QueryInterface)(IClassFactory *This, REFIID riid, void **ppv);
  ULONG (*AddRef)(IClassFactory *This);
  ULONG (*Release)(IClassFactory *This);
  HRESULT (*CreateInstance)(IClassFactory *This, IUnknown *pUnkOuter, REFIID riid,
                            void **ppvObject);
  HRESULT (*LockServer)(IClassFactory *This, BOOL fLock);
} IClassFactoryVtbl;
struct IClassFactory {
  const IClassFactoryVtbl *lpVtbl;
};

typedef struct IErrorInfoVtbl {
  HRESULT (*QueryInterface)(IErrorInfo *This, REFIID riid, void **ppv);
  ULONG (*AddRef)(IErrorInfo *This);
  ULONG (*Release)(IErrorInfo *This);
  HRESULT (*GetGUID)(IErrorInfo *This, GUID *pGUID);
  HRESULT (*GetSource)(IErrorInfo *This, BSTR *pBstrSource);
  HRESULT (*GetDescription)(IErrorInfo *This, BSTR *pBstrDescription);
  HRESULT (*GetHelpFile)(IErrorInfo *This, BSTR *pBstrHelpFile);
  HRESULT (*GetHelpContext)(IErrorInfo *This, DWORD *pdwHelpContext);
} IErrorInfoVtbl;
struct IErrorInfo {
  const IErrorInfoVtbl *lpVtbl;
};

#endif /* __cplusplus */

/* ---- Runtime functions ----------------------------------------------------- */

#define COINIT_MULTITHREADED 0x0
#define COINIT_APARTMENTTHREADED 0x2
#define CLSCTX_INPROC_SERVER 0x1
#define CLSCTX_ALL 0x17
#define CHARS_IN_GUID 39

/* Strings */
AUTOMATION_API BSTR SysAllocString(const OLECHAR *psz);
AUTOMATION_API BSTR SysAllocStringLen(const OLECHAR *strIn, UINT ui);
AUTOMATION_API BSTR SysAllocStringByteLen(const char *psz, UINT len);
AUTOMATION_API INT SysReAllocString(BSTR *pbstr, const OLECHAR *psz);
AUTOMATION_API void SysFreeString(BSTR bstrString);
AUTOMATION_API UINT SysStringLen(BSTR pbstr);
AUTOMATION_API UINT SysStringByteLen(BSTR bstr);

/* Variants */
#define VARIANT_NOVALUEPROP 0x1
#define VARIANT_ALPHABOOL 0x2
AUTOMATION_API void VariantInit(VARIANTARG *pvarg);
AUTOMATION_API HRESULT VariantClear(VARIANTARG *pvarg);
AUTOMATION_API HRESULT VariantCopy(VARIANTARG *pvargDest, const VARIANTARG *pvargSrc);
AUTOMATION_API HRESULT VariantChangeType(VARIANTARG *pvargDest, const VARIANTARG *pvarSrc,
                                         USHORT wFlags, VARTYPE vt);

/* Apartments */
AUTOMATION_API HRESULT CoInitialize(void *pvReserved);
AUTOMATION_API HRESULT CoInitializeEx(void *pvReserved, DWORD dwCoInit);
AUTOMATION_API void CoUninitialize(void);

/* GUIDs and class lookup through the registry (HKCR) */
AUTOMATION_API BOOL IsEqualGUID(REFGUID a, REFGUID b);
AUTOMATION_API HRESULT CLSIDFromString(LPCOLESTR lpsz, CLSID *pclsid);
AUTOMATION_API INT StringFromGUID2(REFGUID rguid, LPOLESTR lpsz, INT cchMax);
AUTOMATION_API HRESULT CLSIDFromProgID(LPCOLESTR lpszProgID, CLSID *lpclsid);
AUTOMATION_API HRESULT CoCreateInstance(REFCLSID rclsid, IUnknown *pUnkOuter, DWORD dwClsContext,
                                        REFIID riid, void **ppv);
AUTOMATION_API HRESULT CoGetClassObject(REFCLSID rclsid, DWORD dwClsContext, void *pvReserved,
                                        REFIID riid, void **ppv);

/* Per-thread error information */
AUTOMATION_API HRESULT SetErrorInfo(ULONG dwReserved, IErrorInfo *perrinfo);
AUTOMATION_API HRESULT GetErrorInfo(ULONG dwReserved, IErrorInfo **pperrinfo);
AUTOMATION_API HRESULT CreateErrorInfo(ICreateErrorInfo **pperrinfo);

/* Type libraries. A server module exports
     HRESULT DllGetTypeLib(ITypeLib **pptlib);
   which stands in for the type library resource; LoadTypeLib loads the
   module by path and asks it. RegisterTypeLib writes
   HKCR\TypeLib\{LIBID}\<major>.<minor> (name, "0\linux64" = path, FLAGS,
   HELPDIR); UnRegisterTypeLib removes that version key. */
AUTOMATION_API HRESULT LoadTypeLib(const char *modulePath, ITypeLib **pptlib);
AUTOMATION_API HRESULT RegisterTypeLib(ITypeLib *ptlib, const char *modulePath,
                                       const char *helpDir);
AUTOMATION_API HRESULT UnRegisterTypeLib(REFGUID libID, WORD wVerMajor, WORD wVerMinor, LCID lcid,
                                         SYSKIND syskind);

/* Signatures of the exports an in-process server provides */
typedef HRESULT (*PFN_DllGetClassObject)(REFCLSID rclsid, REFIID riid, void **ppv);
typedef HRESULT (*PFN_DllCanUnloadNow)(void);
typedef HRESULT (*PFN_DllRegisterServer)(void);
typedef HRESULT (*PFN_DllUnregisterServer)(void);
typedef HRESULT (*PFN_DllGetTypeLib)(ITypeLib **pptlib);

AUTOMATION_END_C

#endif /* AUTOMATION_AUTOMATION_H */
