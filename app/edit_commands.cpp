// The Edit menu's commands, the context menu's, and the enabling of items.
#include <windows.h>
#include <commdlg.h>

#include "app/lumo_sub1.h"
#include "core/font_size.h"
#include "core/trim.h"
#include "win32/color.h"

namespace quolvi {

bool TFLumoSub1::RuleHolds(Enabling rule) {
  switch (rule) {
    case kAlways: return true;
    case kUndoAvailable: return reEdit.UndoAvailable();
    case kDocumentHasText: return !reEdit.IsEmpty();
    case kClipboardHasData: return CountClipboardFormats() > 0;
    case kSelectionToRun: return !Trim(reEdit.SelectedText()).empty();
  }
  return true;
}

// The context menu's items do what their main-menu twins do.
void TFLumoSub1::pmUndoClick() { mnUndoClick(); }
void TFLumoSub1::pmCutClick() { mnCutClick(); }
void TFLumoSub1::pmCopyClick() { mnCopyClick(); }
void TFLumoSub1::pmPasteClick() { mnPasteClick(); }
void TFLumoSub1::pmDeleteClick() { mnDeleteClick(); }
void TFLumoSub1::pmSelAllClick() { mnSelAllClick(); }
void TFLumoSub1::pmGoClick() { mnGoClick(); }

void TFLumoSub1::mnUndoClick() { reEdit.UndoLastEdit(); }
void TFLumoSub1::mnCutClick() { reEdit.CutSelection(); }
void TFLumoSub1::mnCopyClick() { reEdit.CopySelection(); }
void TFLumoSub1::mnPasteClick() { reEdit.PasteClipboard(); }
void TFLumoSub1::mnDeleteClick() { reEdit.ReplaceSelectedText(""); }
void TFLumoSub1::mnSelAllClick() { reEdit.SelectWholeText(); }

void TFLumoSub1::mnDTClick() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  LocalTime time{now.wYear, now.wMonth, now.wDay, now.wDayOfWeek, now.wHour, now.wMinute, now.wSecond};
  reEdit.ReplaceSelectedText(FormatDateTime(locale_, time));
}

void TFLumoSub1::mnWordWrapClick() {
  reEdit.SetWordWrap(!reEdit.WordWrap());
  CheckMenuItem(MainMenu1_, mnWordWrap, MF_BYCOMMAND | (reEdit.WordWrap() ? MF_CHECKED : MF_UNCHECKED));
}

void TFLumoSub1::mnSelFontClick() {
  // The dialog starts from the editor's colour, size and face; it keeps its
  // own style and character set from the last time.
  const int dpi = reEdit.ScreenDpi();
  fontDialogColor_ = reEdit.FontColor();
  fontDialogFont_.lfHeight = HeightFromPointSize(reEdit.PointSize(), dpi);
  lstrcpynA(fontDialogFont_.lfFaceName, reEdit.FaceName().c_str(), LF_FACESIZE);

  LOGFONTA chosen = fontDialogFont_;
  CHOOSEFONTA dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = Handle();
  dialog.lpLogFont = &chosen;
  dialog.Flags = CF_SCREENFONTS | CF_EFFECTS | CF_NOSTYLESEL | CF_INITTOLOGFONTSTRUCT;
  dialog.rgbColors = ResolveColor(fontDialogColor_);
  if (!ChooseFontA(&dialog)) return;
  fontDialogFont_ = chosen;
  fontDialogColor_ = static_cast<ColorValue>(dialog.rgbColors);

  // Only colour, size and face reach the editor, which keeps its own
  // character set and no style.
  reEdit.SetFontColor(fontDialogColor_);
  reEdit.SetPointSize(PointSizeFromHeight(fontDialogFont_.lfHeight, dpi));
  reEdit.SetFaceName(fontDialogFont_.lfFaceName);
}

void TFLumoSub1::mnSelBGClick() {
  CHOOSECOLORA dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = Handle();
  dialog.rgbResult = ResolveColor(reEdit.BackColor());
  dialog.lpCustColors = customColors_;
  dialog.Flags = CC_RGBINIT;
  if (ChooseColorA(&dialog)) reEdit.SetBackColor(static_cast<ColorValue>(dialog.rgbResult));
}

}  // namespace quolvi
