#pragma once
// A main window connected to a scripted server by a click on Create, for the tests of the tools
// that need a connection.

#include <QAbstractButton>
#include <memory>

#include "ScriptedServer.h"
#include "WindowTestSupport.h"
#include "uQuorvaneFunc.h"

namespace quorvane::test {

class ConnectedForm {
 public:
  ConnectedForm() {
    server->Reply(scripted::Op::GetCountryList, u";Russia;United_Kingdom");
    server->Reply(scripted::Op::GetFieldValueList, u"RUB,USD,EUR");
    form.show();
    Click("Button1");
    server->ClearCalls();
  }
  ~ConnectedForm() { FinalizeQuorvaneFunc(); }

  void Click(const char* button) {
    QTest::mouseClick(Control<QAbstractButton>(form, button), Qt::LeftButton);
  }
  template <typename T>
  T* Get(const char* name) {
    return Control<T>(form, name);
  }

  scripted::ScopedScriptedServer server;
  ErrorBoxCatcher errors;
  Tform1 form;
};

}  // namespace quorvane::test
