#pragma once

#include <QByteArray>
#include <QString>

namespace calvenor::fuzz {

// Parses arbitrary bytes as a Wine registry file and checks that what was understood
// survives a write and a second read unchanged. Empty string when it held.
QString checkRegistryFile(const QByteArray &input);

} // namespace calvenor::fuzz
