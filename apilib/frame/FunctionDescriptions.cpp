#include "frame/FunctionDescriptions.h"

#include <cstring>

namespace parlink::frame {

namespace {

INVOKEKIND InvokeKindOf(MemberKind kind) {
  switch (kind) {
  case MemberKind::Method:
    return INVOKE_FUNC;
  case MemberKind::PropertyGet:
    return INVOKE_PROPERTYGET;
  case MemberKind::PropertyPut:
    return INVOKE_PROPERTYPUT;
  }
  return INVOKE_FUNC;
}

TYPEDESC TypeOf(VARTYPE vt, int enumIndex, HREFTYPE enumHrefBase) {
  TYPEDESC t{};
  if (enumIndex >= 0) {
    t.vt = VT_USERDEFINED;
    t.hreftype = enumHrefBase + static_cast<HREFTYPE>(enumIndex);
  } else {
    t.vt = vt;
  }
  return t;
}

} // namespace

FunctionDescriptions::FunctionDescriptions(std::span<const Function> functions,
                                           HREFTYPE enumHrefBase) {
  entries_.reserve(functions.size());
  for (const Function &f : functions) {
    auto e = std::make_unique<Entry>();
    const size_t inCount = f.params.size();
    const bool hasResult = f.resultVt != VT_EMPTY;
    const size_t total = inCount + (hasResult ? 1 : 0);

    e->params = std::make_unique<ELEMDESC[]>(total > 0 ? total : 1);
    e->defaults = std::make_unique<PARAMDESCEX[]>(inCount > 0 ? inCount : 1);
    e->pointees = std::make_unique<TYPEDESC[]>(1);
    std::memset(e->params.get(), 0, sizeof(ELEMDESC) * (total > 0 ? total : 1));

    for (size_t i = 0; i < inCount; ++i) {
      const Parameter &p = f.params[i];
      ELEMDESC &el = e->params[i];
      el.tdesc = TypeOf(p.vt, p.enumIndex, enumHrefBase);
      el.paramdesc.wParamFlags = PARAMFLAG_FIN;
      if (p.Optional()) {
        el.paramdesc.wParamFlags |= PARAMFLAG_FOPT | PARAMFLAG_FHASDEFAULT;
        PARAMDESCEX &d = e->defaults[i];
        d.cBytes = sizeof(PARAMDESCEX);
        VariantInit(&d.varDefaultValue);
        switch (p.defaultKind) {
        case DefaultKind::Long:
          d.varDefaultValue.vt = VT_I4;
          d.varDefaultValue.lVal = p.defaultNumber;
          break;
        case DefaultKind::Bool:
          d.varDefaultValue.vt = VT_BOOL;
          d.varDefaultValue.boolVal = static_cast<VARIANT_BOOL>(p.defaultNumber);
          break;
        case DefaultKind::Text:
          d.varDefaultValue.vt = VT_BSTR;
          d.varDefaultValue.bstrVal = SysAllocString(u"");
          break;
        case DefaultKind::None:
          break;
        }
        el.paramdesc.pparamdescex = &d;
      }
    }
    if (hasResult) {
      ELEMDESC &el = e->params[inCount];
      e->pointees[0] = TypeOf(f.resultVt, f.resultEnumIndex, enumHrefBase);
      el.tdesc.vt = VT_PTR;
      el.tdesc.lptdesc = &e->pointees[0];
      el.paramdesc.wParamFlags = PARAMFLAG_FOUT | PARAMFLAG_FRETVAL;
    }

    FUNCDESC &d = e->desc;
    d.memid = f.dispid;
    d.lprgscode = nullptr;
    d.lprgelemdescParam = total > 0 ? e->params.get() : nullptr;
    d.funckind = FUNC_PUREVIRTUAL;
    d.invkind = InvokeKindOf(f.kind);
    d.callconv = CC_STDCALL;
    d.cParams = static_cast<SHORT>(total);
    d.cParamsOpt = static_cast<SHORT>(f.OptionalCount());
    d.oVft = static_cast<SHORT>(f.slot * static_cast<int>(sizeof(void *)));
    d.cScodes = 0;
    d.elemdescFunc.tdesc.vt = VT_HRESULT;
    d.wFuncFlags = 0;
    entries_.push_back(std::move(e));
  }
}

FunctionDescriptions::~FunctionDescriptions() {
  for (auto &e : entries_) {
    for (SHORT i = 0; i < e->desc.cParams; ++i) {
      PARAMDESCEX *d = e->params[i].paramdesc.pparamdescex;
      if (d != nullptr) VariantClear(&d->varDefaultValue);
    }
  }
}

const FUNCDESC *FunctionDescriptions::At(size_t index) const {
  return index < entries_.size() ? &entries_[index]->desc : nullptr;
}

bool FunctionDescriptions::Owns(const FUNCDESC *desc) const {
  for (const auto &e : entries_) {
    if (&e->desc == desc) return true;
  }
  return false;
}

} // namespace parlink::frame
