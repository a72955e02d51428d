#pragma once

#include <QString>

namespace calvenor {

// The folder that holds Languages/ and the user guide, with a trailing '/'. A build
// keeps them beside the program; an installed program finds them in
// <prefix>/share/calvenor/, beside its bin/ folder. appFolder is the program's folder.
QString DataFolder(const QString &appFolder);

} // namespace calvenor
