#include "missingvaluemarker.h"

#include <QDateTime>

namespace calvenor {

QString makeMissingValueMarker(QRandomGenerator &generator)
{
    QString marker;
    marker.reserve(18);
    for (int i = 0; i < 6; ++i)
        marker.append(QChar(u'A' + generator.bounded(26)));
    marker.append(QStringLiteral("%1").arg(generator.bounded(1000000), 6, 10, QLatin1Char('0')));
    for (int i = 0; i < 6; ++i)
        marker.append(QChar(u'a' + generator.bounded(26)));
    return marker;
}

QString makeMissingValueMarker()
{
    QRandomGenerator generator {quint32(QDateTime::currentMSecsSinceEpoch())};
    return makeMissingValueMarker(generator);
}

} // namespace calvenor
