// The chooser as a modal dialog: an instruction, the candidate names in a list, OK and Cancel.
// The template is built in memory and every control is placed in pixels from its layout in
// twips (1440 to the inch) at the screen's resolution, so the dialog needs no resource script.
// The dialog exists only while it asks: the extraction lists folders with its own lister, so
// nothing is kept loaded between questions, and every showing starts with no answer.

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "common/text.h"
#include "platform/chooser.h"

namespace hv::platform {
namespace {

// Control ids; OK and Cancel are the dialog manager's own, so Enter and Escape reach them.
constexpr int kIdList = 1001;
constexpr int kIdLabel = 1002;
constexpr int kIdFiles = 1003;  // the hidden file list the layout reserves

struct TwipRect {
  int left, top, width, height;
};
// The inner area and the controls, in twips.
constexpr int kInnerWidth = 5040;
constexpr int kInnerHeight = 3015;
constexpr int kOuterWidth = 5130;
constexpr int kOuterHeight = 3390;
constexpr TwipRect kLabel1{120, 120, 4815, 375};
constexpr TwipRect kLstFiles{120, 600, 4815, 1815};
constexpr TwipRect kFiles{120, 2520, 2175, 285};
constexpr TwipRect kCmdOK{2400, 2520, 1215, 375};
constexpr TwipRect kCmdCancel{3720, 2520, 1215, 375};

std::wstring Wide(const std::string& text) {
  const std::u16string u = Cp1252ToUtf16(text);
  return std::wstring(u.begin(), u.end());
}

// A DLGTEMPLATE with its items, laid out as the dialog manager reads it.
class TemplateBuilder {
 public:
  void Dialog(DWORD style, WORD items, const std::wstring& title) {
    Align();
    DLGTEMPLATE t{};
    t.style = style;
    t.cdit = items;
    Put(&t, sizeof t);
    Word(0);  // no menu
    Word(0);  // the standard dialog class
    Text(title);
    Word(8);  // font size, with DS_SETFONT
    Text(L"MS Shell Dlg");
  }
  // Items get a nominal size here; the dialog places them in pixels when it starts.
  void Item(DWORD style, WORD id, WORD class_atom, const std::wstring& text) {
    Align();
    DLGITEMTEMPLATE item{};
    item.style = style;
    item.cx = 10;
    item.cy = 10;
    item.id = id;
    Put(&item, sizeof item);
    Word(0xFFFF);
    Word(class_atom);
    Text(text);
    Word(0);  // no creation data
  }
  const DLGTEMPLATE* get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

 private:
  void Put(const void* data, std::size_t bytes) {
    const auto* w = static_cast<const WORD*>(data);
    words_.insert(words_.end(), w, w + bytes / sizeof(WORD));
  }
  void Word(WORD w) { words_.push_back(w); }
  void Text(const std::wstring& text) {
    for (wchar_t c : text) words_.push_back(static_cast<WORD>(c));
    words_.push_back(0);
  }
  void Align() {
    if (words_.size() % 2) words_.push_back(0);  // DWORD boundary
  }
  std::vector<WORD> words_;  // WORD-aligned storage
};

struct Question {
  const std::vector<std::string>* names;
  std::size_t selected;
  std::string chosen;  // empty unless OK or a double-click picked a name
};

int Pixels(int twips, int dots_per_inch) {
  return MulDiv(twips, dots_per_inch, 1440);
}

struct Resolution {
  int x = 96, y = 96;
};

Resolution ScreenResolution() {
  Resolution r;
  if (HDC dc = ::GetDC(nullptr)) {
    r.x = ::GetDeviceCaps(dc, LOGPIXELSX);
    r.y = ::GetDeviceCaps(dc, LOGPIXELSY);
    ::ReleaseDC(nullptr, dc);
  }
  return r;
}

void Place(HWND dialog, int id, const TwipRect& t, const Resolution& r) {
  ::MoveWindow(::GetDlgItem(dialog, id), Pixels(t.left, r.x), Pixels(t.top, r.y),
               Pixels(t.width, r.x), Pixels(t.height, r.y), FALSE);
}

// The inner area comes out at its size whatever the frame takes: set an outer size, measure
// the inner one, correct by the difference.
void SizeWindow(HWND dialog, const Resolution& r) {
  RECT outer{};
  ::GetWindowRect(dialog, &outer);
  int width = Pixels(kOuterWidth, r.x);
  int height = Pixels(kOuterHeight, r.y);
  const UINT flags = SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE;
  ::SetWindowPos(dialog, nullptr, 0, 0, width, height, flags);
  RECT inner{};
  ::GetClientRect(dialog, &inner);
  height += Pixels(kInnerHeight, r.y) - (inner.bottom - inner.top);
  width += Pixels(kInnerWidth, r.x) - (inner.right - inner.left);
  ::SetWindowPos(dialog, nullptr, 0, 0, width, height, flags);
  // Centred over the screen's work area.
  RECT work{};
  ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  ::SetWindowPos(dialog, nullptr, work.left + ((work.right - work.left) - width) / 2,
                 work.top + ((work.bottom - work.top) - height) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Pick(HWND dialog, Question& q) {
  const LRESULT index = ::SendDlgItemMessageW(dialog, kIdList, LB_GETCURSEL, 0, 0);
  if (index != LB_ERR && static_cast<std::size_t>(index) < q.names->size())
    q.chosen = (*q.names)[static_cast<std::size_t>(index)];
  ::EndDialog(dialog, IDOK);
}

INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
  auto* q = reinterpret_cast<Question*>(::GetWindowLongPtrW(dialog, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG: {
      q = reinterpret_cast<Question*>(lparam);
      ::SetWindowLongPtrW(dialog, DWLP_USER, lparam);
      q->chosen.clear();
      const Resolution r = ScreenResolution();
      SizeWindow(dialog, r);
      Place(dialog, kIdLabel, kLabel1, r);
      Place(dialog, kIdList, kLstFiles, r);
      Place(dialog, kIdFiles, kFiles, r);
      Place(dialog, IDOK, kCmdOK, r);
      Place(dialog, IDCANCEL, kCmdCancel, r);
      for (const std::string& name : *q->names) {
        const std::wstring w = Wide(name);
        ::SendDlgItemMessageW(dialog, kIdList, LB_ADDSTRING, 0,
                              reinterpret_cast<LPARAM>(w.c_str()));
      }
      ::SendDlgItemMessageW(dialog, kIdList, LB_SETCURSEL, q->selected, 0);
      return TRUE;  // the first control in tab order, the list, gets the focus
    }
    case WM_COMMAND:
      if (!q) break;
      switch (LOWORD(wparam)) {
        case IDOK:
          Pick(dialog, *q);
          return TRUE;
        case IDCANCEL:  // Cancel, Escape and the frame's close box
          q->chosen.clear();
          ::EndDialog(dialog, IDCANCEL);
          return TRUE;
        case kIdList:
          if (HIWORD(wparam) == LBN_DBLCLK) {
            Pick(dialog, *q);
            return TRUE;
          }
          break;
      }
      break;
  }
  return FALSE;
}

HINSTANCE ThisModule() {
  HMODULE module = nullptr;
  ::GetModuleHandleExW(
      GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
      reinterpret_cast<LPCWSTR>(&DialogProc), &module);
  return module;
}

class DialogChooser : public FileChooser {
 public:
  std::string Choose(const std::vector<std::string>& names, std::size_t selected) override {
    if (names.empty()) return {};
    if (selected >= names.size()) selected = 0;
    TemplateBuilder t;
    const DWORD child = WS_CHILD | WS_VISIBLE;
    // Items in tab order: the list, OK, Cancel, the hidden file list, the label.
    t.Dialog(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT, 5,
             Wide(kChooserCaption));
    t.Item(child | WS_TABSTOP | WS_BORDER | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT, kIdList,
           0x0083, L"");
    t.Item(child | WS_TABSTOP | BS_DEFPUSHBUTTON, IDOK, 0x0080, L"&OK");
    t.Item(child | WS_TABSTOP | BS_PUSHBUTTON, IDCANCEL, 0x0080, L"&Cancel");
    t.Item(WS_CHILD | WS_BORDER | LBS_SORT | LBS_NOINTEGRALHEIGHT, kIdFiles, 0x0083, L"");
    t.Item(child | SS_LEFT, kIdLabel, 0x0082, Wide(kChooserPrompt));
    Question q{&names, selected, {}};
    const INT_PTR rc = ::DialogBoxIndirectParamW(ThisModule(), t.get(), ::GetActiveWindow(),
                                                 &DialogProc, reinterpret_cast<LPARAM>(&q));
    if (rc != IDOK) return {};
    return q.chosen;
  }
};

}  // namespace

FileChooser& SystemFileChooser() {
  static DialogChooser chooser;
  return chooser;
}

}  // namespace hv::platform
