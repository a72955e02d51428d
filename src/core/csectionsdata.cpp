#include "csectionsdata.h"

#include "foldedkey.h"
#include "platform/errornumbers.h"

namespace calvenor {
namespace {

// Copies of these strings share their data: handing out a name allocates nothing.
const std::array<QString, 20> kNames = {
    QStringLiteral("Command line history"),
    QStringLiteral("Selection"),
    QStringLiteral("SearchName"),
    QStringLiteral("SearchIn"),
    QStringLiteral("SearchText"),
    QStringLiteral("Searches"),
    QStringLiteral("RenameTemplates"),
    QStringLiteral("RenameSearchFind"),
    QStringLiteral("RenameSearchReplace"),
    QStringLiteral("Rename"),
    QStringLiteral("LeftTabs"),
    QStringLiteral("RightTabs"),
    QStringLiteral("LeftHistory"),
    QStringLiteral("RightHistory"),
    QStringLiteral("MkDirHistory"),
    QStringLiteral("SyncOptions"),
    QStringLiteral("AttrPlugin"),
    QStringLiteral("SplitPerFile"),
    QStringLiteral("OldConnections"),
    QStringLiteral("RootNode"),
};

} // namespace

QString cSectionsData::SectionsList(int lngIndex, int *errorNumber)
{
    if (lngIndex < 0 || lngIndex > SectionsCount) {
        if (errorNumber)
            *errorNumber = errSubscriptOutOfRange;
        return QString();
    }
    if (errorNumber)
        *errorNumber = errNone;
    return kNames[size_t(lngIndex)];
}

int cSectionsData::GetSectionIndex(const QString &strSectionName, int *errorNumber)
{
    for (int i = 0; i <= SectionsCount; ++i) {
        if (FoldedKey::equalIgnoringCase(strSectionName, kNames[size_t(i)])) {
            if (errorNumber)
                *errorNumber = errNone;
            return i;
        }
    }
    if (errorNumber)
        *errorNumber = errSubscriptOutOfRange;
    return -1;
}

SectionFamily cSectionsData::familyOf(const QString &strSectionName)
{
    auto is = [&](const QString &name) { return strSectionName.compare(name, Qt::CaseInsensitive) == 0; };
    if (is(Rename()) || is(Searches()) || is(SyncOptions()) || is(AttrPlugin()))
        return SectionFamily::Keyed;
    if (is(LeftTabs()) || is(RightTabs()))
        return SectionFamily::Tabs;
    if (is(RootNode()) || GetSectionIndex(strSectionName) < 0)
        return SectionFamily::None;
    return SectionFamily::Numbered;
}

SectionFile cSectionsData::fileOf(const QString &strSectionName)
{
    if (familyOf(strSectionName) == SectionFamily::None)
        return SectionFile::None;
    if (strSectionName.compare(OldConnections(), Qt::CaseInsensitive) == 0)
        return SectionFile::Wcxftp;
    return SectionFile::Wincmd;
}

QString cSectionsData::Title(const QString &strSectionName, const LanguageSource &language)
{
    QString title = strSectionName;
    if (FoldedKey::equalIgnoringCase(strSectionName, RootNode()))
        title = language.GetLanguageString(RootTreeNode().textId);
    for (const TreeNode &node : TreeOrder()) {
        if (FoldedKey::equalIgnoringCase(QString::fromUtf16(node.key), strSectionName))
            title = language.GetLanguageString(node.textId);
    }
    title = title.trimmed();
    if (title.endsWith(u':'))
        title.chop(1);
    return title;
}

const cSectionsData::TreeNode &cSectionsData::RootTreeNode()
{
    static const TreeNode root {u"RootNode", 3081, u"Total Commander History", u"root"};
    return root;
}

const std::array<cSectionsData::TreeNode, 19> &cSectionsData::TreeOrder()
{
    static const std::array<TreeNode, 19> nodes = {{
        {u"Command line history", 3082, u"Command Line", u"cmdline"},
        {u"Selection", 3087, u"Selection", u"selection"},
        {u"SearchName", 3083, u"Search for:", u"search"},
        {u"SearchIn", 3084, u"Search in:", u"search"},
        {u"SearchText", 3085, u"Find text:", u"search"},
        {u"Searches", 3086, u"Load/Save", u"search"},
        {u"RenameTemplates", 3088, u"Rename mask:", u"rename"},
        {u"RenameSearchFind", 3097, u"Rename Search for:", u"rename"},
        {u"RenameSearchReplace", 3098, u"Rename Replace with:", u"rename"},
        {u"Rename", 3089, u"F2 Load/Save", u"rename"},
        {u"LeftTabs", 3090, u"Left Tabs", u"left"},
        {u"RightTabs", 3091, u"Right Tabs", u"right"},
        {u"LeftHistory", 3100, u"Left history", u"righthistory"},
        {u"RightHistory", 3101, u"Right history", u"righthistory"},
        {u"MkDirHistory", 3102, u"New Directory", u"mkdirhistory"},
        {u"SyncOptions", 3103, u"Synchronize Options", u"syncoptions"},
        {u"AttrPlugin", 3104, u"Plugin Attributes", u"attrplugin"},
        {u"SplitPerFile", 3105, u"Split Sizes", u"splitperfile"},
        {u"OldConnections", 3106, u"FTP Old Connections", u"oldconnections"},
    }};
    return nodes;
}

} // namespace calvenor
