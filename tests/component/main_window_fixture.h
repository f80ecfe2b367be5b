// What the tests of the main window share: a window made afresh for each
// test in this process (where its menus can be read: another process cannot
// read them under Wine), a hand that answers the boxes it shows, and the
// user's steps: choosing a command, typing, dropping files.
#pragma once

#include <windows.h>
#include <dlgs.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "app/commands.h"
#include "app/lumo_sub1.h"
#include "core/settings_value.h"
#include "tests/support/temp_dir.h"
#include "tests/support/wait.h"
#include "win32/handles.h"
#include "win32/shell.h"

namespace quolvi::test {

// A dialog box owned by the window, or null.
inline HWND OwnedDialog(HWND owner) {
  for (HWND box = FindWindowExA(nullptr, nullptr, "#32770", nullptr); box;
       box = FindWindowExA(nullptr, box, "#32770", nullptr)) {
    if (GetWindow(box, GW_OWNER) == owner) return box;
  }
  return nullptr;
}

inline std::string TextOf(HWND hwnd) {
  char text[MAX_PATH + 64] = "";
  GetWindowTextA(hwnd, text, sizeof text);
  return text;
}

// A drop of files, made the way the shell makes it.
inline HDROP MakeDrop(const std::vector<std::string>& paths) {
  std::string names;
  for (const std::string& path : paths) names += path + '\0';
  names += '\0';
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + names.size());
  GlobalLockScope<DROPFILES> header(memory);
  header.Data()->pFiles = sizeof(DROPFILES);
  memcpy(reinterpret_cast<char*>(header.Data()) + sizeof(DROPFILES), names.data(), names.size());
  return static_cast<HDROP>(memory);
}

// A timer of this thread, dispatched by whatever message loop runs (the
// modal loops of dialogs and menus too); stopped when it goes out of scope.
class ThreadTimer {
 public:
  explicit ThreadTimer(TIMERPROC onTick) : id_(SetTimer(nullptr, 0, 20, onTick)) {}
  ~ThreadTimer() { KillTimer(nullptr, id_); }
  ThreadTimer(const ThreadTimer&) = delete;
  ThreadTimer& operator=(const ThreadTimer&) = delete;

 private:
  UINT_PTR id_;
};

// Answers the boxes that this thread shows modally (message boxes, file,
// font and colour dialogs): records each and presses the next reply's
// button, Cancel once the replies have run out. It answers only while it is
// in scope, so a failed test never leaves it to answer the next test's boxes.
class Answerer {
 public:
  struct Reply {
    Reply(int id = IDCANCEL, std::function<void(HWND)> act = nullptr) : button(id), before(std::move(act)) {}
    int button;
    std::function<void(HWND)> before;  // done to the box first
  };
  struct Seen {
    std::string caption;
    std::string text;    // of a message box
    std::string folder;  // that a file dialog shows
    std::string name;    // that a file dialog proposes
    HWND owner;
  };
  // A file dialog given a name and OK.
  static Reply Name(const std::string& path) {
    return Reply(IDOK, [path](HWND box) { SetDlgItemTextA(box, GetDlgItem(box, cmb13) ? cmb13 : edt1, path.c_str()); });
  }

  explicit Answerer(std::vector<Reply> replies = {}) : replies_(std::move(replies)) { current_ = this; }
  ~Answerer() { current_ = nullptr; }
  Answerer(const Answerer&) = delete;
  Answerer& operator=(const Answerer&) = delete;

  // The texts of the message boxes answered.
  std::vector<std::string> Texts() const {
    std::vector<std::string> texts;
    for (const Seen& box : seen) {
      if (!box.text.empty()) texts.push_back(box.text);
    }
    return texts;
  }

  std::vector<Seen> seen;

 private:
  static BOOL CALLBACK Consider(HWND box, LPARAM found) {
    char name[16] = "";
    GetClassNameA(box, name, sizeof name);
    HWND owner = GetWindow(box, GW_OWNER);
    // Modal: its owner is disabled while it is up, unlike the find dialogs'.
    if (std::string(name) == "#32770" && IsWindowVisible(box) && IsWindowEnabled(box) && owner &&
        !IsWindowEnabled(owner)) {
      *reinterpret_cast<HWND*>(found) = box;
      return FALSE;
    }
    return TRUE;
  }
  static void CALLBACK OnTick(HWND, UINT, UINT_PTR, DWORD) {
    if (current_) current_->Tick();
  }
  void Tick() {
    HWND box = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), Consider, reinterpret_cast<LPARAM>(&box));
    answered_.erase(std::remove_if(answered_.begin(), answered_.end(), [](HWND gone) { return !IsWindow(gone); }),
                    answered_.end());
    if (!box || std::find(answered_.begin(), answered_.end(), box) != answered_.end()) return;
    answered_.push_back(box);
    Seen item{TextOf(box), "", "", "", GetWindow(box, GW_OWNER)};
    if (GetDlgItem(box, 0xFFFF)) item.text = TextOf(GetDlgItem(box, 0xFFFF));
    if (HWND name = GetDlgItem(box, cmb13) ? GetDlgItem(box, cmb13) : GetDlgItem(box, edt1)) {
      // Answered in the dialog's own characters, which are UTF-16.
      wchar_t folder[MAX_PATH] = L"";
      if (SendMessageW(box, CDM_GETFOLDERPATH, MAX_PATH, reinterpret_cast<LPARAM>(folder)) > 0) {
        char narrow[2 * MAX_PATH] = "";
        WideCharToMultiByte(932, 0, folder, -1, narrow, sizeof narrow, nullptr, nullptr);
        item.folder = narrow;
        item.name = TextOf(name);
      }
    }
    seen.push_back(item);
    Reply reply = next_ < replies_.size() ? replies_[next_++] : Reply();
    if (reply.before) reply.before(box);
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(reply.button, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(box, reply.button)));
  }

  static inline Answerer* current_ = nullptr;
  std::vector<Reply> replies_;
  std::size_t next_ = 0;
  std::vector<HWND> answered_;
  ThreadTimer timer_{OnTick};
};

// A main window of its own for each test, without the settings or the
// recovery files an earlier one left.
class MainWindowFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    // The window of an earlier test posted WM_QUIT when it was destroyed,
    // which would end the next modal loop at once.
    MSG quit;
    while (PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
    DeleteFileA(SettingsFilePath(ExecutablePath()).c_str());
    SetEnvironmentVariableA("LOCALAPPDATA", localAppData_.path().c_str());
    ASSERT_TRUE(window_.Create(GetModuleHandleA(nullptr)));
  }

  // The user's steps.
  void Choose(UINT command) { SendMessageA(window_.Handle(), WM_COMMAND, command, 0); }
  // Chooses the command and answers its boxes with replies; the message boxes' texts.
  std::vector<std::string> Choose(UINT command, std::vector<Answerer::Reply> replies) {
    Answerer answers(std::move(replies));
    Choose(command);
    return answers.Texts();
  }
  void Type(wchar_t c) { SendMessageW(window_.reEdit.Handle(), WM_CHAR, c, 1); }
  void Drop(const std::vector<std::string>& paths) {
    SendMessageA(window_.Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop(paths)), 0);
  }
  void SetText(std::string_view text) {
    window_.reEdit.SelectWholeText();
    window_.reEdit.ReplaceSelectedText(text);
  }
  std::string Caption() const { return TextOf(window_.Handle()); }

  // A file of the test's folder written anew (whatever attributes it had)
  // with bytes, then given attributes unless they are 0; its path.
  std::string NewFile(std::string_view name, std::string_view bytes, DWORD attributes = 0) {
    const std::string path = dir_.File(name);
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    WriteBytes(path, bytes);
    if (attributes) SetFileAttributesA(path.c_str(), attributes);
    return path;
  }

  TempDir localAppData_;  // both outlive the window
  TempDir dir_;
  TFLumoSub1 window_;
};

}  // namespace quolvi::test
