#include "shell/FileAssociation.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace FileAssociation;

namespace {

QString readText(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

} // namespace

class TestFileAssociation : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void names()
    {
        QCOMPARE(mimeTypeFor(QStringLiteral(".txm")), QStringLiteral("application/x-qx-text-txm"));
        QCOMPARE(mimeTypeFor(QStringLiteral("TXM")), QStringLiteral("application/x-qx-text-txm"));
        QCOMPARE(desktopFileFor(QStringLiteral("QX-Text.exe")), QStringLiteral("qx-text.desktop"));
    }

    void writesTypeEntryAndDefault()
    {
        QTemporaryDir dir;
        const Target t{dir.filePath(QStringLiteral("share")), dir.filePath(QStringLiteral("config"))};
        QVERIFY(RegisterFileType(QStringLiteral(".txm"), QStringLiteral("Textdokument"),
                                 QStringLiteral("QX-Text.exe"),
                                 QStringLiteral("\"/opt/qx text/qx-text\" %1"), t));
        const QString xml = readText(t.dataFolder + QStringLiteral("/mime/packages/qx-text.xml"));
        QVERIFY(xml.contains(QStringLiteral("<mime-type type=\"application/x-qx-text-txm\">")));
        QVERIFY(xml.contains(QStringLiteral("<glob pattern=\"*.txm\"/>")));
        QVERIFY(xml.contains(QStringLiteral("<comment>Textdokument</comment>")));
        const QString entry = readText(t.dataFolder + QStringLiteral("/applications/qx-text.desktop"));
        QVERIFY(entry.startsWith(QStringLiteral("[Desktop Entry]\n")));
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
        QFile list(dir.filePath(QStringLiteral("mimeapps.list")));
        QVERIFY(list.open(QIODevice::WriteOnly));
        list.write("[Added Associations]\ntext/plain=gedit.desktop;\n\n"
                   "[Default Applications]\napplication/x-qx-text-txm=old.desktop\n"
                   "text/html=firefox.desktop\n");
        list.close();
        QVERIFY(RegisterFileType(QStringLiteral(".txm"), QStringLiteral("Textdokument"),
                                 QStringLiteral("QX-Text.exe"), QStringLiteral("qx-text %1"), t));
        QVERIFY(RegisterFileType(QStringLiteral(".txm"), QStringLiteral("Textdokument"),
                                 QStringLiteral("QX-Text.exe"), QStringLiteral("qx-text %1"), t));
        QCOMPARE(readText(list.fileName()),
                 QStringLiteral("[Added Associations]\ntext/plain=gedit.desktop;\n\n"
                                "[Default Applications]\napplication/x-qx-text-txm=qx-text.desktop\n"
                                "text/html=firefox.desktop\n"));
    }

    void stopsAtTheFirstFailingStep()
    {
        QTemporaryDir dir;
        QFile blocker(dir.filePath(QStringLiteral("share")));
        QVERIFY(blocker.open(QIODevice::WriteOnly)); // a file where the folder should be
        blocker.close();
        const Target t{blocker.fileName(), dir.filePath(QStringLiteral("config"))};
        QVERIFY(!RegisterFileType(QStringLiteral(".txm"), QStringLiteral("Textdokument"),
                                  QStringLiteral("QX-Text.exe"), QStringLiteral("qx-text %1"), t));
        QVERIFY(!QFile::exists(t.configFolder + QStringLiteral("/mimeapps.list")));
    }
};

QTEST_MAIN(TestFileAssociation)
#include "tst_fileassociation.moc"
