#pragma once

#include <QByteArray>
#include <QString>

namespace calvenor::fuzz {

// Runs the INI parser and writer over arbitrary bytes and checks what must hold for any
// input: the file serialises back to the same bytes, a written key reads back, a
// deleted section is gone. Returns an empty string when everything held, else what failed.
QString checkIniDocument(const QByteArray &input);

} // namespace calvenor::fuzz
