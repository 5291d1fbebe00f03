#include "NativeDialogs.h"

#include <algorithm>
#include <vector>

#include "WindowText.h"

namespace quorvane::native {

namespace {

// A modal dialog without items, made in memory: its procedure makes the controls when it starts
// and places them in pixels for the dialog's font.
INT_PTR RunDialog(HWND owner, const std::u16string& caption, DLGPROC procedure, LPARAM data) {
  std::vector<WORD> words(sizeof(DLGTEMPLATE) / sizeof(WORD), 0);
  auto* dialog = reinterpret_cast<DLGTEMPLATE*>(words.data());
  dialog->style = DS_MODALFRAME | DS_SETFONT | WS_POPUP | WS_CAPTION | WS_SYSMENU;
  dialog->cx = 200;
  dialog->cy = 100;
  words.push_back(0);  // no menu
  words.push_back(0);  // the dialog class
  words.insert(words.end(), caption.begin(), caption.end());
  words.push_back(0);
  words.push_back(8);  // points
  for (const wchar_t c : std::wstring_view(L"MS Shell Dlg"))
    words.push_back(static_cast<WORD>(c));
  words.push_back(0);
  return DialogBoxIndirectParamW(GetModuleHandleW(nullptr),
                                 reinterpret_cast<DLGTEMPLATE*>(words.data()), owner, procedure,
                                 data);
}

HWND MakeControl(HWND dialog, const wchar_t* windowClass, const std::u16string& text, DWORD style,
                 DWORD exStyle, int id) {
  HWND control = CreateWindowExW(exStyle, windowClass, W(text), WS_CHILD | style, 0, 0, 0, 0,
                                 dialog, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                 GetModuleHandleW(nullptr), nullptr);
  SendMessageW(control, WM_SETFONT, SendMessageW(dialog, WM_GETFONT, 0, 0), FALSE);
  return control;
}

// Pixels for a length given at 96 pixels per inch.
int Scaled(HWND window, int length) {
  HDC screen = GetDC(window);
  const int perInch = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(window, screen);
  return MulDiv(length, perInch, 96);
}

// Gives the dialog this client size and centres it over its owner (or the screen).
void SizeAndCentre(HWND dialog, int width, int height) {
  RECT frame{0, 0, width, height};
  AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrW(dialog, GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongPtrW(dialog, GWL_EXSTYLE)));
  const int outerWidth = frame.right - frame.left, outerHeight = frame.bottom - frame.top;
  RECT area;
  HWND owner = GetWindow(dialog, GW_OWNER);
  if (!owner || !GetWindowRect(owner, &area))
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
  const int left = std::max(0L, (area.left + area.right - outerWidth) / 2);
  const int top = std::max(0L, (area.top + area.bottom - outerHeight) / 2);
  SetWindowPos(dialog, nullptr, left, top, outerWidth, outerHeight, SWP_NOZORDER);
}

// --- The error box
struct ErrorDialog {
  const ErrorBoxContent* content;
  bool expanded = false;
  int collapsedHeight = 0, expandedHeight = 0, width = 0;
};

void ShowDetails(HWND dialog, ErrorDialog& box, bool expanded) {
  box.expanded = expanded;
  ShowWindow(GetDlgItem(dialog, kDetailsId), expanded ? SW_SHOW : SW_HIDE);
  SetDlgItemTextW(dialog, kShowDetailsId, expanded ? L"Hide Details..." : L"Show Details...");
  RECT frame{0, 0, box.width, expanded ? box.expandedHeight : box.collapsedHeight};
  AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrW(dialog, GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongPtrW(dialog, GWL_EXSTYLE)));
  SetWindowPos(dialog, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
               SWP_NOMOVE | SWP_NOZORDER);
}

void LayOutErrorDialog(HWND dialog, ErrorDialog& box) {
  const int margin = Scaled(dialog, 12), icon = Scaled(dialog, 32);
  const int textWidth = Scaled(dialog, 360), buttonHeight = Scaled(dialog, 23);
  const int okWidth = Scaled(dialog, 75), detailsWidth = Scaled(dialog, 110);
  const int detailsHeight = Scaled(dialog, 180);

  HWND iconControl = MakeControl(dialog, L"STATIC", u"", WS_VISIBLE | SS_ICON, 0, -1);
  SendMessageW(iconControl, STM_SETICON,
               reinterpret_cast<WPARAM>(LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(IDI_HAND))),
               0);
  HWND message =
      MakeControl(dialog, L"STATIC", box.content->text,
                  WS_VISIBLE | SS_LEFT | SS_NOPREFIX | SS_EDITCONTROL, 0, kErrorMessageId);
  // The message's height for its width, broken as the control breaks it.
  RECT textArea{0, 0, textWidth, 0};
  HDC screen = GetDC(dialog);
  HGDIOBJ former =
      SelectObject(screen, reinterpret_cast<HGDIOBJ>(SendMessageW(dialog, WM_GETFONT, 0, 0)));
  DrawTextW(screen, W(box.content->text), static_cast<int>(box.content->text.size()), &textArea,
            DT_CALCRECT | DT_WORDBREAK | DT_EDITCONTROL | DT_NOPREFIX);
  SelectObject(screen, former);
  ReleaseDC(dialog, screen);
  const int textHeight = std::max<int>(icon, textArea.bottom);
  const int textLeft = margin + icon + margin;
  box.width = textLeft + textWidth + margin;
  MoveWindow(iconControl, margin, margin, icon, icon, FALSE);
  MoveWindow(message, textLeft, margin, textWidth, textHeight, FALSE);

  const int buttonsTop = margin + textHeight + margin;
  HWND ok =
      MakeControl(dialog, L"BUTTON", u"OK", WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 0, IDOK);
  MoveWindow(ok, box.width - margin - okWidth, buttonsTop, okWidth, buttonHeight, FALSE);
  if (!box.content->details.empty()) {
    HWND more = MakeControl(dialog, L"BUTTON", u"Show Details...",
                            WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0, kShowDetailsId);
    MoveWindow(more, margin, buttonsTop, detailsWidth, buttonHeight, FALSE);
    HWND details = MakeControl(dialog, L"EDIT", WithCrLf(box.content->details),
                               WS_TABSTOP | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE | ES_READONLY |
                                   ES_AUTOVSCROLL | ES_AUTOHSCROLL,
                               WS_EX_CLIENTEDGE, kDetailsId);
    MoveWindow(details, margin, buttonsTop + buttonHeight + margin, box.width - 2 * margin,
               detailsHeight, FALSE);
  }
  box.collapsedHeight = buttonsTop + buttonHeight + margin;
  box.expandedHeight = box.collapsedHeight + detailsHeight + margin;
  SizeAndCentre(dialog, box.width, box.collapsedHeight);
  SetFocus(ok);
}

INT_PTR CALLBACK ErrorDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* box = reinterpret_cast<ErrorDialog*>(GetWindowLongPtrW(dialog, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG:
      SetWindowLongPtrW(dialog, DWLP_USER, lParam);
      LayOutErrorDialog(dialog, *reinterpret_cast<ErrorDialog*>(lParam));
      return FALSE;  // the focus is set: on OK
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
        EndDialog(dialog, IDOK);
        return TRUE;
      }
      if (LOWORD(wParam) == kShowDetailsId && box) {
        ShowDetails(dialog, *box, !box->expanded);
        return TRUE;
      }
      break;
    default:
      break;
  }
  return FALSE;
}

// --- The About box
INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: {
      const auto& text = *reinterpret_cast<const std::u16string*>(lParam);
      const int margin = Scaled(dialog, 12), width = Scaled(dialog, 640);
      const int height = Scaled(dialog, 480), buttonHeight = Scaled(dialog, 23);
      const int okWidth = Scaled(dialog, 75);
      HWND shown = MakeControl(
          dialog, L"EDIT", WithCrLf(text),
          WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL,
          WS_EX_CLIENTEDGE, kAboutTextId);
      MoveWindow(shown, margin, margin, width - 2 * margin, height - 3 * margin - buttonHeight,
                 FALSE);
      HWND ok = MakeControl(dialog, L"BUTTON", u"OK", WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 0,
                            IDOK);
      MoveWindow(ok, width - margin - okWidth, height - margin - buttonHeight, okWidth,
                 buttonHeight, FALSE);
      SizeAndCentre(dialog, width, height);
      SetFocus(ok);
      return FALSE;
    }
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
        EndDialog(dialog, IDOK);
        return TRUE;
      }
      break;
    default:
      break;
  }
  return FALSE;
}

}  // namespace

std::u16string WithCrLf(std::u16string_view text) {
  std::u16string out;
  out.reserve(text.size() + text.size() / 32);
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == u'\n' && (i == 0 || text[i - 1] != u'\r'))
      out += u'\r';
    out += text[i];
  }
  return out;
}

void ShowErrorDialog(HWND owner, const std::u16string& caption, const ErrorBoxContent& content) {
  MessageBeep(MB_ICONHAND);
  ErrorDialog box{&content};
  RunDialog(owner, caption, ErrorDialogProc, reinterpret_cast<LPARAM>(&box));
}

void ShowAboutDialog(HWND owner, const std::u16string& text) {
  RunDialog(owner, u"About QuorvaneTestCom", AboutDialogProc, reinterpret_cast<LPARAM>(&text));
}

int TrackContextMenu(HWND window, HMENU menu, LPARAM at, POINT keyboardSpot) {
  POINT point{static_cast<short>(LOWORD(at)), static_cast<short>(HIWORD(at))};
  if (at == -1) {
    point = keyboardSpot;
    ClientToScreen(window, &point);
  }
  const int command = static_cast<int>(TrackPopupMenu(
      menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, point.x, point.y, 0, window, nullptr));
  DestroyMenu(menu);
  return command;
}

}  // namespace quorvane::native
