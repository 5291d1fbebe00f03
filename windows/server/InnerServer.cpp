// The reference server's own object, made by the server's class object.
#include "InnerServer.h"

#include "ReferenceServer.h"

namespace serverdll {

platform::ComPtr<quorvane::IQuorvaneAutomation> CreateInnerServer() {
  platform::ComPtr<IClassFactory> factory;
  if (FAILED(quorvane::server::GetReferenceServerClassObject(
          IID_IClassFactory, reinterpret_cast<void**>(factory.Put()))))
    return nullptr;
  platform::ComPtr<quorvane::IQuorvaneAutomation> server;
  if (FAILED(factory->CreateInstance(nullptr, quorvane::IID_IQuorvaneAutomation,
                                     reinterpret_cast<void**>(server.Put()))))
    return nullptr;
  return server;
}

}  // namespace serverdll
