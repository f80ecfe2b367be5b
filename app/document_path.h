// The document's path: the file it was opened from or saved to (the file
// name of SaveDialog1; empty while the document is untitled), the folders
// that OpenDialog1 and SaveDialog1 start in, what each of them chose last,
// and the main window's caption, which names the document.
#pragma once

#include <windows.h>

#include <string>

namespace quolvi {

// The name by which the program reaches a file the system names in UTF-16
// (see NarrowPath); an error that tells the user so when there is none, and
// ends what was to be done with the file.
std::string UsableName(const std::wstring& name);

class DocumentPath {
 public:
  // The document's file; empty while it is untitled.
  const std::string& FileName() const { return SaveDialog1_.fileName; }
  // The folder the file dialogs start in.
  const std::string& FolderToStartIn() const { return OpenDialog1_.initialDir; }

  // Each change below names the document in the caption of window, the
  // main window.
  // Untitled, "Quolvi", the dialogs starting in the user's documents folder
  // (where they were when there is none).
  void Reset(HWND window);
  // Opened from path, which the caption names as shown.
  void Opened(HWND window, const std::string& path, const std::string& shown);
  // Saved under the name SaveDialog1 chose (Save As).
  void SavedAs(HWND window);
  // Recovered after a crash, with the file path it had (empty: untitled).
  void Recovered(HWND window, const std::string& path);

  // Shows OpenDialog1, owned by owner; true when a file was chosen, which
  // FileToOpen names.
  bool ChooseFileToOpen(HWND owner) { return Choose(OpenDialog1_, owner, false); }
  const std::string& FileToOpen() const { return OpenDialog1_.fileName; }
  // Shows SaveDialog1; true when a file was chosen, which is then the
  // document's.
  bool ChooseFileToSave(HWND owner) { return Choose(SaveDialog1_, owner, true); }

 private:
  struct FileDialog {
    std::string fileName;
    std::string initialDir;
    DWORD filterIndex = 1;  // the entry last chosen stays selected
  };
  static bool Choose(FileDialog& dialog, HWND owner, bool save);

  FileDialog OpenDialog1_;
  FileDialog SaveDialog1_;
};

}  // namespace quolvi
