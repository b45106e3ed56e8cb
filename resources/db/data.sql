-- Starter rows: the sender, the layout options and example addresses that use every
-- form of address the letters know, an attention line, a two-line street, groups and
-- foreign addresses.
BEGIN;

INSERT INTO Briefkopf (BriefKName, "BriefKStraße", BriefKOrt, BriefKTel, Fax, eMail, Internet,
                       Postfach, AbsFenster, Schrift, SchriftSize)
VALUES ('Maria Muster', 'Lindenweg 12', '79098 Freiburg', '0761 123456', '', 'maria.muster@example.de',
        '', '', 'Maria Muster · Lindenweg 12 · 79098 Freiburg', 'Arial', '11');

INSERT INTO Optionen (Freizjn, Freiztxt, Freiytxt) VALUES ('1', '17', '90');

INSERT INTO Addressen (Anrede, Vorname, Nachname, Adresse, Postleitzahl, Ort, LaenderKZ, Land,
                       AnredezHd, NamezHd, MitgliedsNr, Gruppe) VALUES
 ('Herrn', 'Karl', 'Becker', 'Hauptstraße 5', '10115', 'Berlin', 'D', 'Deutschland', '', '', '1001', 'Verein'),
 ('Frau', 'Anna', 'Ärger', 'Mühlenweg 3', '20095', 'Hamburg', 'D', 'Deutschland', '', '', '1002', 'Vereinsvorstand'),
 ('Firma', 'Schreinerei', 'Holzmann GmbH', 'Industriestraße 44' || char(13) || char(10) || 'Halle 2',
  '70173', 'Stuttgart', 'D', 'Deutschland', 'Herrn', 'Otto Span', '', 'Kunden'),
 ('Frl.', 'Erika', 'Zander', 'Am Markt 1', '80331', 'München', 'D', 'Deutschland', '', '', '', 'Verein'),
 ('Frau Dr.', 'Helga', 'Öztürk', 'Rosenstraße 8', '50667', 'Köln', 'D', 'Deutschland', '', '', '', 'Kunden'),
 ('Herr Dr.', 'Jan', 'de Vries', 'Keizersgracht 100', '1015', 'Amsterdam', 'NL', 'Niederlande', '', '', '', 'Kunden'),
 ('Hallo', 'Tim', 'Schulz', 'Gartenweg 2', '01067', 'Dresden', 'D', 'Deutschland', '', '', '', 'Freunde'),
 ('Liebe', 'Petra', 'Weber', 'Bahnhofstraße 17', '60311', 'Frankfurt am Main', 'D', 'Deutschland', '', '', '', 'Freunde'),
 ('Lieber', 'Uwe', 'Krüger', 'Schillerplatz 4', '04109', 'Leipzig', 'D', 'Deutschland', '', '', '', 'Freunde'),
 ('Liebe Schwester', 'Sabine', 'Muster', 'Lindenweg 14', '79098', 'Freiburg', 'D', 'Deutschland', '', '', '', 'Familie'),
 ('Lieber Bruder', 'Thomas', 'Muster', 'Seestraße 21', '8002', 'Zürich', 'CH', 'Schweiz', '', '', '', 'Familie'),
 ('Familie', '', 'Meier', 'Dorfstraße 9', '6020', 'Innsbruck', 'A', 'Österreich', '', '', '', 'Familie'),
 ('An die', 'Stadtverwaltung', 'Freiburg', 'Rathausplatz 2', '79098', 'Freiburg', 'D', 'Deutschland', 'Frau', 'Lisa Amt', '', 'Behörden'),
 ('An das', 'Finanzamt', 'Freiburg-Stadt', 'Postfach 1234', '79095', 'Freiburg', 'D', 'Deutschland', '', '', '', 'Behörden'),
 ('', 'Ingrid', 'Ohnesorg', 'Talweg 7', '66111', 'Saarbrücken', 'D', 'Deutschland', '', '', '', ''),
 ('Herrn', 'Seán', 'O''Neill', '12 Grafton Street', 'D02', 'Dublin', 'IRL', 'Irland', '', '', '1003', 'Verein');

COMMIT;
