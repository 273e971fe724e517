#include "MemberCatalog.h"

#include <codepage/Codepage.h>

namespace {

ValueKind KindOf(ITypeInfo *info, const TYPEDESC &type, int depth = 0) {
  switch (type.vt) {
  case VT_BSTR:
    return ValueKind::Text;
  case VT_BOOL:
    return ValueKind::Boolean;
  case VT_I2:
  case VT_I4:
  case VT_INT:
  case VT_UI1:
  case VT_UI4:
  case VT_UINT:
    return ValueKind::Integer;
  case VT_USERDEFINED: {
    if (depth > 8) return ValueKind::Any;
    ITypeInfo *referenced = nullptr;
    if (FAILED(info->GetRefTypeInfo(type.hreftype, &referenced)) || referenced == nullptr)
      return ValueKind::Any;
    ValueKind kind = ValueKind::Any;
    TYPEATTR *attr = nullptr;
    if (SUCCEEDED(referenced->GetTypeAttr(&attr)) && attr != nullptr) {
      if (attr->typekind == TKIND_ENUM) {
        kind = ValueKind::Integer;
      } else if (attr->typekind == TKIND_ALIAS) {
        kind = KindOf(referenced, attr->tdescAlias, depth + 1);
      }
      referenced->ReleaseTypeAttr(attr);
    }
    referenced->Release();
    return kind;
  }
  default:
    return ValueKind::Any;
  }
}

std::string ParamName(ITypeInfo *info, MEMBERID memid, SHORT index) {
  BSTR names[64] = {};
  UINT count = 0;
  std::string name;
  if (SUCCEEDED(info->GetNames(memid, names, 64, &count))) {
    if (static_cast<UINT>(index + 1) < count && names[index + 1] != nullptr) {
      name = codepage::Utf16ToUtf8(
          std::u16string_view(names[index + 1], SysStringLen(names[index + 1])));
    }
    for (UINT i = 0; i < count; ++i)
      SysFreeString(names[i]);
  }
  return name;
}

} // namespace

bool MemberCatalog::Load(IDispatch *object) {
  UINT count = 0;
  if (FAILED(object->GetTypeInfoCount(&count)) || count == 0) return false;
  ITypeInfo *info = nullptr;
  if (FAILED(object->GetTypeInfo(0, LOCALE_USER_DEFAULT, &info)) || info == nullptr) return false;
  TYPEATTR *attr = nullptr;
  if (FAILED(info->GetTypeAttr(&attr)) || attr == nullptr) {
    info->Release();
    return false;
  }
  const WORD functions = attr->cFuncs;
  info->ReleaseTypeAttr(attr);

  for (WORD f = 0; f < functions; ++f) {
    FUNCDESC *desc = nullptr;
    if (FAILED(info->GetFuncDesc(f, &desc)) || desc == nullptr) continue;
    MemberShape &shape = members_[desc->memid];
    std::vector<MemberParam> params;
    for (SHORT p = 0; p < desc->cParams; ++p) {
      const ELEMDESC &el = desc->lprgelemdescParam[p];
      if ((el.paramdesc.wParamFlags & PARAMFLAG_FRETVAL) != 0) continue;
      MemberParam param;
      param.kind = KindOf(info, el.tdesc);
      param.optional = (el.paramdesc.wParamFlags & PARAMFLAG_FOPT) != 0;
      param.name = ParamName(info, desc->memid, p);
      params.push_back(param);
    }
    switch (desc->invkind) {
    case INVOKE_FUNC:
      shape.hasMethod = true;
      shape.methodParams = params;
      break;
    case INVOKE_PROPERTYGET:
      shape.hasGet = true;
      break;
    case INVOKE_PROPERTYPUT:
      shape.hasPut = true;
      if (!params.empty()) shape.putKind = params.back().kind;
      break;
    case INVOKE_PROPERTYPUTREF:
      break;
    }
    info->ReleaseFuncDesc(desc);
  }
  info->Release();
  loaded_ = true;
  return true;
}

const MemberShape *MemberCatalog::Find(DISPID id) const {
  auto it = members_.find(id);
  return it == members_.end() ? nullptr : &it->second;
}
