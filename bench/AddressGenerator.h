#pragma once
// An address database of `rows` generated addresses (German names, towns and groups,
// a fixed seed), with the sender and options rows, for the benchmarks.

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QString>

#include <sqlite3.h>

#include <iterator>

inline bool generateAddresses(const QString& path, int rows)
{
    QFile schema(QStringLiteral(QX_SOURCE_DIR "/resources/db/schema.sql"));
    if (!schema.open(QIODevice::ReadOnly))
        return false;
    sqlite3* db = nullptr;
    if (sqlite3_open(path.toUtf8().constData(), &db) != SQLITE_OK)
        return false;
    sqlite3_exec(db, schema.readAll().constData(), nullptr, nullptr, nullptr);
    sqlite3_exec(db, "INSERT INTO Briefkopf (BriefKName) VALUES ('Absender');"
                     "INSERT INTO Optionen VALUES ('0','17','90'); BEGIN;",
                 nullptr, nullptr, nullptr);
    const char* last[] = {"Müller", "Schmidt", "Schneider", "Fischer", "Weber", "Meyer", "Wagner", "Becker",
                          "Schulz", "Hoffmann", "Schäfer", "Koch", "Bauer", "Richter", "Klein", "Wolf",
                          "Schröder", "Neumann", "Schwarz", "Zimmermann", "Braun", "Krüger", "Hofmann", "Hartmann",
                          "Lange", "Schmitt", "Werner", "Ärger", "Öztürk", "de Vries", "Übel", "Jäger"};
    const char* first[] = {"Anna", "Karl", "Jürgen", "Sabine", "Thomas", "Petra", "Uwe", "Erika", "Hans",
                           "Monika", "Jörg", "Ursula", "Michael", "Brigitte", "Stefan", "Renate", ""};
    const char* towns[] = {"Berlin", "Hamburg", "München", "Köln", "Frankfurt", "Stuttgart", "Düsseldorf",
                           "Leipzig", "Dortmund", "Essen", "Bremen", "Dresden", "Hannover", "Nürnberg", "Zürich", "Wien"};
    const char* groups[] = {"Verein", "Vereinsvorstand", "Kunden", "Familie", "Freunde", "Lieferanten", "", ""};
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db,
                       "INSERT INTO Addressen (Anrede, Vorname, Nachname, Adresse, Postleitzahl, Ort, LaenderKZ, "
                       "Land, Gruppe) VALUES ('Herrn', ?1, ?2, ?3, ?4, ?5, 'D', 'Deutschland', ?6)",
                       -1, &st, nullptr);
    QRandomGenerator rng(4711);
    for (int i = 0; i < rows; ++i) {
        const QByteArray l = QByteArray(last[rng.bounded(int(std::size(last)))]) + QByteArray::number(rng.bounded(1000));
        const QByteArray f = first[rng.bounded(int(std::size(first)))];
        const QByteArray a = "Hauptstraße " + QByteArray::number(rng.bounded(200));
        const QByteArray p = QByteArray::number(10000 + rng.bounded(89999));
        const QByteArray t = towns[rng.bounded(int(std::size(towns)))];
        const QByteArray g = groups[rng.bounded(int(std::size(groups)))];
        const QByteArray* v[] = {&f, &l, &a, &p, &t, &g};
        for (int k = 0; k < 6; ++k)
            sqlite3_bind_text(st, k + 1, v[k]->constData(), int(v[k]->size()), SQLITE_TRANSIENT);
        sqlite3_step(st);
        sqlite3_reset(st);
    }
    sqlite3_finalize(st);
    sqlite3_exec(db, "COMMIT;", nullptr, nullptr, nullptr);
    sqlite3_close(db);
    return true;
}
