#include "settings/settings_file.h"

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
    text += numberLine({static_cast<int>(state.meshFlag)});
    text += quoted(state.dataDir50) + ' ' + quoted(state.dataDir250) + "\r\n";
    text += numberLine({state.originX, state.originY});
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
    // Only 0 and 1 name a mesh; anything else would index past the option
    // buttons and the sheet tables.
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
    if ((origin = reader.readInt32()))
        state.originY = *origin;
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
