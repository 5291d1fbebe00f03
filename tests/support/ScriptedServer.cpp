#include "ScriptedServer.h"

#include <algorithm>
#include <charconv>
#include <utility>

#include "ComObject.h"
#include "ComPtr.h"
#include "Utf.h"

namespace scripted {

std::string NameOf(Op op) {
  for (const quorvane::OperationEntry& entry : quorvane::kOperations)
    if (entry.position == static_cast<int>(op))
      return entry.name;
  // Strings here are built by appending, never as "literal" + string: GCC 12 at -O3 warns
  // falsely (-Wrestrict) about the inlined insertion at the front of a string.
  std::string name = "Reserved";
  name += std::to_string(static_cast<int>(op));
  return name;
}

std::string Call::ToString() const {
  std::string out = NameOf(op) + "(";
  const char* separator = "";
  for (const auto& text : texts) {
    out += separator;
    if (text) {
      out += '"';
      out += quorvane::ToUtf8(*text);
      out += '"';
    } else {
      out += "null";
    }
    separator = ", ";
  }
  if (day) {
    char digits[400];
    const auto end =
        std::to_chars(digits, digits + sizeof digits, *day, std::chars_format::fixed).ptr;
    out += separator;
    out.append(digits, end);
  }
  if (visible) {
    out += separator;
    out += std::to_string(*visible);
  }
  out += ')';
  return out;
}

Script& Script::Reply(Op op, std::u16string text, HRESULT status) {
  // Kept as it is and copied straight into each reply, so that long replies cost one copy.
  answers_[op] = {nullptr, std::move(text), status};
  return *this;
}

Script& Script::Reply(Op op, Answer answer, HRESULT status) {
  answers_[op] = {std::move(answer), {}, status};
  return *this;
}

Script& Script::ReplyInTurn(Op op, std::vector<std::u16string> texts) {
  auto turn = std::make_shared<std::size_t>(0);
  return Reply(op, [texts = std::move(texts), turn](const Call&) {
    if (texts.empty())
      return std::u16string();
    const std::size_t index = std::min(*turn, texts.size() - 1);
    ++*turn;
    return texts[index];
  });
}

Script& Script::SetVisible(VARIANT_BOOL value) {
  visible_ = value;
  return *this;
}

Script& Script::Fail(Op op, Failure failure) {
  rules_.push_back({op, 0, std::move(failure)});
  return *this;
}

Script& Script::FailNth(int n, Failure failure) {
  rules_.push_back({std::nullopt, n, std::move(failure)});
  return *this;
}

Script& Script::FailNthOf(Op op, int n, Failure failure) {
  rules_.push_back({op, n, std::move(failure)});
  return *this;
}

Script& Script::FailEvery(Failure failure) {
  rules_.push_back({std::nullopt, 0, std::move(failure)});
  return *this;
}

Script& Script::ClearFailures() {
  rules_.clear();
  return *this;
}

Script::~Script() {
  for (BSTR text : leaked_)
    SysFreeString(text);
}

Script& Script::LeakStrings(Op op, int count) {
  leaks_[op] = count;
  return *this;
}

Script& Script::LeaveErrorInfoOnSuccess(Op op, ErrorDetails details) {
  leftBehind_[op] = std::move(details);
  return *this;
}

Script& Script::OnCall(std::function<void(const Call&)> hook) {
  onCall_ = std::move(hook);
  return *this;
}

Script& Script::OnRelease(std::function<void(int, ULONG)> hook) {
  onRelease_ = std::move(hook);
  return *this;
}

std::vector<std::string> Script::Log() const {
  std::vector<std::string> lines;
  for (const Call& call : calls_)
    lines.push_back(call.ToString());
  return lines;
}

int Script::CallCount(Op op) const {
  int count = 0;
  for (const Call& call : calls_)
    count += call.op == op ? 1 : 0;
  return count;
}

int Script::ObjectMade() {
  ++objectsAlive_;
  ++references_;
  return ++objectsMade_;
}

void Script::Counted(int object, bool addRef, ULONG count) {
  references_ += addRef ? 1 : -1;
  std::string entry = addRef ? "AddRef(#" : "Release(#";
  entry += std::to_string(object) + ")=" + std::to_string(count);
  referenceLog_.push_back(std::move(entry));
  if (!addRef && onRelease_) {
    auto hook = onRelease_;  // the hook may replace itself
    hook(object, count);
  }
}

const Failure* Script::FailureFor(const Call& call) const {
  const int nth = static_cast<int>(calls_.size());
  const int nthOfOp = CallCount(call.op);
  for (const Rule& rule : rules_) {
    if (rule.op && *rule.op != call.op)
      continue;
    if (rule.nth == 0 || rule.nth == (rule.op ? nthOfOp : nth))
      return &rule.failure;
  }
  return nullptr;
}

namespace {

void LeaveErrorInfo(const std::optional<ErrorDetails>& details) {
  if (!details) {
    SetErrorInfo(0, nullptr);
    return;
  }
  platform::ComPtr<ICreateErrorInfo> create;
  if (FAILED(CreateErrorInfo(create.Put())))
    return;
  auto text = [](const std::u16string& value) {
    return const_cast<LPOLESTR>(reinterpret_cast<const OLECHAR*>(value.c_str()));
  };
  create->SetDescription(text(details->description));
  create->SetSource(text(details->source));
  create->SetHelpFile(text(details->helpFile));
  create->SetHelpContext(details->helpContext);
  platform::ComPtr<IErrorInfo> info;
  if (SUCCEEDED(create->QueryInterface(IID_IErrorInfo, reinterpret_cast<void**>(info.Put()))))
    SetErrorInfo(0, info.Get());
}

}  // namespace

HRESULT Script::Dispatch(Call& call, BSTR* result, VARIANT_BOOL* visible) {
  calls_.push_back(call);
  const std::size_t index = calls_.size() - 1;
  if (onCall_) {
    auto hook = onCall_;  // a copy: the hook may replace itself or call the server again
    hook(Call(calls_[index]));
  }
  if (const Failure* failure = FailureFor(calls_[index])) {
    calls_[index].failed = true;
    const Failure chosen = *failure;
    LeaveErrorInfo(chosen.info);
    return chosen.status;
  }
  if (const auto leak = leaks_.find(call.op); leak != leaks_.end())
    for (int i = 0; i < leak->second; ++i)
      leaked_.push_back(SysAllocString(u"leaked"));
  if (const auto left = leftBehind_.find(call.op); left != leftBehind_.end())
    LeaveErrorInfo(left->second);
  switch (call.op) {
    case Op::Get_Visible:
      if (visible != nullptr)
        *visible = visible_;
      return S_OK;
    case Op::Set_Visible:
      visible_ = *call.visible;
      return S_OK;
    default:
      break;
  }
  if (result == nullptr)
    return E_NOTIMPL;  // the never-called positions
  *result = nullptr;
  const auto found = answers_.find(call.op);
  if (found == answers_.end())
    return S_OK;
  const HRESULT status = found->second.status;
  if (!found->second.answer) {
    *result = platform::AllocBstr(found->second.text);
    return status;
  }
  const Answer answer = found->second.answer;  // the answer may replace itself
  *result = platform::AllocBstr(answer(calls_[index]));
  return status;
}

namespace {

std::optional<std::u16string> TextOf(BSTR text) {
  if (text == nullptr)
    return std::nullopt;
  return platform::BstrText(text);
}

// What a call carries, taken from its arguments by type: the texts, the day, the visibility, and
// where the result goes.
struct Received {
  Call call;
  BSTR* result = nullptr;
  VARIANT_BOOL* visible = nullptr;

  void Take(BSTR text) { call.texts.push_back(TextOf(text)); }
  void Take(DATE day) { call.day = day; }
  void Take(VARIANT_BOOL value) { call.visible = value; }
  void Take(BSTR* out) { result = out; }
  void Take(VARIANT_BOOL* out) { visible = out; }
};

class ScriptedServer final : public platform::ComObject<quorvane::IQuorvaneAutomation> {
 public:
  ScriptedServer(std::shared_ptr<Script> script, bool answersInterface)
      : script_(std::move(script)),
        answersInterface_(answersInterface),
        id_(script_->ObjectMade()) {}

  // Every change of the count goes to the script's reference log.
  ULONG STDMETHODCALLTYPE AddRef() override {
    script_->Counted(id_, true, ++references_);
    return references_;
  }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --references_;
    const int id = id_;
    auto script = script_;  // the object may be gone after this
    if (left == 0) {
      script->ObjectDestroyed();
      delete this;
    }
    script->Counted(id, false, left);
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

  // Every operation is recorded with its arguments and answered by the script.
#define QV_SCRIPTED_OPERATION(position, name, kind, parameters, arguments) \
  HRESULT STDMETHODCALLTYPE name parameters override {                     \
    return Record(position, QV_UNPARENTHESIZE arguments);                  \
  }
#define QV_SCRIPTED_RESERVED(position)                      \
  HRESULT STDMETHODCALLTYPE Reserved##position() override { \
    return Record(position);                                \
  }
  QUORVANE_OPERATIONS(QV_SCRIPTED_OPERATION, QV_SCRIPTED_RESERVED)
#undef QV_SCRIPTED_OPERATION
#undef QV_SCRIPTED_RESERVED

 private:
  ~ScriptedServer() override = default;

  void* Interface(REFIID riid) override {
    const bool answers = riid == IID_IUnknown || riid == IID_IDispatch ||
                         (answersInterface_ && riid == quorvane::IID_IQuorvaneAutomation);
    return answers ? static_cast<quorvane::IQuorvaneAutomation*>(this) : nullptr;
  }

  template <typename... Arguments>
  HRESULT Record(int position, Arguments... arguments) {
    Received received;
    received.call.op = static_cast<Op>(position);
    received.call.object = id_;
    (received.Take(arguments), ...);
    return script_->Dispatch(received.call, received.result, received.visible);
  }

  std::shared_ptr<Script> script_;
  bool answersInterface_;
  int id_;
  ULONG references_ = 1;
};

}  // namespace

quorvane::IQuorvaneAutomation* NewScriptedServer(std::shared_ptr<Script> script) {
  return new ScriptedServer(std::move(script), true);
}

ScopedScriptedServer::ScopedScriptedServer(CreationMode mode, HRESULT creationFailure)
    : script_(std::make_shared<Script>()),
      classObject_(std::make_unique<platform::ClassObject>(
          [script = script_, mode, creationFailure](REFIID riid, void** object) {
            if (mode == CreationMode::CreationFails)
              return creationFailure;
            auto* server = new ScriptedServer(script, mode != CreationMode::NoInterface);
            const HRESULT status = server->QueryInterface(riid, object);
            server->Release();
            return status;
          })) {
  CoRegisterClassObject(quorvane::CLASS_CoQuorvaneAutomation, classObject_.get(),
                        CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &cookie_);
}

ScopedScriptedServer::~ScopedScriptedServer() {
  CoRevokeClassObject(cookie_);
}

}  // namespace scripted
