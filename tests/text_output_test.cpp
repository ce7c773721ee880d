// Printing, the cursor, control codes, scrolling, clearing and the text decorations.
#include "text/scrolling.h"
#include "window_test_support.h"

namespace {

class TextOutput : public WindowTest {
protected:
    // Window 1: 10 x 4 cells of the program's font at 24 bits.
    void SetUp() override
    {
        WindowTest::SetUp();
        t_InitWindow(1, 24, 10, 4, 0, "MenloBold 16x32.font");
        ASSERT_TRUE(windowTable[1].Initialized);
    }

    static t_Window& w() { return windowTable[1]; }
    // The characters of line `line` of window 1, or of all its lines.
    static std::string line(int64_t line)
    {
        std::string text;
        for (int64_t c = 1; c <= w().TextWidth; ++c) text.push_back(static_cast<char>(cellcode(1, c, line)));
        return text;
    }
    static Lines screen() { return {line(1), line(2), line(3), line(4)}; }
    static std::tuple<int64_t, int64_t> cursor() { return {w().TextHpos, w().TextVpos}; }
    static void at(int64_t column, int64_t line) { std::tie(w().TextHpos, w().TextVpos) = std::tuple(column, line); }
};

const std::string blank(10, ' ');

}  // namespace

TEST_F(TextOutput, WrapsAndScrollsAtTheLastLineUnlessLocked)
{
    for (bool locked : {false, true}) {
        t_Print(1, "\x0c" "first");
        w().ScrollLock = locked;
        at(9, 4);
        EXPECT_TRUE(loglines([] { t_Print(1, "XY"); }).empty());
        // Locked, the area stays still; else "first" scrolls off the top.
        EXPECT_EQ(screen(), (locked ? Lines{"first     ", blank, blank, "        XY"} : Lines{blank, blank, "        XY", blank}));
        EXPECT_EQ(cursor(), std::tuple(1, 4)) << locked;
    }
}

TEST_F(TextOutput, CodesBeyondTheFontPrintAQuestionMarkAndTheCursorWrapsBack)
{
    t_PrintChar(1, 13);  // drawn, not performed
    t_Print(1, "\u20ac" "\xff");  // beyond the font; not UTF-8: one character that cannot be shown
    EXPECT_EQ(line(1), "\r??       ");
    t_DisplayMode(1, 4);
    t_Print(1, "\u20ac");
    EXPECT_EQ(std::tuple(cellcolour(1, 4, 1) >> 4, int(w().TextColor)), std::tuple(1, 0xC0));
    at(1, 1);
    t_CursorLeft(1);  // wraps back to the last column and scrolls the area down
    EXPECT_EQ(std::tuple(cursor(), line(2)), std::tuple(std::tuple(10, 1), "\r???      "));
}

TEST_F(TextOutput, RedirectionMovesOnlyTheCursor)
{
    const std::vector<uint8_t> before(memoryPool.begin(), memoryPool.end());
    t_RedirectOutput(1, 2);
    testing::internal::CaptureStdout();
    t_Print(1, "Hallo");
    t_PrintSymbol(1, 0xE4, 192, 2, 1);  // goes out in UTF-8
    t_Cr(1);
    t_Print(1, "\r");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Hallo\xC3\xA4\r");
    EXPECT_EQ(w().TextVpos, 2);  // t_Cr moved the cursor; the carriage return went out as a character
    t_RedirectOutput(1, 0);
    EXPECT_TRUE(loglines([] { t_PrintSymbol(1, 'B', 192, 1, 1); t_Print(1, "weg"); }).empty());
    EXPECT_EQ(w().TextHpos, 4);
    EXPECT_TRUE(std::equal(before.begin(), before.end(), memoryPool.begin()));  // neither graphic nor text memory changed
}

// The memory moves below scrolling work either way and stay inside the pool.
TEST_F(TextOutput, MemoryMovesStayInsideThePool)
{
    for (int i = 0; i < 10; ++i) memoryPool[100000 + i] = static_cast<uint8_t>(i);
    movememory(100000, 100002, 8);
    EXPECT_EQ(std::tuple(memoryPool[100002], memoryPool[100009]), std::tuple(0, 7));
    movememory(100002, 100000, 8);
    EXPECT_EQ(std::tuple(memoryPool[100000], memoryPool[100007]), std::tuple(0, 7));
    movememory(memoryPoolSize - 4, memoryPoolSize - 2, 4);  // would pass the end: nothing
    movememory(-1, 0, 4);
    movememory(0, 1, INT64_MAX);
    EXPECT_EQ(memoryPool[memoryPoolSize - 1], 255);
}

TEST_F(TextOutput, TheAreaAndClearingInIt)
{
    w().TextFirstLine = 2;
    w().TextLastColumn = 5;
    t_FullArea(1);
    EXPECT_EQ(std::tuple(w().TextFirstLine, w().TextLastColumn), std::tuple(1, 10));
    // A narrow area scrolls cell by cell.
    t_Print(1, "0123456789abcdefghij");
    w().TextFirstColumn = 3;
    w().TextLastColumn = 6;
    t_Inverse(1);
    t_ScrollUp(1);
    EXPECT_EQ(screen(), (Lines{"01cdef6789", "ab    ghij", blank, blank}));
    EXPECT_EQ(cellcolour(1, 3, 1), 0xC0);  // redrawn in its own colours
    EXPECT_EQ(cellcolour(1, 3, 4), 0x0C);  // the new blank line follows the current inverse
    EXPECT_TRUE(w().TextInverse);
    at(8, 1);  // right of the area: clearing stops at the cursor's own cell
    t_ClearEndOfLine(1);
    EXPECT_EQ(line(1), "01cdef6 89");
}

TEST_F(TextOutput, HeaderRuleAndLines)
{
    t_Header(1, "A", "B");
    EXPECT_EQ(std::tuple(line(1), cursor()), std::tuple("A        B", std::tuple(1, 2)));
    t_TextLine(1);
    EXPECT_EQ(std::tuple(line(2), w().TextVpos), std::tuple(std::string(10, char(156)), 3));
    t_TextHline(1, 5, 3, 3, 156);
    EXPECT_EQ(line(3), blank);
    // Beside the screen a rule is refused once on each side it passes.
    const auto refusal = [](int64_t x) { return "t_PrintSymbol: Window #1 illegal coordinates (x = " + std::to_string(x) + ", y = 3)."; };
    for (auto [first, last] : {std::pair<int64_t, int64_t>{20, 30}, {INT64_MIN, -3}, {-2, INT64_MAX}}) {
        Lines expected;
        if (first < 1) expected.push_back(refusal(first));
        if (last > 10) expected.push_back(refusal(std::max<int64_t>(first, 11)));
        EXPECT_EQ(loglines([first = first, last = last] { t_TextHline(1, first, last, 3, 156); }), expected) << first;
    }
    w().TextLastLine = w().TextFirstLine;  // an area one line high
    at(1, 1);
    t_Header(1, "links", "rechts-zu-lang");
    EXPECT_EQ(std::tuple(line(1), cursor()), std::tuple("linksrecht", std::tuple(1, 1)));
}

TEST_F(TextOutput, TabsToAnyColumnLeaveTheScreenOfTheWholeLoop)
{
    // Once the screen has settled it repeats with every line of 10 fills: the tab is compared
    // with its whole loop, or beyond 200 fills with as many fills modulo whole lines.
    const auto fromColumnThree = [](const std::function<void()>& print) {
        t_Print(1, "\x0c" "abc");
        at(3, 2);
        print();
        return std::tuple(screen(), cursor());
    };
    for (int64_t column : {INT64_MIN, int64_t{0}, int64_t{11}, int64_t{157}, INT64_MAX}) {  // 11: just past the edge
        const int64_t fills = column <= 3 ? 0 : column - 3 > 200 ? 200 + (column - 3 - 200) % 10 : column - 3;
        EXPECT_EQ(fromColumnThree([&] { t_PrintTab(1, column, '.'); }),
                  fromColumnThree([&] { for (int64_t n = 0; n < fills; ++n) t_PrintChar(1, '.'); })) << column;
    }
}

TEST_F(TextOutput, EveryControlCodeThroughPrint)
{
    // From "0123456789" / "abcdefghij" with the cursor at (5, 2), display mode 1 and inverse.
    const std::string one = "0123456789", two = "abcdefghij", twoCut = "abcd      ";
    struct Case { int code; std::tuple<int64_t, int64_t> cursor; std::string line1, line2; int64_t mode; bool inverse; };
    const Case cases[] = {
        {7, {5, 2}, one, two, 1, true}, {8, {4, 2}, one, two, 1, true}, {10, {5, 3}, one, two, 1, true},
        {11, {5, 2}, one, twoCut, 1, true}, {12, {1, 1}, blank, blank, 1, true}, {13, {1, 3}, one, two, 1, true},
        {14, {5, 2}, one, two, 1, false}, {17, {5, 2}, one, two, 1, false}, {18, {1, 2}, one, two, 1, true},
        {19, {5, 2}, one, two, 0, true}, {20, {5, 2}, one, two, 1, true}, {22, {5, 2}, blank, one, 1, true},
        {23, {5, 2}, two, blank, 1, true}, {25, {1, 1}, one, two, 1, true}, {26, {1, 2}, one, blank, 1, true},
        {27, {5, 2}, one, two, 99, true}, {28, {6, 2}, one, two, 1, true}, {29, {5, 2}, one, twoCut, 1, true},
        {30, {5, 1}, one, two, 1, true}, {31, {5, 2}, one, two, 2, true}};
    for (const Case& c : cases) {
        t_DisplayMode(1, 0);
        t_Print(1, "\x0c" + one + two);
        std::tie(w().TextDisplayMode, w().TextInverse) = std::tuple(c.code == 20 ? 0 : 1, true);
        at(5, 2);
        EXPECT_TRUE(loglines([&] { t_Print(1, std::string(1, char(c.code))); }).empty()) << c.code;
        EXPECT_EQ(std::tuple(cursor(), line(1), line(2), w().TextDisplayMode, w().TextInverse),
                  std::tuple(c.cursor, c.line1, c.line2, c.mode, c.inverse)) << c.code;
    }
    t_Inverse(1);
    t_Print(1, "\x0e\x0f");
    EXPECT_TRUE(w().TextInverse);  // 15 after 14
    // Control codes in display modes 3 and above are printed.
    t_DisplayMode(1, 5);
    at(1, 1);
    t_Print(1, "\x0c");
    EXPECT_EQ(std::tuple(cellcode(1, 1, 1), cursor()), std::tuple(12, std::tuple(2, 1)));
}

TEST_F(TextOutput, RefusalsAndTheTabLimit)
{
    EXPECT_EQ(loglines([] { t_PrintChar(9, 'A'); t_PrintChar(2, 'A'); t_Print(2, "A"); }),
              (Lines{"t_PrintChar: Window is not a graphic window.", "t_PrintChar: Window #2 not initialized.",
                     "t_Print: Window #2 not initialized."}));
    // Another font replaces only the font, and only in a created graphic window.
    const t_Font font = w().Font;
    at(3, 2);
    EXPECT_EQ(loglines([] { t_WindowFont(8, t_Font{}); t_WindowFont(2, t_Font{}); t_WindowFont(1, t_Font{}); }),
              (Lines{"t_WindowFont: Window is not a graphic window.", "t_WindowFont: Window #2 not initialized."}));
    EXPECT_EQ(std::tuple(cursor(), w().Font.Data.empty()), std::tuple(std::tuple(3, 2), true));
    EXPECT_EQ(loglines([] { t_Print(1, "A"); }), Lines{"t_Print: Window #1 has no text font."});
    EXPECT_EQ(loglines([] { t_PrintChar(1, 'A'); }), Lines{"t_PrintSymbol: Window #1 not initialized."});
    t_WindowFont(1, font);
    // t_PrintControl on a window without a text screen, by redirection: only 1 is refused.
    t_InitWindow(2, 8, false, 64, 64, 0, 0, t_Font{}, true);
    for (auto [mode, printed] : {std::pair<int64_t, std::string>{1, "t_PrintControl: Window #2 not initialized.\n"},
                                 {2, "\r"}, {0, ""}, {7, ""}}) {
        t_RedirectOutput(2, mode);
        testing::internal::CaptureStdout();
        t_PrintControl(2, 13);
        EXPECT_EQ(testing::internal::GetCapturedStdout(), printed) << mode;
    }
    // t_Htab reaches the screen's last column counted from the area's first.
    w().TextFirstColumn = 3;
    for (auto [column, hpos] : {std::pair{8, 10}, {9, 10}, {1, 3}, {-1, 3}}) {
        t_Htab(1, column);
        EXPECT_EQ(w().TextHpos, hpos) << column;
    }
}

TEST_F(TextOutput, ScrollingMovesTheSameBytesAsRedrawingAtEveryDepth)
{
    // Cells of 16 x 3 on 72 x 35 pixels: the text is narrower and shorter than the picture,
    // and the area begins at line 2. The blank (32) is the only glyph without ink.
    t_Font font = cellfont(16, 3, 256 * 48);
    for (size_t i = 0; i < font.Data.size(); ++i) font.Data[i] = i / 48 == 32 ? 0 : static_cast<uint8_t>(i * 37);
    for (int64_t depth : {1, 4, 8, 16, 24, 32}) {
        t_InitWindow(2, depth, false, 72, 35, 0, 0, font, true);
        t_Window& v = windowTable[2];
        for (int64_t cell = 0; cell < 20; ++cell) t_PrintSymbol(2, uint8_t(65 + cell), uint8_t(cell * 17), cell % 4 + 1, cell / 4 + 1);
        v.TextFirstLine = 2;
        const std::vector<uint8_t> start(memoryPool.begin(), memoryPool.end());
        for (bool up : {true, false}) {
            std::copy(start.begin(), start.end(), memoryPool.begin());
            up ? t_ScrollUp(2) : t_ScrollDown(2);
            const std::vector<uint8_t> moved(memoryPool.begin(), memoryPool.end());
            std::copy(start.begin(), start.end(), memoryPool.begin());
            scrollcells(2, up);
            t_TextHline(2, 1, 4, up ? 11 : 2, 32);
            EXPECT_TRUE(std::equal(moved.begin(), moved.end(), memoryPool.begin())) << depth << (up ? " up" : " down");
            EXPECT_EQ(std::tuple(cellcode(2, 1, 1), cellcode(2, 1, up ? 2 : 3)), std::tuple('A', up ? 'I' : 'E')) << depth;
        }
    }
}
