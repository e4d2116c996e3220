#pragma once
#include <QString>

namespace slatewick {

// A message text from the language file with its one placeholder filled by a board title. The
// text is read as printf would read it with one argument, the title, but never used as a format:
// - "%%" gives "%", everywhere in the text;
// - the first directive ("%3d", "%s", "%-10.5ls", Delphi's "%0:s", ...) is the placeholder and
//   takes the title. An s (or S) placeholder applies its "-" flag, width and precision as
//   printf's %s does, counted in UTF-16 units (a cut never splits a surrogate pair; padding is
//   with spaces; the flags "0", "+", " " and "#" change nothing; "*" reads no width or precision,
//   as there is no argument for it; a width or precision above 2047 counts as 2047). Any other
//   placeholder takes the title unpadded: the width of "%3d" says nothing about text;
// - every later directive, and a "%" that starts no directive, stands as written.
// A text without a directive is shown with only its "%%" made "%".
QString FormatWithTitle(const QString& text, const QString& title);

}  // namespace slatewick
