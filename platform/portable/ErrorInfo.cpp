// The thread's error information and the object that carries it.
#include <new>
#include <string>

#include "Com.h"
#include "ComObject.h"

namespace {

class ErrorInfoObject final : public platform::ComObject<IErrorInfo, ICreateErrorInfo> {
 public:
  HRESULT STDMETHODCALLTYPE GetGUID(GUID* pGUID) override {
    if (pGUID == nullptr)
      return E_INVALIDARG;
    *pGUID = guid_;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetSource(BSTR* pBstrSource) override {
    return Give(source_, pBstrSource);
  }
  HRESULT STDMETHODCALLTYPE GetDescription(BSTR* pBstrDescription) override {
    return Give(description_, pBstrDescription);
  }
  HRESULT STDMETHODCALLTYPE GetHelpFile(BSTR* pBstrHelpFile) override {
    return Give(helpFile_, pBstrHelpFile);
  }
  HRESULT STDMETHODCALLTYPE GetHelpContext(DWORD* pdwHelpContext) override {
    if (pdwHelpContext == nullptr)
      return E_INVALIDARG;
    *pdwHelpContext = helpContext_;
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE SetGUID(REFGUID rguid) override {
    guid_ = rguid;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE SetSource(LPOLESTR szSource) override {
    return Take(szSource, source_);
  }
  HRESULT STDMETHODCALLTYPE SetDescription(LPOLESTR szDescription) override {
    return Take(szDescription, description_);
  }
  HRESULT STDMETHODCALLTYPE SetHelpFile(LPOLESTR szHelpFile) override {
    return Take(szHelpFile, helpFile_);
  }
  HRESULT STDMETHODCALLTYPE SetHelpContext(DWORD dwHelpContext) override {
    helpContext_ = dwHelpContext;
    return S_OK;
  }

 private:
  ~ErrorInfoObject() override = default;

  void* Interface(REFIID riid) override {
    if (riid == IID_IUnknown || riid == IID_IErrorInfo)
      return static_cast<IErrorInfo*>(this);
    if (riid == IID_ICreateErrorInfo)
      return static_cast<ICreateErrorInfo*>(this);
    return nullptr;
  }

  static HRESULT Give(const std::u16string& text, BSTR* out) {
    if (out == nullptr)
      return E_INVALIDARG;
    *out = platform::AllocBstr(text);
    return S_OK;
  }
  // A null text is the empty text.
  static HRESULT Take(LPOLESTR text, std::u16string& into) {
    into.clear();
    if (text != nullptr)
      into = text;
    return S_OK;
  }

  GUID guid_{};
  std::u16string source_, description_, helpFile_;
  DWORD helpContext_ = 0;
};

// Releases what a thread left behind when it ends.
struct ThreadErrorInfo {
  IErrorInfo* info = nullptr;
  ~ThreadErrorInfo() {
    if (info != nullptr)
      info->Release();
  }
};
thread_local ThreadErrorInfo threadErrorInfo;

}  // namespace

HRESULT SetErrorInfo(DWORD /*reserved*/, IErrorInfo* info) {
  if (info != nullptr)
    info->AddRef();
  IErrorInfo* former = threadErrorInfo.info;
  threadErrorInfo.info = info;
  if (former != nullptr)
    former->Release();
  return S_OK;
}

HRESULT GetErrorInfo(DWORD /*reserved*/, IErrorInfo** info) {
  if (info == nullptr)
    return E_INVALIDARG;
  *info = threadErrorInfo.info;
  threadErrorInfo.info = nullptr;
  return *info != nullptr ? S_OK : S_FALSE;
}

HRESULT CreateErrorInfo(ICreateErrorInfo** info) {
  if (info == nullptr)
    return E_INVALIDARG;
  *info = new (std::nothrow) ErrorInfoObject;
  return *info != nullptr ? S_OK : E_OUTOFMEMORY;
}

namespace platform {

bool ErrorInfoCrossesProcesses() {
  return true;
}

}  // namespace platform
