#include "registrycheck.h"

#include "platform/wineregistryfile.h"

namespace calvenor::fuzz {

QString checkRegistryFile(const QByteArray &input)
{
    const QByteArray once = WineRegistryFile::parse(input).serialize();
    const QByteArray twice = WineRegistryFile::parse(once).serialize();
    if (once != twice)
        return QStringLiteral("a registry file does not read back as it was written");
    return QString();
}

} // namespace calvenor::fuzz
