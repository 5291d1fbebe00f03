#pragma once
// The local server's own window: what the server is (its version, the vintage of its data, how
// many objects it serves) and a live list of the calls it answered. Visible shows and hides it;
// closing it hides it.

#include <functional>

#include "Com.h"
#include "ServerHost.h"

namespace serverdll {

class ServerWindow final : public ServerHost {
 public:
  // `entering` runs before each operation; `hidden` when the window has been hidden.
  ServerWindow(std::function<void(const char*)> entering, std::function<void()> hidden);
  ~ServerWindow();
  ServerWindow(const ServerWindow&) = delete;
  ServerWindow& operator=(const ServerWindow&) = delete;

  bool Create(bool shown);
  HWND Handle() const { return window_; }
  // The count of objects in the header, after one was made or released.
  void ShowObjects(long objects);

  bool Visible() const override;
  void SetVisible(bool visible) override;
  void Entering(const char* operation) override;
  void Answered(const AnsweredCall& call) override;

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void Layout();

  std::function<void(const char*)> entering_;
  std::function<void()> hidden_;
  HWND window_ = nullptr;
  HWND header_ = nullptr;
  HWND objects_ = nullptr;
  HWND calls_ = nullptr;
  HFONT font_ = nullptr;
};

}  // namespace serverdll
