#pragma once

class QWidget;

namespace tolvane {

// Gives a page a frameless scroll area filling it and returns the widget
// inside, for the page's own layout. The content takes the whole page while
// there is room, and scrolls where the window is smaller than what its
// widgets need, instead of squeezing them over each other.
QWidget* scrollingContent(QWidget& page);

} // namespace tolvane
