#include "TestPaths.h"

QString qxSourceDir() { return QStringLiteral(QX_SOURCE_DIR); }
QString qxBinaryDir() { return QStringLiteral(QX_BINARY_DIR); }
