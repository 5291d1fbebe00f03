#pragma once
// The server object that the DLL hands out: the reference server's operations, answered by the
// server's own object inside, with IDispatch answered through the embedded type library so that
// late-binding clients reach the same operations by name.

#include "Com.h"
#include "ComObject.h"
#include "ComPtr.h"
#include "QuorvaneInterface.h"

namespace serverdll {

class AutomationObject final
    : public platform::ComObject<quorvane::IQuorvaneAutomation, ISupportErrorInfo> {
 public:
  // Makes an object and asks it for riid; the object goes again when that reference is released.
  static HRESULT Create(REFIID riid, void** object);

  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) override;
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID lcid,
                                          DISPID* ids) override;
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID riid, LCID lcid, WORD flags,
                                   DISPPARAMS* params, VARIANT* result, EXCEPINFO* exception,
                                   UINT* argumentError) override;

#define QV_DECLARE_OPERATION(position, name, kind, parameters, arguments) \
  HRESULT STDMETHODCALLTYPE name parameters override;
#define QV_DECLARE_RESERVED(position) HRESULT STDMETHODCALLTYPE Reserved##position() override;
  QUORVANE_OPERATIONS(QV_DECLARE_OPERATION, QV_DECLARE_RESERVED)
#undef QV_DECLARE_OPERATION
#undef QV_DECLARE_RESERVED

  HRESULT STDMETHODCALLTYPE InterfaceSupportsErrorInfo(REFIID riid) override;

 private:
  explicit AutomationObject(platform::ComPtr<quorvane::IQuorvaneAutomation> inner);
  ~AutomationObject() override;
  void* Interface(REFIID riid) override;
  // The server's object, for one operation.
  quorvane::IQuorvaneAutomation& Inner();

  platform::ComPtr<quorvane::IQuorvaneAutomation> inner_;
};

}  // namespace serverdll
