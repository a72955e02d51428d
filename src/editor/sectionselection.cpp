#include "sectionselection.h"

#include "settings/csettings.h"

#include <QStringList>

namespace calvenor::SectionSelection {
namespace {

const QString kOwnSection = QStringLiteral("Calvenor");

} // namespace

QString ToValue(const QList<bool> &checked)
{
    QStringList positions;
    for (int position = 0; position < checked.size(); ++position) {
        if (checked[position])
            positions.append(QString::number(position));
    }
    return positions.join(u',');
}

QList<bool> FromValue(const QString &value, int nodeCount)
{
    QList<bool> checked(nodeCount, false);
    if (value.isEmpty())
        return checked;
    for (const QString &element : value.split(u',')) {
        bool isNumber = false;
        const int position = element.trimmed().toInt(&isNumber);
        const int node = isNumber ? position : 0;
        if (node < 0 || node >= nodeCount)
            break;
        checked[node] = true;
    }
    return checked;
}

int Save(cSettings &settings, const QString &key, const QList<bool> &checked)
{
    const QString value = ToValue(checked);
    if (value.isEmpty())
        return 0;
    return settings.Write(kOwnSection, key, value);
}

QList<bool> Restore(const cSettings &settings, const QString &key, int nodeCount)
{
    const QString marker = settings.MissingValueMarker();
    const QString value = settings.Read(kOwnSection, key, marker);
    return FromValue(value == marker ? QString() : value, nodeCount);
}

} // namespace calvenor::SectionSelection
