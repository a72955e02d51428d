#include "historyfilegenerator.h"

#include "core/csectionsdata.h"

#include <QRandomGenerator>

namespace calvenor::bench {
namespace {

QByteArray folder(QRandomGenerator &random)
{
    static const char *const parts[] = {"Users", "sam", "Documents", "Projects", "calvenor", "src", "build",
                                        "Archive", "2026", "Reports", "Fotos", "Musik", "old.zip", "backup"};
    QByteArray path = random.bounded(4) == 0 ? "D:\\" : "C:\\";
    const int depth = 2 + random.bounded(5);
    for (int i = 0; i < depth; ++i)
        path += QByteArray(parts[random.bounded(int(std::size(parts)))]) + QByteArray::number(random.bounded(100)) + '\\';
    return path;
}

QByteArray value(QRandomGenerator &random, int index)
{
    switch (index % 23) {
    case 0:
        return "\xef\xbb\xbf" "\xd0\x9f\xd1\x80\xd0\xb8\xd0\xb2\xd0\xb5\xd1\x82 " + folder(random);   // marked UTF-8
    case 1:
        return folder(random) + "\t#03,Downloads";
    case 2:
        return "\"  " + folder(random) + "  \"";
    default:
        return folder(random);
    }
}

} // namespace

GeneratedPair generatePair(qint64 wincmdBytes, int historyEntries)
{
    QRandomGenerator random(20261208);
    GeneratedPair pair;
    QByteArray &out = pair.wincmd;
    out.reserve(wincmdBytes + 4096);
    out += "[Configuration]\r\nSetEncoding=\xa4\r\nInstallDir=C:\\totalcmd\r\nUseIniInProgramDir=7\r\n";
    out += "[Left]\r\npath=C:\\Users\\sam\\\r\nShowAllDetails=1\r\nsortorder=0\r\n";
    out += "[Right]\r\npath=D:\\Projects\\\r\nShowAllDetails=1\r\nsortorder=3\r\n";

    // Panel histories hold the most entries; the other lists share the rest.
    const int keyedTemplates = qMax(4, historyEntries / 100);
    const int tabs = qMax(4, historyEntries / 200);
    const int numbered = historyEntries - 4 * keyedTemplates - 2 * tabs - historyEntries / 10;
    int written = 0;
    for (int i = 0; i < cSectionsData::SectionsCount; ++i) {
        const QString name = cSectionsData::SectionsList(i);
        const SectionFamily family = cSectionsData::familyOf(name);
        if (cSectionsData::fileOf(name) == SectionFile::Wcxftp)
            continue;
        out += '[' + name.toLatin1() + "]\r\n";
        if (family == SectionFamily::Keyed) {
            for (int t = 0; t < keyedTemplates; ++t) {
                const QByteArray base = "Template " + QByteArray::number(t);
                out += base + "_L=" + folder(random) + "\r\n" + base + "_R=" + folder(random) + "\r\n";
                out += base + "_SearchFor=*.txt\r\n" + base + "_name=[N]_" + QByteArray::number(t) + "\r\n";
                ++written;
            }
        } else if (family == SectionFamily::Tabs) {
            for (int t = 0; t < tabs; ++t) {
                const QByteArray n = QByteArray::number(t);
                out += n + "_path=" + folder(random) + "\r\n" + n + "_options=1|0|0|0|0|" + QByteArray::number(t % 3) + "|0\r\n";
                if (t % 2)
                    out += n + "_caption=Tab " + n + "\r\n";
                ++written;
            }
            out += "ActiveTab=1\r\nActiveCaption=Docs\r\nActiveLocked=0\r\n";
        } else {
            const bool panelHistory = name == cSectionsData::LeftHistory() || name == cSectionsData::RightHistory();
            const int count = panelHistory ? numbered * 3 / 10 : numbered * 4 / 100;
            for (int k = 0; k < count; ++k, ++written)
                out += QByteArray::number(k) + '=' + value(random, k) + "\r\n";
        }
    }
    // The rest of the file: settings sections nobody edits here.
    int section = 0;
    while (out.size() < wincmdBytes) {
        out += "[user" + QByteArray::number(section++) + "]\r\n";
        for (int k = 0; k < 40 && out.size() < wincmdBytes; ++k) {
            out += "button" + QByteArray::number(k) + "=%COMMANDER_PATH%\\TOOLS\\tool" + QByteArray::number(k)
                + ".exe\r\ncmd" + QByteArray::number(k) + "=em_command " + folder(random) + "\r\n";
        }
    }

    QByteArray &ftp = pair.wcxftp;
    ftp += "[General]\r\nDefault=\r\n[connections]\r\n";
    const int connections = qMax(10, historyEntries / 10);
    for (int c = 0; c < connections; ++c)
        ftp += QByteArray::number(c + 1) + "=Server " + QByteArray::number(c) + "\r\n";
    ftp += "[OldConnections]\r\n";
    for (int c = 0; c < connections; ++c, ++written)
        ftp += QByteArray::number(c) + "=ftp://host" + QByteArray::number(c) + ".example.org/pub/\r\n";
    pair.historyEntries = written;
    return pair;
}

} // namespace calvenor::bench
