// vxtools: the runtime of a small text-and-graphics machine.
//
// A program on the runtime is one call to runprogram() with its body; the body runs on a
// thread of its own and drives up to eight graphic windows through the t_ routines below.
// Every routine may be called from the program thread; a refused call prints one line on
// standard output and returns without effect.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

class QImage;
class QWidget;

// ---------------------------------------------------------------------------------------
// Shared records
// ---------------------------------------------------------------------------------------

struct t_RGBColor {
    uint8_t Alpha = 255;
    uint8_t Red = 0;
    uint8_t Green = 0;
    uint8_t Blue = 0;
    bool operator==(const t_RGBColor&) const = default;
};

struct t_Rect {
    double x = 0;
    double y = 0;
    double width = 0;
    double height = 0;
    bool operator==(const t_Rect&) const = default;
};

// A loaded bitmap font. A default-constructed t_Font is the empty font: no Data, no font.
struct t_Font {
    int64_t HeaderSize = 16;
    std::vector<uint8_t> Identifier = {0x76, 0x78, 0x66, 0x6E};
    int64_t Format = 0;
    int64_t Size = 0;
    uint8_t Start = 0;
    uint8_t End = 0;
    int64_t Width = 0;
    int64_t Height = 0;
    int64_t Reserved = 0;
    std::vector<uint8_t> Data;
};

// The four identifier bytes "vxfn" every font file begins with.
const std::vector<uint8_t>& fontIdentifier();

// A byte string of the runtime.
struct Text {
    std::vector<uint8_t> Elements;
    bool operator==(const Text& other) const;
};

template <>
struct std::hash<Text> {
    size_t operator()(const Text& text) const noexcept;
};

// The record of one graphic window. A default-constructed record is the initial record.
struct t_Window {
    bool Initialized = false;
    bool Visible = false;
    bool IgnoreEvents = false;
    bool AutoUpdate = false;
    bool QuickUpdate = false;
    bool ScrollLock = false;
    bool VerticalBlank = true;
    int64_t UpdateStarted = 0;
    int64_t UpdateFinished = 0;
    int64_t UpdateDuration = 0;
    int64_t RefreshRate = 30;
    QWidget* Window = nullptr;
    QWidget* View = nullptr;
    t_Rect DrawingRect;
    int64_t TitleHeight = 0;
    int64_t BorderWidth = 0;
    int64_t BorderHeight = 0;
    t_RGBColor RGBColorBorder;
    int64_t BitDepth = 0;
    int64_t Width = 0;
    int64_t Height = 0;
    t_RGBColor RGBColor;
    int64_t DrawingMode = 0;
    int64_t PositionX = 0;
    int64_t PositionY = 0;
    int64_t MemoryStart = -1;
    int64_t MemoryEnd = -1;
    t_Font Font;
    int64_t TextWidth = 0;
    int64_t TextHeight = 0;
    int64_t TextFirstColumn = 0;
    int64_t TextLastColumn = 0;
    int64_t TextFirstLine = 0;
    int64_t TextLastLine = 0;
    int64_t TextHpos = 0;
    int64_t TextVpos = 0;
    uint8_t TextColor = 0;
    bool TextInverse = false;
    int64_t TextDisplayMode = 0;
    int64_t TextCursorLevel = 0;
    int64_t TextRedirectOutput = 1;
    std::string InputString;
    bool InputFinished = false;
    int64_t InputMode = 0;
    int64_t InputHpos = 0;
    int64_t InputVpos = 0;
    int64_t InputCursorPos = 0;
    int64_t InputMaxCharacters = 0;
    int64_t LoResOffsetX = 0;
    int64_t LoResOffsetY = 0;
    int64_t LoResMode = 0;
    int64_t TextMemoryStart = -1;
    int64_t TextMemoryEnd = -1;
};

// A closure of no arguments that one thread may replace while another calls it.
class ClosureSlot {
public:
    explicit ClosureSlot(std::function<void()> initial = {}) : closure_(std::move(initial)) {}
    ClosureSlot& operator=(std::function<void()> closure);
    void operator()() const;

private:
    mutable std::mutex lock_;
    std::function<void()> closure_;
};

// ---------------------------------------------------------------------------------------
// Application shell and program thread
// ---------------------------------------------------------------------------------------

// Runs the application shell with `body` as the program body and returns the exit status
// once the user quits. `bundle` names the bundle folder whose Contents/Resources/ holds the
// interface file, the fonts and the sound; empty means the bundle of the running executable.
// Besides Qt's own options it understands --quit-when-done (quit once the program thread
// has ended), --snapshot FILE (write window 0's picture as PNG when the program thread
// ends), --version and --help. Where there is no display (neither DISPLAY nor
// WAYLAND_DISPLAY, and no platform chosen), it runs on Qt's offscreen platform and quits once
// the program thread has ended.
int runprogram(int argc, char** argv, std::function<void()> body, const std::string& bundle = {});
// Names the program for --version ("name version") and adds `options`, lines of text, to
// --help under the program's own name. Called before runprogram; without it --version shows
// the executable's name and the runtime's version.
void describeprogram(const std::string& name, const std::string& version, const std::string& options = {});

// Starts `entry` on a new thread with a stack of `stackSize` bytes; callable from any thread.
void startprocess(std::function<void()> entry, int64_t stackSize);
// Starts `work` in the background on the process-wide worker pool and returns at once.
void runAsync(std::function<void()> work);
// The number of the calling thread: 1 for the main thread, 2 for the program thread.
int64_t threadnumber();
// Builds the case and hexadecimal tables and seeds the random generator.
void initvxtools();

// Called when the application terminates; does nothing unless the program sets it.
extern ClosureSlot terminationHandler;

// The first graphic window created; 255 while there is none.
extern std::atomic<uint8_t> t_FirstWindow;
extern std::atomic<int64_t> sideWindowChromeHeight;

// ---------------------------------------------------------------------------------------
// Number formatting and text routines (positions count characters from 1)
// ---------------------------------------------------------------------------------------

std::string formatinteger(int64_t value, int64_t fill, int64_t width, bool grouping);
std::string formatreal(int64_t fill, int64_t width, int64_t decimals, bool grouping, double value);
std::string realtostring(double value);
int64_t instring(const std::string& text, const std::string& pattern, int64_t start);
std::string midfrom(const std::string& text, int64_t position);
std::string midstring(const std::string& text, int64_t position, int64_t length);
std::string charat(const std::string& text, int64_t position);
int64_t firstcode(const std::string& text);
std::string repeatstring(const std::string& text, int64_t count);
std::string spaces(int64_t count);
std::string justify(const std::string& left, const std::string& right, int64_t width);
int64_t textlength(const std::string& text);
std::vector<uint8_t> stringtobytes(const std::string& text);
std::string bytestostring(const std::vector<uint8_t>& bytes);
std::vector<uint8_t> hexbytes(uint32_t value);
std::string hexstring(uint32_t value);
uint32_t bigendian32(const std::vector<uint8_t>& bytes, int64_t offset);
std::vector<std::vector<uint8_t>> splitbytes(const std::vector<uint8_t>& bytes, uint8_t separator);
std::vector<uint8_t> joinbytes(const std::vector<std::vector<uint8_t>>& pieces, uint8_t separator);
std::vector<int64_t> unpackbits(const std::vector<uint8_t>& bytes, int64_t width);
std::vector<uint8_t> lzwexpand(const std::vector<int64_t>& codes);
int64_t comparetext(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b);

// ---------------------------------------------------------------------------------------
// Fonts
// ---------------------------------------------------------------------------------------

// The whole content of the file at `path`; empty, after one log line, when it cannot be read.
std::vector<uint8_t> getbinaryfromfile(const std::string& path);
// The font file `name` of the bundle's resources folder, expanded; the empty font (with the
// header size and identifier read so far) after one log line when it cannot be loaded.
t_Font t_LoadFontResource(const std::string& name);
// Formats 102 and 100 expanded to 2 and 0; every other font unchanged.
t_Font expandfont(t_Font font);
// Makes `font` the font of graphic window `window`; nothing else of the window changes.
void t_WindowFont(uint8_t window, const t_Font& font);

// ---------------------------------------------------------------------------------------
// Window table, memory pool and palette
// ---------------------------------------------------------------------------------------

constexpr int64_t memoryPoolSize = 16777231;
constexpr int64_t memoryTop = 16777215;
constexpr int64_t memoryReserved = 65536;

// Both live for the whole process: background threads such as the auto-update process may
// still read them while the process ends.
extern std::vector<t_Window>& windowTable;
extern std::vector<uint8_t>& memoryPool;
extern std::atomic<int64_t> highMemory;
extern std::atomic<bool> memoryInitStarted;
extern std::atomic<bool> memoryInitialized;
extern std::atomic<bool> autoUpdateRunning;

extern const std::array<uint8_t, 16> paletteRed;
extern const std::array<uint8_t, 16> paletteGreen;
extern const std::array<uint8_t, 16> paletteBlue;
t_RGBColor palettecolor(int64_t index);

void t_InitMemory();
void t_ClearWindowMemory(uint8_t window);

// ---------------------------------------------------------------------------------------
// Window creation
// ---------------------------------------------------------------------------------------

// Creates graphic window `window` with a text screen of columns x lines cells of the font
// file `fontName`, a border of `border` points on every side and automatic updates.
void t_InitWindow(uint8_t window, int64_t bitDepth, int64_t columns, int64_t lines, int64_t border,
                  const std::string& fontName);
// Creates graphic window `window` of width x height pixels; a font without Data gives a
// window without a text screen.
void t_InitWindow(uint8_t window, int64_t bitDepth, bool autoUpdate, int64_t width, int64_t height,
                  int64_t borderWidth, int64_t borderHeight, const t_Font& font, bool titleVisible);

// ---------------------------------------------------------------------------------------
// The picture and its updates
// ---------------------------------------------------------------------------------------

// The picture of graphic window `window` (0 ... 7), made anew from its video memory; a null
// image while the window is not created or not visible. Runs on the GUI thread.
QImage t_WindowImage(uint8_t window);
// The picture for the clipboard: null for anything but a created, visible graphic window.
QImage windowNSImage(uint8_t window);
// Redraws the window's view: at once, or with the next turn of the event loop when `later`.
void t_WindowUpdate(uint8_t window, bool later);
// Switches the automatic redisplay of window `window` at its RefreshRate.
void t_WindowAutoUpdate(uint8_t window, bool on);
// The background process that redisplays windows with AutoUpdate; runs for the process's life.
void t_WindowAutoUpdateProcess();
// The text screen as characters, `lineEnd` after every line; with a line end, trailing
// blanks and empty lines are removed.
std::string t_GetScreen(uint8_t window, const std::string& lineEnd);

// ---------------------------------------------------------------------------------------
// Window placement and appearance (positions and sizes in points, origin bottom left)
// ---------------------------------------------------------------------------------------

int64_t t_WindowPos(uint8_t window, int64_t code);
void t_WindowSize(uint8_t window, int64_t x, int64_t y, int64_t width, int64_t height);
void t_WindowTitle(uint8_t window, const std::string& title);
void t_WindowTitleVisible(uint8_t window, bool visible);
void t_WindowCenter(uint8_t window);
void t_WindowFront(uint8_t window);
void t_WindowVisible(uint8_t window, bool visible);
void t_ColorBorder(uint8_t window, int64_t colour);

// ---------------------------------------------------------------------------------------
// Text output (columns and lines count from 1)
// ---------------------------------------------------------------------------------------

// The code a display mode gives for a printed code (-1: nothing to draw, -2: the window was
// refused) with the inverse flag and colour byte to store after drawing.
struct t_DisplayModeResult {
    int64_t code;
    bool inverse;
    uint8_t colour;
};

// Draws `code` into cell (x, y) in the colour byte `colour` (ink in the high four bits, paper
// in the low four) and records it in text memory; the cursor does not move.
void t_PrintSymbol(uint8_t window, uint8_t code, uint8_t colour, int64_t x, int64_t y);
t_DisplayModeResult t_ApplyDisplayMode(uint8_t window, int64_t code);
void t_DisplayMode(uint8_t window, int64_t mode);
void t_Normal(uint8_t window);
void t_Inverse(uint8_t window);
void t_Reverse(uint8_t window);
void t_Color(uint8_t window, int64_t colour);

void t_Print(uint8_t window, const std::string& text);
void t_PrintChar(uint8_t window, uint8_t code);
void t_PrintControl(uint8_t window, uint8_t code);
void t_PrintTab(uint8_t window, int64_t column, uint8_t fill);
void t_Htab(uint8_t window, int64_t column);
void t_Cr(uint8_t window);
void t_CursorHome(uint8_t window);
void t_CursorEnd(uint8_t window);
void t_CursorRight(uint8_t window);
void t_CursorLeft(uint8_t window);
void t_CursorDown(uint8_t window);
void t_CursorUp(uint8_t window);

void t_ScrollUp(uint8_t window);
void t_ScrollDown(uint8_t window);
void t_ClearEndOfLine(uint8_t window);
void t_ClearEndOfWindow(uint8_t window);
void t_FullArea(uint8_t window);
void t_Header(uint8_t window, const std::string& left, const std::string& right);
void t_TextLine(uint8_t window);
void t_TextHline(uint8_t window, int64_t first, int64_t last, int64_t line, uint8_t code);
// Where text output goes: 1 the window, 2 standard output, anything else nowhere.
void t_RedirectOutput(uint8_t window, int64_t mode);
// Copies `count` bytes of the memory pool from index `from` to index `to`, as a memory move.
void movememory(int64_t from, int64_t to, int64_t count);

// ---------------------------------------------------------------------------------------
// Keyboard and the end of a program
// ---------------------------------------------------------------------------------------

// A key event (Kind 1) or a mouse event (Kind 2).
struct t_Event {
    int64_t Kind = 0;
    int64_t Index = 0;
    std::string Description;
    int64_t Value = 0;
    int64_t WindowX = 0;
    int64_t WindowY = 0;
    int64_t ClickX = 0;
    int64_t ClickY = 0;
    int64_t Mods = 0;
    uint8_t Window = 0;
    int64_t Time = 0;
    bool CloseBox = false;
    bool CapsLockPressed = false;
    bool ShiftPressed = false;
    bool ControlPressed = false;
    bool OptionPressed = false;
    bool CommandPressed = false;
    bool NumericPadPressed = false;
    bool HelpPressed = false;
    bool FnPressed = false;
    bool CursorKeyPressed = false;
    bool FunctionKeyPressed = false;
};

// Whether the key queue had events at its last check.
extern std::atomic<bool> keyEventPending;
// Takes the oldest key event into currentEvent() and returns its Value; -1 when there is none.
int64_t t_NextKeyEvent();
// The key event t_NextKeyEvent took last.
t_Event currentEvent();
// The key events waiting.
size_t keyeventcount();
// When the newest key event's Value is `key`: empties the key queue and, with `wait`, holds
// the calling thread until the next key (taken, its value returned) or menu event arrives.
std::pair<bool, int64_t> t_PauseOnKey(int64_t key, bool wait);
// Mouse-downs in the graphic windows, oldest first; the program takes them when it wants.
size_t mouseeventcount();
std::vector<t_Event> takemouseevents();
extern std::atomic<bool> mouseEventPending;
// Called on a worker thread after every mouse-down; does nothing unless the program sets it.
extern ClosureSlot programMouseHandler;

// A menu selection (Kind 3; 0 for a sender outside the menus).
struct t_MenuEvent {
    int64_t Kind = 0;
    std::string MenuTitle;
    std::string ItemTitle;
    std::string ItemKeyChar;
    uint64_t ItemKeyMods = 0;
    int64_t ItemKeyAsc = 0;
    int64_t ItemAction = 0;
    int64_t Time = 0;
};

// A built-in menu action: the tag it answers, the action number, and for the file panels
// (actions 100 and 101) their texts and, afterwards, the chosen file.
struct t_MenuAction {
    int64_t Tag = 0;
    int64_t Action = 0;
    std::string Title;
    std::string Note;
    std::string FileName;
    std::string FileTypes;
    std::string FilePath;
};

// Menu selections, oldest first; the program takes them when it wants.
size_t menueventcount();
std::vector<t_MenuEvent> takemenuevents();
extern std::atomic<bool> menuEventPending;
// Called on a worker thread after a selection without a built-in action.
extern ClosureSlot programMenuHandler;
// Called by the front-window action (113) when a graphic window is in front; beeps unless set.
extern ClosureSlot frontWindowActionHandler;

// Registers the built-in action `tag` (action number = tag, texts empty).
void t_MenuActionAdd(int64_t tag);
// The index of the first action answering `tag`; -1 for tag 0 or none.
int64_t t_MenuActionIndex(int64_t tag);
// A copy of the action at `index` (an empty action for an index out of range), and a change
// of it; the program sets the panel texts of actions 100 and 101 this way.
t_MenuAction t_MenuActionGet(int64_t index);
void t_MenuActionSet(int64_t index, const t_MenuAction& action);
// The position of `item` in the menu titled `menu`: -2 without such a menu, -1 without such an item.
int64_t t_MenuItemIndex(const std::string& menu, const std::string& item);
// Removes the item at `position` (65535: the last) of the menu titled `menu`.
void t_MenuItemDelete(const std::string& menu, int64_t position);
// The title of the item at `position` (65535: the last) of the menu titled `menu`.
std::string t_MenuItemTitle(const std::string& menu, int64_t position);

// Leaves "(Programm Ende)" in `window`, shows it and ends the program thread.
[[noreturn]] void t_QuitProgram(uint8_t window);

// ---------------------------------------------------------------------------------------
// File panels and the beep
// ---------------------------------------------------------------------------------------

// The path the user chose in the open panel, "" when cancelled; fileTypes is a "," separated
// list of extensions, "" for every file. Any thread may call it; it returns when the panel
// has closed.
std::string t_OpenPanel(const std::string& title, const std::string& message, const std::string& fileTypes,
                        bool chooseFiles, bool chooseDirectories);
// The path the user chose in the save panel, proposing `fileName`; "" when cancelled.
std::string t_SavePanel(const std::string& fileName, const std::string& title, const std::string& message,
                        const std::string& fileTypes);
// Sounds the beep (the system beep without a sound or audio device); from any thread.
void playBeep();
