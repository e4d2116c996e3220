#pragma once
#include <QString>
#include <QStringView>
#include <optional>

namespace slatewick {

// The four numbers of a file version.
struct VersionNumbers {
  int Major = 0, Minor = 0, Release = 0, Build = 0;
  bool operator==(const VersionNumbers&) const = default;
};

// Splits a "major.minor.release.build" text at its dots; a missing or non-numeric part is 0.
VersionNumbers ParseFileVersion(QStringView text);
// The program's version from the build ("2.0.0.0"), unless a test has set another.
VersionNumbers ProgramVersion();
void SetProgramVersion(std::optional<VersionNumbers> version);

// The credit line: in Japanese script for locale 1041, in Latin letters for any other.
QString CreditLine(int lcid);
// The version box's text, its lines separated by carriage returns:
// "Slatewick 2", "Ver. " + major "." minor release (the build left out), the credit line, and
// "LanguageResource written by " + author when author is not empty.
QString VersionText(const VersionNumbers& version, int lcid, const QString& author);

// The menu's version command: reads the author from the language file anew, builds the text
// for the user's locale and shows it in a plain box (no icon, OK) with the application title.
void ShowVersionBox();

}  // namespace slatewick
