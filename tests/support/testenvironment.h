#pragma once

#include "core/cprofile.h"
#include "core/pathmacros.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QTemporaryDir>

#include <memory>

namespace calvenor::test {

// The fixed marker every test uses, so expectations can name it.
inline const QString kMarker = QStringLiteral("ABCDEF123456abcdef");

// A private folder for one test with its own HOME, XDG folders and Wine prefix, and
// helpers to write and read files in it. The environment of the process is cleared of
// the file manager's variables so that nothing of the machine leaks into a test.
class TestEnvironment
{
public:
    TestEnvironment();

    QString path(const QString &name) const;   // native path inside the folder
    QString writeFile(const QString &name, const QByteArray &bytes) const;
    QByteArray readFile(const QString &name) const;
    QString wineDrive() const;                  // native folder behind c:
    static QByteArray exampleFile(const QString &name);   // a file of examples/
    // Running stand-in file managers that tests started: the ones among the file
    // manager's processes whose command line lies in the temporary folder, so that a
    // real Total Commander running on the machine is never touched.
    static QList<qint64> RunningStandIns();

    PathMacros &paths() { return *m_paths; }
    cProfile &profile();   // made on first use, with no settings file

private:
    QTemporaryDir m_dir;
    std::unique_ptr<PathMacros> m_paths;
    std::unique_ptr<cProfile> m_profile;
};

} // namespace calvenor::test
