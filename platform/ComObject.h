#pragma once
// The IUnknown part of our component objects, written once: reference counting, QueryInterface
// and the class object that makes them.
//
//   class Thing final : public platform::ComObject<IFirst, ISecond> {
//     void* Interface(REFIID riid) override;  // the pointer for riid, or nullptr
//     ...
//   };
//   new Thing  // one reference; the last Release deletes it

#include <atomic>
#include <functional>
#include <utility>

#include "Com.h"

namespace platform {

template <typename... Interfaces>
class ComObject : public Interfaces... {
 public:
  ComObject(const ComObject&) = delete;
  ComObject& operator=(const ComObject&) = delete;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
    if (object == nullptr)
      return E_POINTER;
    *object = Interface(riid);
    if (*object == nullptr)
      return E_NOINTERFACE;
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --references_;
    if (left == 0)
      delete this;
    return left;
  }

 protected:
  ComObject() = default;
  virtual ~ComObject() = default;
  // The object's pointer for an interface id it answers, else nullptr.
  virtual void* Interface(REFIID riid) = 0;

 private:
  std::atomic<ULONG> references_{1};
};

// A class object owned by whoever registers it (a static, or a test's scope), not by its
// references: those and the locks only tell the module whether it is in use. It refuses
// aggregation and makes its objects by Create.
class ClassObject final : public IClassFactory {
 public:
  // Makes an object and asks it for riid (*object is null on entry).
  using Create = std::function<HRESULT(REFIID riid, void** object)>;
  // Told +1 or -1 for each lock, and for each reference when countReferences; may be empty.
  using Use = std::function<void(int change)>;

  explicit ClassObject(Create create, Use use = {}, bool countReferences = false)
      : create_(std::move(create)), use_(std::move(use)), countReferences_(countReferences) {}
  ClassObject(const ClassObject&) = delete;
  ClassObject& operator=(const ClassObject&) = delete;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
    if (object == nullptr)
      return E_POINTER;
    if (!(riid == IID_IUnknown || riid == IID_IClassFactory)) {
      *object = nullptr;
      return E_NOINTERFACE;
    }
    *object = static_cast<IClassFactory*>(this);
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override {
    if (countReferences_ && use_)
      use_(+1);
    return 2;
  }
  ULONG STDMETHODCALLTYPE Release() override {
    if (countReferences_ && use_)
      use_(-1);
    return 1;
  }
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** object) override {
    if (object == nullptr)
      return E_POINTER;
    *object = nullptr;
    if (outer != nullptr)
      return CLASS_E_NOAGGREGATION;
    return create_(riid, object);
  }
  HRESULT STDMETHODCALLTYPE LockServer(int lock) override {
    if (use_)
      use_(lock ? +1 : -1);
    return S_OK;
  }

 private:
  Create create_;
  Use use_;
  bool countReferences_;
};

}  // namespace platform
