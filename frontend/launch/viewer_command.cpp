#include "launch/viewer_command.h"

#include "core/map_cells.h"
#include "core/map_state.h"

#include <QList>

namespace skyloom {

QStringList viewerCommandLine(const MapState& state)
{
    const bool coarse = state.meshFlag == Mesh::gsi250;
    // The sheet at the range's west-most column and north-most row.
    const std::int64_t code = MeshCode(state.meshFlag, std::int64_t(state.selX1) + state.originX,
                                       std::int64_t(state.selY2) + state.originY - 1);
    const std::int64_t rows = std::int64_t(state.selY2) - state.selY1;
    const std::int64_t cols = std::int64_t(state.selX2) - state.selX1;
    return {QString::fromLatin1(kViewerProgram),
            coarse ? QStringLiteral("-gsi250") : QStringLiteral("-gsi50"),
            coarse ? state.dataDir250 : state.dataDir50,
            QString::number(code),
            QString::number(rows),
            QString::number(cols)};
}

QString viewerFailureText(const QByteArray& standardError)
{
    const QList<QByteArray> lines = standardError.split('\n');
    for (auto line = lines.crbegin(); line != lines.crend(); ++line) {
        const QByteArray text = line->trimmed();
        if (text.startsWith("*** "))
            return QString::fromUtf8(text);
    }
    return QStringLiteral("orvex がエラーで終了しました。");
}

QString viewerCrashText()
{
    return QStringLiteral("orvex が異常終了しました。");
}

QString viewerStartFailureText(const QString& reason)
{
    return QStringLiteral("orvex を起動できません。\n") + reason;
}

} // namespace skyloom
