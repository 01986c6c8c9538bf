#include "editor/TextColours.h"

#include "editor/ClipboardText.h"
#include "editor/EditorCommands.h"

#include <gtest/gtest.h>
#include <set>

using ColourRun = TextColours::Run;

TEST(TextColours, RunsFollowTheBlocksAndIgnoreBlocksOutOfOrderOrRange) {
    EXPECT_EQ(TextColours::RunsFromBlocks({}, 3), (std::vector<ColourRun>{{0, 3, 2}}));
    EXPECT_EQ(TextColours::RunsFromBlocks({{2, 6}, {4, 7}}, 6),
              (std::vector<ColourRun>{{0, 2, 2}, {2, 4, 6}, {4, 6, 7}}));
    EXPECT_EQ(TextColours::RunsFromBlocks({{3, 6}, {1, 8}, {3, 7}, {9, 6}}, 5),
              (std::vector<ColourRun>{{0, 3, 2}, {3, 5, 7}}));
    EXPECT_TRUE(TextColours::RunsFromBlocks({{0, 6}}, 0).empty());
}

TEST(TextColours, DefaultColoursMarkedLinesAndMarginPictures) {
    EXPECT_FALSE(TextColours::DefaultColour(TextColours::Background).has_value());
    EXPECT_EQ(*TextColours::DefaultColour(11), (TextColours::Rgb{0, 128, 192}));
    EXPECT_EQ(*TextColours::DefaultColour(13), (TextColours::Rgb{255, 0, 0}));
    EXPECT_EQ(*TextColours::MarkedLineColours(0x40000 | 0x10000).background,
              (TextColours::Rgb{0, 128, 0}));
    EXPECT_EQ(*TextColours::MarkedLineColours(0x200000).background,
              (TextColours::Rgb{128, 128, 0}));
    EXPECT_FALSE(TextColours::MarkedLineColours(0x20000).fillRow);
    EXPECT_EQ(TextColours::MarginPicture(0), -1);
    EXPECT_EQ(TextColours::MarginPicture(0x2), 4);       // bookmark 1
    EXPECT_EQ(TextColours::MarginPicture(0x1), 13);      // bookmark 0
    EXPECT_EQ(TextColours::MarginPicture(0x100000), 14); // plain bookmark
    EXPECT_EQ(TextColours::MarginPicture(0x100000 | 0x40000), 2);
}

TEST(ClipboardText, LineFeedsBecomeBufferBreaksAndUnsavableTextIsRefused) {
    std::string bytes;
    EXPECT_TRUE(ClipboardText::ToBuffer(u"a\nb\r\nc\rd\u00e9", bytes));
    EXPECT_EQ(bytes, "a\r\nb\r\nc\rd\xe9");
    for (const std::u16string& bad :
         {std::u16string(u"a\u0100"), std::u16string(u"x\x7f"), std::u16string(u"n\0l", 3)}) {
        EXPECT_FALSE(ClipboardText::ToBuffer(bad, bytes));
        EXPECT_TRUE(bytes.empty());
    }
}

TEST(EditorCommands, EveryCommandHasAUniqueIdANameAndIsFoundByItsId) {
    std::set<int> ids;
    for (const auto table : {EditorCommands::ViewCommands(), EditorCommands::EditCommands()}) {
        for (const EditorCommands::Command& command : table) {
            EXPECT_TRUE(ids.insert(command.id).second) << command.id;
            EXPECT_NE(std::string(command.name), "") << command.id;
            EXPECT_EQ(EditorCommands::Lookup(command.id), &command) << command.id;
            if (command.extendsSelection) {
                // A Shift form follows the plain move it extends.
                const EditorCommands::Command* plain = EditorCommands::Lookup(command.id - 1);
                ASSERT_NE(plain, nullptr) << command.name;
                EXPECT_FALSE(plain->extendsSelection) << command.name;
            }
        }
    }
    // The numbered bookmarks: one Toggle and one Go per digit.
    for (int digit = 0; digit < 10; ++digit) {
        const auto* toggle = EditorCommands::Lookup(EditorCommands::ToggleBookmark0 + digit);
        const auto* go = EditorCommands::Lookup(EditorCommands::GoBookmark0 + digit);
        ASSERT_NE(toggle, nullptr) << digit;
        ASSERT_NE(go, nullptr) << digit;
        EXPECT_EQ(std::string(toggle->name), "Toggle Bookmark " + std::to_string(digit));
    }
    EXPECT_TRUE(EditorCommands::Lookup(EditorCommands::ExtWordLeft)->extendsSelection);
    EXPECT_EQ(EditorCommands::Lookup(1), nullptr);
}
