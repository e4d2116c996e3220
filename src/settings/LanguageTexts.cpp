#include "settings/LanguageTexts.h"

#include <array>

namespace slatewick {

namespace Texts {

std::span<const TextKey> All() {
  static constexpr std::array texts{Name,
                                    ChooserOk,
                                    ChooserCancel,
                                    SettingsOk,
                                    SettingsCancel,
                                    ExportKindOk,
                                    ExportKindCancel,
                                    FileTypeBmp,
                                    FileTypeJpg,
                                    LanguageAuthor,
                                    MenuClearAll,
                                    MenuWriteDate,
                                    MenuLoad,
                                    MenuSave,
                                    MenuExport,
                                    MenuSettings,
                                    MenuAbout,
                                    MenuQuit,
                                    ClearQuestion,
                                    ExportExtension,
                                    FileSizeError,
                                    FileExist,
                                    FileNotExist,
                                    LoadPrompt,
                                    StorePrompt,
                                    LoadCaption,
                                    StoreCaption,
                                    SettingsTitle,
                                    LeaveSmudge,
                                    LimitStrokeLength,
                                    DateAtStart,
                                    DateAfterClear,
                                    ShowDust,
                                    CornerOnlyWithCtrl,
                                    ShowDebug,
                                    NormalChalkLabel,
                                    ChalkCornerLabel,
                                    LaidChalkLabel,
                                    ExportKindTitle,
                                    ExportBoardOnly,
                                    ExportWholeWindow,
                                    FileTypePng,
                                    FileTypeWebm,
                                    MenuReplay,
                                    MenuVideo,
                                    StoryRefused,
                                    VideoTitle,
                                    VideoProgress};
  return texts;
}

}  // namespace Texts

}  // namespace slatewick
