// vxdemo: a tour of the vxtools runtime, and a place to try every event path by hand.
//
// It shows the 16 colours, inverse text and the display modes, then echoes every key with
// its codes, marks every mouse click in the picture with a star, and reacts to menu items:
// "Ablage > Programmaktion" (an item without a built-in action, so it reaches the program's
// menu handler) and "Öffnen …" / "Sichern unter …", whose panels the program registers.
// Escape ends the program; the window stays until the application is quit.
//
// Build: cmake --build build --target vxdemo; run: build/examples/vxdemo/VxDemo.app/Contents/bin/vxdemo
#include "vxtools.h"

#include <atomic>
#include <chrono>
#include <thread>

namespace {

constexpr uint8_t screen = 0;
constexpr int64_t logFirstLine = 13;  // the lines below the demonstrations scroll as a log

std::atomic<int> menuChoices{0};

// Prints `text` in the window's colours `ink` on `paper` (palette indexes) with escapes:
// Escape + "@" ... "O" sets the ink, Escape + "P" ... "_" the paper.
void printColoured(const std::string& text, int ink, int paper)
{
    std::string escapes = {'\x1b', static_cast<char>('@' + ink), '\x1b', static_cast<char>('P' + paper)};
    t_Print(screen, escapes + text + "\x1b" "L\x1b" "P");  // back to green (12) on black
}

void showColoursAndModes()
{
    t_Header(screen, "vxdemo", "Tasten, Maus, Menüs");
    t_TextLine(screen);
    t_Print(screen, "Die 16 Farben:  ");
    for (int colour = 0; colour < 16; ++colour) printColoured(formatinteger(colour, 32, 3, false) + " ", 15 - colour, colour);
    t_Cr(screen);
    t_Print(screen, "Normal, \x0finvers\x0e, \x11umgekehrt\x11 und wieder normal.");
    t_Cr(screen);
    t_Print(screen, "Modus 1 (obere Hälfte):  \x14" "ABCDEFGHIJKLMNOPQRSTUVWXYZ\x13");
    t_Cr(screen);
    t_Print(screen, "Modus 2 (Kontrollbilder):  \x1f" "@ABCDEFGHIJKLMNOPQRSTUVWXYZ\x13");
    t_Cr(screen);
    t_DisplayMode(screen, 3);
    t_Print(screen, "Modus 3 (Steuerzeichen invers): \x01\x02\x03");
    t_DisplayMode(screen, 0);
    t_Cr(screen);
    t_Print(screen, "Tabulatoren:\x1bi|\x1bi|\x1bj|");
    t_Cr(screen);
    t_TextLine(screen);
    t_Print(screen, "Tippen Sie, klicken Sie ins Bild, wählen Sie Menüs. Escape beendet.");
    t_Cr(screen);
    t_TextLine(screen);
}

// The log area: the lines from logFirstLine down scroll; the demonstrations above stay.
void useLogArea()
{
    windowTable[screen].TextFirstLine = logFirstLine;
    t_Htab(screen, 1);
    windowTable[screen].TextVpos = logFirstLine;
}

void logKey(int64_t value)
{
    const t_Event key = currentEvent();
    const bool special = key.CursorKeyPressed || key.FunctionKeyPressed;
    std::string shown = value >= 32 && value != 127 && !special ? std::string("'") + key.Description + "'"
                                                                 : special ? "" : "Steuerzeichen";
    t_Print(screen, "Taste: Wert " + formatinteger(value, 32, 3, false) + "  Position " +
                        formatinteger(key.Index, 32, 3, false) + "  " + shown +
                        (key.CursorKeyPressed ? "  Cursortaste" : "") + (key.FunctionKeyPressed ? "  Funktionstaste" : ""));
    t_Cr(screen);
}

void logClick(const t_Event& click)
{
    const int64_t column = click.ClickX / 16 + 1, line = click.ClickY / 32 + 1;
    t_Print(screen, "Maus: Spalte " + std::to_string(click.ClickX) + ", Zeile " + std::to_string(click.ClickY) +
                        " (Zeichen " + std::to_string(column) + "/" + std::to_string(line) + ")");
    t_Cr(screen);
    if (click.ClickX >= 0 && click.ClickY >= 0) t_PrintSymbol(screen, '*', 0x1F, column, line);
}

void logMenu(const t_MenuEvent& choice)
{
    std::string text = "Menü: " + choice.MenuTitle + " > " + choice.ItemTitle + " (Tag " +
                       std::to_string(choice.ItemAction) + ")";
    if (choice.ItemAction == 100 || choice.ItemAction == 101) {
        const t_MenuAction panel = t_MenuActionGet(t_MenuActionIndex(choice.ItemAction));
        text += panel.FilePath.empty() ? " abgebrochen" : ": " + panel.FilePath;
    }
    t_Print(screen, text);
    t_Cr(screen);
}

// The open and save panels of the File menu, with their texts.
void registerPanels()
{
    for (int64_t tag : {100, 101}) {
        t_MenuActionAdd(tag);
        t_MenuAction panel = t_MenuActionGet(t_MenuActionIndex(tag));
        panel.Title = tag == 100 ? "Datei öffnen" : "Datei sichern";
        panel.Note = "vxdemo zeigt den gewählten Pfad an.";
        panel.FileName = "vxdemo.txt";
        panel.FileTypes = tag == 100 ? "" : "txt";
        t_MenuActionSet(t_MenuActionIndex(tag), panel);
    }
}

void demo()
{
    t_InitWindow(screen, 24, 80, 25, 16, "MenloRegular 16x32.font");
    t_WindowCenter(screen);
    t_WindowFront(screen);
    registerPanels();
    programMenuHandler = [] { ++menuChoices; };
    frontWindowActionHandler = [] { ++menuChoices; };
    showColoursAndModes();
    useLogArea();
    for (;;) {
        for (int64_t value; (value = t_NextKeyEvent()) >= 0;) {
            logKey(value);
            // The Escape key by its position: the pad's Clear key (NumLock) gives 27 as well.
            if (currentEvent().Index == 53) t_QuitProgram(screen);
        }
        for (const t_Event& click : takemouseevents()) logClick(click);
        for (const t_MenuEvent& choice : takemenuevents()) logMenu(choice);
        // Forty looks a second: a key's echo is still at once to the eye, and waiting costs little.
        std::this_thread::sleep_for(std::chrono::milliseconds(25));
    }
}

}  // namespace

int main(int argc, char** argv)
{
    return runprogram(argc, argv, demo);
}
