#include <QDir>
#include <set>
#include <utility>

#include "SettingsFixture.h"
#include "settings/IniFile.h"

namespace slatewick {

namespace {

using namespace Qt::StringLiterals;

const QString Missing = u"\x01missing"_s;

QString AssetPath(const char* name) {
  return QStringLiteral(ASSET_DIR "/") + name;
}

// The sections and keys that a language file defines, in lower case, one entry per key.
std::set<std::pair<QString, QString>> KeysDefinedBy(const char* name) {
  const QByteArray bytes = ReadBytes(AssetPath(name));
  const QString text =
      bytes.startsWith("\xFF\xFE")
          ? QString::fromUtf16(reinterpret_cast<const char16_t*>(bytes.constData() + 2),
                               (bytes.size() - 2) / 2)
          : QString::fromUtf8(bytes);
  std::set<std::pair<QString, QString>> keys;
  QString section;
  for (const QString& raw : text.split(u'\n')) {
    const QString line = raw.trimmed();
    if (line.startsWith(u'[') && line.endsWith(u']')) {
      section = line.mid(1, line.size() - 2).toLower();
    } else if (!line.isEmpty() && !line.startsWith(u';')) {
      EXPECT_TRUE(keys.insert({section, line.section(u'=', 0, 0).trimmed().toLower()}).second)
          << name << ": " << line.toStdString();
    }
  }
  return keys;
}

bool IsJapanese(QStringView text) {
  for (QChar c : text)
    if (c.unicode() >= 0x3000) return true;
  return false;
}

TEST(LanguageAssetsTest, EnglishFileIsUtf8AndHasEveryKey) {
  const QByteArray bytes = ReadBytes(AssetPath("Language.ini"));
  ASSERT_FALSE(bytes.isEmpty());
  EXPECT_FALSE(bytes.startsWith("\xFF\xFE"));
  EXPECT_EQ(QString::fromUtf8(bytes).toUtf8(), bytes);
  const IniFile ini(AssetPath("Language.ini"), 1252);
  for (const TextKey& text : Texts::All()) {
    const QString value = ini.ReadString(text.Section, text.Key, Missing);
    EXPECT_NE(value, Missing) << text.Section.toString().toStdString() << "/"
                              << text.Key.toString().toStdString();
    EXPECT_FALSE(IsJapanese(value)) << value.toStdString();
    if (text.Key != u"LanguageAuthor") {
      EXPECT_FALSE(value.isEmpty());
    }
  }
  EXPECT_EQ(ini.ReadString(Texts::Name.Section, Texts::Name.Key, Missing), "Slatewick 2");
  EXPECT_TRUE(ini.ReadString(u"SelectFileDialog", u"FileExist", Missing).contains(u"%3d"));
  EXPECT_TRUE(ini.ReadString(u"SelectFileDialog", u"FileNotExist", Missing).contains(u"%3d"));
}

TEST(LanguageAssetsTest, JapaneseFileIsUtf16LeWithCrLfAndTheJapaneseTexts) {
  const QByteArray bytes = ReadBytes(AssetPath("Language_1041.ini"));
  ASSERT_TRUE(bytes.startsWith("\xFF\xFE"));
  ASSERT_EQ(bytes.size() % 2, 0);
  const QString text = QString::fromUtf16(reinterpret_cast<const char16_t*>(bytes.constData() + 2),
                                          (bytes.size() - 2) / 2);
  EXPECT_EQ(text.count(u'\n'), text.count(u"\r\n"));
  EXPECT_EQ(text.count(u'\r'), text.count(u"\r\n"));
  EXPECT_TRUE(text.endsWith(u"\r\n"));

  const IniFile ini(AssetPath("Language_1041.ini"), 932);
  for (const TextKey& key : Texts::All()) {
    const QString value = ini.ReadString(key.Section, key.Key, Missing);
    ASSERT_NE(value, Missing) << key.Key.toString().toStdString();
    if (IsJapanese(key.Default) && key.Key != u"Cancel") {
      EXPECT_EQ(value, key.Default.toString());
    }
  }
  EXPECT_EQ(ini.ReadString(u"General", u"OK", Missing), "OK(&O)");
  EXPECT_EQ(ini.ReadString(u"General", u"Cancel", Missing), u"ｷｬﾝｾﾙ(&C)"_s);
  EXPECT_EQ(ini.ReadString(u"General", u"name", Missing), "Slatewick 2");
  EXPECT_TRUE(IsJapanese(ini.ReadString(u"ExportDlg", u"Title", Missing)));
}

// Every translation holds every text the program looks up and nothing it never reads; those
// beside the English one are UTF-16LE with a byte-order mark, which every locale reads right.
TEST(LanguageAssetsTest, EachFileDefinesExactlyTheKeysTheProgramLooksUp) {
  std::set<std::pair<QString, QString>> lookedUp;
  for (const TextKey& text : Texts::All())
    lookedUp.insert({text.Section.toString().toLower(), text.Key.toString().toLower()});
  const QStringList files =
      QDir(QStringLiteral(ASSET_DIR)).entryList({QStringLiteral("Language*.ini")}, QDir::Files);
  EXPECT_EQ(files.size(), 12) << files.join(u' ').toStdString();
  for (const QString& name : files) {
    EXPECT_EQ(KeysDefinedBy(name.toLatin1().constData()), lookedUp) << name.toStdString();
    if (name != u"Language.ini") {
      EXPECT_TRUE(ReadBytes(AssetPath(name.toLatin1().constData())).startsWith("\xFF\xFE"))
          << name.toStdString();
    }
  }
}

}  // namespace

}  // namespace slatewick
