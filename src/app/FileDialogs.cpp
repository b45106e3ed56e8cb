#include "FileDialogs.h"

#include <QFileDialog>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QLocale>
#include <QTreeView>

namespace FileDialogs {

namespace {
constexpr int SizeColumn = 1;
constexpr int DateColumn = 3;
} // namespace

QVariant LocalFileList::data(const QModelIndex& index, int role) const
{
    const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel());
    if (!files || role != Qt::DisplayRole || (index.column() != SizeColumn && index.column() != DateColumn))
        return QIdentityProxyModel::data(index, role);
    const QModelIndex source = mapToSource(index);
    const QLocale locale;
    if (index.column() == SizeColumn) {
        // Folders show no size.
        if (files->isDir(source))
            return QIdentityProxyModel::data(index, role);
        return locale.formattedDataSize(files->size(source));
    }
    return locale.toString(files->lastModified(source), QLocale::ShortFormat);
}

void prepare(QFileDialog& dialog)
{
    // Only Qt's own dialog has a model to give a proxy to.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setProxyModel(new LocalFileList(&dialog));
    // Room for name, size, type and date side by side.
    dialog.resize(qMax(dialog.width(), 820), qMax(dialog.height(), 500));
    if (auto* details = dialog.findChild<QTreeView*>(QStringLiteral("treeView"))) {
        details->header()->resizeSection(0, 300);
        details->header()->resizeSection(2, 150);
    }
}

} // namespace FileDialogs
