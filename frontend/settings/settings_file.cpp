#include "settings/settings_file.h"

#include "core/data_sets.h"
#include "core/file_start.h"
#include "core/map_state.h"
#include "core/saved_file.h"
#include "core/text_fields.h"

#include "common/shared_files.h"

#include <limits>

namespace skyloom {

namespace {

QByteArray numberLine(std::initializer_list<std::int64_t> values)
{
    QByteArray line;
    for (const std::int64_t value : values)
        line += formatNumber(value);
    return line + "\r\n";
}

// Both directories as one field each; a double quote cannot be represented
// (OK removes them), so one that got here anyway is dropped.
QByteArray quoted(const QString& text)
{
    return '"' + text.toUtf8().replace('"', QByteArray()) + '"';
}

} // namespace

QByteArray settingsFileText(const MapState& state, const QRect& geometryTwips)
{
    QByteArray text = numberLine({common::fileVersionMajor, common::fileVersionMinor});
    text += numberLine({geometryTwips.x(), geometryTwips.y(), geometryTwips.width(), geometryTwips.height()});
    // Lines 3 to 5 as a reader of the 50 m and 250 m meshes alone reads
    // them: the mesh of the grid shown, the origin in its cells (the block
    // grid's in 50 m sheets, which it divides exactly).
    const Grid grid = gridOf(state.meshFlag);
    text += numberLine({grid == Grid::primary250 ? 1 : 0});
    text += quoted(state.dataDir50) + ' ' + quoted(state.dataDir250) + "\r\n";
    if (grid == Grid::block)
        text += numberLine(
            {std::int64_t{state.originX} * kSheetsPerBlockX, std::int64_t{state.originY} * kSheetsPerBlockY});
    else
        text += numberLine({state.originX, state.originY});
    // Then the data set and the folders of the others.
    text += numberLine({static_cast<int>(state.meshFlag)});
    text += quoted(state.dataDir10) + ' ' + quoted(state.dataDir5) + ' ' + quoted(state.dataDirSrtm) + ' ' +
            quoted(state.dataDirSrtm30) + "\r\n";
    return text;
}

std::optional<QRect> readSettingsText(const QByteArray& text, MapState& state)
{
    FieldReader reader(text);
    const std::optional<int> major = reader.readInt32();
    const std::optional<int> minor = major ? reader.readInt32() : std::nullopt;
    if (major != common::fileVersionMajor || minor != common::fileVersionMinor)
        return std::nullopt;

    int box[4] = {};
    for (int& value : box) {
        const auto read = reader.readInteger(-kMostTwips, kMostTwips);
        if (!read)
            return std::nullopt;
        value = static_cast<int>(*read);
    }
    const QRect geometry(box[0], box[1], box[2], box[3]);

    const std::optional<int> mesh = reader.readInt32();
    if (!mesh)
        return geometry;
    // Line 3 names the mesh of the grid: 0 or 1; anything else is read as
    // 0. The data set of line 6 may then refine it.
    state.meshFlag = *mesh == static_cast<int>(Mesh::gsi250) ? Mesh::gsi250 : Mesh::gsi50;

    std::optional<QString> dir = reader.readText();
    if (!dir)
        return geometry;
    state.dataDir50 = *dir;
    if (!(dir = reader.readText()))
        return geometry;
    state.dataDir250 = *dir;

    std::optional<int> origin = reader.readInt32();
    if (!origin)
        return geometry;
    state.originX = *origin;
    if (!(origin = reader.readInt32()))
        return geometry;
    state.originY = *origin;

    // A file of the 50 m and 250 m meshes alone ends here.
    const std::optional<int> dataSet = reader.readInt32();
    if (!dataSet || *dataSet < 0 || *dataSet >= kDataSetCount)
        return geometry;
    const Mesh chosen = static_cast<Mesh>(*dataSet);
    const Grid legacy = gridOf(state.meshFlag);
    if (gridOf(chosen) == Grid::block && legacy == Grid::sheet50) {
        state.originX = static_cast<int>(floorDivide(state.originX, kSheetsPerBlockX));
        state.originY = static_cast<int>(floorDivide(state.originY, kSheetsPerBlockY));
    } else if (gridOf(chosen) != legacy) {
        return geometry; // lines that disagree: the mesh of line 3 stands
    }
    state.meshFlag = chosen;
    for (QString* folder : {&state.dataDir10, &state.dataDir5, &state.dataDirSrtm, &state.dataDirSrtm30}) {
        if (!(dir = reader.readText()))
            return geometry;
        *folder = *dir;
    }
    return geometry;
}

std::optional<QRect> ReadEnv(MapState& state)
{
    resetSettings(state);
    const std::optional<FileStart> text =
        readFileStart(QString::fromLatin1(kSettingsFileName), qint64{common::longestSettingsFile});
    if (!text)
        return std::nullopt;
    return readSettingsText(text->bytes, state);
}

SaveResult WriteEnv(const MapState& state, const QRect& geometryTwips)
{
    return writeFileBesideAndRename(QString::fromLatin1(kSettingsFileName),
                                    settingsFileText(state, geometryTwips));
}

} // namespace skyloom
