#pragma once

#include <QProcessEnvironment>
#include <QString>

namespace calvenor {

// Maps between the Windows paths the file manager stores (c:\tc\wincmd.ini) and the
// native paths of the Wine prefix it runs in, the way Wine itself resolves them.
class WinePrefix
{
public:
    explicit WinePrefix(const QString &prefixFolder);

    // $WINEPREFIX, else ~/.wine.
    static WinePrefix fromEnvironment(const QProcessEnvironment &environment);

    QString folder() const { return m_folder; }

    // True for "c:\..." and "c:/..." (a drive letter followed by a separator or nothing).
    static bool hasDriveLetter(const QString &path);

    // A drive-letter path becomes the native path under the drive's dosdevices link;
    // each component that does not exist as written is matched without regard to case.
    // Any other path only has its backslashes turned into slashes. An unmapped drive
    // gives an empty string: there is no native file for it.
    QString toNative(const QString &path) const;

    // The Windows form of a native path: through the drive whose root holds it (the
    // longest match wins), else through z:, which Wine maps to the native root.
    QString toWindows(const QString &nativePath) const;

private:
    QString m_folder;
};

// Finds the entry of folder whose name equals name without regard to case; the name
// itself when it exists as written or nothing matches.
QString matchNameIgnoringCase(const QString &folder, const QString &name);

} // namespace calvenor
