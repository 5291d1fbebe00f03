#pragma once
// The main window form1 with Windows' own controls: the native view of the form. It makes the
// controls of the form description, laid out for the font's text height, and turns clicks and the
// check box's changes into the handlers that the description names.

#include <windows.h>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "FormDescription.h"
#include "FormLayout.h"
#include "FormView.h"
#include "MainForm.h"
#include "NativeCallLog.h"
#include "NativeChart.h"
#include "NativeMemo.h"

namespace quorvane::native {

// The window's control identifier of a control, by which a driver program finds it.
inline int ControlIdentifier(ControlId control) {
  return 1000 + static_cast<int>(control);
}

class NativeForm : public FormView {
 public:
  // Registers the window class (once) and makes the window with all its controls, hidden. The
  // error box bears `title` as its caption.
  NativeForm(HINSTANCE instance, std::u16string title);
  ~NativeForm() override;
  NativeForm(const NativeForm&) = delete;
  NativeForm& operator=(const NativeForm&) = delete;

  HWND Window() const { return window_; }
  // Called on every change of the system's settings, before the editors show their values again.
  void OnSettingsChange(std::function<void()> reread) { onSettingsChange_ = std::move(reread); }

  void SetEnabled(ControlId control, bool enabled) override;
  void SetFocus(ControlId control) override;
  std::u16string Text(ControlId control) const override;
  void SetText(ControlId control, std::u16string_view text) override;
  StringList& Items(ControlId comboBox) override;
  TDateTime Date(ControlId dateEdit) const override;
  void SetValue(ControlId currencyEdit, double value) override;
  bool Checked() const override;
  void SetChecked(bool checked) override;
  void AppendToMemo(const std::vector<std::u16string>& texts) override;
  void ShowError(std::exception_ptr error) override;
  // The About box over the window, with this text.
  void ShowAbout(const std::u16string& text);
  void SeriesLoaded(const LoadedSeries& series) override;
  // Opens the chart window on what the group box loaded last; none, or a group that has loaded
  // nothing, shows the last load.
  void OpenChart(std::optional<ControlId> group);
  // Opens the chart of the group box that holds the control with the focus (Ctrl+G).
  void OpenChartOfFocus();
  // Opens the call log window (Ctrl+L, and "Call Log..." of the memo's menu).
  void OpenCallLog();

 private:
  struct ComboItems;
  struct CurrencyEditor;

  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK ContainerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                        UINT_PTR, DWORD_PTR);
  static LRESULT CALLBACK CurrencyEditProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                           UINT_PTR, DWORD_PTR data);
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
  void CreateControls();
  HWND CreateControl(const ControlDescription& control, const FormLayout& layout, HDC screen);
  void OnCommand(int identifier, int code);
  void ApplyEnabled(ControlId control);
  void SettingsChanged();
  HWND Control(ControlId control) const;
  // The control of the form that is the window or holds it; none for another window.
  std::optional<ControlId> ControlOf(HWND window) const;
  void ShowGroupMenu(ControlId group, LPARAM at);
  std::optional<ControlId> ChartGroupAt(POINT screen) const;

  HINSTANCE instance_;
  std::u16string title_;
  std::function<void()> onSettingsChange_;
  HWND window_ = nullptr;
  HWND lastFocus_ = nullptr;
  HFONT font_ = nullptr;
  int textHeight_ = kFormWindow.designTextHeight;
  std::vector<HWND> controls_;    // by ControlId
  std::vector<bool> ownEnabled_;  // each control's own flag; a group box's covers its content
  std::map<ControlId, std::unique_ptr<ComboItems>> items_;
  std::map<ControlId, std::unique_ptr<CurrencyEditor>> currency_;
  std::unique_ptr<NativeMemo> memo_;
  std::unique_ptr<NativeChart> chart_;
  std::unique_ptr<NativeCallLog> callLog_;
  MainForm form_{*this};
};

}  // namespace quorvane::native
