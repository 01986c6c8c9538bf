#include "app/CommandTable.h"

#include "app/CRecentFileList.h"
#include "app/CommandEnabling.h"
#include "app/CommandLine.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <set>

namespace {

using namespace CommandTable;

std::vector<int> Ids(const Menu& menu) {
    std::vector<int> ids;
    for (const MenuItem& item : menu.items) {
        if (item.id != Separator) {
            ids.push_back(item.id);
        }
    }
    return ids;
}

TEST(CommandTable, EveryIdIsOnceInTheTableAndEveryMenuToolbarAndKeyIdIsThere) {
    std::set<int> ids;
    for (const Command& command : Commands()) {
        EXPECT_TRUE(ids.insert(command.id).second) << command.id;
    }
    for (const auto* menus : {&NoDocumentMenu(), &DocumentMenu()}) {
        for (const Menu& menu : *menus) {
            for (const MenuItem& item : menu.items) {
                EXPECT_TRUE(item.id <= 0 || Find(item.id) != nullptr) << item.id;
            }
        }
    }
    for (int id : Toolbar()) {
        EXPECT_TRUE(id == Separator || Find(id) != nullptr) << id;
    }
    for (const Accelerator& accelerator : Accelerators()) {
        EXPECT_NE(Find(accelerator.id), nullptr) << accelerator.key;
    }
    EXPECT_EQ(Find(12345), nullptr);
}

TEST(CommandTable, TheTwoMenuStatesCarryTheirItemsInOrder) {
    ASSERT_EQ(NoDocumentMenu().size(), 3u);
    EXPECT_EQ(Ids(NoDocumentMenu()[0]),
              (std::vector<int>{FileNew, FileOpen, FilePrintSetup, RecentFiles, AppExit}));
    EXPECT_EQ(Ids(NoDocumentMenu()[1]), (std::vector<int>{ViewToolbar, ViewStatusBar}));
    EXPECT_EQ(Ids(NoDocumentMenu()[2]), (std::vector<int>{HelpExamples, AppAbout}));

    std::vector<std::string_view> titles;
    for (const Menu& menu : DocumentMenu()) {
        titles.push_back(menu.title);
    }
    EXPECT_EQ(titles, (std::vector<std::string_view>{"&File", "&Edit", "&View", "&Window", "&Debug",
                                                     "&Help"}));
    EXPECT_EQ(Ids(DocumentMenu()[0]), (std::vector<int>{57600, 57601, 57602, 57603, 57604, 57607,
                                                        57609, 57606, RecentFiles, 57665}));
    EXPECT_EQ(Ids(DocumentMenu()[1]),
              (std::vector<int>{57643, 57635, 57634, 57637, 57636, 57641, 32877}));
    EXPECT_EQ(Ids(DocumentMenu()[4]), (std::vector<int>{32821, 32822, 32823, 32824, 32825}));
    EXPECT_EQ(Ids(DocumentMenu()[5]), (std::vector<int>{32832, HelpExamples, 57664}));

    struct Text {
        int id;
        std::string_view text;
    };
    for (const Text& expected :
         {Text{57600, "&New\tCtrl+N"}, Text{57601, "&Open...\tCtrl+O"}, Text{57604, "Save &As..."},
          Text{57609, "Print Pre&view"}, Text{57606, "P&rint Setup..."}, Text{57665, "E&xit"},
          Text{57635, "Cu&t\tCtrl+X"}, Text{32877, "Pr&eferences"}, Text{32824, "Step &Over (F10)"},
          Text{57664, "&About Zorvan..."}, Text{32832, "&HTML Documentation"},
          Text{HelpExamples, "&Examples..."}}) {
        EXPECT_EQ(Find(expected.id)->menuText, expected.text) << expected.id;
    }
}

TEST(CommandTable, ToolbarGroupsAndPromptsFollowTheResources) {
    // Groups of buttons, each a command of the table with a tip, none shown twice.
    const std::vector<int>& toolbar = Toolbar();
    ASSERT_FALSE(toolbar.empty());
    EXPECT_NE(toolbar.front(), Separator);
    EXPECT_NE(toolbar.back(), Separator);
    std::set<int> shown;
    for (std::size_t i = 0; i < toolbar.size(); ++i) {
        if (toolbar[i] == Separator) {
            EXPECT_NE(toolbar[i - 1], Separator) << "empty group at " << i;
            continue;
        }
        EXPECT_TRUE(shown.insert(toolbar[i]).second) << toolbar[i];
        const Command* command = Find(toolbar[i]);
        ASSERT_NE(command, nullptr) << toolbar[i];
        EXPECT_NE(command->ToolTip(), "") << toolbar[i];
    }
    const Command* compile = Find(Compile);
    EXPECT_EQ(compile->Prompt(), "Compiles the current file and brings up the 8085 simulator");
    EXPECT_EQ(compile->ToolTip(), "Build (F7)");
    EXPECT_EQ(Find(Disassembly)->ToolTip(), "Disassembly");
    EXPECT_EQ(Find(EditPreferencesButton)->resource, "Edit Preferences\nEdit Preferences");
    EXPECT_EQ(Find(FileRecentFirst)->ToolTip(), "");
}

TEST(CommandTable, EveryKeyIsBoundOnceAndTheAcceleratorTablesAreAllThere) {
    std::set<std::string_view> keys;
    for (const Accelerator& accelerator : Accelerators()) {
        EXPECT_TRUE(keys.insert(accelerator.key).second) << accelerator.key << " bound twice";
    }
    struct Key {
        std::string_view key;
        int id;
    };
    // The main accelerators, the source view's keys and a sample of the editor's.
    for (const Key& expected : {Key{"Ctrl+F", 57636},    Key{"Ctrl+N", 57600},
                                Key{"Ctrl+O", 57601},    Key{"Ctrl+P", 57607},
                                Key{"Ctrl+R", 57641},    Key{"Ctrl+S", 57603},
                                Key{"Ctrl+V", 57637},    Key{"Alt+Backspace", 57643},
                                Key{"Shift+Del", 57635}, Key{"F1", 32833},
                                Key{"F10", 32817},       Key{"Ctrl+F10", 32816},
                                Key{"F11", 32782},       Key{"F5", 32815},
                                Key{"Shift+F5", 32850},  Key{"Shift+F6", 57681},
                                Key{"F7", 32792},        Key{"F9", 32826},
                                Key{"Ctrl+F9", 32780},   Key{"Ctrl+Ins", 57634},
                                Key{"Shift+Ins", 57637}, Key{"Ctrl+X", 57635},
                                Key{"Ctrl+Z", 57643},    Key{"Ctrl+B", 32880},
                                Key{"Ctrl+Y", 57644},    Key{"Ctrl+H", 57641},
                                Key{"Ctrl+C", 57634},    Key{"Ctrl+A", 57642},
                                Key{"Ins", 37005},       Key{"Ctrl+Shift+Left", 37105},
                                Key{"Ctrl+7", 37207},    Key{"Alt+7", 37217},
                                Key{"Ctrl+F2", 37223},   Key{"Ctrl+Shift+F2", 37226},
                                Key{"F3", 57640},        Key{"Shift+F3", 37126}}) {
        const auto bound = KeysOf(expected.id);
        EXPECT_NE(std::find(bound.begin(), bound.end(), expected.key), bound.end())
            << expected.key << " for " << expected.id;
    }
    EXPECT_EQ(KeysOf(EditUndo), (std::vector<std::string_view>{"Ctrl+Z", "Alt+Backspace"}));
    EXPECT_TRUE(KeysOf(DebugRun).empty());
    // Every key parses as the portable text of a key.
    for (const Accelerator& accelerator : Accelerators()) {
        EXPECT_EQ(accelerator.key.find(';'), std::string_view::npos) << accelerator.key;
        EXPECT_FALSE(accelerator.key.empty());
    }
}

TEST(CommandTable, EditorAndSourceViewCommandsAreTheViewsAndKeepTheirIds) {
    for (const auto table : {EditorCommands::ViewCommands(), EditorCommands::EditCommands()}) {
        for (const EditorCommands::Command& command : table) {
            const Command* row = Find(command.id);
            ASSERT_NE(row, nullptr) << command.id;
            EXPECT_EQ(row->hook, EnableHook::View) << command.id;
        }
    }
    for (const SourceViewCommand& command : SourceViewCommands()) {
        if (command.id != SourceViewCommandId::HtmlHelpOther) {
            EXPECT_NE(Find(command.id), nullptr) << command.id;
        }
    }
    EXPECT_EQ(Find(SourceViewCommandId::ContextDelete)->menuText, "&Delete");
    EXPECT_EQ(Find(SourceViewCommandId::ContextSelectAll)->menuText, "Select All");
}

TEST(CommandEnabling, FrameCommandsFollowTheFrameAndViewCommandsTheView) {
    using CommandEnabling::Evaluate;
    using CommandEnabling::State;
    CommandEnabling::FrameState none;
    none.toolbarShown = false;
    none.recentFileCount = 2;
    CommandEnabling::FrameState document = none;
    document.hasDocument = true;
    const State on{true, false};
    const State off{false, false};

    EXPECT_EQ(Evaluate(*Find(FileNew), none, std::nullopt), on);
    EXPECT_EQ(Evaluate(*Find(FileSave), none, std::nullopt), off);
    EXPECT_EQ(Evaluate(*Find(FileSave), document, std::nullopt), on);
    EXPECT_EQ(Evaluate(*Find(FileRecentFirst + 1), none, std::nullopt), on);
    EXPECT_EQ(Evaluate(*Find(FileRecentFirst + 2), none, std::nullopt), off);
    EXPECT_EQ(Evaluate(*Find(ViewToolbar), none, std::nullopt), (State{true, false}));
    EXPECT_EQ(Evaluate(*Find(ViewStatusBar), none, std::nullopt), (State{true, true}));
    // A view command: what the view says, nothing without a view or a document.
    EXPECT_EQ(Evaluate(*Find(EditCut), document, std::nullopt), off);
    EXPECT_EQ(Evaluate(*Find(EditCut), document, State{true, true}), (State{true, true}));
    EXPECT_EQ(Evaluate(*Find(EditCut), none, State{true, false}), off);
    // Print Setup: the frame's own when no view offers one.
    EXPECT_EQ(Evaluate(*Find(FilePrintSetup), none, std::nullopt), on);
    EXPECT_EQ(Evaluate(*Find(FilePrintSetup), document, off), off);
}

TEST(CRecentFileList, KeepsTheNewestFirstOnceEachAndAtMostItsCapacity) {
    CRecentFileList list(3);
    for (const char* path : {"/a.85", "/b.85", "/c.85", "/a.85", "/d.85"}) {
        list.Add(path);
    }
    EXPECT_EQ(list.Files(), (std::vector<std::string>{"/d.85", "/a.85", "/c.85"}));
    list.Remove("/a.85");
    EXPECT_EQ(list.Files(), (std::vector<std::string>{"/d.85", "/c.85"}));
    list.Assign({"/x.85", "", "/x.85", "/y.85", "/z.85", "/w.85"});
    EXPECT_EQ(list.Files(), (std::vector<std::string>{"/x.85", "/y.85", "/z.85"}));
}

TEST(CRecentFileList, MenuTextsNumberFromOneShowAmpersandsAndShortenLongPaths) {
    EXPECT_EQ(CRecentFileList::MenuText(0, "/home/me/a&b.85"), "&1 /home/me/a&&b.85");
    EXPECT_EQ(CRecentFileList::MenuText(7, "/h/x.85"), "&8 /h/x.85");
    const std::string longPath = "/home/" + std::string(80, 'f') + "/prog.85";
    EXPECT_EQ(CRecentFileList::MenuText(1, longPath), "&2 /home/.../prog.85");
}

TEST(CommandLine, TakesOneFileAndTheProgramsOptions) {
    struct Case {
        std::vector<std::string> arguments;
        std::string file;
        bool help;
        bool version;
        std::string screenshot;
        bool error;
    };
    const Case cases[] = {
        {{}, "", false, false, "", false},
        {{"prog.85"}, "prog.85", false, false, "", false},
        {{"--help"}, "", true, false, "", false},
        {{"-v"}, "", false, true, "", false},
        {{"--screenshot", "shot.png", "a.85"}, "a.85", false, false, "shot.png", false},
        {{"--", "-odd.85"}, "-odd.85", false, false, "", false},
        {{"--screenshot"}, "", false, false, "", true},
        {{"/Embedding"}, "/Embedding", false, false, "", false},
        {{"--bogus"}, "", false, false, "", true},
        {{"a.85", "b.85"}, "a.85", false, false, "", true},
    };
    for (const Case& c : cases) {
        const CommandLine line = CommandLine::Parse(c.arguments);
        EXPECT_EQ(line.file, c.file);
        EXPECT_EQ(line.help, c.help);
        EXPECT_EQ(line.version, c.version);
        EXPECT_EQ(line.screenshot, c.screenshot);
        EXPECT_EQ(!line.error.empty(), c.error) << line.error;
    }
    EXPECT_NE(CommandLine::Usage().find("--version"), std::string::npos);
}

} // namespace
