#include "commandtable.h"

#include <array>

namespace calvenor {
namespace {

using K = QKeySequence::StandardKey;
constexpr K kNoKey = QKeySequence::UnknownKey;

constexpr std::array kMenus = {
    MenuEntry{"mnuFile", "", 101, kNoKey, "", Command::None},
    MenuEntry{"mnuFileOpen", "mnuFile", 103, kNoKey, "Ctrl+O", Command::Open},
    MenuEntry{"mnuFileSave", "mnuFile", 104, kNoKey, "Ctrl+S", Command::Save},
    MenuEntry{"mnuFileSavenRestartTC", "mnuFile", 116, kNoKey, "Ctrl+Q", Command::SaveAndRestart},
    MenuEntry{"mnuFileReviewChanges", "mnuFile", 3390, kNoKey, "", Command::ReviewChanges},
    MenuEntry{"mnuFileSep1", "mnuFile", 0, kNoKey, "", Command::None},
    MenuEntry{"mnuFileExport", "mnuFile", 112, kNoKey, "Ctrl+E", Command::Export},
    MenuEntry{"mnuFileImport", "mnuFile", 113, kNoKey, "Ctrl+I", Command::Import},
    MenuEntry{"mnuFileRestoreBackup", "mnuFile", 3344, kNoKey, "", Command::RestoreBackup},
    MenuEntry{"mnuFileSep2", "mnuFile", 0, kNoKey, "", Command::None},
    MenuEntry{"mnuFileRecentGroup", "mnuFile", 107, kNoKey, "", Command::None},
    MenuEntry{"mnuFileSep3", "mnuFile", 0, kNoKey, "", Command::None},
    MenuEntry{"mnuFileExit", "mnuFile", 110, kNoKey, "", Command::Exit},
    MenuEntry{"mnuEdit", "", 121, kNoKey, "", Command::None},
    MenuEntry{"mnuEditUndo", "mnuEdit", 3307, kNoKey, "Ctrl+Z", Command::Undo},
    MenuEntry{"mnuEditRedo", "mnuEdit", 3308, kNoKey, "Ctrl+Shift+Z", Command::Redo},
    MenuEntry{"mnuEditSep0", "mnuEdit", 0, kNoKey, "", Command::None},
    MenuEntry{"mnuEditAddItem", "mnuEdit", 138, kNoKey, "Ctrl+W", Command::AddItem},
    MenuEntry{"mnuEditSep1", "mnuEdit", 0, kNoKey, "", Command::None},
    MenuEntry{"mnuEditMoveUp", "mnuEdit", 129, kNoKey, "Ctrl+U", Command::MoveUp},
    MenuEntry{"mnuEditMoveDown", "mnuEdit", 130, kNoKey, "Ctrl+Y", Command::MoveDown},
    MenuEntry{"mnuEditSep2", "mnuEdit", 0, kNoKey, "", Command::None},
    MenuEntry{"mnuEditDelete", "mnuEdit", 132, kNoKey, "Del", Command::Delete},
    MenuEntry{"mnuEditDeleteAll", "mnuEdit", 139, kNoKey, "Shift+Del", Command::DeleteAll},
    MenuEntry{"mnuEditSep3", "mnuEdit", 0, kNoKey, "", Command::None},
    MenuEntry{"mnuEditRename", "mnuEdit", 133, kNoKey, "Ctrl+R", Command::Rename},
    MenuEntry{"mnuEditSep4", "mnuEdit", 0, kNoKey, "", Command::None},
    MenuEntry{"mnuEditRemoveDuplicates", "mnuEdit", 3309, kNoKey, "", Command::RemoveDuplicates},
    MenuEntry{"mnuEditRemoveMissingFolders", "mnuEdit", 3319, kNoKey, "", Command::RemoveMissingFolders},
    MenuEntry{"mnuSearch", "", 250, kNoKey, "", Command::None},
    MenuEntry{"mnuSearchFind", "mnuSearch", 251, kNoKey, "Ctrl+F", Command::Find},
    MenuEntry{"mnuSearchFindNext", "mnuSearch", 252, kNoKey, "F3", Command::FindNext},
    MenuEntry{"mnuView", "", 141, kNoKey, "", Command::None},
    MenuEntry{"mnuViewToolbar", "mnuView", 142, kNoKey, "", Command::ViewToolbar},
    MenuEntry{"mnuViewSep1", "mnuView", 0, kNoKey, "", Command::None},
    MenuEntry{"mnuViewVerticalPanels", "mnuView", 145, kNoKey, "", Command::ViewVerticalPanels},
    MenuEntry{"mnuViewSep2", "mnuView", 0, kNoKey, "", Command::None},
    MenuEntry{"mnuViewOptions", "mnuView", 150, kNoKey, "", Command::Options},
    MenuEntry{"mnuHelp", "", 161, kNoKey, "", Command::None},
    MenuEntry{"mnuHelpHelpTopics", "mnuHelp", 162, kNoKey, "F1", Command::HelpTopics},
    MenuEntry{"mnuHelpSep1", "mnuHelp", 0, kNoKey, "", Command::None},
    MenuEntry{"mnuHelpAbout", "mnuHelp", 163, kNoKey, "", Command::About},
};

constexpr std::array kToolbar = {
    ToolbarEntry{"Open", 103, Command::Open, true, "document-open"},
    ToolbarEntry{"Save", 104, Command::Save, true, "document-save"},
    ToolbarEntry{"", 0, Command::None, false, ""},
    ToolbarEntry{"Undo", 3307, Command::Undo, false, "edit-undo"},
    ToolbarEntry{"Redo", 3308, Command::Redo, false, "edit-redo"},
    ToolbarEntry{"", 0, Command::None, false, ""},
    ToolbarEntry{"Add Item", 138, Command::AddItem, false, "list-add"},
    ToolbarEntry{"Up", 129, Command::MoveUp, false, "go-up"},
    ToolbarEntry{"Down", 130, Command::MoveDown, false, "go-down"},
    ToolbarEntry{"", 0, Command::None, false, ""},
    ToolbarEntry{"Rename", 133, Command::Rename, false, "edit-rename"},
    ToolbarEntry{"", 0, Command::None, false, ""},
    ToolbarEntry{"Delete", 132, Command::Delete, false, "edit-delete"},
    ToolbarEntry{"Delete All History", 139, Command::DeleteAll, false, "edit-clear-all"},
    ToolbarEntry{"", 0, Command::None, false, ""},
    ToolbarEntry{"Options", 150, Command::Options, false, "preferences-system"},
};

} // namespace

std::span<const MenuEntry> MenuTable()
{
    return kMenus;
}

std::span<const ToolbarEntry> ToolbarTable()
{
    return kToolbar;
}

} // namespace calvenor
