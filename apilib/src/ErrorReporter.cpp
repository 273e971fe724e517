#include "src/ErrorReporter.h"

#include <codepage/Codepage.h>
#include <parlink/Parlink.h>

#include <string>

namespace parlink {

void PublishErrorInfo(std::string_view description) {
  ICreateErrorInfo *creator = nullptr;
  if (FAILED(CreateErrorInfo(&creator)) || !creator) return;
  std::u16string source = u"Parlink";
  std::u16string text = codepage::ToUtf16(description);
  std::u16string helpFile = u"C:\\";
  creator->SetGUID(&CLSID_SMS);
  creator->SetSource(source.data());
  creator->SetDescription(text.data());
  creator->SetHelpFile(helpFile.data());
  creator->SetHelpContext(0);
  IErrorInfo *info = nullptr;
  if (SUCCEEDED(creator->QueryInterface(&IID_IErrorInfo, reinterpret_cast<void **>(&info))) &&
      info) {
    SetErrorInfo(0, info);
    info->Release();
  }
  creator->Release();
}

} // namespace parlink
