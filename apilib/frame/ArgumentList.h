// The arguments of one dispatched call, taken from DISPPARAMS and converted
// to the parameter types of the member: positional arguments arrive in
// reverse order, named ones first; missing optional arguments get their
// defaults (a missing text arrives as a null string).
#ifndef PARLINK_FRAME_ARGUMENTLIST_H
#define PARLINK_FRAME_ARGUMENTLIST_H

#include "frame/MemberTable.h"

#include <vector>

namespace parlink::frame {

class ArgumentList {
public:
  ArgumentList() = default;
  ~ArgumentList();
  ArgumentList(const ArgumentList &) = delete;
  ArgumentList &operator=(const ArgumentList &) = delete;

  // Fills the list for `function`. On a conversion failure *argErr (when
  // not null) receives the index in rgvarg of the offending argument.
  HRESULT Bind(const Function &function, const DISPPARAMS &params, UINT *argErr);

  // One VARIANT per parameter, in declaration order.
  const VARIANT *Values() const { return values_.data(); }

private:
  HRESULT Convert(size_t index, const Parameter &param, const VARIANT &source);
  void SetDefault(size_t index, const Parameter &param);
  void Clear();

  std::vector<VARIANT> values_;
  std::vector<bool> owned_; // values_[i] holds a string this list must free
};

} // namespace parlink::frame

#endif // PARLINK_FRAME_ARGUMENTLIST_H
