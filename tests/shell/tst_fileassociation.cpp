#include "TestFiles.h"
#include "shell/FileAssociation.h"

#include <QTemporaryDir>
#include <QTest>

using namespace FileAssociation;

namespace {

QString readText(const QString& path) { return QString::fromUtf8(readAll(path)); }

bool registerTxm(const Target& t, const QString& command = QStringLiteral("qx-text %1"))
{
    return RegisterFileType(QStringLiteral(".txm"), QStringLiteral("Textdokument"), QStringLiteral("QX-Text.exe"),
                            command, t);
}

} // namespace

class TestFileAssociation : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void writesTypeEntryAndDefault()
    {
        QTemporaryDir dir;
        const Target t{dir.filePath(QStringLiteral("share")), dir.filePath(QStringLiteral("config"))};
        QVERIFY(registerTxm(t, QStringLiteral("\"/opt/qx text/qx-text\" %1")));
        QCOMPARE(mimeTypeFor(QStringLiteral("TXM")), QStringLiteral("application/x-qx-text-txm"));
        const QString xml = readText(t.dataFolder + QStringLiteral("/mime/packages/qx-text.xml"));
        QVERIFY(xml.contains(QStringLiteral("<mime-type type=\"application/x-qx-text-txm\">")));
        QVERIFY(xml.contains(QStringLiteral("<glob pattern=\"*.txm\"/>")));
        const QString entry = readText(t.dataFolder + QStringLiteral("/applications/qx-text.desktop"));
        QVERIFY(entry.contains(QStringLiteral("\nExec=\"/opt/qx text/qx-text\" %f\n")));
        QVERIFY(entry.contains(QStringLiteral("\nMimeType=application/x-qx-text-txm;\n")));
        QCOMPARE(readText(t.configFolder + QStringLiteral("/mimeapps.list")),
                 QStringLiteral("[Default Applications]\n"
                                "application/x-qx-text-txm=qx-text.desktop\n"));
    }

    void keepsOtherDefaultsAndReplacesOwnLine()
    {
        QTemporaryDir dir;
        const Target t{dir.filePath(QStringLiteral("share")), dir.path()};
        const QString list = dir.filePath(QStringLiteral("mimeapps.list"));
        QVERIFY(writeAll(list, "[Added Associations]\ntext/plain=gedit.desktop;\n\n"
                               "[Default Applications]\napplication/x-qx-text-txm=old.desktop\n"
                               "text/html=firefox.desktop\n"));
        QVERIFY(registerTxm(t));
        QVERIFY(registerTxm(t));
        QCOMPARE(readText(list),
                 QStringLiteral("[Added Associations]\ntext/plain=gedit.desktop;\n\n"
                                "[Default Applications]\napplication/x-qx-text-txm=qx-text.desktop\n"
                                "text/html=firefox.desktop\n"));
    }

    void stopsAtTheFirstFailingStep()
    {
        QTemporaryDir dir;
        const QString blocker = dir.filePath(QStringLiteral("share"));
        QVERIFY(writeAll(blocker, "x")); // a file where the folder should be
        const Target t{blocker, dir.filePath(QStringLiteral("config"))};
        QVERIFY(!registerTxm(t));
        QVERIFY(!QFile::exists(t.configFolder + QStringLiteral("/mimeapps.list")));
    }
};

QTEST_MAIN(TestFileAssociation)
#include "tst_fileassociation.moc"
