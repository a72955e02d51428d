#pragma once

#include <QKeySequence>
#include <QString>

#include <span>

namespace calvenor {

// Every command the main window offers, whichever menu item, toolbar button or key
// starts it.
enum class Command {
    None,   // a menu title or separator
    Open, Save, SaveAndRestart, Export, Import, RestoreBackup, Exit,
    AddItem, MoveUp, MoveDown, Delete, DeleteAll, Rename,
    Find, FindNext,
    ViewToolbar, ViewVerticalPanels, Options,
    HelpTopics, About,
    TreeExport, TreeImport,
    Undo, Redo, RemoveDuplicates, RemoveMissingFolders,
    ReviewChanges,
};

// One entry of the menu bar or the tree's context menu: the object name, the menu it
// belongs to (empty for a top-level menu), its language id (0 for a separator), its
// shortcut and its command.
struct MenuEntry
{
    const char *objectName;
    const char *menu;
    int languageId;
    QKeySequence::StandardKey standardKey;
    const char *shortcut;   // used when standardKey is UnknownKey
    Command command;
};

// The menus in the order they are shown; separators have language id 0.
std::span<const MenuEntry> MenuTable();

// One button of the toolbar: its key (the object name), its tooltip's language id, its
// command; a separator has an empty key. Open and Save have drop-downs.
struct ToolbarEntry
{
    const char *key;
    int languageId;
    Command command;
    bool dropDown;
    const char *themeIcon;
};
std::span<const ToolbarEntry> ToolbarTable();

} // namespace calvenor
