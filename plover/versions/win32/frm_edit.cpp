#include "plover/versions/win32/frm_edit.h"

#include <vector>

#include "common/win32/wide.h"

namespace plover::versions {
namespace {

using controls::kChildStyle;
using controls::kPushButtonStyle;

enum : int {
  kOptFiles = 300,
  kBtnEditName,
  kListFiles,
  kLbInfo,
  kBtnAdd,
  kBtnDel,
  kCheck,
  kBtnOk,
  kBtnCancel,
};

constexpr controls::ControlSpec kControls[] = {
    {kOptFiles, L"BUTTON", "版本文件", 240, 480, 3000, 285, kChildStyle | BS_AUTORADIOBUTTON},
    {kBtnEditName, nullptr, "修改名称", 3600, 450, 1215, 345, kPushButtonStyle},
    {kListFiles, L"LISTBOX", "", 240, 900, 4575, 1950,
     kChildStyle | WS_TABSTOP | WS_BORDER | WS_VSCROLL | WS_HSCROLL | LBS_NOTIFY | LBS_EXTENDEDSEL |
         LBS_NOINTEGRALHEIGHT},
    {kLbInfo, L"STATIC", "", 240, 2910, 4575, 255, kChildStyle | SS_NOPREFIX},
    {kBtnAdd, nullptr, "添加文件", 240, 3240, 1095, 375, kPushButtonStyle},
    {kBtnDel, nullptr, "删除文件", 1440, 3240, 1095, 375, kPushButtonStyle},
    {kCheck, L"BUTTON", "不直接处理文件", 2700, 3300, 2115, 255,
     kChildStyle | WS_TABSTOP | BS_AUTOCHECKBOX},
    {kBtnOk, nullptr, "保存修改", 2400, 3660, 1095, 375, kPushButtonStyle},
    {kBtnCancel, nullptr, "放弃修改", 3720, 3660, 1095, 375, kPushButtonStyle},
};

constexpr controls::WindowLook kLook{controls::kModalClass, controls::kModalStyle, 5055, 4110,
                                     kControls};

}  // namespace

FrmEdit::FrmEdit(Services& services, MainView& main)
    : SkinnedWindow(kLook), editor_(services, main) {}

void FrmEdit::Run(HWND owner, const std::string& caption, const std::string& name) {
  editor_.Open(caption, name);
  RunModal(owner, caption);
}

void FrmEdit::OnCreate() {
  SetItemText(kOptFiles, editor_.Name());
}

void FrmEdit::OnShown() {
  // Read now, so that a failure's message box belongs to this window.
  editor_.Load();
  ShowEntries();
}

void FrmEdit::OnDpiChanged(UINT) {
  ShowEntries();
}

void FrmEdit::ShowEntries() {
  HWND list = Item(kListFiles);
  SendMessageW(list, WM_SETREDRAW, FALSE, 0);
  SendMessageW(list, LB_RESETCONTENT, 0, 0);
  for (const auto& e : editor_.Entries()) {
    // Entries come from code page 936 or from file names that converted, so
    // they convert; one that did not would keep its place, shown empty, so
    // that the list's positions stay the editor's.
    const std::wstring w = win::Wide(e).value_or(std::wstring());
    SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(w.c_str()));
  }
  // The extent is counted in pixels at 96 DPI.
  SendMessageW(list, LB_SETHORIZONTALEXTENT,
               MulDiv(editor_.WidestExtent(), static_cast<int>(dpi()), 96), 0);
  SendMessageW(list, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list, nullptr, TRUE);
}

bool FrmEdit::OnMessage(UINT msg, WPARAM wParam, LPARAM, LRESULT& result) {
  if (msg != WM_COMMAND) return false;
  const int id = LOWORD(wParam);
  const int code = HIWORD(wParam);
  HWND list = Item(kListFiles);
  switch (id) {
    case kOptFiles:
      // The version's name is shown here, but it never keeps the focus.
      if (code == BN_SETFOCUS || code == BN_CLICKED) SetFocus(Item(kBtnEditName));
      break;
    case kListFiles:
      if (code == LBN_SELCHANGE) {
        const int caret = static_cast<int>(SendMessageW(list, LB_GETCARETINDEX, 0, 0));
        SetItemText(kLbInfo, editor_.InfoFor(caret));
      }
      break;
    case kBtnEditName:
      if (code != BN_CLICKED) return false;
      editor_.Rename();
      SetItemText(kOptFiles, editor_.Name());
      break;
    case kBtnAdd:
      if (code != BN_CLICKED) return false;
      if (editor_.AddFiles()) ShowEntries();
      break;
    case kBtnDel: {
      if (code != BN_CLICKED) return false;
      const int count = static_cast<int>(SendMessageW(list, LB_GETSELCOUNT, 0, 0));
      if (count <= 0) break;
      std::vector<int> selected(static_cast<size_t>(count));
      SendMessageW(list, LB_GETSELITEMS, count, reinterpret_cast<LPARAM>(selected.data()));
      editor_.RemoveEntries(selected);
      ShowEntries();
      break;
    }
    case kCheck:
      if (code != BN_CLICKED) return false;
      editor_.SetLeaveStoreAlone(IsDlgButtonChecked(hwnd_, kCheck) == BST_CHECKED);
      break;
    case kBtnOk:
      if (code != BN_CLICKED) return false;
      if (editor_.Save()) {
        EndModal();
      } else {
        // The editor stays open with the list it would save.
        ShowEntries();
      }
      break;
    case kBtnCancel:
    case IDCANCEL:
      EndModal();
      break;
    default:
      return false;
  }
  result = 0;
  return true;
}

}  // namespace plover::versions
