#include "tests/e2e/app_driver.h"

#include <gtest/gtest.h>
#include <richedit.h>

#include <cstdio>
#include <cstring>
#include <optional>
#include <stdexcept>
#include <vector>

#include "app/commands.h"
#include "tests/support/keyboard.h"
#include "tests/support/wait.h"

namespace quolvi::test {
namespace {

// The program as the build made it.
std::string BuiltExePath() {
  char path[MAX_PATH];
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path);
  folder.resize(folder.find_last_of('\\'));
  return folder + "\\..\\app\\quolvi.exe";
}

struct FindContext {
  DWORD processId;
  HWND found;
};

BOOL CALLBACK FindMainWindow(HWND hwnd, LPARAM lParam) {
  auto* context = reinterpret_cast<FindContext*>(lParam);
  DWORD owner = 0;
  GetWindowThreadProcessId(hwnd, &owner);
  char className[64] = "";
  GetClassNameA(hwnd, className, sizeof className);
  if (owner == context->processId && std::string(className) == "TFLumoSub1") {
    context->found = hwnd;
    return FALSE;
  }
  return TRUE;
}

// A window's text, asked for in UTF-16 (which crosses processes intact) and
// converted to Shift-JIS here.
std::string WindowText(HWND hwnd) {
  // Room for twice the length given: a window of ANSI text (the status bar)
  // may count its characters and then cut the text at that many bytes.
  int room = 2 * static_cast<int>(SendMessageW(hwnd, WM_GETTEXTLENGTH, 0, 0)) + 1;
  std::wstring text(room, L'\0');
  int got = static_cast<int>(SendMessageW(hwnd, WM_GETTEXT, room, reinterpret_cast<LPARAM>(text.data())));
  text.resize(got < 0 ? 0 : got);
  int bytes = WideCharToMultiByte(932, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string out(bytes, '\0');
  WideCharToMultiByte(932, 0, text.c_str(), static_cast<int>(text.size()), out.data(), bytes, nullptr, nullptr);
  return out;
}

// The clipboard's sequence number when input was last sent: until it
// changes, the program may be about to write the clipboard, and a look at
// it (which opens it) could make that write fail.
DWORD clipboardBeforeInput = 0;

void SendToProgram(std::vector<INPUT> inputs) {
  clipboardBeforeInput = GetClipboardSequenceNumber();
  SendInputs(std::move(inputs));
}

// The clipboard's text; nothing while another program holds it open.
std::optional<std::string> TryClipboardText() {
  if (!OpenClipboard(nullptr)) return std::nullopt;
  std::string text;
  GlobalLockScope<const char> chars(GetClipboardData(CF_TEXT));
  if (chars.Data()) text.assign(chars.Data(), strnlen(chars.Data(), chars.Count()));
  CloseClipboard();
  return text;
}

}  // namespace

Installation::Installation() {
  if (!CopyFileA(BuiltExePath().c_str(), Executable().c_str(), TRUE) ||
      !CreateDirectoryA(LocalAppData().c_str(), nullptr)) {
    throw std::runtime_error("cannot copy the program to " + folder());
  }
}

std::vector<std::string> Installation::RecoveryFiles() const {
  std::vector<std::string> names;
  WIN32_FIND_DATAA found;
  FindHandle search(FindFirstFileA((LocalAppData() + "\\Quolvi\\*").c_str(), &found));
  if (!search) return names;
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(found.cFileName);
  } while (FindNextFileA(search.Get(), &found));
  return names;
}

namespace {

// This program's environment with LOCALAPPDATA set to folder, as a block
// for CreateProcess.
std::string EnvironmentWith(const std::string& folder) {
  std::string block;
  const char* strings = GetEnvironmentStringsA();
  for (const char* entry = strings; *entry; entry += strlen(entry) + 1) {
    if (_strnicmp(entry, "LOCALAPPDATA=", 13) != 0) block.append(entry).push_back('\0');
  }
  FreeEnvironmentStringsA(const_cast<char*>(strings));
  block.append("LOCALAPPDATA=" + folder).push_back('\0');
  block.push_back('\0');
  return block;
}

}  // namespace

App::App(const std::string& arguments, const std::string& folder, const Installation* installation)
    : App(Wide(arguments), folder, installation) {}

App::App(const std::wstring& arguments, const std::string& folder, const Installation* installation) {
  if (!installation) installation = &ownInstallation_.emplace();
  std::wstring commandLine =
      L"\"" + Wide(installation->Executable()) + L"\"" + (arguments.empty() ? L"" : L" " + arguments);
  const std::wstring current = Wide(folder);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  std::string environment = EnvironmentWith(installation->LocalAppData());
  auto start = [&] {
    return CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, environment.data(),
                          current.empty() ? nullptr : current.c_str(), &startup, &info) != 0;
  };
  // Under load, Wine now and then fails to start a process at all (a fault
  // of the rig, not of the program, which would fail every time): one more try.
  if (!start()) {
    std::fprintf(stderr, "app_driver: starting %ls failed with error %lu; trying once more\n", commandLine.c_str(),
                 GetLastError());
    if (!start()) throw std::runtime_error("cannot start quolvi.exe: error " + std::to_string(GetLastError()));
  }
  process_.Reset(info.hProcess);
  KernelHandle thread(info.hThread);
  processId_ = info.dwProcessId;
  WaitForInputIdle(process_.Get(), 10000);
  FindContext context{processId_, nullptr};
  WaitUntil(
      [&] {
        EnumWindows(FindMainWindow, reinterpret_cast<LPARAM>(&context));
        return context.found != nullptr;
      },
      10000);
  window_ = context.found;
  if (!window_) throw std::runtime_error("the main window did not appear");
  // Shown once its creation is done; a message box from the creation (an
  // error report) holds that up until it is answered.
  WaitUntil([&] { return IsWindowVisible(window_) || FindWindowA("#32770", "Quolvi") != nullptr; }, 10000);
}

App::~App() {
  if (process_ && WaitForSingleObject(process_.Get(), 0) == WAIT_TIMEOUT) {
    TerminateProcess(process_.Get(), 1);
    WaitForSingleObject(process_.Get(), 5000);
  }
}

HWND App::editor() const { return FindWindowExA(window_, nullptr, "RICHEDIT", nullptr); }
HWND App::statusBar() const { return FindWindowExA(window_, nullptr, "msctls_statusbar32", nullptr); }
std::string App::Caption() const { return WindowText(window_); }
std::string App::EditorText() const { return WindowText(editor()); }
std::string App::StatusText() const { return WindowText(statusBar()); }

std::pair<int, int> App::Selection() const {
  // Without pointers, EM_GETSEL answers with both ends in its result, which
  // crosses processes.
  auto both = static_cast<DWORD>(SendMessageA(editor(), EM_GETSEL, 0, 0));
  return {LOWORD(both), HIWORD(both)};
}

COLORREF App::EditorBackground() const {
  // EM_SETBKGNDCOLOR answers with the colour it replaces (and takes no
  // pointer, so it crosses processes); that colour is put back.
  auto previous = static_cast<COLORREF>(SendMessageA(editor(), EM_SETBKGNDCOLOR, 0, 0));
  SendMessageA(editor(), EM_SETBKGNDCOLOR, 0, previous);
  return previous;
}

void App::Select(int start, int end) {
  SendMessageA(editor(), EM_SETSEL, start, end);
  Settle();
}

void App::Settle() const {
  WaitForInputIdle(process_.Get(), 2000);
  // A message sent to the window returns only when it has handled what came first.
  DWORD_PTR result;
  SendMessageTimeoutA(window_, WM_NULL, 0, 0, SMTO_NORMAL, 2000, &result);
  PumpMessages();
}

void App::Activate() {
  // The switch is done when the program's own thread has made its window the
  // active one; asked again until then, as a request can be lost while
  // another window is still being activated.
  const DWORD thread = GetWindowThreadProcessId(window_, nullptr);
  auto active = [&] {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return GetForegroundWindow() == window_ && GetGUIThreadInfo(thread, &info) && info.hwndActive == window_;
  };
  bool switched = WaitUntil(
      [&] {
        if (active()) return true;
        SetForegroundWindow(window_);
        return WaitUntil(active, 250);
      },
      kDeadlineMs);
  if (!switched) throw std::runtime_error("the main window did not become the active window");
  Settle();
}

void App::Type(std::u16string_view text) {
  SendToProgram(UnicodeKeyEvents(text));
  Settle();
}

void App::Press(WORD key, unsigned modifiers) {
  std::vector<INPUT> inputs;
  const std::pair<unsigned, WORD> held[] = {{kCtrl, VK_CONTROL}, {kShift, VK_SHIFT}, {kAlt, VK_MENU}};
  for (auto [flag, vk] : held) {
    if (modifiers & flag) inputs.push_back(KeyInput(vk, false));
  }
  inputs.push_back(KeyInput(key, false));
  inputs.push_back(KeyInput(key, true));
  for (auto it = std::rbegin(held); it != std::rend(held); ++it) {
    if (modifiers & it->first) inputs.push_back(KeyInput(it->second, true));
  }
  SendToProgram(inputs);
}

void App::PressAndSettle(WORD key, unsigned modifiers) {
  Press(key, modifiers);
  Settle();
}

void App::OpenContextMenu() {
  RECT area;
  GetWindowRect(editor(), &area);
  INPUT inputs[3]{};
  for (INPUT& input : inputs) {
    input.type = INPUT_MOUSE;
    input.mi.dx = ((area.left + area.right) / 2) * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1);
    input.mi.dy = ((area.top + area.bottom) / 2) * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1);
  }
  inputs[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  inputs[1].mi.dwFlags = MOUSEEVENTF_RIGHTDOWN | MOUSEEVENTF_ABSOLUTE;
  inputs[2].mi.dwFlags = MOUSEEVENTF_RIGHTUP | MOUSEEVENTF_ABSOLUTE;
  SendToProgram(std::vector<INPUT>(std::begin(inputs), std::end(inputs)));
  WaitUntil([] { return FindWindowA("#32768", nullptr) != nullptr; }, 3000);
  Settle();
}

void App::OpenMenu(char accessKey) {
  Press(static_cast<WORD>(accessKey), kAlt);
  // The drop-down is open when the system's menu window is shown.
  WaitUntil([] { return FindWindowA("#32768", nullptr) != nullptr; }, 3000);
  Settle();
}

void App::CloseMenus() {
  for (int i = 0; i < 3 && FindWindowA("#32768", nullptr); ++i) {
    PressAndSettle(VK_ESCAPE);
    WaitUntil([] { return FindWindowA("#32768", nullptr) == nullptr; }, 500);
  }
  // Leave the menu bar too.
  if (GetMenu(window_)) {
    Press(VK_MENU);
    Settle();
  }
}

HWND App::WaitForDialog(const std::string& caption, int timeoutMs) const {
  HWND found = nullptr;
  WaitUntil(
      [&] {
        found = nullptr;
        for (HWND hwnd = FindWindowExA(nullptr, nullptr, "#32770", nullptr); hwnd;
             hwnd = FindWindowExA(nullptr, hwnd, "#32770", nullptr)) {
          // Visible and enabled: initialised and ready for input.
          if (GetWindow(hwnd, GW_OWNER) == window_ && (caption.empty() || WindowText(hwnd) == caption) &&
              IsWindowVisible(hwnd) && IsWindowEnabled(hwnd)) {
            found = hwnd;
            return true;
          }
        }
        return false;
      },
      timeoutMs);
  return found;
}

std::string App::MessageBoxText(HWND box) { return WindowText(GetDlgItem(box, 0xFFFF)); }

std::string App::AnswerBox(int button) {
  HWND box = WaitForDialog("Quolvi");
  if (!box) return "(no box)";
  std::string text = MessageBoxText(box);
  PressButton(box, button);
  WaitUntil([&] { return !IsWindow(box); });
  Settle();
  return text;
}

void App::PressButton(HWND dialog, int id) {
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

bool App::WaitForExit(int timeoutMs) {
  return WaitUntil([&] { return WaitForSingleObject(process_.Get(), 0) == WAIT_OBJECT_0; }, timeoutMs);
}

void App::Kill() {
  TerminateProcess(process_.Get(), 1);
  WaitForSingleObject(process_.Get(), 5000);
}

bool SaveScreenshot(const std::string& path) {
  const int width = GetSystemMetrics(SM_CXSCREEN);
  const int height = GetSystemMetrics(SM_CYSCREEN);
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  void* bits = nullptr;
  GdiObject bitmap(CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  HGDIOBJ old = SelectObject(memory, bitmap.Get());
  BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY);
  SelectObject(memory, old);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  if (!bits) return false;
  const DWORD stride = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
  BITMAPFILEHEADER header{};
  header.bfType = 0x4D42;  // "BM"
  header.bfOffBits = sizeof header + sizeof info.bmiHeader;
  header.bfSize = header.bfOffBits + stride * height;
  FileHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  DWORD written;
  return file && WriteFile(file.Get(), &header, sizeof header, &written, nullptr) &&
         WriteFile(file.Get(), &info.bmiHeader, sizeof info.bmiHeader, &written, nullptr) &&
         WriteFile(file.Get(), bits, stride * height, &written, nullptr);
}

void SetClipboardText(const std::string& text) {
  if (!OpenClipboard(nullptr)) return;
  EmptyClipboard();
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
  if (GlobalLockScope<char> chars(memory); chars.Data()) memcpy(chars.Data(), text.c_str(), text.size() + 1);
  SetClipboardData(CF_TEXT, memory);
  CloseClipboard();
}

void SetClipboardPicture() {
  if (!OpenClipboard(nullptr)) return;
  EmptyClipboard();
  HDC screen = GetDC(nullptr);
  HBITMAP picture = CreateCompatibleBitmap(screen, 8, 8);
  ReleaseDC(nullptr, screen);
  SetClipboardData(CF_BITMAP, picture);
  CloseClipboard();
}

void EmptyTheClipboard() {
  if (!OpenClipboard(nullptr)) return;
  EmptyClipboard();
  CloseClipboard();
}

bool ClipboardBecomes(const std::string& expected) {
  // Looked at only once the program has written it since the last input,
  // and again only after each further change.
  DWORD seen = clipboardBeforeInput;
  return WaitUntil([&] {
    DWORD now = GetClipboardSequenceNumber();
    if (now == seen) return false;
    std::optional<std::string> text = TryClipboardText();
    if (!text) return false;  // still being written: look again
    seen = now;
    return *text == expected;
  });
}

std::string ClipboardText() { return TryClipboardText().value_or(""); }

}  // namespace quolvi::test
