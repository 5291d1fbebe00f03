// The class table: registration, creation by class and context, the requested interface, revoking.
#include <gtest/gtest.h>

#include "Com.h"
#include "ComPtr.h"

namespace {

const CLSID kClass = {0x01234567, 0x89AB, 0xCDEF, {1, 2, 3, 4, 5, 6, 7, 8}};
const CLSID kOtherClass = {0x01234567, 0x89AB, 0xCDEF, {1, 2, 3, 4, 5, 6, 7, 9}};

// An object that answers IUnknown and IDispatch and counts its references.
class Thing final : public IDispatch {
 public:
  explicit Thing(int tag) : tag(tag) {}
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    if (riid == IID_IUnknown || riid == IID_IDispatch) {
      *out = this;
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --references;
    if (left == 0)
      delete this;
    return left;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                   UINT*) override {
    return E_NOTIMPL;
  }
  int tag;
  ULONG references = 1;
};

// A class factory on the stack of the test: its reference count shows what the table holds.
class Factory final : public IClassFactory {
 public:
  explicit Factory(int tag, HRESULT failure = S_OK) : tag_(tag), failure_(failure) {}
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    if (riid == IID_IUnknown || riid == IID_IClassFactory) {
      *out = this;
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
  ULONG STDMETHODCALLTYPE Release() override { return --references; }
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** out) override {
    *out = reinterpret_cast<void*>(1);  // garbage that a failing creation must not leak out
    if (outer != nullptr)
      return CLASS_E_NOAGGREGATION;
    if (FAILED(failure_))
      return failure_;
    Thing* thing = new Thing(tag_);
    const HRESULT hr = thing->QueryInterface(riid, out);
    thing->Release();
    return hr;
  }
  HRESULT STDMETHODCALLTYPE LockServer(int) override { return S_OK; }
  ULONG references = 0;

 private:
  int tag_;
  HRESULT failure_;
};

// Registers for the duration of a scope.
struct Registered {
  Registered(REFCLSID clsid, IUnknown* object, DWORD context) {
    EXPECT_EQ(CoRegisterClassObject(clsid, object, context, REGCLS_MULTIPLEUSE, &cookie), S_OK);
  }
  ~Registered() { CoRevokeClassObject(cookie); }
  DWORD cookie = 0;
};

HRESULT Create(REFCLSID clsid, DWORD context, REFIID riid, void** out) {
  return CoCreateInstance(clsid, nullptr, context, riid, out);
}

int TagOf(void* object) {
  return static_cast<Thing*>(static_cast<IDispatch*>(object))->tag;
}

TEST(ClassTable, CreatesTheRegisteredClassWithTheRequestedInterface) {
  Factory factory(7);
  Registered registration(kClass, &factory, CLSCTX_INPROC_SERVER);
  EXPECT_EQ(factory.references, 1u);  // the table holds one reference

  IUnknown* unknown = nullptr;
  ASSERT_EQ(Create(kClass, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER, IID_IUnknown,
                   reinterpret_cast<void**>(&unknown)),
            S_OK);
  EXPECT_EQ(TagOf(unknown), 7);
  EXPECT_EQ(static_cast<Thing*>(static_cast<IDispatch*>(unknown))->references, 1u);
  unknown->Release();
  EXPECT_EQ(factory.references, 1u);  // creation leaves no reference to the factory behind
}

TEST(ClassTable, UnknownClassAndUnsupportedInterface) {
  Factory factory(1);
  Registered registration(kClass, &factory, CLSCTX_INPROC_SERVER);
  void* out = &out;
  EXPECT_EQ(Create(kOtherClass, 5, IID_IUnknown, &out), REGDB_E_CLASSNOTREG);
  EXPECT_EQ(out, nullptr);
  out = &out;
  EXPECT_EQ(Create(kClass, 5, IID_IClassFactory, &out), E_NOINTERFACE);
  EXPECT_EQ(out, nullptr);
  EXPECT_EQ(Create(kClass, 5, IID_IUnknown, nullptr), E_POINTER);
}

TEST(ClassTable, TheClassContextMustMeetTheRegistration) {
  Factory factory(1);
  Registered registration(kClass, &factory, CLSCTX_LOCAL_SERVER);
  struct Case {
    DWORD requested;
    HRESULT expected;
  };
  const Case cases[] = {
      {CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER, S_OK},  // what the client asks for
      {CLSCTX_LOCAL_SERVER, S_OK},
      {CLSCTX_INPROC_SERVER, REGDB_E_CLASSNOTREG},  // registered for the other context only
      {CLSCTX_REMOTE_SERVER, REGDB_E_CLASSNOTREG},
      {0, REGDB_E_CLASSNOTREG},
  };
  for (const Case& c : cases) {
    IUnknown* unknown = nullptr;
    EXPECT_EQ(Create(kClass, c.requested, IID_IUnknown, reinterpret_cast<void**>(&unknown)),
              c.expected)
        << "context " << c.requested;
    if (unknown != nullptr)
      unknown->Release();
  }
}

TEST(ClassTable, FactoryFailuresPassThroughWithANullResult) {
  Factory factory(1, E_OUTOFMEMORY);
  Registered registration(kClass, &factory, CLSCTX_INPROC_SERVER);
  void* out = nullptr;
  EXPECT_EQ(Create(kClass, 5, IID_IUnknown, &out), E_OUTOFMEMORY);
  EXPECT_EQ(out, nullptr);
}

TEST(ClassTable, AnOuterObjectGoesToTheFactory) {
  Factory factory(1);
  Registered registration(kClass, &factory, CLSCTX_INPROC_SERVER);
  void* out = nullptr;
  EXPECT_EQ(CoCreateInstance(kClass, &factory, 5, IID_IUnknown, &out), CLASS_E_NOAGGREGATION);
  EXPECT_EQ(out, nullptr);
}

TEST(ClassTable, AnObjectThatIsNoClassFactoryCannotCreate) {
  Thing* notAFactory = new Thing(1);
  {
    Registered registration(kClass, notAFactory, CLSCTX_INPROC_SERVER);
    void* out = nullptr;
    EXPECT_EQ(Create(kClass, 5, IID_IUnknown, &out), E_NOINTERFACE);
    EXPECT_EQ(out, nullptr);
  }
  EXPECT_EQ(notAFactory->references, 1u);
  notAFactory->Release();
}

TEST(ClassTable, TheNewestRegistrationServesAndRevokingUncovers) {
  Factory older(1), newer(2);
  Registered first(kClass, &older, CLSCTX_INPROC_SERVER);
  DWORD cookie = 0;
  ASSERT_EQ(
      CoRegisterClassObject(kClass, &newer, CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &cookie),
      S_OK);
  EXPECT_NE(cookie, first.cookie);

  IUnknown* unknown = nullptr;
  ASSERT_EQ(Create(kClass, 5, IID_IUnknown, reinterpret_cast<void**>(&unknown)), S_OK);
  EXPECT_EQ(TagOf(unknown), 2);
  unknown->Release();

  EXPECT_EQ(CoRevokeClassObject(cookie), S_OK);
  EXPECT_EQ(newer.references, 0u);  // the table's reference is given back
  EXPECT_EQ(CoRevokeClassObject(cookie), CO_E_OBJNOTREG);

  ASSERT_EQ(Create(kClass, 5, IID_IUnknown, reinterpret_cast<void**>(&unknown)), S_OK);
  EXPECT_EQ(TagOf(unknown), 1);
  unknown->Release();
}

TEST(ClassTable, IsClassRegisteredFollowsRegistrationAndRevoking) {
  EXPECT_FALSE(platform::IsClassRegistered(kClass));
  Factory factory(1);
  {
    Registered registered(kClass, &factory, CLSCTX_INPROC_SERVER);
    EXPECT_TRUE(platform::IsClassRegistered(kClass));
    EXPECT_FALSE(platform::IsClassRegistered(kOtherClass));
    EXPECT_EQ(factory.references, 1u);  // the look-up keeps no reference
  }
  EXPECT_FALSE(platform::IsClassRegistered(kClass));
}

TEST(ClassTable, RegistrationArguments) {
  Factory factory(1);
  EXPECT_EQ(CoRegisterClassObject(kClass, &factory, CLSCTX_INPROC_SERVER, 0, nullptr), E_POINTER);
  DWORD cookie = 99;
  EXPECT_EQ(CoRegisterClassObject(kClass, nullptr, CLSCTX_INPROC_SERVER, 0, &cookie), E_INVALIDARG);
  EXPECT_EQ(cookie, 0u);
  EXPECT_EQ(factory.references, 0u);
}

}  // namespace
