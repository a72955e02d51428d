#include "cdefaultstrings.h"

#include <QStringView>

#include <algorithm>
#include <iterator>

namespace calvenor {
namespace {

struct Entry
{
    int id;
    QStringView text;
};

// Kept in ascending id order, which the lookup relies on and the check below enforces.
constexpr Entry kTable[] = {
    {101, u"&File"},
    {103, u"&Open..."},
    {104, u"&Save"},
    {107, u"&Recent Files"},
    {108, u"No Recent Files"},
    {109, u"Clear List"},
    {110, u"E&xit"},
    {112, u"&Export..."},
    {113, u"&Import..."},
    {116, u"Save and Restart Total &Commander"},
    {121, u"&Edit"},
    {129, u"Move &Up"},
    {130, u"Move Dow&n"},
    {132, u"&Delete"},
    {133, u"&Rename"},
    {138, u"&Add Item"},
    {139, u"De&lete All..."},
    {141, u"&View"},
    {142, u"&Toolbar"},
    {145, u"&Vertical Panels"},
    {150, u"&Options..."},
    {161, u"&Help"},
    {162, u"Help &Topics"},
    {163, u"&About..."},
    {250, u"&Search"},
    {251, u"&Find..."},
    {252, u"Find &Next"},
    {253, u"Find"},
    {254, u"&Find what:"},
    {258, u"Match whole word &only"},
    {259, u"Cannot find"},
    {1001, u"Options"},
    {1002, u"Layout"},
    {1005, u"Operation"},
    {1006, u"Language"},
    {1008, u"OK"},
    {1009, u"Cancel"},
    {1010, u"&Apply"},
    {1021, u"Visual effects:"},
    {1024, u"Show &grid lines"},
    {1025, u"Fixed &borders"},
    {1026, u"&Flat user interface"},
    {1044, u"&Change..."},
    {1051, u"Text:"},
    {1052, u"Foreground"},
    {1053, u"Background"},
    {1061, u"Locked tab"},
    {1065, u"Font:"},
    {1074, u"Misc:"},
    {1089, u"Change language:"},
    {1090, u"Use &default language"},
    {1091, u"&Other:"},
    {1121, u"Auto &restart Total Commander after saving changes"},
    {1501, u"About"},
    {1502, u"Programmed by:"},
    {1503, u"Version:"},
    {1505, u"For the latest information on this program please visit the program home page."},
    {1506, u"Web site:"},
    {1507, u"e-mail:"},
    {1508, u"Visit now"},
    {1601, u"Check section(s) to import."},
    {1602, u"Check section(s) to export."},
    {1603, u"Import"},
    {1604, u"Export"},
    {1605, u"Open"},
    {1606, u"Save"},
    {1650, u"Delete All"},
    {1651, u"Check section(s) you want delete."},
    {1652, u"&Also delete locked tabs"},
    {3009, u"Are you sure?"},
    {3020, u"Save changes to"},
    {3021, u"Cannot find this file"},
    {3022, u"Please verify that the correct path and file name are given."},
    {3045, u"Cannot find Total Commander settings file [Wcx_ftp.ini]"},
    {3046, u"Cannot find Total Commander settings file [Wincmd.ini]"},
    {3048, u"Cannot find language file!"},
    {3056, u"File not found."},
    {3081, u"Total Commander History"},
    {3082, u"Command Line"},
    {3083, u"Search for:"},
    {3084, u"Search in:"},
    {3085, u"Find text:"},
    {3086, u"Load/Save"},
    {3087, u"Selection"},
    {3088, u"Rename mask:"},
    {3089, u"F2 Load/Save"},
    {3090, u"Left Tabs"},
    {3091, u"Right Tabs"},
    {3092, u"Preview panel. No edit here!"},
    {3093, u"Only 20 items can be added to a section."},
    {3094, u"&Caption:"},
    {3095, u"&Lock this tab"},
    {3096, u"Empty"},
    {3097, u"Rename Search for:"},
    {3098, u"Rename Replace with:"},
    {3099, u"Locked, &but directory changes allowed"},
    {3100, u"Left history"},
    {3101, u"Right history"},
    {3102, u"New Directory"},
    {3103, u"Synchronize Options"},
    {3104, u"Plugin Attributes"},
    {3105, u"Split Sizes"},
    {3106, u"FTP Old Connections"},
    {3250, u"Reading... Please wait."},
    {3251, u"Saving... Please wait."},
    {3252, u"Importing... Please wait."},
    {3253, u"Exporting... Please wait."},
    // The program's own texts, beyond the file manager editors' common table.
    {3300, u"Cannot read this file (error %1):"},
    {3301, u"Cannot write this file (error %1):"},
    {3302, u"Licence:"},
    {3303, u"GNU General Public License, version 3 or later"},
    {3304, u"User guide:"},
    {3305, u"Open the guide"},
    {3306, u"The Calvenor developers"},
    {3307, u"&Undo"},
    {3308, u"&Redo"},
    {3309, u"Remove d&uplicate entries"},
    {3310, u"Duplicate entries removed:"},
    {3311, u"Another program changed these files after Calvenor loaded them:"},
    {3312, u"Loaded again after another program changed:"},
    {3313, u"Total Commander is running. When it exits it writes its own history into wincmd.ini, over what you save here."},
    {3314, u"Yes: load them again (your unsaved changes are lost)."},
    {3315, u"No: keep your changes; saving writes the changed sections into the files as they are now."},
    {3316, u"Cancel: decide later."},
    {3317, u"Filter the list"},
    {3318, u"This folder does not exist."},
    {3319, u"Remove entries of &missing folders"},
    {3320, u"Entries of missing folders removed:"},
    {3321, u"Checking folders..."},
    {3322, u"Sections"},
    {3323, u"Entries of %1"},
    {3324, u"Text colour"},
    {3325, u"Background colour"},
    {3326, u"Locked tab colour"},
    {3327, u"Section heading"},
    {3328, u"Active tab"},
    {3329, u"Locked tab"},
    {3330, u"Locked tab, directory changes allowed"},
    {3331, u"Folder does not exist"},
    {3332, u"&Load again"},
    {3333, u"&Keep my changes"},
    {3334, u"&Decide later"},
    {3335, u"No %1 was named for %2."},
    {3336, u"The folder %1 does not exist."},
    {3337, u"This file is read-only, or its folder is: %1"},
    {3338, u"This file may not be read: %1"},
    {3339, u"The disk is full: %1"},
    {3340, u"(error %1)"},
    {3341, u"Choose %1"},
    {3342, u"Choose a language file"},
    {3343, u"Language file"},
    {3344, u"Restore from &Backup..."},
    {3345, u"Restore from Backup"},
    {3346, u"Backup &file:"},
    {3347, u"&Browse..."},
    {3348, u"R&uns of the batch job, newest first:"},
    {3349, u"Date and time"},
    {3350, u"Sections"},
    {3351, u"Entries"},
    {3352, u"&Sections to restore:"},
    {3353, u"&Add the entries after those in the list (repeats are left out)"},
    {3354, u"Re&place the entries of the sections"},
    {3355, u"&Restore"},
    {3356, u"(cut off)"},
    {3357, u"These sections of the backup are no history sections and were left out: %1"},
    {3358, u"The newest run in the backup was cut off while it was written; it is shown up to its last whole line."},
    {3359, u"%1 holds no runs of the batch job."},
    {3360, u"Choose a backup file"},
    {3361, u"Backup file"},
    {3370, u"Keep"},
    {3371, u"&Keep the entries that match one of these patterns:"},
    {3372, u"One pattern per line: * stands for any text, ? for one character; letter case does not matter. "
           u"Matching entries survive Delete All, the two clean-ups of the Edit menu and the batch job "
           u"(which takes more patterns with /\u2060k=). Deleting one entry by hand still deletes it. "
           u"Examples: *\\Projects\\*   ssh *"},
    {3373, u"Entries that match the keep rules of the options stay."},
    {3374, u"Keep rules, one pattern per line"},
    {3390, u"Re&view Changes..."},
    {3391, u"Re&view changes before every save"},
    {3392, u"Review Changes"},
    {3393, u"The next save changes these entries in the files on disk:"},
    {3394, u"Saving would change nothing in the files on disk."},
    {3395, u"&Close"},
    {3396, u"Removed: %1"},
    {3397, u"Added: %1"},
    {3398, u"Renamed: %1 → %2"},
    {3399, u"Moved: %1 (from place %2 to %3)"},
    {3400, u"Changed: %1 (%2 → %3)"},
    {3401, u"Caption of %1: %2 → %3"},
    {3402, u"Lock of %1: %2 → %3"},
    {3403, u"View settings of %1: %2 → %3"},
    {3404, u"Active tab: %1 → %2"},
    {3405, u"(no caption)"},
    {3406, u"not locked"},
    {3407, u"locked"},
    {3408, u"locked, directory changes allowed"},
    {3409, u"%1 removed"},
    {3410, u"%1 added"},
    {3411, u"%1 renamed"},
    {3412, u"%1 moved"},
    {3413, u"%1 changed"},
    {3414, u"(empty)"},
};

constexpr bool strictlyAscending()
{
    for (size_t i = 1; i < std::size(kTable); ++i) {
        if (kTable[i - 1].id >= kTable[i].id)
            return false;
    }
    return true;
}
static_assert(strictlyAscending(), "ids must be unique and in ascending order");

} // namespace

QString cDefaultStrings::GetDefaultString(int id) const
{
    // Ids are unique, so finding the single matching entry by binary search gives the
    // same answer as a scan from the first entry.
    const auto *const end = std::end(kTable);
    const auto *const it = std::lower_bound(std::begin(kTable), end, id,
                                            [](const Entry &entry, int wanted) { return entry.id < wanted; });
    if (it == end || it->id != id)
        return QString();
    // The text lives for the whole run: hand it out without copying.
    return QString::fromRawData(it->text.data(), it->text.size());
}

int cDefaultStrings::count()
{
    return int(std::size(kTable));
}

QList<int> cDefaultStrings::ids()
{
    QList<int> result;
    result.reserve(count());
    for (const Entry &entry : kTable)
        result.append(entry.id);
    return result;
}

} // namespace calvenor
