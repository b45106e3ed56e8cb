#pragma once
// Contacts of phone and mail programs (vCard 2.1, 3.0 and 4.0): one row per card,
// its columns named like the address fields they fill ("Firma", "E-Mail", "Telefon"
// and "Titel" have no field of their own). Folded lines, escaped characters, and in
// 2.1 quoted-printable and base64 values in their CHARSET are undone.

#include "ExchangeTable.h"

#include <QByteArray>

namespace VCardReader {

enum class Prefer { Home, Work };

// True when the text starts (after blanks) with BEGIN:VCARD.
bool looksLikeVCard(const QByteArray& bytes);
// Of several addresses of a card, the one of the kind `prefer`, else the first.
ExchangeTable read(const QByteArray& bytes, Prefer prefer = Prefer::Home);

} // namespace VCardReader
