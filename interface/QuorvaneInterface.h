#pragma once
// The server's automation interface, as the client calls it and the servers implement it. The slot
// order is the contract: the operation at position p is entry 7 + p of the function table (after
// IUnknown's three and IDispatch's four).

#include "Com.h"
#include "QuorvaneOperations.h"

namespace quorvane {

// {9470904C-EAB4-4BD4-8724-274F79A89FC0}
inline const CLSID CLASS_CoQuorvaneAutomation = {
    0x9470904C, 0xEAB4, 0x4BD4, {0x87, 0x24, 0x27, 0x4F, 0x79, 0xA8, 0x9F, 0xC0}};
// {B87E668C-F2BD-44DB-A96D-B43E84439CD8}
inline const IID IID_IQuorvaneAutomation = {
    0xB87E668C, 0xF2BD, 0x44DB, {0xA9, 0x6D, 0xB4, 0x3E, 0x84, 0x43, 0x9C, 0xD8}};

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
