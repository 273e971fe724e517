// FUNCDESCs derived from the member table, built once and handed out by the
// type information (callers release them, which frees nothing).
#ifndef PARLINK_FRAME_FUNCTIONDESCRIPTIONS_H
#define PARLINK_FRAME_FUNCTIONDESCRIPTIONS_H

#include "frame/MemberTable.h"

#include <memory>
#include <span>
#include <vector>

namespace parlink::frame {

class FunctionDescriptions {
public:
  // `enumHrefBase` is the HREFTYPE of the first enumeration: parameters and
  // results of an enumerated type refer to enumHrefBase + its index.
  FunctionDescriptions(std::span<const Function> functions, HREFTYPE enumHrefBase);
  ~FunctionDescriptions();
  FunctionDescriptions(const FunctionDescriptions &) = delete;
  FunctionDescriptions &operator=(const FunctionDescriptions &) = delete;

  size_t Count() const { return entries_.size(); }
  // Null when out of range.
  const FUNCDESC *At(size_t index) const;
  // True when `desc` is one of the descriptions handed out here.
  bool Owns(const FUNCDESC *desc) const;

private:
  struct Entry {
    FUNCDESC desc{};
    std::unique_ptr<ELEMDESC[]> params;
    std::unique_ptr<TYPEDESC[]> pointees;
    std::unique_ptr<PARAMDESCEX[]> defaults;
  };
  std::vector<std::unique_ptr<Entry>> entries_;
};

} // namespace parlink::frame

#endif // PARLINK_FRAME_FUNCTIONDESCRIPTIONS_H
