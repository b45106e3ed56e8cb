-- Tables of the address database. Name columns are declared COLLATE NOCASE: the
-- word processor installs a German ordering under that name on its connections,
-- the sqlite3 tool falls back to its own case-insensitive order.
PRAGMA encoding = 'UTF-8';

CREATE TABLE Addressen (
    Nr            INTEGER PRIMARY KEY AUTOINCREMENT,
    Anrede        TEXT COLLATE NOCASE,
    Vorname       TEXT COLLATE NOCASE,
    Nachname      TEXT COLLATE NOCASE,
    Adresse       TEXT COLLATE NOCASE,
    Postleitzahl  TEXT COLLATE NOCASE,
    Ort           TEXT COLLATE NOCASE,
    LaenderKZ     TEXT,
    Land          TEXT,
    AnredezHd     TEXT,
    NamezHd       TEXT COLLATE NOCASE,
    MitgliedsNr   TEXT,
    Gruppe        TEXT COLLATE NOCASE
);

CREATE TABLE Briefkopf (
    BriefKName    TEXT,
    "BriefKStraße" TEXT,
    BriefKOrt     TEXT,
    BriefKTel     TEXT,
    Fax           TEXT,
    eMail         TEXT,
    Internet      TEXT,
    Postfach      TEXT,
    AbsFenster    TEXT,
    Schrift       TEXT,
    SchriftSize   TEXT
);

CREATE TABLE Optionen (
    Freizjn       TEXT,
    Freiztxt      TEXT,
    Freiytxt      TEXT
);
