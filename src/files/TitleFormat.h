#pragma once
#include <QString>

// A message text from the language file with its one placeholder filled by a board title.
// The first printf-like directive ("%3d", "%s", "%-10.5ls", Delphi's "%0:s", ...) is replaced
// by the title, unpadded; every other character, later directives and "%%" included, stays as
// it is. A text without a directive is returned unchanged. The text is never used as a format.
QString FormatWithTitle(const QString& text, const QString& title);
