#pragma once

#include <QByteArray>

namespace calvenor::bench {

struct GeneratedPair
{
    QByteArray wincmd;
    QByteArray wcxftp;
    int historyEntries = 0;
};

// A wincmd.ini / wcx_ftp.ini pair shaped like a real user's: every history section of
// the catalogue (numbered lists, keyed templates, folder tabs with their panel keys),
// ANSI text with a few UTF-8 marked values, CR LF line ends, and the rest of the size
// made of the unrelated sections a long-used installation gathers (button bars,
// associations, plug-in settings). historyEntries is spread over the sections in the
// proportions real files show.
GeneratedPair generatePair(qint64 wincmdBytes, int historyEntries);

} // namespace calvenor::bench
