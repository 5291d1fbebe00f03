#pragma once
// The server that answers from a recording: for each call the reply, status and error
// information recorded for the same operation, arguments and locale settings. Calls recorded more
// than once with the same key are answered in their recorded order, the last repeating; a call
// the recording lacks fails with kNotRecordedStatus and a description that says so.

#include <memory>

#include "Com.h"
#include "ComObject.h"
#include "Recording.h"
#include "ReferenceServer.h"

namespace quorvane::server {

inline constexpr const char16_t* kReplayErrorSource = u"Quorvane.Replay";

// A replay object that takes each call's locale settings from `source`.
HRESULT CreateReplayServer(std::shared_ptr<const Recording> recording, LocaleSettingsSource source,
                           REFIID riid, void** object);

// Registers a replay of the recording under the server's class id for this process (in place of
// the reference server), its objects under the client's process-wide settings; revoked on
// destruction.
class ReplayServerRegistration {
 public:
  explicit ReplayServerRegistration(std::shared_ptr<const Recording> recording);
  ~ReplayServerRegistration();
  ReplayServerRegistration(const ReplayServerRegistration&) = delete;
  ReplayServerRegistration& operator=(const ReplayServerRegistration&) = delete;

  HRESULT Status() const { return registration_.Status(); }

 private:
  std::unique_ptr<platform::ClassObject> factory_;
  ReferenceServerRegistration registration_;
};

}  // namespace quorvane::server
