#include <unicode/uloc.h>

#include <QByteArray>

#include "settings/Language.h"

namespace slatewick {

namespace {

constexpr int EnglishUS = 1033;
constexpr int CustomUnspecified = 4096;

int& LcidOverride() {
  static int lcid = 0;
  return lcid;
}

using LocaleCall = int32_t (*)(const char*, char*, int32_t, UErrorCode*);

// What an ICU call gives for locale, in a buffer as long as it needs; empty when it fails. ICU
// reports a result that fills the buffer exactly as a warning and leaves it unterminated, so the
// length it returns is the one that counts.
QByteArray LocalePart(const char* locale, LocaleCall part) {
  QByteArray buffer(64, Qt::Uninitialized);
  for (int attempt = 0; attempt < 2; ++attempt) {
    UErrorCode status = U_ZERO_ERROR;
    const int32_t length = part(locale, buffer.data(), int32_t(buffer.size()), &status);
    if (status == U_BUFFER_OVERFLOW_ERROR && length > buffer.size()) {
      buffer.resize(length);
      continue;
    }
    if (U_FAILURE(status) || length < 0 || length > buffer.size()) return {};
    buffer.truncate(length);
    return buffer;
  }
  return {};
}

// An identifier for a language without its country, or for a whole script group.
bool IsNeutral(int lcid) {
  const int sublanguage = lcid >> 10;
  return sublanguage == 0 || sublanguage >= 0x1A;
}

}  // namespace

int LCIDFromLocale(const char* icuLocale) {
  const QByteArray language = LocalePart(icuLocale, uloc_getLanguage).toLower();
  const QByteArray variant = LocalePart(icuLocale, uloc_getVariant).toUpper();
  if (language.isEmpty() || language == "c" || language == "posix" || variant == "POSIX")
    return EnglishUS;
  int lcid = static_cast<int>(uloc_getLCID(icuLocale));
  if (lcid == 0 || IsNeutral(lcid)) {
    // The likely country of the whole name, or of its language alone when ICU cannot complete
    // the whole name (an overlong or ill-formed variant, say).
    QByteArray likely = LocalePart(icuLocale, uloc_addLikelySubtags);
    if (likely.isEmpty()) likely = LocalePart(language.constData(), uloc_addLikelySubtags);
    if (!likely.isEmpty()) {
      const QByteArray country = LocalePart(likely.constData(), uloc_getCountry);
      for (const QByteArray& name : {likely, language + '_' + country}) {
        const int candidate = static_cast<int>(uloc_getLCID(name.constData()));
        if (candidate != 0 && !IsNeutral(candidate)) {
          lcid = candidate;
          break;
        }
      }
    }
  }
  return lcid == 0 ? CustomUnspecified : lcid;
}

int UserLocaleNumber() {
  if (LcidOverride() != 0) return LcidOverride();
  return LCIDFromLocale(uloc_getDefault());
}

void PinUserLocaleNumber(int lcid) {
  LcidOverride() = lcid;
}

int AnsiCodePage(int lcid) {
  const int language = lcid & 0x3FF;
  const int sublanguage = lcid >> 10;
  switch (language) {
    case 0x11:  // Japanese
      return 932;
    case 0x04:  // Chinese: Taiwan, Hong Kong and Macao use the traditional script
      return sublanguage == 1 || sublanguage == 3 || sublanguage == 5 ? 950 : 936;
    case 0x12:  // Korean
      return 949;
    case 0x1E:  // Thai
      return 874;
    case 0x05:
    case 0x0E:
    case 0x15:
    case 0x18:
    case 0x1B:
    case 0x1C:
    case 0x24:
      return 1250;  // Czech, Hungarian, Polish, Romanian, Slovak, Albanian, Slovenian
    case 0x1A:      // Croatian, Serbian and Bosnian: Cyrillic or Latin by sublanguage
      return sublanguage == 3 || sublanguage == 7 || sublanguage == 8 || sublanguage == 10 ||
                     sublanguage == 12
                 ? 1251
                 : 1250;
    case 0x19:
    case 0x22:
    case 0x23:
    case 0x02:
    case 0x2F:
    case 0x3F:
    case 0x40:
    case 0x44:
    case 0x50:
    case 0x6D:
    case 0x85:
      return 1251;  // Russian, Ukrainian, Belarusian, Bulgarian, Macedonian, Kazakh, Kyrgyz,
                    // Tatar, Mongolian, Bashkir, Sakha
    case 0x08:      // Greek
      return 1253;
    case 0x1F:  // Turkish
      return 1254;
    case 0x2C:  // Azerbaijani, 0x43 Uzbek: Latin or Cyrillic
    case 0x43:
      return sublanguage == 2 ? 1251 : 1254;
    case 0x0D:  // Hebrew
      return 1255;
    case 0x01:
    case 0x29:
    case 0x20:
    case 0x8C:
      return 1256;  // Arabic, Persian, Urdu, Dari
    case 0x25:
    case 0x26:
    case 0x27:
      return 1257;  // Estonian, Latvian, Lithuanian
    case 0x2A:      // Vietnamese
      return 1258;
    default:
      return 1252;
  }
}

}  // namespace slatewick
