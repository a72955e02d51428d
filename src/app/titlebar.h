#pragma once

#include <QString>

namespace calvenor {

// How a path is shown where room is short (the title bar, the recent-files list):
// mode 0 the file name only, mode 2 long paths (over 80 characters) with their middle
// folders left out, any other mode the path unchanged. Both separators count.
QString ShortenPath(const QString &path, int mode);

// A text that may hold a pair of paths joined by the recent-files separator: each of
// the first two parts is shortened by itself.
QString ShortenTitleText(const QString &text, int mode, const QString &separator);

// "2.1" with revision 7 gives "2.17".
QString VersionText(int major, int minor, int revision);

// The window caption: the title (the program's when empty), a blank, the version text,
// " - " and the shortened text.
QString TitleBarCaption(const QString &strText, const QString &strTitle, const QString &programTitle,
                        const QString &versionText, int mode, const QString &separator);

} // namespace calvenor
