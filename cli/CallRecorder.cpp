#include "CallRecorder.h"

#include "CallLog.h"
#include "QuorvaneVersion.h"
#include "Quorvane_TLB.h"
#include "Utf.h"
#include "uQuorvaneFunc.h"

namespace quorvane::cli {

server::RecordedArgument RecordedArgumentOf(const CallArgument& argument) {
  using Kind = server::RecordedArgument::Kind;
  switch (argument.kind) {
    case CallArgument::Kind::Text:
      return {Kind::Text, argument.text};
    case CallArgument::Kind::Date:
      return {Kind::Date, {}, argument.date};
    case CallArgument::Kind::Truth:
      return {Kind::Truth, {}, 0, argument.truth};
  }
  return {};
}

server::RecordedCall RecordedCallOf(const ObservedCall& call, const LocaleSettings& settings) {
  server::RecordedCall recorded;
  recorded.operation = call.operation;
  for (const CallArgument& argument : call.arguments)
    recorded.arguments.push_back(RecordedArgumentOf(argument));
  recorded.locale = server::RecordedLocaleOf(settings);
  recorded.status = static_cast<std::int32_t>(call.status);
  recorded.errorInfo = call.errorInfoLeft;
  recorded.description = call.errorDescription;
  recorded.source = call.errorSource;
  if (SUCCEEDED(call.status) && !call.replyWasNull) {
    if (call.operation == "Get_Visible")
      recorded.truth = call.reply == u"true";
    else
      recorded.reply = std::u16string(call.reply);
  }
  return recorded;
}

server::RecordingHeader HeaderOfConnectedServer() {
  server::RecordingHeader header;
  header.classId = platform::GuidToString(CLASS_CoQuorvaneAutomation);
  header.module = platform::RegisteredServerModule(CLASS_CoQuorvaneAutomation);
  // No registry entry: the server in this process, which is this build's.
  if (header.module.empty()) {
    header.module = u"embedded";
    header.serverVersion = FromUtf8(kQuorvaneVersion);
  }
  header.recorded = CallTimeText(std::chrono::system_clock::now());
  return header;
}

CallRecorder::CallRecorder() : real_(ServerIntf) {
  ServerIntf = platform::ComPtr<IQuorvaneAutomation>::Adopt(
      NewObservingServer(real_.Get(), [this](const ObservedCall& call) {
        calls_.push_back(RecordedCallOf(call, CurrentLocaleSettings()));
      }));
}

CallRecorder::~CallRecorder() {
  ServerIntf = real_;
}

}  // namespace quorvane::cli
