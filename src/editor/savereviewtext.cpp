#include "savereviewtext.h"

#include "core/csectionsdata.h"
#include "core/languagesource.h"

#include <QStringList>

#include <array>

namespace calvenor::SaveReviewText {
namespace {

using Kind = ReviewChange::Kind;

QString lockText(const QString &state, const LanguageSource &language)
{
    return language.GetLanguageString(state == u"1" ? 3407 : (state == u"2" ? 3408 : 3406));
}

} // namespace

QString Change(const ReviewChange &change, const LanguageSource &language, EntryWrap wrap)
{
    // An empty value still shows as something.
    auto entry = [&](const QString &text) {
        const QString shown = text.isEmpty() ? language.GetLanguageString(3414) : text;
        return wrap ? wrap(shown) : shown;
    };
    auto caption = [&](const QString &text) { return text.isEmpty() ? language.GetLanguageString(3405) : entry(text); };
    auto text = [&](int id) { return language.GetLanguageString(id); };
    switch (change.kind) {
    case Kind::Removed: return text(3396).arg(entry(change.entry));
    case Kind::Added: return text(3397).arg(entry(change.entry));
    case Kind::Renamed: return text(3398).arg(entry(change.before), entry(change.after));
    case Kind::Moved:
        return text(3399).arg(entry(change.entry), QString::number(change.from), QString::number(change.to));
    case Kind::Changed: return text(3400).arg(entry(change.entry), entry(change.before), entry(change.after));
    case Kind::Caption: return text(3401).arg(entry(change.entry), caption(change.before), caption(change.after));
    case Kind::Lock:
        return text(3402).arg(entry(change.entry), lockText(change.before, language), lockText(change.after, language));
    case Kind::TabSettings: return text(3403).arg(entry(change.entry), entry(change.before), entry(change.after));
    case Kind::ActiveTab: return text(3404).arg(entry(change.before), entry(change.after));
    }
    return QString();
}

QString Section(const SectionReview &section, const LanguageSource &language)
{
    // Removed, added, renamed, moved; everything else changes an entry that stays.
    std::array<int, 5> counts {};
    for (const ReviewChange &change : section.changes) {
        switch (change.kind) {
        case Kind::Removed: ++counts[0]; break;
        case Kind::Added: ++counts[1]; break;
        case Kind::Renamed: ++counts[2]; break;
        case Kind::Moved: ++counts[3]; break;
        default: ++counts[4]; break;
        }
    }
    QStringList parts;
    for (size_t i = 0; i < counts.size(); ++i) {
        if (counts[i] > 0)
            parts << language.GetLanguageString(3409 + int(i)).arg(counts[i]);
    }
    const QString title = cSectionsData::Title(section.section, language);
    return parts.isEmpty() ? title : title + QStringLiteral(": ") + parts.join(QStringLiteral(", "));
}

} // namespace calvenor::SaveReviewText
