#pragma once
// The program's file choosers speak German throughout: beside Qt's translation they
// need the dates and sizes of the file list written in the program's locale, which
// Qt takes from the system's locale (often "C" on Linux: "6 Dec 2026").

#include <QIdentityProxyModel>

class QFileDialog;

namespace FileDialogs {

// Sits between Qt's file dialog and its file system model; rewrites the size and
// date columns in the default locale (set to German at start).
class LocalFileList : public QIdentityProxyModel {
public:
    using QIdentityProxyModel::QIdentityProxyModel;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
};

// Gives `dialog` the German file list.
void prepare(QFileDialog& dialog);

} // namespace FileDialogs
