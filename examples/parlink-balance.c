/* parlink-balance: logs in to the SMS gateway through the Parlink SMS object
   and prints the account's balance, calling the object through its vtable.

     cc -std=c11 parlink-balance.c $(pkg-config --cflags --libs parlink) -o parlink-balance
     ./parlink-balance CLIENT_ID USER PASSWORD

   The object is created by its programmatic identifier "Parlink.SMS", which
   must be registered for the user: dovetext-launch registers it on its first
   start, or run parlink-regsvr PREFIX/lib/libparlink.so.2. The gateway is
   the library's default address unless PARLINK_BASE_URL names another one.

   Exit status: 0 when both calls succeeded, 1 when the gateway refused one
   (its error is printed), 2 for wrong arguments or a missing object. */

#include <parlink/ISMS.h>

#include <iconv.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

/* Converts between UTF-8 and UTF-16; the result is allocated with malloc
   and ends with a zero of its width. NULL when the text cannot be converted. */
static void *Convert(const char *to, const char *from, const void *in, size_t inBytes,
                     size_t unit) {
  iconv_t cd = iconv_open(to, from);
  if (cd == (iconv_t)-1) return NULL;
  size_t capacity = inBytes * 2 + unit;
  char *out = malloc(capacity);
  char *src = (char *)in;
  char *dst = out;
  size_t srcLeft = inBytes;
  size_t dstLeft = capacity - unit;
  size_t done = out != NULL ? iconv(cd, &src, &srcLeft, &dst, &dstLeft) : (size_t)-1;
  iconv_close(cd);
  if (done == (size_t)-1) {
    free(out);
    return NULL;
  }
  memset(dst, 0, unit);
  return out;
}

static BSTR ToBstr(const char *utf8) {
  OLECHAR *wide = Convert("UTF-16LE", "UTF-8", utf8, strlen(utf8), sizeof(OLECHAR));
  BSTR text = wide != NULL ? SysAllocString(wide) : NULL;
  free(wide);
  return text;
}

/* Prints a result text and frees it. */
static void PrintResult(const char *what, BSTR text) {
  char *utf8 = text != NULL ? Convert("UTF-8", "UTF-16LE", text, SysStringByteLen(text), 1) : NULL;
  printf("%s: %s\n", what, utf8 != NULL ? utf8 : "");
  free(utf8);
  SysFreeString(text);
}

/* True when the last call succeeded; otherwise prints the object's error. */
static int Succeeded(ISMS *sms) {
  LONG error = 0;
  BSTR description = NULL;
  sms->lpVtbl->get_smsERROR(sms, &error);
  if (error == 0) return 1;
  sms->lpVtbl->get_smsERROR_DESC(sms, &description);
  fprintf(stderr, "parlink-balance: error %d: ", (int)error);
  char *utf8 = description != NULL
                   ? Convert("UTF-8", "UTF-16LE", description, SysStringByteLen(description), 1)
                   : NULL;
  fprintf(stderr, "%s\n", utf8 != NULL ? utf8 : "");
  free(utf8);
  SysFreeString(description);
  return 0;
}

int main(int argc, char **argv) {
  static const IID iidISMS = PARLINK_IID_ISMS_INIT;
  CLSID clsid;
  ISMS *sms = NULL;
  BSTR result = NULL;
  int status = 0;

  if (argc != 4) {
    fprintf(stderr, "Usage: parlink-balance CLIENT_ID USER PASSWORD\n");
    return 2;
  }
  if (FAILED(CoInitialize(NULL))) return 2;
  HRESULT hr = CLSIDFromProgID(u"" PARLINK_PROGID, &clsid);
  if (SUCCEEDED(hr))
    hr = CoCreateInstance(&clsid, NULL, CLSCTX_INPROC_SERVER, &iidISMS, (void **)&sms);
  if (FAILED(hr) || sms == NULL) {
    fprintf(stderr, "parlink-balance: cannot create %s: 0x%08X\n", PARLINK_PROGID, (unsigned)hr);
    CoUninitialize();
    return 2;
  }

  BSTR client = ToBstr(argv[1]);
  BSTR user = ToBstr(argv[2]);
  BSTR password = ToBstr(argv[3]);
  sms->lpVtbl->AuthenticateClient(sms, client, user, password, VARIANT_FALSE, &result);
  PrintResult("AuthenticateClient", result);
  if (!Succeeded(sms)) {
    status = 1;
  } else {
    result = NULL;
    sms->lpVtbl->QueryBalance(sms, &result);
    PrintResult("QueryBalance", result);
    if (!Succeeded(sms)) status = 1;
  }
  SysFreeString(client);
  SysFreeString(user);
  SysFreeString(password);

  sms->lpVtbl->Release(sms);
  CoUninitialize();
  return status;
}
