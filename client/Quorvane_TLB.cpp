#include "Quorvane_TLB.h"

#include "ComPtr.h"
#include "Errors.h"
#include "ServerCall.h"

namespace quorvane {

namespace {

// The rest of a creation, from the runtime's answer: its failure as the creation error, then the
// interface asked of the object.
IQuorvaneAutomation* AutomationFromCreated(HRESULT created, IUnknown* rawUnknown) {
  if (FAILED(created) || rawUnknown == nullptr) {
    // A success without an object is no object either.
    const HRESULT status = FAILED(created) ? created : E_POINTER;
    throw ECreateError(status, FillTemplate(u"%s, ClassID: %s",
                                            {StatusMessage(status),
                                             platform::GuidToString(CLASS_CoQuorvaneAutomation)}));
  }
  // Released on every way out.
  auto unknown = platform::ComPtr<IUnknown>::Adopt(rawUnknown);
  IQuorvaneAutomation* automation = nullptr;
  const HRESULT queried =
      unknown->QueryInterface(IID_IQuorvaneAutomation, reinterpret_cast<void**>(&automation));
  if (FAILED(queried) || automation == nullptr)
    throw ECreateError(E_NOINTERFACE, u"Interface not supported");
  return automation;
}

}  // namespace

IQuorvaneAutomation* CoQuorvaneAutomation::Create(DWORD classContext) {
  IUnknown* rawUnknown = nullptr;
  const HRESULT created = CoCreateInstance(CLASS_CoQuorvaneAutomation, nullptr, classContext,
                                           IID_IUnknown, reinterpret_cast<void**>(&rawUnknown));
  return AutomationFromCreated(created, rawUnknown);
}

IQuorvaneAutomation* CoQuorvaneAutomation::CreateRemote(std::u16string_view machineName) {
  if (!platform::kRemoteActivation)
    throw ECreateError(
        E_NOTIMPL,
        FillTemplate(u"Server objects on other machines are not supported (machine \"%s\")",
                     {machineName}));
  IUnknown* rawUnknown = nullptr;
  const HRESULT created = platform::CreateInstanceOnMachine(
      CLASS_CoQuorvaneAutomation, machineName, IID_IUnknown, reinterpret_cast<void**>(&rawUnknown));
  return AutomationFromCreated(created, rawUnknown);
}

}  // namespace quorvane
