#include "app/ui/ToolbarIcons.h"

#include "app/CommandTable.h"

#include <QString>
#include <utility>

// Outside any namespace: the resource's initialiser is declared where this is.
static void LoadPictures() {
    // The pictures live in a static library that nothing else references by name.
    static const bool loaded = [] {
        Q_INIT_RESOURCE(app_toolbar);
        return true;
    }();
    (void)loaded;
}

namespace ToolbarIcons {

QString FileOf(int id) {
    using namespace CommandTable;
    static const std::pair<int, const char*> pictures[] = {
        {FileNew, "file-new"},
        {FileOpen, "file-open"},
        {FileSave, "file-save"},
        {EditCut, "edit-cut"},
        {EditCopy, "edit-copy"},
        {EditPaste, "edit-paste"},
        {FilePrint, "file-print"},
        {Compile, "compile"},
        {Disassembly, "disassembly"},
        {EditUndo, "edit-undo"},
        {EditRedo, "edit-redo"},
        {EditFind, "edit-find"},
        {EditRepeat, "edit-repeat"},
        {EditFindPrevious, "edit-find-previous"},
        {EditReplace, "edit-replace"},
        {BookmarkToggle, "bookmark-toggle"},
        {BookmarkNext, "bookmark-next"},
        {BookmarkPrevious, "bookmark-previous"},
        {BookmarkClearAll, "bookmark-clear-all"},
        {AppAbout, "app-about"},
        {EditPreferencesButton, "preferences"},
    };
    for (const auto& [command, name] : pictures) {
        if (command == id) {
            return QStringLiteral(":/zorvan/app/toolbar/%1.svg").arg(QLatin1String(name));
        }
    }
    return {};
}

QIcon For(int id) {
    LoadPictures();
    const QString file = FileOf(id);
    return file.isEmpty() ? QIcon() : QIcon(file);
}

} // namespace ToolbarIcons
