/* A C11 automation client: it creates the SMS object by programmatic
   identifier and calls a property and a method by name through lpVtbl. */

#include "FrameCClient.h"

#include <automation/automation.h>

#include <stdio.h>
#include <string.h>

static int Fail(char *message, size_t capacity, const char *what, HRESULT hr) {
  snprintf(message, capacity, "%s failed: 0x%08X", what, (unsigned)hr);
  return 1;
}

static DISPID IdOf(IDispatch *object, const char16_t *name, HRESULT *hr) {
  OLECHAR *names[1];
  DISPID id = DISPID_UNKNOWN;
  names[0] = (OLECHAR *)name;
  *hr = object->lpVtbl->GetIDsOfNames(object, &IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
  return id;
}

int RunCClient(char *message, size_t capacity) {
  CLSID clsid;
  IDispatch *object = NULL;
  HRESULT hr;
  DISPID id;
  DISPPARAMS none = {NULL, NULL, 0, 0};
  DISPPARAMS one;
  VARIANT arg;
  VARIANT result;
  EXCEPINFO excep;
  UINT argErr = 0;
  static const char16_t expected[] = u"004120ac";
  int rc = 0;

  message[0] = 0;
  hr = CoInitialize(NULL);
  if (FAILED(hr)) return Fail(message, capacity, "CoInitialize", hr);
  hr = CLSIDFromProgID(u"Parlink.SMS", &clsid);
  if (FAILED(hr)) return Fail(message, capacity, "CLSIDFromProgID", hr);
  hr = CoCreateInstance(&clsid, NULL, CLSCTX_INPROC_SERVER, &IID_IDispatch, (void **)&object);
  if (FAILED(hr) || object == NULL) return Fail(message, capacity, "CoCreateInstance", hr);

  /* A property get: smsQUEUE is 3 on a new object. */
  id = IdOf(object, u"smsQUEUE", &hr);
  if (FAILED(hr) || id != 59) {
    rc = Fail(message, capacity, "GetIDsOfNames(smsQUEUE)", hr);
    goto done;
  }
  VariantInit(&result);
  memset(&excep, 0, sizeof excep);
  hr = object->lpVtbl->Invoke(object, id, &IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET,
                              &none, &result, &excep, &argErr);
  if (FAILED(hr) || result.vt != VT_I4 || result.lVal != 3) {
    rc = Fail(message, capacity, "Invoke(smsQUEUE)", hr);
    goto done;
  }

  /* A method call: EncodeToUnicode of "A" and the euro sign. */
  id = IdOf(object, u"EncodeToUnicode", &hr);
  if (FAILED(hr) || id != 42) {
    rc = Fail(message, capacity, "GetIDsOfNames(EncodeToUnicode)", hr);
    goto done;
  }
  VariantInit(&arg);
  arg.vt = VT_BSTR;
  arg.bstrVal = SysAllocString(u"A\u20ac");
  one.rgvarg = &arg;
  one.rgdispidNamedArgs = NULL;
  one.cArgs = 1;
  one.cNamedArgs = 0;
  VariantInit(&result);
  hr = object->lpVtbl->Invoke(object, id, &IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &one,
                              &result, &excep, &argErr);
  VariantClear(&arg);
  if (FAILED(hr) || result.vt != VT_BSTR || SysStringLen(result.bstrVal) != 8 ||
      memcmp(result.bstrVal, expected, 8 * sizeof(char16_t)) != 0) {
    VariantClear(&result);
    rc = Fail(message, capacity, "Invoke(EncodeToUnicode)", hr);
    goto done;
  }
  VariantClear(&result);

done:
  object->lpVtbl->Release(object);
  CoUninitialize();
  return rc;
}
