#pragma once
// Windows that grow with the user's font.
//
// The dialogs are designed at fixed places and sizes for the design's small
// font. At a bigger font their texts need more room: FitToFont widens and
// heightens each control that its text no longer fits, moves the controls
// to its right (in the same row) and below it on by as much, stretches the
// groups and lines that span the dialog, keeps the buttons at the right edge
// where they were, and grows the dialog by what its contents grew. At the
// design font nothing moves: the designed places and sizes are the least.
//
// The places the design gave are taken the first time; a control that the
// program moved since the last fit (the dialogs keep their outcome marker in
// the place of their prompt label) keeps that move on top of the fit.

#include <QSize>
#include <functional>

class QWidget;

namespace velmar {

// Fits the children of `window` (a window of placed, not laid out, controls)
// to their texts as above and returns how much the window's contents grew
// beyond the design, (0, 0) at the design font. A window of fixed width or
// height is given its designed size plus that growth in that dimension; a
// window whose outer size KeepOuterSize keeps adds FitGrowth to the outer
// size it asks for, and is sized again by its keeper.
QSize FitToFont(QWidget* window);

// The growth the last FitToFont gave the window ((0, 0) before any).
QSize FitGrowth(const QWidget* window);

// Fits the window now and again whenever it is shown or its font or style
// changes.
void KeepFittedToFont(QWidget* window);

// For a window laid out by a layout: keeps its minimum size at the designed
// minimum, or at what its layout needs for its texts where that is more
// (and at atLeast(), when given), whenever its contents, font or style
// change; a window smaller than that grows to it.
void KeepLayoutMinimum(QWidget* window, QSize designMinimum, std::function<QSize()> atLeast = nullptr);

}  // namespace velmar
