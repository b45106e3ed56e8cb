#pragma once
// Batch conversion without windows:
//   qx-text --convert-to EXT [--outdir DIR] FILE...
// EXT is one of txm, ttx, rtf, doc, docx, odt, html, xml, txt, pdf. Prints "<input> -> <output>" per
// written file; returns 0, 1 when any file failed, 2 for bad arguments. Runs before
// any QApplication exists and makes its own (offscreen unless a platform is set).

#include <QStringList>

// `args` are the program's arguments without the program name.
int runBatchConvert(const QStringList& args);

// Shared by the command-line modes.
namespace BatchConvert {
// One of the target formats of --convert-to.
bool isTarget(const QString& ext);
QString targetList();
} // namespace BatchConvert
