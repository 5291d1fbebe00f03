#include "Quorvane_TLB.h"

#include "ComPtr.h"
#include "Errors.h"
#include "ServerCall.h"

namespace quorvane {

const CLSID CLASS_CoQuorvaneAutomation = {
    0x9470904C, 0xEAB4, 0x4BD4, {0x87, 0x24, 0x27, 0x4F, 0x79, 0xA8, 0x9F, 0xC0}};
const IID IID_IQuorvaneAutomation = {
    0xB87E668C, 0xF2BD, 0x44DB, {0xA9, 0x6D, 0xB4, 0x3E, 0x84, 0x43, 0x9C, 0xD8}};

namespace {

// The rest of a creation, from the runtime's answer: its failure as the creation error, then the
// interface asked of the object.
IQuorvaneAutomation* AutomationFromCreated(HRESULT created, IUnknown* rawUnknown) {
  if (FAILED(created) || rawUnknown == nullptr) {
    // A success without an object is no object either.
    const HRESULT status = FAILED(created) ? created : E_POINTER;
    throw Exception(
        FillTemplate(u"%s, ClassID: %s",
                     {StatusMessage(status), platform::GuidToString(CLASS_CoQuorvaneAutomation)}));
  }
  // Released on every way out.
  auto unknown = platform::ComPtr<IUnknown>::Adopt(rawUnknown);
  IQuorvaneAutomation* automation = nullptr;
  const HRESULT queried =
      unknown->QueryInterface(IID_IQuorvaneAutomation, reinterpret_cast<void**>(&automation));
  if (FAILED(queried) || automation == nullptr)
    throw Exception(u"Interface not supported");
  return automation;
}

}  // namespace

IQuorvaneAutomation* CoQuorvaneAutomation::Create() {
  IUnknown* rawUnknown = nullptr;
  const HRESULT created = CoCreateInstance(CLASS_CoQuorvaneAutomation, nullptr,
                                           CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER, IID_IUnknown,
                                           reinterpret_cast<void**>(&rawUnknown));
  return AutomationFromCreated(created, rawUnknown);
}

IQuorvaneAutomation* CoQuorvaneAutomation::CreateRemote(std::u16string_view machineName) {
  if (!platform::kRemoteActivation)
    throw Exception(FillTemplate(
        u"Server objects on other machines are not supported (machine \"%s\")", {machineName}));
  IUnknown* rawUnknown = nullptr;
  const HRESULT created = platform::CreateInstanceOnMachine(
      CLASS_CoQuorvaneAutomation, machineName, IID_IUnknown, reinterpret_cast<void**>(&rawUnknown));
  return AutomationFromCreated(created, rawUnknown);
}

}  // namespace quorvane
