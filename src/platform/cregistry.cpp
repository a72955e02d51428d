#include "cregistry.h"

#include "atomicfile.h"
#include "filestamp.h"
#include "wineregistryfile.h"

#include <QDir>
#include <QFileInfo>
#include <QProcessEnvironment>

namespace calvenor {
namespace {

// Registry files are small; anything larger is not one, and reads as empty.
constexpr qint64 kMaxRegistryFile = 256LL * 1024 * 1024;
// A read takes at most this many bytes of data, as the program's read buffer did.
constexpr qsizetype kReadBuffer = 2048;

WineRegistryFile load(const QString &path)
{
    QByteArray bytes;
    if (path.isEmpty() || readWholeFile(path, kMaxRegistryFile, bytes) != errNone)
        return {};
    return WineRegistryFile::parse(bytes);
}

} // namespace

struct cRegistry::CachedHive
{
    FileStamp stamp;
    WineRegistryFile file;
};

const WineRegistryFile &cRegistry::hive(const QString &path) const
{
    std::shared_ptr<CachedHive> &cached = m_hives[path];
    const FileStamp stamp = FileStamp::of(path);
    if (!cached || cached->stamp != stamp) {
        cached = std::make_shared<CachedHive>();
        cached->stamp = stamp;
        cached->file = load(path);
    }
    return cached->file;
}

cRegistry::cRegistry(const QString &missingValueMarker, const QString &storeFile, const QString &winePrefixFolder)
    : m_marker(missingValueMarker)
    , m_storeFile(storeFile)
    , m_prefixFolder(winePrefixFolder)
{
}

QString cRegistry::defaultStoreFile()
{
    const QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    QString config = environment.value(QStringLiteral("XDG_CONFIG_HOME"));
    if (config.isEmpty())
        config = environment.value(QStringLiteral("HOME"), QDir::homePath()) + QStringLiteral("/.config");
    return config + QStringLiteral("/calvenor/registry.reg");
}

cRegistry::Root cRegistry::rootOf(const QString &path, QString &subKey)
{
    const qsizetype slash = path.indexOf(u'\\');
    const QString root = slash < 0 ? path : path.left(slash);
    subKey = slash < 0 ? QString() : path.mid(slash + 1);
    static const std::pair<const char16_t *, Root> roots[] = {
        {u"HKEY_CLASSES_ROOT", Root::ClassesRoot}, {u"HKEY_CURRENT_USER", Root::CurrentUser},
        {u"HKEY_LOCAL_MACHINE", Root::LocalMachine}, {u"HKEY_USERS", Root::Users},
        {u"HKEY_CURRENT_CONFIG", Root::CurrentConfig}, {u"HKEY_DYN_DATA", Root::DynData},
    };
    for (const auto &[name, value] : roots) {
        if (root.compare(QStringView(name), Qt::CaseInsensitive) == 0)
            return value;
    }
    return Root::None;
}

QString cRegistry::rootName(Root root)
{
    switch (root) {
    case Root::ClassesRoot: return QStringLiteral("HKEY_CLASSES_ROOT");
    case Root::CurrentUser: return QStringLiteral("HKEY_CURRENT_USER");
    case Root::LocalMachine: return QStringLiteral("HKEY_LOCAL_MACHINE");
    case Root::Users: return QStringLiteral("HKEY_USERS");
    case Root::CurrentConfig: return QStringLiteral("HKEY_CURRENT_CONFIG");
    case Root::DynData: return QStringLiteral("HKEY_DYN_DATA");
    case Root::None: break;
    }
    return {};
}

QString cRegistry::ReadValue(const QString &strValuePath, const QString &strValueName) const
{
    QString subKey;
    const Root root = rootOf(strValuePath, subKey);
    if (root == Root::None)
        return m_marker;
    const RegistryValue *found = m_storeFile.isEmpty() ? nullptr
                                                       : hive(m_storeFile).value(rootName(root) + u'\\' + subKey, strValueName);
    if (!found && !m_prefixFolder.isEmpty()) {
        if (root == Root::CurrentUser)
            found = hive(m_prefixFolder + QStringLiteral("/user.reg")).value(subKey, strValueName);
        else if (root == Root::LocalMachine)
            found = hive(m_prefixFolder + QStringLiteral("/system.reg")).value(subKey, strValueName);
        else if (root == Root::ClassesRoot)
            found = hive(m_prefixFolder + QStringLiteral("/system.reg")).value(QStringLiteral("Software\\Classes\\") + subKey, strValueName);
    }
    if (!found)
        return m_marker;
    if (found->type == NumberValue && !found->isText)
        return QStringLiteral("%1").arg(found->number, 3, 10, QLatin1Char('0'));
    if (!found->isText) {
        if (found->bytes.size() > kReadBuffer)
            return m_marker;
        return QString::fromLatin1(found->bytes.toHex().toUpper());
    }
    // Text passes through the 8-bit code page in the program's reads: one byte a
    // character, plus the terminating NUL.
    if (found->text.size() + 1 > kReadBuffer)
        return m_marker;
    return found->text;
}

int cRegistry::WriteValue(const QString &strValuePath, const QString &strValueName, const QVariant &vntValue,
                          quint32 uValueType)
{
    QString subKey;
    const Root root = rootOf(strValuePath, subKey);
    if (root == Root::None || m_storeFile.isEmpty())
        return errPathNotFound;
    RegistryValue value;
    if (uValueType == NumberValue) {
        value.type = NumberValue;
        value.isText = false;
        value.number = quint32(qint32(vntValue.toLongLong()));
    } else {
        value.type = TextValue;
        value.text = vntValue.toString();
    }
    WineRegistryFile store = load(m_storeFile);
    store.setValue(rootName(root) + u'\\' + subKey, strValueName, value);
    QDir().mkpath(QFileInfo(m_storeFile).absolutePath());
    return writeFileAtomically(m_storeFile, store.serialize());
}

int cRegistry::Deletekey(const QString &strKeyPath)
{
    QString subKey;
    const Root root = rootOf(strKeyPath, subKey);
    if (root == Root::None || subKey.isEmpty() || !QFileInfo::exists(m_storeFile))
        return errPathNotFound;
    WineRegistryFile store = load(m_storeFile);
    store.removeKey(rootName(root) + u'\\' + subKey);
    return writeFileAtomically(m_storeFile, store.serialize());
}

} // namespace calvenor
