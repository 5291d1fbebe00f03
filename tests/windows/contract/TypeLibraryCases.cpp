// The registered type library against the client's interface: every operation that a late-bound
// client calls by name must land on the function-table entry of the same position.

#include <string>
#include <string_view>
#include <vector>

#include "Cases.h"
#include "Check.h"
#include "Com.h"
#include "ComPtr.h"
#include "Quorvane_TLB.h"

namespace contract {

namespace {

// What the type library calls an operation of the list: a property by its name without the
// "Get_" / "Set_", anything else by its own name.
struct Operation {
  std::wstring name;
  INVOKEKIND kind;
  int position;
};
std::vector<Operation> Operations() {
  std::vector<Operation> operations;
  for (const quorvane::OperationEntry& entry : quorvane::kOperations) {
    std::string_view name = entry.name;
    INVOKEKIND kind = INVOKE_FUNC;
    if (entry.kind == quorvane::OperationKind::PropertyGet ||
        entry.kind == quorvane::OperationKind::PropertyPut) {
      name.remove_prefix(4);
      kind = entry.kind == quorvane::OperationKind::PropertyGet ? INVOKE_PROPERTYGET
                                                                : INVOKE_PROPERTYPUT;
    }
    operations.push_back({std::wstring(name.begin(), name.end()), kind, entry.position});
  }
  return operations;
}

// An object of the client's interface whose every operation records its own position.
class SlotProbe final : public quorvane::IQuorvaneAutomation {
 public:
  int called = 0;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** object) override {
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT*) override { return Called(-1); }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return Called(-1); }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
    return Called(-1);
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                   UINT*) override {
    return Called(-1);
  }
  // Every operation records its position; an out argument gets a valid empty value.
#define QV_PROBE_OPERATION(position, name, kind, parameters, arguments) \
  HRESULT STDMETHODCALLTYPE name parameters override {                  \
    return Called(position, QV_UNPARENTHESIZE arguments);               \
  }
#define QV_PROBE_RESERVED(position)                         \
  HRESULT STDMETHODCALLTYPE Reserved##position() override { \
    return Called(position);                                \
  }
  QUORVANE_OPERATIONS(QV_PROBE_OPERATION, QV_PROBE_RESERVED)
#undef QV_PROBE_OPERATION
#undef QV_PROBE_RESERVED

 private:
  static void Clear(BSTR* result) {
    *result = nullptr;
  }
  static void Clear(VARIANT_BOOL* value) {
    *value = VARIANT_FALSE;
  }
  template <typename T>
  static void Clear(T) {}

  template <typename... Arguments>
  HRESULT Called(int position, Arguments... arguments) {
    (Clear(arguments), ...);
    called = position;
    return S_OK;
  }
};

platform::ComPtr<ITypeLib> RegisteredLibrary() {
  platform::ComPtr<ITypeLib> library;
  Expect(SUCCEEDED(LoadRegTypeLib(quorvane::LIBID_Quorvane, quorvane::kLibraryVersionMajor,
                                  quorvane::kLibraryVersionMinor, LOCALE_NEUTRAL, library.Put())),
         "the type library is registered under its id and version");
  return library;
}

platform::ComPtr<ITypeInfo> TypeOf(ITypeLib* library, REFGUID guid, const char* what) {
  platform::ComPtr<ITypeInfo> info;
  Expect(SUCCEEDED(library->GetTypeInfoOfGuid(guid, info.Put())), what);
  return info;
}

// The type that `info` implements at `index`; -1 gives a dual interface's function-table view.
platform::ComPtr<ITypeInfo> ImplementedType(ITypeInfo* info, UINT index, const char* what) {
  HREFTYPE reference = 0;
  platform::ComPtr<ITypeInfo> implemented;
  Expect(SUCCEEDED(info->GetRefTypeOfImplType(index, &reference)) &&
             SUCCEEDED(info->GetRefTypeInfo(reference, implemented.Put())),
         what);
  return implemented;
}

platform::ComPtr<ITypeInfo> RegisteredInterfaceVtableView() {
  const platform::ComPtr<ITypeInfo> dispatchView =
      TypeOf(RegisteredLibrary().Get(), quorvane::IID_IQuorvaneAutomation,
             "the library describes the interface");
  return ImplementedType(dispatchView.Get(), static_cast<UINT>(-1), "the interface is dual");
}

// Arguments of the right kinds for one operation, in the reverse order that dispatch expects.
std::vector<VARIANT> ArgumentsFor(const FUNCDESC& function) {
  std::vector<VARIANT> arguments;
  for (int i = function.cParams - 1; i >= 0; --i) {
    const ELEMDESC& parameter = function.lprgelemdescParam[i];
    if (parameter.paramdesc.wParamFlags & PARAMFLAG_FRETVAL)
      continue;
    VARIANT value;
    VariantInit(&value);
    value.vt = parameter.tdesc.vt;  // BSTR (null), DATE or VARIANT_BOOL: zero is a valid value
    arguments.push_back(value);
  }
  return arguments;
}

}  // namespace

void RunTypeLibraryCases() {
  RunCase("type library: the library, its version and the class under the ids of the build", [] {
    const platform::ComPtr<ITypeLib> library = RegisteredLibrary();
    TLIBATTR* libraryAttributes = nullptr;
    Expect(SUCCEEDED(library->GetLibAttr(&libraryAttributes)), "library attributes");
    const bool sameLibrary = IsEqualGUID(libraryAttributes->guid, quorvane::LIBID_Quorvane) &&
                             libraryAttributes->wMajorVerNum == quorvane::kLibraryVersionMajor &&
                             libraryAttributes->wMinorVerNum == quorvane::kLibraryVersionMinor;
    library->ReleaseTLibAttr(libraryAttributes);
    Expect(sameLibrary, "the library's own id and version");
    const platform::ComPtr<ITypeInfo> coclass = TypeOf(
        library.Get(), quorvane::CLASS_CoQuorvaneAutomation, "the library describes the class");
    const platform::ComPtr<ITypeInfo> implemented =
        ImplementedType(coclass.Get(), 0, "the class names its interface");
    TYPEATTR* attributes = nullptr;
    Expect(SUCCEEDED(implemented->GetTypeAttr(&attributes)), "interface attributes");
    const bool sameInterface = IsEqualGUID(attributes->guid, quorvane::IID_IQuorvaneAutomation);
    implemented->ReleaseTypeAttr(attributes);
    Expect(sameInterface, "the class's interface is IQuorvaneAutomation");
  });

  RunCase("type library: every operation by name lands on its position in the function table", [] {
    platform::ComPtr<ITypeInfo> info = RegisteredInterfaceVtableView();
    TYPEATTR* attributes = nullptr;
    Expect(SUCCEEDED(info->GetTypeAttr(&attributes)), "type attributes");
    const int functions = attributes->cFuncs;
    info->ReleaseTypeAttr(attributes);
    Expect(functions == 24, "24 operations, not " + std::to_string(functions));
    for (const Operation& operation : Operations()) {
      const std::string name = Utf8(std::u16string(operation.name.begin(), operation.name.end()));
      LPOLESTR names[] = {const_cast<LPOLESTR>(operation.name.c_str())};
      MEMBERID id = 0;
      Expect(SUCCEEDED(info->GetIDsOfNames(names, 1, &id)), name + " is described");
      Expect(id == (operation.kind == INVOKE_PROPERTYPUT ? 1 : operation.position),
             name + ": dispatch id " + std::to_string(id));
      FUNCDESC* function = nullptr;
      for (int i = 0; i < functions && function == nullptr; ++i) {
        FUNCDESC* candidate = nullptr;
        info->GetFuncDesc(i, &candidate);
        if (candidate->memid == id && candidate->invkind == operation.kind)
          function = candidate;
        else
          info->ReleaseFuncDesc(candidate);
      }
      Expect(function != nullptr, name + " has its kind");
      Expect(function->callconv == CC_STDCALL, name + " is __stdcall");
      std::vector<VARIANT> arguments = ArgumentsFor(*function);
      info->ReleaseFuncDesc(function);
      DISPID named = DISPID_PROPERTYPUT;
      DISPPARAMS params = {arguments.data(), nullptr, static_cast<UINT>(arguments.size()), 0};
      if (operation.kind == INVOKE_PROPERTYPUT) {
        params.rgdispidNamedArgs = &named;
        params.cNamedArgs = 1;
      }
      SlotProbe probe;
      VARIANT result;
      VariantInit(&result);
      const HRESULT status =
          info->Invoke(static_cast<quorvane::IQuorvaneAutomation*>(&probe), id,
                       static_cast<WORD>(operation.kind), &params, &result, nullptr, nullptr);
      VariantClear(&result);
      Expect(SUCCEEDED(status), name + " invoked: " + Hex(status));
      Expect(probe.called == operation.position, name + " reached position " +
                                                     std::to_string(probe.called) + ", not " +
                                                     std::to_string(operation.position));
    }
  });
}

}  // namespace contract
