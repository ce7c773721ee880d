// Printing, the cursor, control codes, scrolling, clearing and the text decorations.
#include "text/scrolling.h"
#include "window_test_support.h"
#include "windows/window_lookup.h"

#include <QWidget>

namespace {

class TextOutput : public ::testing::Test {
protected:
    // Window 1: 10 x 4 cells of the program's font at 24 bits.
    void SetUp() override
    {
        resetwindows();
        t_InitWindow(1, 24, 10, 4, 0, "MenloBold 16x32.font");
        ASSERT_TRUE(windowTable[1].Initialized);
    }
    void TearDown() override
    {
        windowobject(1)->hide();
        resetwindows();
    }

    static t_Window& w() { return windowTable[1]; }
    // The characters of line `line` of window 1.
    static std::string line(int64_t line)
    {
        std::string text;
        for (int64_t c = 1; c <= w().TextWidth; ++c) text.push_back(static_cast<char>(cellcode(1, c, line)));
        return text;
    }
    static void at(int64_t column, int64_t line)
    {
        w().TextHpos = column;
        w().TextVpos = line;
    }
};

}  // namespace

TEST_F(TextOutput, WrapsAndScrollsAtTheLastLine)
{
    t_Print(1, "first");
    at(9, 4);
    t_Print(1, "XY");
    EXPECT_EQ(line(3), "        XY");
    EXPECT_EQ(line(4), "          ");
    EXPECT_EQ(w().TextHpos, 1);
    EXPECT_EQ(w().TextVpos, 4);
    EXPECT_EQ(line(1), "          ");  // "first" scrolled off the top
}

TEST_F(TextOutput, ScrollLockKeepsTheAreaStill)
{
    t_Print(1, "first");
    w().ScrollLock = true;
    at(9, 4);
    auto lines = loglines([] { t_Print(1, "XY"); });
    EXPECT_TRUE(lines.empty());
    EXPECT_EQ(line(1), "first     ");
    EXPECT_EQ(line(4), "        XY");
    EXPECT_EQ(w().TextHpos, 1);
    EXPECT_EQ(w().TextVpos, 4);
}

TEST_F(TextOutput, ControlCodesMoveTheCursor)
{
    t_Print(1, "ab\ncd");
    EXPECT_EQ(line(1), "ab        ");
    EXPECT_EQ(line(2), "  cd      ");
    t_Print(1, "\r\x0f" "e\x0eX");
    EXPECT_EQ(cellcolour(1, 1, 3), 0x0C);  // inverse: ink 0 on paper 12
    EXPECT_EQ(cellcolour(1, 2, 3), 0xC0);
    t_PrintChar(1, 13);  // drawn, not performed
    EXPECT_EQ(cellcode(1, 3, 3), 13);
    at(1, 1);
    t_CursorLeft(1);  // wraps back to the last column and scrolls the area down
    EXPECT_EQ(w().TextHpos, 10);
    EXPECT_EQ(w().TextVpos, 1);
    EXPECT_EQ(line(2), "ab        ");
    t_Htab(1, 0);
    EXPECT_EQ(w().TextHpos, 10);
    t_Htab(1, 1);
    EXPECT_EQ(w().TextHpos, 1);
    at(4, 2);
    t_PrintTab(1, 11, '.');
    EXPECT_EQ(line(2), "ab .......");
    EXPECT_EQ(w().TextVpos, 3);  // column 11 lies past the edge: the cursor wrapped
    t_Print(1, "\x0c");
    for (int l = 1; l <= 4; ++l) EXPECT_EQ(line(l), "          ");
    EXPECT_EQ(w().TextHpos, 1);
    EXPECT_EQ(w().TextVpos, 1);
}

TEST_F(TextOutput, CodesBeyondTheFontPrintAQuestionMark)
{
    t_Print(1, "\u20ac");
    EXPECT_EQ(cellcode(1, 1, 1), '?');
    t_DisplayMode(1, 4);
    t_Print(1, "\u20ac");
    EXPECT_EQ(cellcolour(1, 2, 1) >> 4, 1);
    EXPECT_EQ(w().TextColor, 0xC0);
    t_Print(1, std::string("\xff"));  // not UTF-8: one character that cannot be shown
    EXPECT_EQ(cellcode(1, 3, 1), '?');
}

TEST_F(TextOutput, RedirectionMovesOnlyTheCursor)
{
    std::vector<uint8_t> before = graphicmemory(1);
    t_RedirectOutput(1, 2);
    testing::internal::CaptureStdout();
    t_Print(1, "Hallo");
    t_Cr(1);
    t_Print(1, "\r");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Hallo\r");
    EXPECT_EQ(w().TextVpos, 2);  // t_Cr moved the cursor; the carriage return went out as a character
    EXPECT_EQ(graphicmemory(1), before);
    EXPECT_EQ(line(1), "          ");
    t_RedirectOutput(1, 0);
    EXPECT_TRUE(loglines([] { t_Print(1, "weg"); }).empty());
    EXPECT_EQ(w().TextHpos, 4);
}

TEST_F(TextOutput, BothScrollPathsGiveTheSameScreen)
{
    for (int l = 1; l <= 4; ++l) {
        at(1, l);
        if (l == 2) t_Inverse(1);
        t_Print(1, "line " + std::to_string(l) + "abc");
        t_Normal(1);
    }
    std::vector<uint8_t> start(memoryPool.begin(), memoryPool.end());
    for (bool up : {true, false}) {
        std::copy(start.begin(), start.end(), memoryPool.begin());
        up ? t_ScrollUp(1) : t_ScrollDown(1);
        std::vector<uint8_t> moved(memoryPool.begin(), memoryPool.end());
        std::copy(start.begin(), start.end(), memoryPool.begin());
        scrollcells(1, up);
        t_TextHline(1, 1, 10, up ? 4 : 1, 32);
        EXPECT_TRUE(std::equal(moved.begin(), moved.end(), memoryPool.begin())) << (up ? "up" : "down");
    }
    EXPECT_EQ(line(1), "          ");
    EXPECT_EQ(line(2), "line 1abc ");
    EXPECT_EQ(cellcolour(1, 1, 3), 0x0C);
}

TEST_F(TextOutput, NarrowAreasScrollCellByCell)
{
    t_Print(1, "0123456789abcdefghij");
    w().TextFirstColumn = 3;
    w().TextLastColumn = 6;
    t_Inverse(1);
    t_ScrollUp(1);
    EXPECT_EQ(line(1), "01cdef6789");
    EXPECT_EQ(line(2), "ab    ghij");
    EXPECT_EQ(cellcolour(1, 3, 1), 0xC0);   // redrawn in its own colours
    EXPECT_EQ(cellcolour(1, 3, 4), 0x0C);   // the new blank line follows the current inverse
    EXPECT_TRUE(w().TextInverse);
    at(8, 1);  // right of the area: clearing stops at the cursor's own cell
    t_ClearEndOfLine(1);
    EXPECT_EQ(line(1), "01cdef6 89");
}

TEST_F(TextOutput, ClearingAndTheArea)
{
    t_Print(1, "0123456789abcdefghij");
    at(10, 1);
    t_ClearEndOfLine(1);
    EXPECT_EQ(line(1), "012345678 ");
    at(4, 1);
    t_ClearEndOfWindow(1);
    EXPECT_EQ(line(1), "012       ");
    EXPECT_EQ(line(2), "          ");
    EXPECT_EQ(w().TextHpos, 4);
    w().TextFirstLine = 2;
    w().TextLastColumn = 5;
    t_FullArea(1);
    EXPECT_EQ(w().TextFirstLine, 1);
    EXPECT_EQ(w().TextLastColumn, 10);
    EXPECT_EQ(loglines([] { t_ScrollUp(9); }), std::vector<std::string>{"t_ScrollUp: Window is not a graphic window."});
    EXPECT_EQ(loglines([] { t_ScrollUp(2); }), std::vector<std::string>{"t_ScrollUp: Window #2 not initialized."});
}

TEST_F(TextOutput, HeaderRuleAndLines)
{
    t_Header(1, "A", "B");
    EXPECT_EQ(line(1), "A        B");
    EXPECT_EQ(w().TextHpos, 1);
    EXPECT_EQ(w().TextVpos, 2);
    t_TextLine(1);
    EXPECT_EQ(line(2), std::string(10, char(156)));
    EXPECT_EQ(w().TextVpos, 3);
    t_TextHline(1, 5, 3, 3, 156);
    EXPECT_EQ(line(3), "          ");
    w().TextLastLine = w().TextFirstLine;  // an area one line high
    at(1, 1);
    t_Header(1, "links", "rechts-zu-lang");
    EXPECT_EQ(line(1), "linksrecht");
    EXPECT_EQ(w().TextVpos, 1);
    EXPECT_EQ(w().TextHpos, 1);
}

TEST_F(TextOutput, MovememoryIsAMemoryMoveInsideThePool)
{
    for (int i = 0; i < 10; ++i) memoryPool[100000 + i] = static_cast<uint8_t>(i);
    movememory(100000, 100002, 8);
    EXPECT_EQ(memoryPool[100002], 0);
    EXPECT_EQ(memoryPool[100009], 7);
    movememory(100002, 100000, 8);
    EXPECT_EQ(memoryPool[100000], 0);
    EXPECT_EQ(memoryPool[100007], 7);
    movememory(memoryPoolSize - 4, memoryPoolSize - 2, 4);  // would pass the end: nothing
    movememory(-1, 0, 4);
    movememory(0, 1, INT64_MAX);
    EXPECT_EQ(memoryPool[memoryPoolSize - 1], 255);
}
