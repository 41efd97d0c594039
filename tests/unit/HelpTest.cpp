#include "Help.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <string>
#include <vector>

namespace {

/// A page as the panel must receive it: rows joined by one carriage return, two after the last.
std::string Page(std::initializer_list<const char*> rows) {
    std::string text;
    for (const char* row : rows) {
        text += row;
        text += '\r';
    }
    return text + '\r';
}

std::vector<std::string> Rows(const std::string& page) {
    std::vector<std::string> rows;
    std::string::size_type start = 0;
    for (auto end = page.find('\r'); end != std::string::npos; end = page.find('\r', start)) {
        rows.push_back(page.substr(start, end - start));
        start = end + 1;
    }
    return rows;
}

TEST(HelpTest, PagesWrittenRowByRow) {
    EXPECT_EQ(HelpPage(1),
              Page({"Use without the panel (1).", "", "The beginning of the line is obtained by a first click.",
                    "The cursor is then moved, which shows annotations indicating the segment length and "
                    "its angle to the horizontal.",
                    "",
                    "For the following segments, the angle is the angle relative to the segment that has "
                    "just been drawn."}));
    EXPECT_EQ(HelpPage(2), Page({"Use without the panel (2).", "", "The segment length can be constrained or not.",
                                 "To move from one state to another, use the ALT key while moving.",
                                 "The angle of the segment can be constrained or not.",
                                 "To move from one state to another, use the SHIFT key while moving."}));
    EXPECT_EQ(HelpPage(6), Page({"ALT-CLIC", "", "ALT-Click on the workplan to show or hide the panel.", "",
                                 "To select the tool, simply click on the panel."}));
    EXPECT_EQ(HelpPage(9),
              Page({"Preferences (1).", "", "The preferences allow you to choose the scale at which we draw.", "",
                    "They also allow you to choose the number of digits after the decimal point that will "
                    "be used to display annotations (from 0 to 6).",
                    "",
                    "You can choose the value of the constraint length (by default 2 mm) and the "
                    "constraint value for the angles (by default 5\xA1"
                    ")."}));
    EXPECT_EQ(HelpPage(10), Page({"Preferences (2).", "",
                                  "You can choose to inverse the functioning of Shift and Alt keys (by default, the "
                                  "cursor will be moved freely and by pressing ALT and/or SHIFT keys the constraints "
                                  "will be used)",
                                  "", "At last, the size of annotations displayed can be chosen."}));
}

TEST(HelpTest, EveryPageHasTheSameShape) {
    const char* titles[] = {"Use without the panel (1).", "Use without the panel (2).",
                            "Use without the panel (3).", "Use without the panel (4).",
                            "Use without the panel (5).", "ALT-CLIC",
                            "Use with the panel (1).",    "Use with the panel (2).",
                            "Preferences (1).",           "Preferences (2)."};
    const std::size_t rowCount[] = {6, 6, 7, 6, 6, 5, 6, 3, 7, 5};
    for (int number = 1; number <= help::kPageCount; ++number) {
        SCOPED_TRACE(number);
        ASSERT_NE(HelpPage(number), nullptr);
        const std::string page = HelpPage(number);
        // Rows end with one carriage return and the page with one more; no other line break.
        ASSERT_GE(page.size(), 2u);
        EXPECT_EQ(page.substr(page.size() - 2), "\r\r");
        EXPECT_EQ(page.find("\r\r\r"), std::string::npos);
        EXPECT_EQ(page.find('\n'), std::string::npos);
        const std::vector<std::string> rows = Rows(page);
        ASSERT_EQ(rows.size(), rowCount[number - 1] + 1);
        EXPECT_EQ(rows.front(), titles[number - 1]);
        EXPECT_EQ(rows[1], "");
        EXPECT_EQ(rows.back(), "");
        EXPECT_NE(rows[rows.size() - 2], "");
        // Only page 9's degree sign lies outside ASCII, as one Mac OS Roman byte.
        const auto nonAscii = std::count_if(page.begin(), page.end(), [](char c) { return (c & 0x80) != 0; });
        EXPECT_EQ(nonAscii, number == 9 ? 1 : 0);
    }
    EXPECT_NE(std::string(HelpPage(9)).find("5\xA1)."), std::string::npos);
}

TEST(HelpTest, NoPageOutsideOneToTen) {
    EXPECT_EQ(HelpPage(0), nullptr);
    EXPECT_EQ(HelpPage(-1), nullptr);
    EXPECT_EQ(HelpPage(help::kPageCount + 1), nullptr);
}

}  // namespace
