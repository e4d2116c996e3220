#include "settings/SettingsFile.h"

#include <array>

#include "platform/MessageBoxes.h"
#include "platform/Places.h"
#include "settings/IniFile.h"
#include "settings/Language.h"

namespace slatewick {

namespace {

constexpr QStringView Section = u"Opt";

struct SettingKey {
  QStringView Key;
  bool Settings::*Value;
};

// The keys in the order of reading and writing.
constexpr std::array<SettingKey, 7> Keys{{
    {u"Yogore", &Settings::LeaveSmudge},
    {u"KyoriSeigen", &Settings::LimitStrokeLength},
    {u"RunWithDay", &Settings::DateAtStart},
    {u"NewWithDay", &Settings::DateAfterClear},
    {u"ShowKona", &Settings::ShowDust},
    {u"KadoOnlyCtrl", &Settings::CornerOnlyWithCtrl},
    {u"ShowDebug", &Settings::ShowDebug},
}};

IniFile OpenSettingsFile() {
  return IniFile(SettingsFilePath(), AnsiCodePage(UserLocaleNumber()));
}

}  // namespace

QString SettingsFilePath() {
  return Places::SettingsFile();
}

Settings ReadSettings() {
  const IniFile file = OpenSettingsFile();
  Settings settings;
  for (const SettingKey& key : Keys)
    settings.*key.Value = file.ReadBool(Section, key.Key, settings.*key.Value);
  return settings;
}

bool WriteSettings(const Settings& values, Settings& memory) {
  Places::PrepareSettingsFolder();
  IniFile file = OpenSettingsFile();
  for (const SettingKey& key : Keys) {
    if (!file.WriteBool(Section, key.Key, values.*key.Value)) {
      const QString text = QStringLiteral("%1 に書き込めません").arg(file.Path()) + u'.';
      ShowMessageBox({text, ApplicationTitle(), BoxIcon::Stop});
      return false;
    }
  }
  memory = values;
  return true;
}

}  // namespace slatewick
