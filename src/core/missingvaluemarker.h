#pragma once

#include <QRandomGenerator>
#include <QString>

namespace calvenor {

// The text that stands for "absent" in every read whose default must be told apart
// from an empty value: six capital letters, six digits, six small letters, drawn once
// per run. No real setting, path or history entry ever equals it.
QString makeMissingValueMarker(QRandomGenerator &generator);
QString makeMissingValueMarker();   // seeded from the clock

} // namespace calvenor
