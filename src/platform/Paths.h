#pragma once
#include <QString>

// The executable's folder, with a trailing separator. Tests may point it elsewhere.
QString ExeDir();
void SetExeDir(const QString& dir);
