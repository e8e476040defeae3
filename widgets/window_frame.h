#pragma once
// The frame a desktop draws around a top-level window, and outer sizes.
//
// The designed sizes of the windows are outer sizes (frame and title bar
// included), but a program sets the size of the client area, and the frame
// is known only once the desktop's window manager has framed the window,
// after it is first shown. Until then the design's usual frame stands in;
// once the real one is known, the client area is corrected so that the
// outer size is as designed, whatever the window manager's theme.

#include <QSize>
#include <functional>

class QWidget;

namespace velmar {

// The usual frame of the design's fixed dialogs: 3 pixels a side and a
// title bar that makes 27 pixels with the borders.
inline constexpr QSize kDialogDesignFrame{6, 27};

// Width (left + right) and height (title bar + bottom) of the window's
// frame; (0, 0) until the desktop has framed it.
QSize WindowFrame(const QWidget* window);

// The frame, or the frame last seen while the window has none (hidden), or
// designFrame while the desktop hasn't framed the window yet.
QSize FrameOrDesign(const QWidget* window, QSize designFrame);

// Whether the platform lets a program place its windows and read their
// position (not so on Wayland, where the compositor places them).
bool ProgramsPlaceWindows();

// Keeps the outer size of a window of fixed size: outerSize() gives the
// wanted outer size; a dimension of 0 is left as it is. The client size is
// set at once with the design's frame, and corrected whenever the window is
// shown, moved or resized and its real frame is known (also a few times in
// the first second after showing, as window managers frame late). The
// keeper lives as long as the window.
void KeepOuterSize(QWidget* window, std::function<QSize()> outerSize, QSize designFrame);

// Whether KeepOuterSize keeps the window's outer size.
bool HasOuterSizeKeeper(const QWidget* window);

// Applies the outer size now (after outerSize() changed).
void ApplyOuterSize(QWidget* window);

}  // namespace velmar
