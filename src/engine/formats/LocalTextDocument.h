#pragma once
// A text document whose pictures come only from regular local files of sensible size,
// decoded with an allocation limit: a name such as /dev/zero or a named pipe gives the
// empty picture instead of eating memory or blocking, and nothing is fetched from the
// network. What it loads is kept as the document's own resource, so copies of the
// document (pagination, printing) never load the file again.

#include <QTextDocument>

class LocalTextDocument : public QTextDocument {
    Q_OBJECT
public:
    using QTextDocument::QTextDocument;

    // Loads every picture the document names now, so that no copy has to.
    static void loadPictures(QTextDocument* doc);

protected:
    QVariant loadResource(int type, const QUrl& name) override;
};
