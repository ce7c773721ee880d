// The side text windows: pasteboard (8), virtual printer (9) and system console (10).
#pragma once

class QWidget;

// Sets up the pasteboard's text view: the font "Menlo" at 12 points and no text. Runs on the
// GUI thread, waiting for it when called elsewhere.
void setuppasteboardview();
// Empties a text view, on the GUI thread.
void cleartextview(QWidget* textView);
