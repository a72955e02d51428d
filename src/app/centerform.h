#pragma once

class QWidget;

namespace calvenor {

// Moves a window so that its frame sits in the middle of the available area of the
// screen it is on (the main window's screen for a dialog not shown yet).
void CenterForm(QWidget &form);

} // namespace calvenor
