#include "settings/LanguageTexts.h"

#include <array>

namespace slatewick {

namespace Texts {

std::span<const TextKey> All() {
  static constexpr std::array texts{
      Name,         FilesOK,         FilesCancel,   OptionOK,       OptionCancel, ExportOK,
      ExportCancel, FileTypeBmp,     FileTypeJpg,   LanguageAuthor, MenuAllDel,   MenuWriteDate,
      MenuLoad,     MenuSave,        MenuToBMP,     MenuOption,     MenuVer,      MenuExit,
      Clear,        ExportExtension, FileSizeError, FileExist,      FileNotExist, ChooseLoad,
      ChooseSave,   LoadDialog,      SaveDialog,    OptionTitle,    Dirt,         ChalkRange,
      RunWithDay,   ClearWithDay,    ShowDust,      AngleWithCtrl,  ShowDebug,    ChalkA,
      ChalkB,       ChalkC,          ExportTitle,   Onlypic,        Withall};
  return texts;
}

}  // namespace Texts

}  // namespace slatewick
