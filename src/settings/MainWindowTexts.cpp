#include "settings/MainWindowTexts.h"

namespace slatewick {

MainWindowTexts ReadMainWindowTexts(const LanguageFile& language) {
  const QString separator = QStringLiteral("-");
  return {language.Text(Texts::Name),
          {language.Text(Texts::MenuClearAll), language.Text(Texts::MenuWriteDate), separator,
           language.Text(Texts::MenuLoad), language.Text(Texts::MenuSave),
           language.Text(Texts::MenuExport), language.Text(Texts::MenuReplay),
           language.Text(Texts::MenuVideo), separator, language.Text(Texts::MenuSettings),
           language.Text(Texts::MenuAbout), language.Text(Texts::MenuQuit)},
          language.Text(Texts::ClearQuestion),
          ExportFilter(language.Text(Texts::FileTypeBmp), language.Text(Texts::FileTypeJpg),
                       language.Text(Texts::FileTypePng))};
}

}  // namespace slatewick
