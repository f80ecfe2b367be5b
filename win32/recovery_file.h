// The recovery file of a running program: a file of its own in a folder
// that all the user's running programs share, into which the unsaved text
// is written from a thread of its own, so that writing never holds up the
// window.
//
// Which files belong to a running program must be sure even when process ids
// come round again: each program holds a lock file of its name open without
// sharing for as long as it runs (the system deletes it when the program
// ends, however it ends). A recovery file whose lock file is not held is an
// orphan, left by a program that ended without its text saved or discarded.
// A starting program claims one by renaming it to its own name: a rename
// succeeds only once, so two programs never take the same file, and a live
// program's file is never touched.
//
// Names are ASCII and every call takes wide characters, so the folder may
// hold any character. What cannot be written is not reported: the recovery
// file is a second line of defence, and the text is still in the window.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>

#include "win32/handles.h"

namespace quolvi {

// The user's local application-data folder: the environment's LOCALAPPDATA
// when it is set, else the shell's folder; empty when there is none.
std::wstring LocalAppDataFolder();

class RecoveryFile {
 public:
  // Takes a name of its own in folder, which is created when missing.
  // Unusable (and then doing nothing) when no lock file can be made there.
  explicit RecoveryFile(const std::wstring& folder);
  // Finishes what was asked and lets the lock go; the recovery file stays.
  ~RecoveryFile();
  RecoveryFile(const RecoveryFile&) = delete;
  RecoveryFile& operator=(const RecoveryFile&) = delete;

  bool usable() const { return static_cast<bool>(thread_); }
  // The recovery file's own path (for tests).
  const std::wstring& path() const { return path_; }

  // Takes one orphan over as this program's own recovery file and returns
  // its bytes; nothing when there is none.
  std::optional<std::string> ClaimOrphan();
  // Puts the bytes that makeBytes makes in the recovery file, safely; both
  // are done off the caller's thread. Bytes asked for later replace bytes
  // not yet made.
  void Keep(std::function<std::string()> makeBytes);
  // Removes the recovery file, once what was asked before is done; returns
  // when it is gone.
  void Remove();

 private:
  static DWORD WINAPI Work(void* self);
  void WaitUntilIdle();
  void Write(const std::string& bytes);

  std::wstring folder_;
  std::wstring name_;  // the folder and this program's name, without extension
  std::wstring path_;  // the recovery file
  FileHandle lock_;
  CRITICAL_SECTION section_;
  std::function<std::string()> pending_;  // under section_
  bool stopping_ = false;                 // under section_
  KernelHandle wake_;                     // set when there is work or the thread is to end
  KernelHandle idle_;                     // set while nothing is pending or being written
  KernelHandle thread_;
};

}  // namespace quolvi
