#pragma once
// The server's automation interface, as the client calls it and the servers implement it. The slot
// order is the contract: the operation at position p is entry 7 + p of the function table (after
// IUnknown's three and IDispatch's four).

#include "Com.h"
#include "QuorvaneIds.h"
#include "QuorvaneOperations.h"

namespace quorvane {

// The operations of QuorvaneOperations.h, in slot order.
struct IQuorvaneAutomation : IDispatch {
#define QV_DECLARE_OPERATION(position, name, kind, parameters, arguments) \
  virtual HRESULT STDMETHODCALLTYPE name parameters = 0;
#define QV_DECLARE_RESERVED(position) virtual HRESULT STDMETHODCALLTYPE Reserved##position() = 0;
  QUORVANE_OPERATIONS(QV_DECLARE_OPERATION, QV_DECLARE_RESERVED)
#undef QV_DECLARE_OPERATION
#undef QV_DECLARE_RESERVED

 protected:
  ~IQuorvaneAutomation() = default;
};

}  // namespace quorvane
