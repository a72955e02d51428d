#pragma once

#include <QString>
#include <QVariant>

#include <map>
#include <memory>

namespace calvenor {

// Registry access for the program. Paths start with a root name
// ("HKEY_CURRENT_USER\Software\Ghisler\Total Commander"), compared without regard to
// case. On Linux the registry is a store file of our own in Wine's text format; reads
// of values the store lacks fall back, read-only, to the Wine prefix's user.reg
// (HKEY_CURRENT_USER) and system.reg (HKEY_LOCAL_MACHINE). Wine's files are never
// written. Reads never fail visibly: anything absent or unreadable is the marker.
// Every call sees the files as they are now: parsed files are kept only while their
// size and times on disk stay the same (Wine's hives run to megabytes, and start-up
// reads dozens of values).
class cRegistry
{
public:
    enum ValueType : quint32 { TextValue = 1, BinaryValue = 3, NumberValue = 4 };

    cRegistry(const QString &missingValueMarker, const QString &storeFile, const QString &winePrefixFolder);

    // $XDG_CONFIG_HOME (else ~/.config) + "/calvenor/registry.reg".
    static QString defaultStoreFile();

    QString ReadValue(const QString &strValuePath, const QString &strValueName) const;
    // Type 4 stores a signed 32-bit number, any other type text. Returns an error
    // number (0 when the store file was written), which callers may ignore.
    int WriteValue(const QString &strValuePath, const QString &strValueName, const QVariant &vntValue,
                   quint32 uValueType);
    int Deletekey(const QString &strKeyPath);

private:
    struct CachedHive;
    const class WineRegistryFile &hive(const QString &path) const;

    enum class Root { None, ClassesRoot, CurrentUser, LocalMachine, Users, CurrentConfig, DynData };
    static Root rootOf(const QString &path, QString &subKey);
    static QString rootName(Root root);

    QString m_marker;
    QString m_storeFile;
    QString m_prefixFolder;
    mutable std::map<QString, std::shared_ptr<CachedHive>> m_hives;
};

} // namespace calvenor
