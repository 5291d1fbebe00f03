#pragma once
// A scripted stand-in for the reference server. Tests say what each operation answers (a text, a
// failure status with or without error information, the visibility), which calls fail, and read
// back every call in order with its arguments, and every reference count change of its objects.
//
//   scripted::ScopedScriptedServer server;          // registered under the class id
//   server->Reply(scripted::Op::GetCountryList, u";Russia;Chile");
//   server->FailNth(2, {E_FAIL, scripted::ErrorDetails{u"No data."}});
//   ... CreateServer(), loaders ...
//   EXPECT_EQ(server->Log(), (std::vector<std::string>{"GetCountryList()", ...}));

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "Com.h"
#include "ComObject.h"
#include "QuorvaneInterface.h"

namespace scripted {

// The interface's operations by their position (entry 7 + position of the function table).
enum class Op : int {
#define QV_OP(position, name, kind, parameters, arguments) name = position,
#define QV_NO_OP(position)
  QUORVANE_OPERATIONS(QV_OP, QV_NO_OP)
#undef QV_OP
#undef QV_NO_OP
};
// "GetCountryList", ...; the never-called positions read "Reserved3", "Reserved5", ...
std::string NameOf(Op op);

// What a failing operation leaves as the thread's error information.
struct ErrorDetails {
  ErrorDetails(std::u16string description = {}, std::u16string source = {},
               std::u16string helpFile = {}, DWORD helpContext = 0)
      : description(std::move(description)),
        source(std::move(source)),
        helpFile(std::move(helpFile)),
        helpContext(helpContext) {}
  std::u16string description;
  std::u16string source;
  std::u16string helpFile;
  DWORD helpContext = 0;
};
// A failing status; without details the thread's error information is cleared.
struct Failure {
  Failure(HRESULT status = E_FAIL, std::optional<ErrorDetails> info = std::nullopt)
      : status(status), info(std::move(info)) {}
  HRESULT status = E_FAIL;
  std::optional<ErrorDetails> info;
};

// One call as the server received it.
struct Call {
  Op op;
  // The BSTR arguments in order, decoded; nullopt for a null BSTR.
  std::vector<std::optional<std::u16string>> texts;
  std::optional<DATE> day;              // GetExchangeRate
  std::optional<VARIANT_BOOL> visible;  // Set_Visible
  int object = 0;                       // which server object (1 for the first made)
  bool failed = false;
  // GetExchangeRate("USD", "RUB", 40459.75); a null BSTR shows as null.
  std::string ToString() const;
};

// The shared script of every object that a registration makes.
class Script {
 public:
  Script() = default;
  ~Script();
  Script(const Script&) = delete;
  Script& operator=(const Script&) = delete;
  using Answer = std::function<std::u16string(const Call&)>;

  // The text that every call of a text operation answers (default: a null BSTR), with a
  // success status (S_OK by default; S_FALSE or any other non-negative code may be given).
  Script& Reply(Op op, std::u16string text, HRESULT status = S_OK);
  // Answers computed from the call (its arguments, its object).
  Script& Reply(Op op, Answer answer, HRESULT status = S_OK);
  // Successive calls take successive texts; the last one repeats.
  Script& ReplyInTurn(Op op, std::vector<std::u16string> texts);
  // The server's visibility: what Get_Visible answers; Set_Visible stores what it gets.
  Script& SetVisible(VARIANT_BOOL value);
  VARIANT_BOOL Visible() const { return visible_; }

  // Failures. The first rule that matches a call decides it; a failing call answers nothing.
  Script& Fail(Op op, Failure failure = {});              // every call of op
  Script& FailNth(int n, Failure failure = {});           // the n-th call, counted from 1
  Script& FailNthOf(Op op, int n, Failure failure = {});  // the n-th call of op
  Script& FailEvery(Failure failure = {});                // every call
  Script& ClearFailures();

  // Faults a conformance check must find, for every call of op that does not fail: each leaves
  // `count` strings allocated that nobody frees, or leaves error information behind although the
  // call succeeds.
  Script& LeakStrings(Op op, int count = 1);
  Script& LeaveErrorInfoOnSuccess(Op op, ErrorDetails details);

  // Runs at each call, after it is recorded and before it is answered.
  Script& OnCall(std::function<void(const Call&)> hook);

  // The calls in order.
  const std::vector<Call>& Calls() const { return calls_; }
  std::vector<std::string> Log() const;
  int CallCount(Op op) const;
  void ClearCalls() { calls_.clear(); }

  // Objects and their references: "AddRef(#1)=2", "Release(#1)=0", ...
  int ObjectsMade() const { return objectsMade_; }
  int ObjectsAlive() const { return objectsAlive_; }
  long References() const { return references_; }  // summed over the living objects
  const std::vector<std::string>& ReferenceLog() const { return referenceLog_; }
  // Runs after each Release with the object and the references it has left.
  Script& OnRelease(std::function<void(int object, ULONG left)> hook);

  // Used by the server objects.
  HRESULT Dispatch(Call& call, BSTR* result, VARIANT_BOOL* visible);
  int ObjectMade();
  void ObjectDestroyed() { --objectsAlive_; }
  void Counted(int object, bool addRef, ULONG count);

 private:
  struct Rule {
    std::optional<Op> op;
    int nth = 0;  // 0: every matching call
    Failure failure;
  };
  struct Answering {
    Answer answer;  // when empty, the fixed text
    std::u16string text;
    HRESULT status = S_OK;
  };
  const Failure* FailureFor(const Call& call) const;

  std::map<Op, Answering> answers_;
  std::map<Op, int> leaks_;
  // The strings "leaked", freed only when the script goes, so that leak checkers stay quiet.
  std::vector<BSTR> leaked_;
  std::map<Op, ErrorDetails> leftBehind_;
  std::vector<Rule> rules_;
  VARIANT_BOOL visible_ = VARIANT_FALSE;
  std::function<void(const Call&)> onCall_;
  std::function<void(int, ULONG)> onRelease_;
  std::vector<Call> calls_;
  int objectsMade_ = 0;
  int objectsAlive_ = 0;
  long references_ = 0;
  std::vector<std::string> referenceLog_;
};

// A new server object of the script with one reference, for calls without the class table.
quorvane::IQuorvaneAutomation* NewScriptedServer(std::shared_ptr<Script> script);

enum class CreationMode {
  Normal,
  NoInterface,    // the object answers IUnknown but not IQuorvaneAutomation
  CreationFails,  // the class object fails every creation with the given status
};

// Registers a class object that makes scripted servers under CLASS_CoQuorvaneAutomation for the
// life of this object (newer registrations cover older ones, so it also covers a real server).
class ScopedScriptedServer {
 public:
  explicit ScopedScriptedServer(CreationMode mode = CreationMode::Normal,
                                HRESULT creationFailure = CO_E_SERVER_EXEC_FAILURE);
  ~ScopedScriptedServer();
  ScopedScriptedServer(const ScopedScriptedServer&) = delete;
  ScopedScriptedServer& operator=(const ScopedScriptedServer&) = delete;

  Script& operator*() const { return *script_; }
  Script* operator->() const { return script_.get(); }
  const std::shared_ptr<Script>& script() const { return script_; }

 private:
  std::shared_ptr<Script> script_;
  std::unique_ptr<platform::ClassObject> classObject_;
  DWORD cookie_ = 0;
};

}  // namespace scripted
