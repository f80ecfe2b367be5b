#include "app/lumo_sub1.h"

#include <shellapi.h>

#include <optional>

#include "app/commands.h"
#include "app/error_box.h"
#include "app/messages.h"
#include "win32/error_boundary.h"
#include "win32/locale.h"

namespace quolvi {

namespace {

constexpr int kEditorId = 100;
constexpr int kStatusBarId = 101;
constexpr int kTouchedId = 102;
// Where the stored description places the window before it is centred.
constexpr int kStoredLeft = 654;
constexpr int kStoredTop = 128;

FontHandle MakeFont(const char* face, int height) {
  LOGFONTA font{};
  font.lfHeight = height;
  font.lfCharSet = SHIFTJIS_CHARSET;
  lstrcpynA(font.lfFaceName, face, LF_FACESIZE);
  return FontHandle(CreateFontIndirectA(&font));
}

}  // namespace

TFLumoSub1::~TFLumoSub1() {
  // The window goes first, while everything its messages reach is still here.
  DestroyBoundWindow();
}

bool TFLumoSub1::Create(HINSTANCE instance, ApplicationWindow* application) {
  WNDCLASSEXA windowClass{};
  windowClass.hInstance = instance;
  windowClass.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(1));
  windowClass.hIconSm = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(1), IMAGE_ICON, 16, 16, 0));
  windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = kClassName;
  if (!RegisterWindowClass(windowClass)) return false;
  MenuHandle mainMenu = CreateMainMenu1();
  PopupMenu1_ = CreatePopupMenu1();
  application_ = application;
  RECT frame{kStoredLeft, kStoredTop, kStoredLeft + kWidth, kStoredTop + kHeight};
  if (!CreateBoundWindow(0, kClassName, messages::kAppTitle, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, frame,
                         application ? application->Handle() : nullptr, mainMenu.Get())) {
    return false;
  }
  // The window owns its menu bar from now on.
  MainMenu1_ = mainMenu.Release();
  if (application_) application_->SetMainWindow(Handle());
  return true;
}

void TFLumoSub1::Show(int showCommand) {
  Run([this] { FormShow(); });
  if (Position_ == Placement::kScreenCenter) {
    RECT frame;
    GetWindowRect(Handle(), &frame);
    int width = frame.right - frame.left;
    int height = frame.bottom - frame.top;
    int left = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
    int top = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
    SetWindowPos(Handle(), nullptr, left < 0 ? 0 : left, top < 0 ? 0 : top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    Position_ = Placement::kDesigned;
  }
  if (application_) application_->Show();
  ShowWindow(Handle(), showCommand);
  UpdateWindow(Handle());
  reEdit.FocusEditor();
  // Asked once the window is there to be seen, before any input is handled.
  PostMessageA(Handle(), kOfferRecoveryMessage, 0, 0);
}

LRESULT TFLumoSub1::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      // Without its components (the editor's control cannot be made, say)
      // the window is not made: the user is told, and Create fails.
      if (!Run([this] { CreateComponents(); })) return -1;
      // An error in FormCreate ends FormCreate; the window still comes up.
      Run([this] { FormCreate(); });
      return 0;
    case WM_SIZE: Layout(); return 0;
    case WM_SYSCOMMAND:
      // Minimising the main window minimises the application it belongs to.
      if ((wParam & 0xFFF0) == SC_MINIMIZE && application_) {
        application_->Minimize();
        return 0;
      }
      break;
    case WM_SETFOCUS:
      if (reEdit.Handle()) SetFocus(reEdit.Handle());
      return 0;
    case WM_INITMENUPOPUP:
      if (!HIWORD(lParam)) {
        // A drop-down of the main menu runs its top-level item's handler first.
        HMENU menu = reinterpret_cast<HMENU>(wParam);
        for (int top = File1; top <= Option1; ++top) {
          if (menu == GetSubMenu(MainMenu1_, top)) Run([this, top] { TopMenuClick(static_cast<Menu>(top)); });
        }
      }
      return 0;
    case WM_COMMAND:
      if (reEdit.HandleCommand(wParam, lParam)) return 0;
      if (lParam == 0 && HIWORD(wParam) == 0) {
        UINT id = LOWORD(wParam);
        Run([this, id] { Dispatch(id); });
        return 0;
      }
      break;
    case WM_DROPFILES: {
      auto drop = reinterpret_cast<HDROP>(wParam);
      Run([this, drop] { WMDropFiles(drop); });
      return 0;
    }
    case WM_WININICHANGE: locale_ = ReadDateTimeLocale(); break;
    case WM_SYSCOLORCHANGE: Run([this] { reEdit.SystemColorsChanged(); }); break;
    case WM_CLOSE: Close(); return 0;
    case WM_QUERYENDSESSION: {
      bool allowed = false;
      Run([this, &allowed] { allowed = FormCloseQuery(); });
      return allowed;
    }
    case WM_DESTROY: PostQuitMessage(0); return 0;
    case WM_TIMER:
      if (wParam != RecoveryKeeper::kTimer) break;
      Run([this] { recovery_.Keep(reEdit, documentPath_.FileName(), Modified()); });
      return 0;
    default:
      if (message == kOfferRecoveryMessage) {
        Run([this] { OfferRecovery(); });
        return 0;
      }
      if (searchDialogs_.IsNotification(message)) {
        auto* request = reinterpret_cast<FINDREPLACEA*>(lParam);
        Run([this, request] { OnFindReplace(request); });
        return 0;
      }
      break;
  }
  return DefaultHandling(message, wParam, lParam);
}

template <class Handler>
bool TFLumoSub1::Run(Handler handler) {
  // Handlers run inside the window procedure; their errors are caught here,
  // before they could unwind into the system's code.
  return RunAtBoundary(handler, [this](std::exception_ptr error) { OnEscapedError(error); });
}

void TFLumoSub1::OnEscapedError(std::exception_ptr error) { ShowErrorBox(Handle(), error); }

int TFLumoSub1::AskUser(std::string_view text, UINT flags) {
  std::string extended(text);
  extended += "　　";
  return MessageBoxA(Handle(), extended.c_str(), messages::kAppTitle, flags);
}

void TFLumoSub1::CreateComponents() {
  HWND hwnd = Handle();
  HINSTANCE instance = GetModuleHandleA(nullptr);
  formFont_ = MakeFont("ＭＳ Ｐゴシック", -15);
  StatusBar1_.Create(hwnd, kStatusBarId, MakeFont("MS UI Gothic", -17));

  reEdit.OnContextMenu = [this](int x, int y) { ShowPopupMenu1(x, y); };
  reEdit.OnChange = [this] { reEditChange(); };
  reEdit.OnEscapedError = [this](std::exception_ptr error) { OnEscapedError(error); };
  // A load's progress in its own words, whichever way the load came.
  reEdit.OnProgress = [this](int percent) {
    StatusBar1_.SetProgressFormat(reEdit.Loading() ? messages::kLoadingProgress : nullptr);
    StatusBar1_.ShowProgress(percent);
  };
  reEdit.Create(hwnd, kEditorId);
  recovery_.Open(hwnd);

  // The modified flag, in a check box nobody sees.
  cbTouched_ = CreateWindowExA(0, "BUTTON", "", WS_CHILD | BS_AUTOCHECKBOX, 8, 112, 17, 17, hwnd,
                               reinterpret_cast<HMENU>(kTouchedId), instance, nullptr);
  SendMessageA(cbTouched_, WM_SETFONT, reinterpret_cast<WPARAM>(formFont_.Get()), FALSE);

  fontDialogFont_.lfHeight = -15;
  fontDialogFont_.lfCharSet = SHIFTJIS_CHARSET;
  lstrcpynA(fontDialogFont_.lfFaceName, "ＭＳ Ｐゴシック", LF_FACESIZE);
  for (COLORREF& color : customColors_) color = RGB(255, 255, 255);
  locale_ = ReadDateTimeLocale();
  Layout();
}

void TFLumoSub1::Layout() {
  RECT client;
  GetClientRect(Handle(), &client);
  RECT editor{0, 0, client.right, client.bottom - StatusBar1_.Place()};
  if (editor.bottom < 0) editor.bottom = 0;
  reEdit.SetBounds(editor);
}

void TFLumoSub1::FormCreate() {
  ReadSettings();
  ResetDocument();
  OpenFromCommandLine();
}

void TFLumoSub1::FormShow() { DragAcceptFiles(Handle(), TRUE); }

bool TFLumoSub1::FormCloseQuery() {
  // A file still loading holds no change of the user's: its load stops at
  // once, and nothing is asked.
  if (reEdit.Loading()) {
    reEdit.AbandonLoad();
  } else if (!ConfirmDiscard(messages::kDiscardForClose)) {
    return false;
  }
  ResetDocument();
  // Settings that cannot be written are reported, and the window closes all
  // the same: the user has let the document go, and a program whose folder
  // cannot be written must still be able to end from its own window.
  Run([this] { WriteSettings(); });
  return true;
}

void TFLumoSub1::Close() {
  bool allowed = false;
  Run([this, &allowed] { allowed = FormCloseQuery(); });
  if (allowed) DestroyWindow(Handle());
}

void TFLumoSub1::mnQuitClick() { SendMessageA(Handle(), WM_CLOSE, 0, 0); }

bool TFLumoSub1::HandleShortcut(const MSG& msg) {
  if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN) return false;
  HWND hwnd = Handle();
  if (!hwnd || (msg.hwnd != hwnd && !IsChild(hwnd, msg.hwnd))) return false;
  if (!IsShortcutKey(msg.wParam)) return false;
  const Command* command = FindShortcut(ShortcutOfKey(msg.wParam));
  if (!command) return false;
  // The item runs if its rule holds now; the key is consumed either way.
  // Only its own rule is evaluated: the menu's other items are evaluated
  // when the menu opens, and asking for them here (the clipboard among
  // them) would cost every shortcut what the menu costs.
  // While a file loads, what would change the text or the document waits,
  // as its disabled item does.
  Run([this, command] {
    const bool waits = command->whileLoading == kWaits && reEdit.Loading();
    if (waits || command->enabling != kAlways) {
      const bool enabled = !waits && RuleHolds(command->enabling);
      SetItemEnabled(command->id, enabled);
      if (!enabled) return;
    }
    Dispatch(command->id);
  });
  return true;
}

void TFLumoSub1::Dispatch(UINT id) {
  switch (id) {
#define QUOLVI_DISPATCH(name, menu, caption, shortcut, enabling, whileLoading) \
  case name: name##Click(); break;
    QUOLVI_COMMANDS(QUOLVI_DISPATCH, QUOLVI_NO_SEPARATOR)
#undef QUOLVI_DISPATCH
    default: break;
  }
}

void TFLumoSub1::ApplyEnabling(Menu menu) {
  // Each rule is evaluated at most once for one opening. While a file
  // loads, what would change the text or the document waits.
  const bool loading = reEdit.Loading();
  std::optional<bool> holds[kSelectionToRun + 1];
  for (const Command& command : kCommands) {
    if (command.menu != menu || !command.caption) continue;
    if (loading && command.whileLoading == kWaits) {
      SetItemEnabled(command.id, false);
      continue;
    }
    std::optional<bool>& known = holds[command.enabling];
    if (!known) known = RuleHolds(command.enabling);
    SetItemEnabled(command.id, *known);
  }
}

void TFLumoSub1::SetItemEnabled(UINT id, bool enabled) {
  const Command* command = FindCommand(id);
  if (!command) return;
  HMENU menu = command->menu == Menu::PopupMenu1 ? PopupMenu1_.Get() : MainMenu1_;
  EnableMenuItem(menu, id, MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
}

void TFLumoSub1::ShowPopupMenu1(int x, int y) {
  if (x == -1 && y == -1) {  // from the keyboard: at the caret
    POINT caret{0, 0};
    GetCaretPos(&caret);
    ClientToScreen(reEdit.Handle(), &caret);
    x = caret.x;
    y = caret.y;
  }
  Run([this] { PopupMenu1Popup(); });
  TrackPopupMenu(PopupMenu1_.Get(), TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, x, y, 0, Handle(), nullptr);
}

}  // namespace quolvi
