#pragma once
// The locale and the language file of the settings layer, set for one test and put back.
#include <QString>

#include "settings/Language.h"

namespace slatewick {

// While it lives, the user's locale is lcid and the language file is chosen by it; its end
// lets ICU and the locale choose again.
class LanguageSeams {
 public:
  explicit LanguageSeams(int lcid = 1033) {
    SetLanguageFilePath(QString());
    PinUserLocaleNumber(lcid);
  }
  ~LanguageSeams() {
    SetLanguageFilePath(QString());
    PinUserLocaleNumber(0);
  }
  LanguageSeams(const LanguageSeams&) = delete;
  LanguageSeams& operator=(const LanguageSeams&) = delete;
};

}  // namespace slatewick
