// Geometry and visibility of the interface's widgets, in the runtime's terms: frames are in
// points with the origin at the bottom left (of the screen for windows, of the parent for
// the widgets inside them). Every routine here runs on the GUI thread.
#pragma once

#include "vxtools.h"

class QWidget;

// A window's frame is its client area (the menu bar included) on its screen; the frame of
// a widget inside a window is its rectangle in its parent. A null widget has a zero frame.
t_Rect widgetframe(QWidget* widget);
// Gives a widget inside a window a new size. Its top edge stays where it is: the widgets of
// the side windows are pinned to the top of their window, as a ruler above its text is.
void setwidgetsize(QWidget* widget, double width, double height);
// Moves a widget inside a window so that its bottom left corner is at (x, y) of its parent.
void setwidgetorigin(QWidget* widget, double x, double y);

// The window that holds `widget`; null for a null widget.
QWidget* widgetwindow(QWidget* widget);
// The runtime window activated last that is still visible, or null.
QWidget* frontmostwindow();
// The runtime window activated last, visible or not; null when none was.
QWidget* lastactivatedwindow();
// Remembers `window` as activated now.
void notewindowactivated(QWidget* window);
void hidewindow(QWidget* window);

// Ends the event loop; the application then terminates.
void quitapplication();
// Whether the application is quitting: its windows may close then.
bool applicationquitting();

// ---- Windows -------------------------------------------------------------------------

// The frame of the screen that shows `window` (the primary screen when it has none).
t_Rect screenframe(QWidget* window);
// Gives `window` the frame `frame` (client area, origin at the bottom left of its screen); a
// window of `fixedSize` cannot be resized by the user. On a display the window is kept on its
// screen's available area, its title bar included: moved there, and made smaller where it
// must be.
void setwindowframe(QWidget* window, const t_Rect& frame, bool fixedSize = false);
// The scale (at most 1) by which a window of `fixedWidth` + `width` x `fixedHeight` + `height`
// points must shrink its scalable part `width` x `height` to fit its screen's available area,
// decorations included; 1 where windows are not on a display.
double screenfitscale(QWidget* window, double fixedWidth, double fixedHeight, double width, double height);
// Tells a hidden window of its new size now, as a shown one is told at once: Qt would hold the
// resize back until the window is shown, and what reacts to it would then undo later changes.
void applyhiddenresize(QWidget* window);
void setwindowtitle(QWidget* window, const std::string& title);
// A window with a visible title shows its menu bar and the window manager's decorations;
// without it the window is frameless and shows no menu bar.
void setwindowtitlevisible(QWidget* window, bool visible);
// Moves `window`, with its decorations, to the middle of its screen's available area.
void centerwindow(QWidget* window);
// Shows `window` in front of the others, on its screen and no longer minimized; `activate`
// also gives it the keyboard focus.
void showwindow(QWidget* window, bool activate);
bool iswindowvisible(QWidget* window);
// The colour of the window's content area around its view.
void setwindowbackground(QWidget* window, const t_RGBColor& colour);
// Places a graphic window's view of `width` x `height` points at the borders' distance from
// the left and the bottom of the window's content area. The view keeps its distance from the
// bottom when the content area changes height (a menu bar shown or hidden), as a view whose
// origin is at the bottom left stays where it is.
void placeview(QWidget* view, int64_t borderWidth, int64_t borderHeight, int64_t width, int64_t height);
// Redraws `view`: at once, or at the next turn of the event loop when `later`.
void redisplayview(QWidget* view, bool later);
// The height of the window's menu bar as shown, 0 without one.
int64_t menubarheight(QWidget* window);
// Sounds the system beep.
void systembeep();
// Sizes `widget` to fill its parent's content, `side` points from the left, right and bottom
// edges and `top` points from the top, once the window's layout has settled.
void fillparent(QWidget* widget, int side, int top);

// ---- Text views ----------------------------------------------------------------------

// The text of a side window's text view ("" for a null view).
std::string textviewtext(QWidget* textView);
// Gives a text view the font `family` at `pointSize` points, a monospace font where that
// family is missing.
void settextviewfont(QWidget* textView, const std::string& family, int pointSize);
// Shows a text field's first columns, where its text is wider than the field.
void showtextfieldstart(QWidget* textField);
// Replaces the text of a side window's text view and redraws it.
void settextviewtext(QWidget* textView, const std::string& text);
// Marks a widget as needing to be redrawn.
void markneedsdisplay(QWidget* widget);
