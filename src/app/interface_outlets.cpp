// The interface file and the delegate: its outlets, its graphic views, and its window and
// menu events.
#include "app/app_delegate.h"
#include "events/views.h"
#include "platform/interface_file.h"
#include "platform/widgets.h"

namespace {

void connectOutlets(QWidget* root, AppDelegate& d)
{
    QWidget** views[] = {&d.t_View00, &d.t_View01, &d.t_View02, &d.t_View03,
                         &d.t_View04, &d.t_View05, &d.t_View06, &d.t_View07};
    for (int n = 0; n < 8; ++n) *views[n] = findoutlet(root, "t_View0" + std::to_string(n));
    d.VirtualPrinterWindow = findoutlet(root, "VirtualPrinterWindow");
    d.VirtualPrinterScrollView = findoutlet(root, "VirtualPrinterScrollView");
    d.VirtualPrinterTextView = findoutlet(root, "VirtualPrinterTextView", OutletKind::textView);
    d.VirtualPrinterRuler = findoutlet(root, "VirtualPrinterRuler", OutletKind::textField);
    d.SystemConsoleWindow = findoutlet(root, "SystemConsoleWindow");
    d.SystemConsoleScrollView = findoutlet(root, "SystemConsoleScrollView");
    d.SystemConsoleTextView = findoutlet(root, "SystemConsoleTextView", OutletKind::textView);
    d.SystemConsoleRuler = findoutlet(root, "SystemConsoleRuler", OutletKind::textField);
    d.PasteboardWindow = findoutlet(root, "PasteboardWindow");
    d.PasteboardScrollView = findoutlet(root, "PasteboardScrollView");
    d.PasteboardTextView = findoutlet(root, "PasteboardTextView", OutletKind::textView);
    d.MainWindow = findoutlet(root, "MainWindow");
    d.PreferencesWindow = findoutlet(root, "PreferencesWindow");
}

}  // namespace

bool loadinterface(const std::string& path, AppDelegate& delegate)
{
    InterfaceHandlers handlers;
    handlers.makeWidget = makeview;
    handlers.loaded = [&delegate](QWidget* root) { connectOutlets(root, delegate); };
    handlers.windowShouldClose = [&delegate](QWidget* window) { return delegate.windowShouldClose(window); };
    handlers.windowWillClose = [&delegate](QWidget* window) { delegate.windowWillClose(window); };
    handlers.windowDidResize = [&delegate](QWidget* window) { delegate.windowDidResize(window); };
    handlers.menuItemChosen = [&delegate](QAction* item) { delegate.MenuHandler(item); };
    if (!loadinterface(path, handlers)) return false;

    for (QWidget* text : {delegate.PasteboardTextView, delegate.VirtualPrinterTextView, delegate.SystemConsoleTextView,
                          delegate.VirtualPrinterRuler, delegate.SystemConsoleRuler})
        settextviewfont(text, "Menlo", 12);
    // A ruler wider than its field shows its first columns, as the text below it does.
    for (QWidget* ruler : {delegate.VirtualPrinterRuler, delegate.SystemConsoleRuler}) showtextfieldstart(ruler);
    // The side windows' scroll views fill their window's content below the ruler, so that the
    // chrome measured at launch is the height of the window's menu bar.
    fillparent(delegate.PasteboardScrollView, 10, 10);
    fillparent(delegate.VirtualPrinterScrollView, 20, 35);
    fillparent(delegate.SystemConsoleScrollView, 20, 35);
    return true;
}
