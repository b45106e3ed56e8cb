#pragma once
// Where the sources and the build of this checkout are. Kept out of the tests' own
// compile lines so that every checkout compiles the tests alike (and shares the cache).

#include <QString>

QString qxSourceDir();
QString qxBinaryDir();
