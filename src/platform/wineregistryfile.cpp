#include "wineregistryfile.h"

#include <QDateTime>

#include <optional>
#include <QStringList>

namespace calvenor {
namespace {

QString fold(const QString &text)
{
    return text.toCaseFolded();
}

int hexDigit(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    return -1;
}

// "00,ab,ff" into bytes; false on anything that is not a byte list.
bool parseHexBytes(QStringView text, QByteArray &bytes)
{
    for (QStringView part : text.split(u',', Qt::SkipEmptyParts)) {
        part = part.trimmed();
        if (part.isEmpty() || part.size() > 2)
            return false;
        int value = 0;
        for (const QChar c : part) {
            const int digit = hexDigit(c);
            if (digit < 0)
                return false;
            value = value * 16 + digit;
        }
        bytes.append(char(value));
    }
    return true;
}

QString utf16Text(const QByteArray &bytes)
{
    QString text;
    for (qsizetype i = 0; i + 1 < bytes.size(); i += 2)
        text.append(QChar(char16_t(static_cast<unsigned char>(bytes[i]) | (static_cast<unsigned char>(bytes[i + 1]) << 8))));
    if (text.endsWith(QChar(u'\0')))
        text.chop(1);
    return text;
}

// The type of "str(N):" or "hex(N):" forms (N in hex), read after the word; the plain
// forms "str:" and "hex:" have the given type. Nothing when the form is broken.
std::optional<quint32> formType(QStringView data, qsizetype wordLength, quint32 plainType)
{
    if (data.mid(wordLength).startsWith(u':'))
        return plainType;
    if (!data.mid(wordLength).startsWith(u'('))
        return std::nullopt;
    const qsizetype close = data.indexOf(u')', wordLength);
    bool ok = false;
    const quint32 type = close < 0 ? 0 : data.mid(wordLength + 1, close - wordLength - 1).toUInt(&ok, 16);
    if (!ok || !data.mid(close + 1).startsWith(u':'))
        return std::nullopt;
    return type;
}

// Parses the right side of name=value.
bool parseData(QStringView data, RegistryValue &value)
{
    if (data.startsWith(u'"')) {
        qsizetype consumed = 0;
        value.type = 1;
        value.text = unescapeRegistryText(data.mid(1), &consumed);
        value.isText = true;
        return true;
    }
    if (data.startsWith(u"str")) {
        const std::optional<quint32> type = formType(data, 3, 1);
        const qsizetype quote = data.indexOf(u'"');
        if (!type || quote < 0)
            return false;
        value.type = *type;
        value.text = unescapeRegistryText(data.mid(quote + 1));
        value.isText = true;
        return true;
    }
    if (data.startsWith(u"dword:")) {
        bool ok = false;
        value.number = data.mid(6).trimmed().toUInt(&ok, 16);
        value.type = 4;
        value.isText = false;
        return ok;
    }
    if (data.startsWith(u"hex")) {
        const std::optional<quint32> form = formType(data, 3, 3);
        if (!form)
            return false;
        const quint32 type = *form;
        const qsizetype colon = data.indexOf(u':');
        QByteArray bytes;
        if (!parseHexBytes(data.mid(colon + 1), bytes))
            return false;
        value.type = type;
        value.isText = type == 1 || type == 2 || type == 7;
        if (value.isText)
            value.text = utf16Text(bytes);
        else if (type == 4 && bytes.size() == 4)
            value.number = quint32(static_cast<unsigned char>(bytes[0])) | quint32(static_cast<unsigned char>(bytes[1])) << 8
                | quint32(static_cast<unsigned char>(bytes[2])) << 16 | quint32(static_cast<unsigned char>(bytes[3])) << 24;
        value.bytes = bytes;
        return true;
    }
    return false;
}

} // namespace

qsizetype RegistryValue::storedSize() const
{
    if (type == 4 && !isText)
        return 4;
    if (isText)
        return (text.size() + 1) * 2;
    return bytes.size();
}

QString unescapeRegistryText(QStringView text, qsizetype *consumed, QChar terminator)
{
    QString out;
    qsizetype i = 0;
    while (i < text.size()) {
        const QChar c = text[i];
        if (c == terminator) {
            ++i;
            break;
        }
        if (c != u'\\' || i + 1 >= text.size()) {
            out.append(c);
            ++i;
            continue;
        }
        const QChar e = text[i + 1];
        i += 2;
        switch (e.unicode()) {
        case u'a': out.append(QChar(u'\a')); break;
        case u'b': out.append(QChar(u'\b')); break;
        case u'e': out.append(QChar(char16_t(0x1b))); break;
        case u'f': out.append(QChar(u'\f')); break;
        case u'n': out.append(QChar(u'\n')); break;
        case u'r': out.append(QChar(u'\r')); break;
        case u't': out.append(QChar(u'\t')); break;
        case u'v': out.append(QChar(u'\v')); break;
        case u'x': {
            int value = 0;
            int digits = 0;
            while (digits < 4 && i < text.size() && hexDigit(text[i]) >= 0) {
                value = value * 16 + hexDigit(text[i++]);
                ++digits;
            }
            out.append(digits ? QChar(char16_t(value)) : QChar(u'x'));
            break;
        }
        default:
            if (e >= u'0' && e <= u'7') {
                int value = e.unicode() - u'0';
                for (int digits = 1; digits < 3 && i < text.size() && text[i] >= u'0' && text[i] <= u'7'; ++digits)
                    value = value * 8 + (text[i++].unicode() - u'0');
                out.append(QChar(char16_t(value)));
            } else {
                out.append(e);   // \\ and \" and anything unknown: the character itself
            }
        }
    }
    if (consumed)
        *consumed = i;
    return out;
}

QString escapeRegistryText(QStringView text, bool keyName)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        switch (c.unicode()) {
        case u'\\': out.append(u"\\\\"); break;
        case u'"': out.append(u"\\\""); break;
        case u'[':
        case u']':
            if (keyName)
                out.append(u'\\');
            out.append(c);
            break;
        case u'\n': out.append(u"\\n"); break;
        case u'\r': out.append(u"\\r"); break;
        case u'\t': out.append(u"\\t"); break;
        default:
            if (c.unicode() < 0x20 || c.unicode() >= 0x7f)
                out.append(QStringLiteral("\\x%1").arg(c.unicode(), 4, 16, QLatin1Char('0')));
            else
                out.append(c);
        }
    }
    return out;
}

WineRegistryFile WineRegistryFile::parse(const QByteArray &bytes)
{
    WineRegistryFile file;
    const QString text = QString::fromUtf8(bytes);
    const QStringList rawLines = text.split(u'\n');
    Key *current = nullptr;
    QString pending;
    for (qsizetype n = 0; n < rawLines.size(); ++n) {
        QString line = rawLines[n];
        if (line.endsWith(u'\r'))
            line.chop(1);
        // A value may go on over several lines, each ending in a backslash.
        if (!pending.isEmpty() || (line.endsWith(u'\\') && !line.startsWith(u'['))) {
            if (line.endsWith(u'\\')) {
                pending += line.left(line.size() - 1).trimmed();
                if (n + 1 < rawLines.size())
                    continue;
            } else {
                pending += line.trimmed();
            }
            line = pending;
            pending.clear();
        }
        const QStringView trimmed = QStringView(line).trimmed();
        if (trimmed.isEmpty() || trimmed.startsWith(u';') || trimmed.startsWith(u'#'))
            continue;
        if (trimmed.startsWith(u'[')) {
            qsizetype consumed = 0;
            const QString path = unescapeRegistryText(trimmed.mid(1), &consumed, QChar(u']'));
            Key key;
            key.path = path;
            key.header = trimmed.mid(1 + consumed).trimmed().toString();
            const QString folded = fold(path);
            if (file.m_index.contains(folded)) {
                current = &file.m_keys[file.m_index.value(folded)];
            } else {
                file.m_index.insert(folded, file.m_keys.size());
                file.m_keys.append(key);
                current = &file.m_keys.last();
            }
            continue;
        }
        if (!current)
            continue;
        QString name;
        QStringView rest;
        if (trimmed.startsWith(u'@')) {
            rest = trimmed.mid(1);
        } else if (trimmed.startsWith(u'"')) {
            qsizetype consumed = 0;
            name = unescapeRegistryText(trimmed.mid(1), &consumed);
            rest = trimmed.mid(1 + consumed);
        } else {
            continue;
        }
        rest = rest.trimmed();
        if (!rest.startsWith(u'='))
            continue;
        RegistryValue value;
        if (!parseData(rest.mid(1).trimmed(), value))
            continue;
        bool replaced = false;
        for (auto &entry : current->values) {
            if (entry.first.compare(name, Qt::CaseInsensitive) == 0) {
                entry.second = value;
                replaced = true;
                break;
            }
        }
        if (!replaced)
            current->values.append({name, value});
    }
    return file;
}

QByteArray WineRegistryFile::serialize() const
{
    QString out = QStringLiteral("WINE REGISTRY Version 2\n;; All keys relative to the registry root\n");
    for (const Key &key : m_keys) {
        out += QStringLiteral("\n[") + escapeRegistryText(key.path, true) + u']';
        if (!key.header.isEmpty())
            out += u' ' + key.header;
        out += u'\n';
        for (const auto &[name, value] : key.values) {
            out += name.isEmpty() ? QStringLiteral("@") : u'"' + escapeRegistryText(name) + u'"';
            out += u'=';
            if (value.type == 4 && !value.isText) {
                out += QStringLiteral("dword:%1").arg(value.number, 8, 16, QLatin1Char('0'));
            } else if (value.isText) {
                if (value.type != 1)
                    out += QStringLiteral("str(%1):").arg(value.type, 0, 16);
                out += u'"' + escapeRegistryText(value.text) + u'"';
            } else {
                out += value.type == 3 ? QStringLiteral("hex:") : QStringLiteral("hex(%1):").arg(value.type, 0, 16);
                QStringList parts;
                for (const char b : value.bytes)
                    parts << QStringLiteral("%1").arg(static_cast<unsigned char>(b), 2, 16, QLatin1Char('0'));
                out += parts.join(u',');
            }
            out += u'\n';
        }
    }
    return out.toUtf8();
}

const WineRegistryFile::Key *WineRegistryFile::findKey(const QString &keyPath) const
{
    const auto it = m_index.constFind(fold(keyPath));
    return it == m_index.cend() ? nullptr : &m_keys[*it];
}

WineRegistryFile::Key *WineRegistryFile::findKey(const QString &keyPath)
{
    return const_cast<Key *>(std::as_const(*this).findKey(keyPath));
}

const RegistryValue *WineRegistryFile::value(const QString &keyPath, const QString &name) const
{
    const Key *key = findKey(keyPath);
    if (!key)
        return nullptr;
    for (const auto &entry : key->values) {
        if (entry.first.compare(name, Qt::CaseInsensitive) == 0)
            return &entry.second;
    }
    return nullptr;
}

void WineRegistryFile::setValue(const QString &keyPath, const QString &name, const RegistryValue &value)
{
    Key *key = findKey(keyPath);
    if (!key) {
        Key created;
        created.path = keyPath;
        m_index.insert(fold(keyPath), m_keys.size());
        m_keys.append(created);
        key = &m_keys.last();
    }
    key->header = QString::number(QDateTime::currentSecsSinceEpoch());
    for (auto &entry : key->values) {
        if (entry.first.compare(name, Qt::CaseInsensitive) == 0) {
            entry.second = value;
            return;
        }
    }
    key->values.append({name, value});
}

void WineRegistryFile::removeKey(const QString &keyPath)
{
    const QString folded = fold(keyPath);
    const QString below = folded + u'\\';
    QList<Key> kept;
    for (const Key &key : std::as_const(m_keys)) {
        const QString path = fold(key.path);
        if (path != folded && !path.startsWith(below))
            kept.append(key);
    }
    m_keys = kept;
    m_index.clear();
    for (qsizetype i = 0; i < m_keys.size(); ++i)
        m_index.insert(fold(m_keys[i].path), i);
}

} // namespace calvenor
