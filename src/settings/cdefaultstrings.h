#pragma once

#include <QList>
#include <QString>

namespace calvenor {

// The program's built-in English texts, addressed by language id. A language file may
// replace any of them; whatever it lacks falls back to this table. The table is static
// data, so an instance costs nothing and may be made wherever one is needed.
class cDefaultStrings
{
public:
    // The built-in text of an id; empty text when the table has no such id.
    QString GetDefaultString(int id) const;

    // The number of entries, and their ids in table order, for code that must walk
    // every text (a language file check, the tests).
    static int count();
    static QList<int> ids();
};

} // namespace calvenor
