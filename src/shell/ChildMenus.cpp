#include "ChildMenus.h"

#include <QAction>
#include <QActionGroup>
#include <QKeySequence>
#include <QMenu>

namespace ChildMenus {

namespace {

struct Builder {
    QWidget* owner;

    QMenu* menu(const char* name, const QString& caption)
    {
        auto* m = new QMenu(caption, owner);
        m->setObjectName(QLatin1String(name));
        m->menuAction()->setObjectName(QLatin1String(name) + QStringLiteral("_Menu"));
        return m;
    }

    QMenu* sub(QMenu* parent, const QString& name, const QString& caption)
    {
        QMenu* m = parent->addMenu(caption);
        m->setObjectName(name);
        m->menuAction()->setObjectName(name + QStringLiteral("_Menu"));
        return m;
    }

    QAction* item(QMenu* m, const QString& name, const QString& caption, bool enabled = true,
                  const QKeySequence& key = {})
    {
        QAction* a = m->addAction(caption);
        a->setObjectName(name);
        a->setEnabled(enabled);
        if (!key.isEmpty())
            a->setShortcut(key);
        return a;
    }

    QAction* hidden(QMenu* m, const QString& name, const QString& caption, bool enabled = false)
    {
        QAction* a = item(m, name, caption, enabled);
        a->setVisible(false);
        return a;
    }

    QAction* check(QMenu* m, const QString& name, const QString& caption, bool checked)
    {
        QAction* a = item(m, name, caption);
        a->setCheckable(true);
        a->setChecked(checked);
        return a;
    }
};

QString s(const char* utf8) { return QString::fromUtf8(utf8); }

QMenu* fileMenu(Builder& b)
{
    QMenu* m = b.menu("mnuFile", s("&Datei"));
    b.item(m, s("mnuFile_New"), s("&Neu"), true, QKeySequence(Qt::CTRL | Qt::Key_N));
    b.item(m, s("mnuFile_Open"), s("&Öffnen..."), true, QKeySequence(Qt::CTRL | Qt::Key_O));
    b.item(m, s("mnuFile_Close"), s("S&chließen"));
    b.item(m, s("mnuFile_Save"), s("&Speichern"), true, QKeySequence(Qt::CTRL | Qt::Key_S));
    b.item(m, s("mnuFile_SaveAs"), s("Speichern &unter"));
    b.item(m, s("mnuFile_Export"), s("&Export..."));
    m->addSeparator();
    b.item(m, s("mnuFile_PageSetup"), s("Seite einrichten"));
    b.item(m, s("mnuFile_PrintPreview"), s("Druck&vorschau"));
    b.item(m, s("mnuFile_Print"), s("&Drucken"), true, QKeySequence(Qt::CTRL | Qt::Key_P));
    b.item(m, s("mnuFile_PrintAll"), s("Drucken alle"));
    m->addSeparator();
    b.item(m, s("mnuCommand"), s("Dateien [TXM] mit QX-Text verknüpfen"));
    m->addSeparator();
    b.item(m, s("mnuFile_Exit"), s("&Beenden"));
    return m;
}

QMenu* editMenu(Builder& b)
{
    QMenu* m = b.menu("mnuEdit", s("&Bearbeiten"));
    b.item(m, s("mnuEdit_Undo"), s("&Rückgängig"), true, QKeySequence(Qt::CTRL | Qt::Key_Z));
    b.item(m, s("mnuEdit_Redo"), s("&Wiederholen"), true, QKeySequence(Qt::CTRL | Qt::Key_Y));
    m->addSeparator();
    b.item(m, s("mnuEdit_Cut"), s("&Ausschneiden"), true, QKeySequence(Qt::CTRL | Qt::Key_X));
    b.item(m, s("mnuEdit_Copy"), s("&Kopieren"), true, QKeySequence(Qt::CTRL | Qt::Key_C));
    b.item(m, s("mnuEdit_Paste"), s("&Einfügen"), true, QKeySequence(Qt::CTRL | Qt::Key_V));
    b.item(m, s("mnuEdit_Delete"), s("&Löschen"), true, QKeySequence(Qt::Key_Delete));
    m->addSeparator();
    b.item(m, s("mnuEdit_Find"), s("&Suchen..."), true, QKeySequence(Qt::CTRL | Qt::Key_F));
    b.item(m, s("mnuEdit_Replace"), s("&Ersetzen..."), true, QKeySequence(Qt::CTRL | Qt::Key_H));
    m->addSeparator();
    b.item(m, s("mnuEdit_SelectAll"), s("Alles &Markieren"), true,
           QKeySequence(Qt::CTRL | Qt::Key_A));
    return m;
}

QMenu* viewMenu(Builder& b)
{
    QMenu* m = b.menu("mnuView", s("&Ansicht"));
    auto* modes = new QActionGroup(m);
    const char* layouts[] = {"&Normal", "&Layout", "&Zentriert "};
    for (int i = 0; i < 3; ++i) {
        QAction* a = b.check(m, QStringLiteral("mnuView_Layout(%1)").arg(i), s(layouts[i]), i == 2);
        modes->addAction(a);
    }
    m->addSeparator();
    b.item(m, s("mnuView_HeaderFooter"), s("&Kopf- und Fußzeilen"), false);
    b.item(m, s("mnuView_HeaderOnly"), s("Nur K&opfzeile"));
    b.item(m, s("mnuView_FooterOnly"), s("Nur F&ußzeile"));
    m->addSeparator();
    b.check(m, s("mnuView_Toolbar"), s("&Symbolleiste"), true);
    b.check(m, s("mnuView_FormatBar"), s("&Formatierungsleiste"), true);
    b.check(m, s("mnuView_Ruler"), s("&Lineal"), true);
    b.check(m, s("mnuView_StatusBar"), s("&Statuszeile"), true);
    m->addSeparator();
    b.check(m, s("mnuView_ControlChars"), s("Steuer&zeichen"), false);
    b.item(m, s("mnuInfoFeld"), s("Informationen aktives Feld"));
    b.item(m, s("mnuView_FieldDelete"), s("Aktives Feld löschen"));
    m->addSeparator();
    QMenu* zoom = b.sub(m, s("mnuView_Zoom"), s("&Zoom"));
    const char* zooms[] = {"10%", "20%", "25%", "50%", "75%", "100%",
                           "150%", "200%", "250%", "300%", "400%"};
    for (int i = 0; i < 11; ++i)
        b.check(zoom, QStringLiteral("mnuView_ZoomItem(%1)").arg(i + 1), s(zooms[i]), i == 5);
    return m;
}

QMenu* insertMenu(Builder& b)
{
    QMenu* m = b.menu("mnuInsert", s("Ei&nfügen"));
    b.item(m, s("mnuInsert_Text"), s("&Text..."));
    QMenu* image = b.sub(m, s("mnuInsert_Image"), s("&Grafik"));
    b.item(image, s("mnuInsert_ImageFixed"), s("&An aktueller Position fixieren"));
    b.item(image, s("mnuInsert_ImageObject"),
           s("Als bewegliches &Objekt... (verschieben mit Alt und linker Maustaste)"));
    QMenu* object = b.sub(m, s("mnuObject"), s("&Objekt"));
    object->menuAction()->setVisible(false);
    b.item(object, s("mnuObject_Fixed"), s("&An aktueller Position fixieren"));
    b.item(object, s("mnuObject_Object"), s("Als &Objekt..."));
    m->addSeparator();
    b.item(m, s("mnuInsert_PageNumbers"), s("Seitenzahlen"));
    b.item(m, s("mnuInsert_Field"), s("Feld"));
    b.hidden(m, s("mnuInsert_Serienbrief"), s("Serienbrief erstellen aus Kontorix"), true);
    b.hidden(m, s("mnuInsert_Vorlage"), s("Briefvorlage öffnen"), true);
    b.hidden(m, s("mnuInsert_AdresseVorlage"), s("Adresse für Vorlage auswählen"), true);
    m->addSeparator();
    b.item(m, s("mnuInsert_Textbaustein"), s("Textbaustein"));
    m->addSeparator();
    b.item(m, s("mnuInsert_PageBreak"), s("&Seitenende"));
    b.item(m, s("mnuInsert_Hyperlink"), s("&Hyperlink"));
    b.item(m, s("mnuInsert_Date"), s("&Datum"));
    return m;
}

QMenu* formatMenu(Builder& b)
{
    QMenu* m = b.menu("mnuFormat", s("F&ormat"));
    b.item(m, s("mnuFormat_Char"), s("&Zeichen..."));
    b.item(m, s("mnuFormat_Paragraph"), s("&Absatz..."));
    QMenu* lists = b.sub(m, s("mnuFormat_Lists"), s("Aufzählung und Nummerierung"));
    b.item(lists, s("mnuFormat_ListAttributes"), s("&Attribute..."));
    b.item(lists, s("mnuFormat_IndentMore"), s("Einzug ver&größern"));
    b.item(lists, s("mnuFormat_IndentLess"), s("Einzug ver&kleinern"));
    lists->addSeparator();
    const char* styles[] = {"1, 2, 3", "A, B, C", "a, b, c", "I, II, III, IV", "i, ii, iii, iv"};
    for (int i = 0; i < 5; ++i)
        b.item(lists, QStringLiteral("mnuFormat_Numbering(%1)").arg(i + 3), s(styles[i]));
    b.item(lists, s("mnuFormat_Bullets"), s("Aufzählungszeichen"));
    b.item(m, s("mnuFormat_Tabs"), s("T&abs..."));
    b.item(m, s("mnuFormat_Style"), s("&Formatvorlage..."));
    m->addSeparator();
    b.item(m, s("mnuFormat_Frames"), s("&Rahmen und Linien (Absatz)"));
    b.item(m, s("mnuFormat_TextColour"), s("&Textfarbe..."));
    b.item(m, s("mnuFormat_BackColour"), s("&Hintergrundfarbe..."));
    b.item(m, s("mnuFormat_Image"), s("&Grafik..."), false);
    return m;
}

QMenu* tableMenu(Builder& b)
{
    QMenu* m = b.menu("mnuTable", s("&Tabelle"));
    QMenu* ins = b.sub(m, s("mnuTable_Insert"), s("&Einfügen"));
    b.item(ins, s("mnuTable_InsertTable"), s("&Tabelle"));
    ins->addSeparator();
    b.item(ins, s("mnuTable_InsertColLeft"), s("Spalten &links"), false);
    b.item(ins, s("mnuTable_InsertColRight"), s("Spalten &rechts"), false);
    ins->addSeparator();
    b.item(ins, s("mnuTable_InsertRowAbove"), s("Zeilen &oben"), false);
    b.item(ins, s("mnuTable_InsertRowBelow"), s("Zeilen &unten"), false);
    QMenu* del = b.sub(m, s("mnuTable_Delete"), s("&Löschen"));
    b.item(del, s("mnuTable_DeleteTable"), s("&Tabelle"), false);
    b.item(del, s("mnuTable_DeleteCols"), s("&Spalten"), false);
    b.item(del, s("mnuTable_DeleteRows"), s("&Zeilen"), false);
    QMenu* sel = b.sub(m, s("mnuTable_Select"), s("&Markieren"));
    b.item(sel, s("mnuTable_SelectTable"), s("&Tabelle"), false);
    b.item(sel, s("mnuTable_SelectRow"), s("&Zeile"), false);
    b.item(sel, s("mnuTable_SelectCell"), s("&Zelle"), false);
    b.check(m, s("mnuTable_GridLines"), s("&Tabellenlinien"), true);
    b.item(m, s("mnuTable_Settings"), s("&Einstellungen..."));
    return m;
}

QMenu* extrasMenu(Builder& b)
{
    QMenu* m = b.menu("mnuExtras", s("&Extras"));
    b.item(m, s("mnuBrief"), s("&Kontorix"));
    b.item(m, s("mnuExtras_Serienbrief"), s("&Serienbrief erstellen aus Kontorix"));
    b.hidden(m, s("mnuExtras_SerienbriefVorlage"), s("Serienbrief erstellen aus &Vorlage"));
    b.hidden(m, s("mnuExtras_Import"), s("Import Adressen aus Adressverwaltung für Kontorix"));
    b.item(m, s("mnuExtras_AddressImport"), s("Adressen &importieren..."));
    b.item(m, s("mnuExtras_AddressExport"), s("Adressen e&xportieren..."));
    m->addSeparator();
    b.item(m, s("mnuEtiketten"), s("Etiketten drucken"));
    b.item(m, s("mnuUmschlagStandard"), s("Briefkuvert drucken"));
    m->addSeparator();
    b.item(m, s("mnuExtras_TextblockInsert"), s("Textbausteine &einfügen"));
    b.item(m, s("mnuExtras_TextblockEdit"), s("&Textbausteine erstellen/bearbeiten"));
    m->addSeparator();
    b.item(m, s("mnuLupe"), s("Lupe"));
    b.item(m, s("mnuExtras_Calculator"), s("Taschen&rechner"));
    m->addSeparator();
    b.item(m, s("mnuCurPos"), s("Aktuelle Cursor&position"));
    b.item(m, s("mnuExtras_WordCount"), s("Anzahl Wörter ermitteln"));
    m->addSeparator();
    b.item(m, s("mnuExtras_SpellDialog"), s("Rechtschreib&ung..."), true, QKeySequence(Qt::Key_F7));
    b.check(m, s("mnuExtras_Spelling"), s("Rechtschreibung während der Eingabe prüfen"), true);
    return m;
}

QMenu* windowMenu(Builder& b)
{
    QMenu* m = b.menu("mnuWindow", s("&Fenster"));
    b.item(m, s("mnuWindow_Cascade"), s("Über&lappend"));
    b.item(m, s("mnuWindow_TileH"), s("&Übereinander"));
    b.item(m, s("mnuWindow_TileV"), s("&Nebeneinander"));
    b.item(m, s("mnuWindow_Arrange"), s("&Symbole anordnen"));
    return m;
}

QMenu* helpMenu(Builder& b)
{
    QMenu* m = b.menu("mnuHelp", s("&Hilfe"));
    b.item(m, s("mnuHelpBrief"), s("&Hilfe Kontorix"));
    b.item(m, s("mnuHelp2"), s("Hilfe &Serienbriefe"));
    b.item(m, s("mnuHelpEtikett"), s("Hilfe &Etiketten"));
    b.item(m, s("mnuHelp_About"), s("&Info..."));
    return m;
}

} // namespace

QList<QMenu*> build(QWidget* owner)
{
    Builder b{owner};
    return {fileMenu(b),   editMenu(b),   viewMenu(b),   insertMenu(b), formatMenu(b),
            tableMenu(b),  extrasMenu(b), windowMenu(b), helpMenu(b)};
}

} // namespace ChildMenus
