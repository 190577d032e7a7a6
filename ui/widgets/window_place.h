// Placing windows: every window of the program opens centred on the screen,
// not on the window that opened it.
#pragma once

class QWidget;

// Moves the window so that its frame is centred on the screen it is on (the
// primary screen before it is shown). A dialog moved so is not re-centred
// over its parent when it opens.
void CentreOnScreen(QWidget* window);
