#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>

namespace calvenor {

// One value of a registry key. Text values (types 1, 2, 7 written as strings) keep
// their text; numbers their 32-bit value; everything else its raw bytes.
struct RegistryValue
{
    quint32 type = 1;       // 1 text, 2 expandable text, 3 binary, 4 number, 7 text list, ...
    QString text;           // for string forms
    quint32 number = 0;     // for type 4
    QByteArray bytes;       // for hex forms
    bool isText = true;     // written as a quoted string

    // The value's data as the registry stores it: text as UTF-16 with its NUL.
    qsizetype storedSize() const;
};

// A registry file in the text format Wine keeps its hives in (user.reg, system.reg):
// "[key\\path] time" headers, "name"=value lines with str:, str(N):, dword:, hex: and
// hex(N): forms, @ for the default value, continued lines, comments and metadata
// lines. Anything malformed is skipped; parsing never fails.
class WineRegistryFile
{
public:
    static WineRegistryFile parse(const QByteArray &bytes);
    QByteArray serialize() const;

    // Key paths are compared without regard to case; names too.
    const RegistryValue *value(const QString &keyPath, const QString &name) const;
    void setValue(const QString &keyPath, const QString &name, const RegistryValue &value);
    // Removes the key and every key below it.
    void removeKey(const QString &keyPath);
    bool isEmpty() const { return m_keys.isEmpty(); }

private:
    struct Key
    {
        QString path;                          // as written, without escapes
        QString header;                        // the text after "]" (time stamp)
        QList<QPair<QString, RegistryValue>> values;   // in file order; "" = default value
    };
    Key *findKey(const QString &keyPath);
    const Key *findKey(const QString &keyPath) const;

    QList<Key> m_keys;
    QHash<QString, qsizetype> m_index;   // folded path -> position in m_keys
};

// Escaping of the text format: backslash escapes for quotes, backslashes and control
// characters, \xHHHH for anything outside printable ASCII; key names also escape the
// brackets that enclose them, as Wine does.
QString unescapeRegistryText(QStringView text, qsizetype *consumed = nullptr, QChar terminator = QChar(u'"'));
QString escapeRegistryText(QStringView text, bool keyName = false);

} // namespace calvenor
