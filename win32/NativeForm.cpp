#include "NativeForm.h"

#include <commctrl.h>

#include <string>

#include "CurrencyText.h"
#include "ErrorText.h"
#include "Errors.h"
#include "NativeDialogs.h"
#include "Utf.h"
#include "WindowText.h"

namespace quorvane::native {

namespace {

// The window's class, by which a driver program finds it.
const std::wstring kWindowClass(kFormWindow.className,
                                kFormWindow.className +
                                    std::string_view(kFormWindow.className).size());

}  // namespace

// A combo box's items as a client string list: every change of the list refills the drop-down,
// keeping the text that the box shows.
struct NativeForm::ComboItems : StringListObserver {
  explicit ComboItems(HWND box) : box(box) { list.SetObserver(this); }
  ~ComboItems() override { list.SetObserver(nullptr); }
  void Changing() override {}
  void Changed() override {
    const std::u16string text = WindowText(box);
    SendMessageW(box, WM_SETREDRAW, FALSE, 0);
    SendMessageW(box, CB_RESETCONTENT, 0, 0);
    SendMessageW(box, CB_INITSTORAGE, list.Items().size(), 0);
    for (const std::u16string& item : list.Items())
      SendMessageW(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(W(item)));
    SetWindowText(box, text);
    SendMessageW(box, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(box, nullptr, TRUE);
  }
  HWND box;
  StringList list;
};

// A currency editor: holds one number or nothing, shown by the form's rule for its text.
struct NativeForm::CurrencyEditor {
  void Show() const { SetWindowText(edit, CurrencyEditorText(value, GetFocus() == edit)); }
  // What the user typed becomes the value, by the form's rule.
  void TakeTypedText() {
    if (!SendMessageW(edit, EM_GETMODIFY, 0, 0))
      return;
    SendMessageW(edit, EM_SETMODIFY, FALSE, 0);
    value = CurrencyValueAfterTyping(WindowText(edit), value);
  }
  HWND edit = nullptr;
  std::optional<double> value;
};

NativeForm::NativeForm(HINSTANCE instance, std::u16string title)
    : instance_(instance), title_(std::move(title)) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  if (!GetClassInfoExW(instance, kWindowClass.c_str(), &windowClass)) {
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconW(instance, L"MAINICON");
    windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kWindowClass.c_str();
    RegisterClassExW(&windowClass);
  }
  // The window's font at the screen's density: Tahoma of a character height of 11 pixels at 96
  // pixels per inch.
  HDC screen = GetDC(nullptr);
  const int pixelsPerInch = GetDeviceCaps(screen, LOGPIXELSY);
  const std::u16string fontName(kFormWindow.fontName);
  font_ =
      CreateFontW(MulDiv(kFormWindow.fontHeight, pixelsPerInch, kFormWindow.pixelsPerInch), 0, 0, 0,
                  FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                  CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, W(fontName));
  HGDIOBJ former = SelectObject(screen, font_);
  TEXTMETRICW metrics{};
  if (GetTextMetricsW(screen, &metrics) && metrics.tmHeight > 0)
    textHeight_ = metrics.tmHeight;
  SelectObject(screen, former);
  ReleaseDC(nullptr, screen);

  const DWORD style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
  const ControlPlace client = FormLayout(textHeight_, kNativeAutoSizes).ClientArea();
  RECT frame{0, 0, client.width, client.height};
  AdjustWindowRectEx(&frame, style, FALSE, WS_EX_CONTROLPARENT);
  const std::u16string caption(kFormWindow.caption);
  window_ = CreateWindowExW(WS_EX_CONTROLPARENT, kWindowClass.c_str(), W(caption), style,
                            CW_USEDEFAULT, CW_USEDEFAULT, frame.right - frame.left,
                            frame.bottom - frame.top, nullptr, nullptr, instance, this);
  CreateControls();
  chart_ = std::make_unique<NativeChart>(instance, window_, font_,
                                         [this](std::exception_ptr error) { ShowError(error); });
  callLog_ = std::make_unique<NativeCallLog>(
      instance, window_, font_, [this](std::exception_ptr error) { ShowError(error); });
  memo_->AddCommand(kOpenCallLogCommand,
                    std::u16string(kCallLogMenuText) + u"\t" + std::u16string(kCallLogKeyText),
                    [this] { OpenCallLog(); });
}

NativeForm::~NativeForm() {
  callLog_.reset();
  chart_.reset();
  if (window_ && IsWindow(window_))
    DestroyWindow(window_);
  items_.clear();
  if (font_)
    DeleteObject(font_);
}

void NativeForm::CreateControls() {
  const std::span<const ControlDescription> form = FormControls();
  const FormLayout layout(textHeight_, kNativeAutoSizes);
  controls_.assign(form.size(), nullptr);
  ownEnabled_.assign(form.size(), true);
  // The labels' captions are measured with the window's font.
  HDC screen = GetDC(nullptr);
  HGDIOBJ former = SelectObject(screen, font_);
  for (const ControlDescription& control : form) {
    controls_[static_cast<std::size_t>(control.id)] = CreateControl(control, layout, screen);
    ownEnabled_[static_cast<std::size_t>(control.id)] = control.enabled;
  }
  SelectObject(screen, former);
  ReleaseDC(nullptr, screen);
  for (const ControlDescription& control : form)
    if (!control.parent)
      ApplyEnabled(control.id);
}

// One control of the description, made inside its parent (made before it) with its start content.
// Within one parent the controls are made in the order of the description, which is their tab
// order.
HWND NativeForm::CreateControl(const ControlDescription& control, const FormLayout& layout,
                               HDC screen) {
  HWND parent = control.parent ? Control(*control.parent) : window_;
  const wchar_t* windowClass = L"BUTTON";
  DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP;
  DWORD exStyle = 0;
  const std::u16string text(control.text);
  int captionWidth = 0;
  switch (control.kind) {
    case ControlKind::PushButton:
      style |= BS_PUSHBUTTON;
      break;
    case ControlKind::GroupBox:
      style = WS_CHILD | WS_VISIBLE | BS_GROUPBOX;
      exStyle = WS_EX_CONTROLPARENT;
      break;
    case ControlKind::CheckBox:
      style |= BS_AUTOCHECKBOX;
      break;
    case ControlKind::ComboBox:
      windowClass = L"COMBOBOX";
      style |= WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL;
      break;
    case ControlKind::DateEdit:
      windowClass = DATETIMEPICK_CLASSW;
      style |= DTS_SHORTDATEFORMAT | DTS_SHOWNONE;
      break;
    case ControlKind::CurrencyEdit:
      windowClass = L"EDIT";
      style |= ES_AUTOHSCROLL | ES_RIGHT;
      exStyle = WS_EX_CLIENTEDGE;
      break;
    case ControlKind::TextEdit:
      windowClass = L"EDIT";
      style |= ES_AUTOHSCROLL;
      exStyle = WS_EX_CLIENTEDGE;
      break;
    case ControlKind::Memo:
      windowClass = L"EDIT";
      style |= WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | ES_NOHIDESEL;
      exStyle = WS_EX_CLIENTEDGE;
      break;
    case ControlKind::Label: {
      windowClass = L"STATIC";
      style = WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX;
      SIZE size{};
      GetTextExtentPoint32W(screen, W(text), static_cast<int>(text.size()), &size);
      captionWidth = size.cx;
      break;
    }
  }
  ControlPlace place = layout.PlaceOf(control, captionWidth);
  // A drop-down box's height includes its list; CB_SETMINVISIBLE below makes it 8 rows.
  if (control.kind == ControlKind::ComboBox)
    place.height *= 10;
  const bool takesText =
      control.kind != ControlKind::ComboBox && control.kind != ControlKind::DateEdit;
  HWND made =
      CreateWindowExW(exStyle, windowClass, takesText ? W(text) : L"", style, place.left, place.top,
                      place.width, place.height, parent,
                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(ControlIdentifier(control.id))),
                      instance_, nullptr);
  SendMessageW(made, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
  switch (control.kind) {
    case ControlKind::GroupBox:
      SetWindowSubclass(made, ContainerProc, 0, reinterpret_cast<DWORD_PTR>(this));
      break;
    case ControlKind::ComboBox: {
      SendMessageW(made, CB_SETMINVISIBLE, 8, 0);
      auto items = std::make_unique<ComboItems>(made);
      for (std::u16string_view item : control.items)
        items->list.Add(std::u16string(item));
      SetWindowText(made, text);
      items_[control.id] = std::move(items);
      break;
    }
    case ControlKind::DateEdit:
      if (control.date == kNullDate) {
        SendMessageW(made, DTM_SETSYSTEMTIME, GDT_NONE, 0);
      } else {
        const CalendarDay day = DecodeDay(control.date);
        SYSTEMTIME time{};
        time.wYear = static_cast<WORD>(day.Year);
        time.wMonth = static_cast<WORD>(day.Month);
        time.wDay = static_cast<WORD>(day.Day);
        SendMessageW(made, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&time));
      }
      break;
    case ControlKind::CurrencyEdit: {
      auto editor = std::make_unique<CurrencyEditor>();
      editor->edit = made;
      SetWindowSubclass(made, CurrencyEditProc, 0, reinterpret_cast<DWORD_PTR>(editor.get()));
      currency_[control.id] = std::move(editor);
      break;
    }
    case ControlKind::Memo:
      memo_ = std::make_unique<NativeMemo>(made,
                                           [this](std::exception_ptr error) { ShowError(error); });
      break;
    case ControlKind::TextEdit:
      // Any length: the default limit would cut long replies.
      SendMessageW(made, EM_SETLIMITTEXT, 0, 0);
      break;
    default:
      break;
  }
  return made;
}

HWND NativeForm::Control(ControlId control) const {
  const auto at = static_cast<std::size_t>(control);
  if (at >= controls_.size() || !controls_[at])
    throw Exception(u"The form has no control " + FromUtf8(ControlName(control)));
  return controls_[at];
}

std::optional<ControlId> NativeForm::ControlOf(HWND window) const {
  for (HWND at = window; at && at != window_; at = GetParent(at)) {
    const int index = GetDlgCtrlID(at) - ControlIdentifier(ControlId{});
    if (index >= 0 && static_cast<std::size_t>(index) < controls_.size() &&
        controls_[static_cast<std::size_t>(index)] == at)
      return static_cast<ControlId>(index);
  }
  return std::nullopt;
}

// A control can be used when its own flag and those of every group box around it are on; the
// own flags inside a group box are kept, so enabling it again restores them.
void NativeForm::ApplyEnabled(ControlId control) {
  const ControlDescription& description = Describe(control);
  const bool usable = ownEnabled_[static_cast<std::size_t>(control)] &&
                      (!description.parent || IsWindowEnabled(Control(*description.parent)));
  EnableWindow(Control(control), usable);
  for (const ControlDescription& inside : FormControls())
    if (inside.parent == control)
      ApplyEnabled(inside.id);
}

void NativeForm::SetEnabled(ControlId control, bool enabled) {
  ownEnabled_[static_cast<std::size_t>(control)] = enabled;
  ApplyEnabled(control);
  // The focus leaves a control that cannot be used any more.
  HWND focus = GetFocus();
  if (focus && IsChild(window_, focus) && !IsWindowEnabled(focus)) {
    HWND next = GetNextDlgTabItem(window_, focus, FALSE);
    ::SetFocus(next && IsWindowEnabled(next) ? next : window_);
  }
}

void NativeForm::SetFocus(ControlId control) {
  ::SetFocus(Control(control));
}

std::u16string NativeForm::Text(ControlId control) const {
  if (control == ControlId::cxMemo1)
    return memo_->Log();
  return WindowText(Control(control));
}

void NativeForm::SetText(ControlId control, std::u16string_view text) {
  SetWindowText(Control(control), std::u16string(text));
}

StringList& NativeForm::Items(ControlId comboBox) {
  return items_.at(comboBox)->list;
}

TDateTime NativeForm::Date(ControlId dateEdit) const {
  SYSTEMTIME time{};
  if (SendMessageW(Control(dateEdit), DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&time)) !=
      GDT_VALID)
    return kNullDate;
  const double seconds =
      time.wHour * 3600.0 + time.wMinute * 60.0 + time.wSecond + time.wMilliseconds / 1000.0;
  return EncodeDay(time.wYear, time.wMonth, time.wDay) + seconds / 86400.0;
}

void NativeForm::SetValue(ControlId currencyEdit, double value) {
  CurrencyEditor& editor = *currency_.at(currencyEdit);
  editor.value = value;
  editor.Show();
}

bool NativeForm::Checked() const {
  return SendMessageW(Control(ControlId::cxCheckBox1), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void NativeForm::SetChecked(bool checked) {
  if (checked == Checked())
    return;
  SendMessageW(Control(ControlId::cxCheckBox1), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED,
               0);
  // The box does not tell of a change made by the program: its change handler runs here.
  (form_.*Describe(ControlId::cxCheckBox1).handler)();
}

void NativeForm::AppendToMemo(const std::vector<std::u16string>& texts) {
  memo_->Append(texts);
}

void NativeForm::ShowError(std::exception_ptr error) {
  // A window holding the mouse lets it go first, so the box gets the clicks.
  if (HWND capture = GetCapture())
    SendMessageW(capture, WM_CANCELMODE, 0, 0);
  HWND owner = GetActiveWindow();
  HWND focus = GetFocus();
  ShowErrorDialog(owner ? owner : window_, title_, ErrorBoxContentOf(error));
  // The focus goes back where it was.
  if (focus && IsWindow(focus))
    ::SetFocus(focus);
}

void NativeForm::ShowAbout(const std::u16string& text) {
  HWND focus = GetFocus();
  ShowAboutDialog(window_, text);
  if (focus && IsWindow(focus))
    ::SetFocus(focus);
}

void NativeForm::SeriesLoaded(const LoadedSeries& series) {
  chart_->Follow(series);
}

void NativeForm::OpenChart(std::optional<ControlId> group) {
  chart_->Show(form_.ChartFor(group));
}

void NativeForm::OpenChartOfFocus() {
  const std::optional<ControlId> control = ControlOf(GetFocus());
  OpenChart(control ? ChartGroupOf(*control) : std::nullopt);
}

void NativeForm::OpenCallLog() {
  callLog_->Show();
}

// A chart group box's context menu; from the keyboard (Shift+F10, the menu key on a control
// inside) it opens at the box's top left corner.
void NativeForm::ShowGroupMenu(ControlId group, LPARAM at) {
  HMENU menu = CreatePopupMenu();
  AppendMenuW(menu, MF_ENABLED, kOpenChartCommand, L"C&hart...\tCtrl+G");
  if (TrackContextMenu(Control(group), menu, at, {textHeight_, textHeight_}) == kOpenChartCommand)
    OpenChart(group);
}

// The chart group box whose frame holds the point: a group box lets the mouse through to the
// window under it.
std::optional<ControlId> NativeForm::ChartGroupAt(POINT screen) const {
  for (std::size_t index = 0; index < controls_.size(); ++index) {
    const auto group = static_cast<ControlId>(index);
    RECT frame{};
    if (IsChartGroup(group) && GetWindowRect(controls_[index], &frame) && PtInRect(&frame, screen))
      return group;
  }
  return std::nullopt;
}

// A click of a button or of the check box runs the handler that the description names.
void NativeForm::OnCommand(int identifier, int code) {
  const int index = identifier - ControlIdentifier(ControlId{});
  if (index < 0 || static_cast<std::size_t>(index) >= FormControls().size() || code != BN_CLICKED)
    return;
  if (const FormHandler handler = FormControls()[static_cast<std::size_t>(index)].handler)
    (form_.*handler)();
}

void NativeForm::SettingsChanged() {
  if (onSettingsChange_)
    onSettingsChange_();
  // The editors that show values by the settings show them again.
  for (const auto& [index, editor] : currency_)
    editor->Show();
}

LRESULT NativeForm::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      if (lParam)
        OnCommand(LOWORD(wParam), HIWORD(wParam));
      return 0;
    case WM_SETTINGCHANGE:
      SettingsChanged();
      break;
    case WM_CONTEXTMENU:
      // Over a chart group box's frame; elsewhere the system's menu of the caption, say.
      if (const auto group = ChartGroupAt(
              {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))})) {
        ShowGroupMenu(*group, lParam);
        return 0;
      }
      break;
    case WM_ACTIVATE:
      // The focus comes back to the control that had it when the window is activated again.
      if (LOWORD(wParam) == WA_INACTIVE)
        lastFocus_ = GetFocus();
      else if (lastFocus_ && IsWindow(lastFocus_) && IsWindowEnabled(lastFocus_))
        ::SetFocus(lastFocus_);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      break;
  }
  return DefWindowProcW(window_, message, wParam, lParam);
}

LRESULT CALLBACK NativeForm::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<NativeForm*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->window_ = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<NativeForm*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    if (self)
      self->window_ = nullptr;
  }
  if (!self || !self->window_)
    return DefWindowProcW(window, message, wParam, lParam);
  return self->Handle(message, wParam, lParam);
}

// Group boxes hold their controls: what the controls tell their parent goes on to the window. A
// chart group box has the context menu that opens its chart.
LRESULT CALLBACK NativeForm::ContainerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                           UINT_PTR, DWORD_PTR data) {
  auto* self = reinterpret_cast<NativeForm*>(data);
  const std::optional<ControlId> group = self->ControlOf(window);
  if (group && IsChartGroup(*group)) {
    if (message == WM_CONTEXTMENU) {
      self->ShowGroupMenu(*group, lParam);
      return 0;
    }
    if (message == WM_COMMAND && !lParam && LOWORD(wParam) == kOpenChartCommand) {
      self->OpenChart(*group);
      return 0;
    }
  }
  if (message == WM_COMMAND || message == WM_NOTIFY)
    return SendMessageW(GetAncestor(window, GA_ROOT), message, wParam, lParam);
  // The frame control paints no background of its own; the controls inside stand on button face.
  if (message == WM_ERASEBKGND) {
    RECT area;
    GetClientRect(window, &area);
    FillRect(reinterpret_cast<HDC>(wParam), &area, GetSysColorBrush(COLOR_BTNFACE));
    return 1;
  }
  if (message == WM_NCDESTROY)
    RemoveWindowSubclass(window, ContainerProc, 0);
  return DefSubclassProc(window, message, wParam, lParam);
}

LRESULT CALLBACK NativeForm::CurrencyEditProc(HWND window, UINT message, WPARAM wParam,
                                              LPARAM lParam, UINT_PTR, DWORD_PTR data) {
  auto* editor = reinterpret_cast<CurrencyEditor*>(data);
  switch (message) {
    case WM_SETFOCUS: {
      const LRESULT result = DefSubclassProc(window, message, wParam, lParam);
      editor->Show();
      SendMessageW(window, EM_SETSEL, 0, -1);
      return result;
    }
    case WM_KILLFOCUS: {
      editor->TakeTypedText();
      const LRESULT result = DefSubclassProc(window, message, wParam, lParam);
      editor->Show();
      return result;
    }
    case WM_NCDESTROY:
      RemoveWindowSubclass(window, CurrencyEditProc, 0);
      break;
    default:
      break;
  }
  return DefSubclassProc(window, message, wParam, lParam);
}

}  // namespace quorvane::native
