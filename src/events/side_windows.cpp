#include "events/side_windows.h"

#include "app/app_delegate.h"
#include "platform/main_thread.h"
#include "platform/widgets.h"

void setuppasteboardview()
{
    runOnMainThread([] {
        QWidget* view = appDelegate().PasteboardTextView;
        if (view == nullptr) return;
        settextviewfont(view, "Menlo", 12);
        settextviewtext(view, "");
    });
}

void cleartextview(QWidget* textView)
{
    runOnMainThread([textView] { settextviewtext(textView, ""); });
}
