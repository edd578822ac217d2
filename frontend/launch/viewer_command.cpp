#include "launch/viewer_command.h"

#include "core/data_sets.h"
#include "core/map_cells.h"
#include "core/map_state.h"

#include <QDir>
#include <QList>

namespace skyloom {

namespace {

QString degreesText(double value)
{
    return QString::number(value, 'g', 12);
}

} // namespace

QStringList viewerCommandLine(const MapState& state, bool rastersThroughGdal)
{
    const Mesh mesh = state.meshFlag;
    const QString program = QString::fromLatin1(kViewerProgram);
    const QString& folder = dataDirOf(state, mesh);
    const CellRange range{
        std::int64_t(state.selX1) + state.originX, std::int64_t(state.selY1) + state.originY,
        std::int64_t(state.selX2) + state.originX, std::int64_t(state.selY2) + state.originY};
    if (mesh == Mesh::srtm) {
        if (rastersThroughGdal) {
            const DegreeBox box = degreesOf(range, Grid::block);
            return {program,
                    QStringLiteral("-gdal"),
                    folder,
                    degreesText(box.north),
                    degreesText(box.west),
                    degreesText(box.south),
                    degreesText(box.east)};
        }
        return {program,
                QStringLiteral("-srtm3"),
                folder,
                QString::number(srtmBlockRow(range.y2 - 1)),
                QString::number(srtmBlockColumn(range.x1)),
                QString::number(srtmBlockRow(range.y1)),
                QString::number(srtmBlockColumn(range.x2 - 1)),
                QString::number(kSrtmVoidFilling),
                state.dataDirSrtm30};
    }
    // The sheet at the range's west-most column and north-most row.
    const std::int64_t code = MeshCode(mesh, range.x1, range.y2 - 1);
    const std::int64_t rows = std::int64_t(state.selY2) - state.selY1;
    const std::int64_t cols = std::int64_t(state.selX2) - state.selX1;
    QString option;
    switch (mesh) {
    case Mesh::gsi250:
        option = QStringLiteral("-gsi250");
        break;
    case Mesh::dem10:
        option = QStringLiteral("-fgd10");
        break;
    case Mesh::dem5:
        option = QStringLiteral("-fgd5");
        break;
    default:
        option = QStringLiteral("-gsi50");
        break;
    }
    return {program, option, folder, QString::number(code), QString::number(rows), QString::number(cols)};
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

QString viewerFailureReport(const QByteArray& standardError, const QByteArray& standardOutput,
                            const QString& dataFolder)
{
    QString text = viewerFailureText(standardError);
    if (dataFolder.isEmpty())
        return text;
    text += QStringLiteral("\n\nデータフォルダ: ") + QDir(dataFolder).absolutePath();
    QStringList missing;
    for (const QByteArray& raw : standardOutput.split('\n')) {
        const QByteArray line = raw.trimmed();
        const qsizetype colon = line.indexOf(" : ");
        if (line.startsWith("*** ") && line.endsWith(" not found.") && colon > 0)
            missing << QString::fromUtf8(line.mid(colon + 3, line.size() - colon - 3 - 11));
    }
    if (missing.isEmpty())
        return text;
    text += QStringLiteral("\n見つからないファイル:");
    for (qsizetype i = 0; i < missing.size() && i < kMissingFilesShown; ++i)
        text += QStringLiteral("\n  ") + missing[i];
    if (missing.size() > kMissingFilesShown)
        text += QStringLiteral("\n  ほか %1 件").arg(missing.size() - kMissingFilesShown);
    return text;
}

QString lastProgressLine(const QByteArray& standardOutput)
{
    const QList<QByteArray> lines = standardOutput.split('\n');
    for (auto line = lines.crbegin(); line != lines.crend(); ++line)
        if (line->startsWith("Reading "))
            return QString::fromUtf8(line->trimmed());
    return QString();
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
